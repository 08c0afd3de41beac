#include "pricelists/lisfasimpost.h"

namespace velmaro {

TLisFasImpostForm::TLisFasImpostForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("LisFasImpostForm");
  OnClose = [this](ui::Component* s, ui::CloseAction& a) { FormClose(s, a); };
  OnDestroy = [this](ui::Component* s) { FormDestroy(s); };
  Inizializzazione();
  DoCreate();
}

void TLisFasImpostForm::Inizializzazione() {
  SetCaption(TitoloOperatore("Listini fasce"));
  ApertaDaExport = false;
}

void TLisFasImpostForm::FormClose(ui::Component*, ui::CloseAction& action) {
  RilasciaOggettiExport(action);
}

void TLisFasImpostForm::FormDestroy(ui::Component*) { RilasciaCellaFinestra(); }

void ApriLisFasImpostForm(std::int32_t utente, std::int32_t idApertura) {
  OpzioniLancio opzioni;
  PercorsoDiLancio(utente, idApertura, opzioni, [](ui::Component* owner, CellaDataModule* cella) {
    return new TLisFasImpostForm(owner, cella);
  });
}

}  // namespace velmaro
