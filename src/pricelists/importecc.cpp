#include "pricelists/importecc.h"

namespace velmaro {

TImportEccForm::TImportEccForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("ImportEccForm");
  OnClose = [this](ui::Component* s, ui::CloseAction& a) { FormClose(s, a); };
  OnDestroy = [this](ui::Component* s) { FormDestroy(s); };
  Inizializzazione();
  DoCreate();
}

void TImportEccForm::Inizializzazione() {
  SetCaption(TitoloOperatore("Listini fasce"));
  ApertaDaExport = false;
}

void TImportEccForm::FormClose(ui::Component*, ui::CloseAction& action) {
  RilasciaOggettiExport(action);
}

void TImportEccForm::FormDestroy(ui::Component*) { RilasciaCellaFinestra(); }

void ApriImportEccForm(std::int32_t utente, std::int32_t idApertura) {
  OpzioniLancio opzioni;
  PercorsoDiLancio(utente, idApertura, opzioni, [](ui::Component* owner, CellaDataModule* cella) {
    return new TImportEccForm(owner, cella);
  });
}

}  // namespace velmaro
