#include "pricelists/lisfasedit.h"

namespace velmaro {

TLisFasEditForm::TLisFasEditForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("LisFasEditForm");
  Inizializzazione();
  DoCreate();
}

void TLisFasEditForm::Inizializzazione() {
  SetCaption(TitoloOperatore("Listini fasce"));
  ApertaDaExport = false;
}

void ApriLisFasEditForm(std::int32_t utente, std::int32_t idApertura) {
  LanciaFinestra<TLisFasEditForm>(utente, idApertura);
}

}  // namespace velmaro
