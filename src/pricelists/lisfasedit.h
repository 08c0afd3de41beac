#pragma once
// The editor of price lists and price bands.
#include <cstdint>

#include "context/launch.h"

namespace velmaro {

class TLisFasEditForm : public FinestraDaExport {
 public:
  TLisFasEditForm(ui::Component* owner, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TLisFasEditForm"; }

  void Inizializzazione();
};

// The launcher of the export: the launch road with this window.
void ApriLisFasEditForm(std::int32_t utente, std::int32_t idApertura);

}  // namespace velmaro
