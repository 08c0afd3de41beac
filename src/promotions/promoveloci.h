#pragma once
// The quick-promotions window.
#include <cstdint>

#include "context/launch.h"

namespace velmaro {

class TPromoVelociForm : public FinestraDaExport {
 public:
  TPromoVelociForm(ui::Component* owner, CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TPromoVelociForm"; }
};

// The launcher of ShowPromoVelociFormX: the launch road with this window,
// which loads its icon itself.
void ApriPromoVelociForm(std::int32_t utente, std::int32_t idApertura);

}  // namespace velmaro
