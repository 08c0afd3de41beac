#include "pricelists/generafileclienti.h"

namespace velmaro {

TGeneraFileClientiForm::TGeneraFileClientiForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("GeneraFileClientiForm");
  Inizializzazione();
  DoCreate();
}

void TGeneraFileClientiForm::Inizializzazione() {
  SetCaption(TitoloOperatore("Genera file excel clienti"));
  ApertaDaExport = false;
}

void ApriGeneraFileClientiForm(std::int32_t utente, std::int32_t idApertura) {
  LanciaFinestra<TGeneraFileClientiForm>(utente, idApertura, {.DirectoryDiLavoro = true});
}

}  // namespace velmaro
