#include "pricelists/importecc.h"

namespace velmaro {

TImportEccForm::TImportEccForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("ImportEccForm");
  Inizializzazione();
  DoCreate();
}

void TImportEccForm::Inizializzazione() {
  SetCaption(TitoloOperatore("Listini fasce"));
  ApertaDaExport = false;
}

void ApriImportEccForm(std::int32_t utente, std::int32_t idApertura) {
  LanciaFinestra<TImportEccForm>(utente, idApertura);
}

}  // namespace velmaro
