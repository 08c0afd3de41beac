#include "pricelists/lisfasedit.h"

namespace velmaro {

TLisFasEditForm::TLisFasEditForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("LisFasEditForm");
  OnClose = [this](ui::Component* s, ui::CloseAction& a) { FormClose(s, a); };
  OnDestroy = [this](ui::Component* s) { FormDestroy(s); };
  Inizializzazione();
  DoCreate();
}

void TLisFasEditForm::Inizializzazione() {
  SetCaption(TitoloOperatore("Listini fasce"));
  ApertaDaExport = false;
}

void TLisFasEditForm::FormClose(ui::Component*, ui::CloseAction& action) {
  RilasciaOggettiExport(action);
}

void TLisFasEditForm::FormDestroy(ui::Component*) { RilasciaCellaFinestra(); }

void ApriLisFasEditForm(std::int32_t utente, std::int32_t idApertura) {
  OpzioniLancio opzioni;
  PercorsoDiLancio(utente, idApertura, opzioni, [](ui::Component* owner, CellaDataModule* cella) {
    return new TLisFasEditForm(owner, cella);
  });
}

}  // namespace velmaro
