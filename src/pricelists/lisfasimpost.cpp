#include "pricelists/lisfasimpost.h"

namespace velmaro {

TLisFasImpostForm::TLisFasImpostForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("LisFasImpostForm");
  Inizializzazione();
  DoCreate();
}

void TLisFasImpostForm::Inizializzazione() {
  SetCaption(TitoloOperatore("Listini fasce"));
  ApertaDaExport = false;
}

void ApriLisFasImpostForm(std::int32_t utente, std::int32_t idApertura) {
  LanciaFinestra<TLisFasImpostForm>(utente, idApertura);
}

}  // namespace velmaro
