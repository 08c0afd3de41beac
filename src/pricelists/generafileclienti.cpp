#include "pricelists/generafileclienti.h"

namespace velmaro {

TGeneraFileClientiForm::TGeneraFileClientiForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("GeneraFileClientiForm");
  OnClose = [this](ui::Component* s, ui::CloseAction& a) { FormClose(s, a); };
  OnDestroy = [this](ui::Component* s) { FormDestroy(s); };
  Inizializzazione();
  DoCreate();
}

void TGeneraFileClientiForm::Inizializzazione() {
  SetCaption(TitoloOperatore("Genera file excel clienti"));
  ApertaDaExport = false;
}

void TGeneraFileClientiForm::FormClose(ui::Component*, ui::CloseAction& action) {
  RilasciaOggettiExport(action);
}

void TGeneraFileClientiForm::FormDestroy(ui::Component*) { RilasciaCellaFinestra(); }

void ApriGeneraFileClientiForm(std::int32_t utente, std::int32_t idApertura) {
  OpzioniLancio opzioni;
  opzioni.DirectoryDiLavoro = true;
  PercorsoDiLancio(utente, idApertura, opzioni, [](ui::Component* owner, CellaDataModule* cella) {
    return new TGeneraFileClientiForm(owner, cella);
  });
}

}  // namespace velmaro
