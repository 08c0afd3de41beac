#pragma once
// The settings window of the price-list module.
#include <cstdint>

#include "context/launch.h"

namespace velmaro {

class TLisFasImpostForm : public FinestraDaExport {
 public:
  TLisFasImpostForm(ui::Component* owner, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TLisFasImpostForm"; }

  void Inizializzazione();
};

// The launcher of the export: the launch road with this window.
void ApriLisFasImpostForm(std::int32_t utente, std::int32_t idApertura);

}  // namespace velmaro
