#pragma once
// The customer price file of one band.
#include <cstdint>

#include "context/launch.h"

namespace velmaro {

class TGeneraFileClientiForm : public FinestraDaExport {
 public:
  TGeneraFileClientiForm(ui::Component* owner, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TGeneraFileClientiForm"; }

  void Inizializzazione();
};

// The launcher of the export: the launch road with this window.
void ApriGeneraFileClientiForm(std::int32_t utente, std::int32_t idApertura);

}  // namespace velmaro
