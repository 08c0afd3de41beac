#include "promotions/promoveloci.h"

#include "platform/hostfolder.h"

namespace velmaro {

TPromoVelociForm::TPromoVelociForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("PromoVelociForm");
  const std::string icona = FileIconaFinestre();
  if (plat::FileExists(icona)) Icon.LoadFromFile(icona);
  DoCreate();
}

void ApriPromoVelociForm(std::int32_t utente, std::int32_t idApertura) {
  LanciaFinestra<TPromoVelociForm>(utente, idApertura, {.IconaDalPercorso = false});
}

}  // namespace velmaro
