#pragma once
// The import of price exceptions into lists and bands.
#include <cstdint>

#include "context/launch.h"

namespace velmaro {

class TImportEccForm : public FinestraDaExport {
 public:
  TImportEccForm(ui::Component* owner, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TImportEccForm"; }

  void Inizializzazione();
};

// The launcher of the export: the launch road with this window.
void ApriImportEccForm(std::int32_t utente, std::int32_t idApertura);

}  // namespace velmaro
