#include "promotions/promoveloci.h"

#include "platform/hostfolder.h"

namespace velmaro {

TPromoVelociForm::TPromoVelociForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("PromoVelociForm");
  OnClose = [this](ui::Component* s, ui::CloseAction& a) { FormClose(s, a); };
  OnDestroy = [this](ui::Component* s) { FormDestroy(s); };
  const std::string icona = FileIconaFinestre();
  if (plat::FileExists(icona)) Icon.LoadFromFile(icona);
  DoCreate();
}

void TPromoVelociForm::FormClose(ui::Component*, ui::CloseAction& action) {
  RilasciaOggettiExport(action);
}

void TPromoVelociForm::FormDestroy(ui::Component*) { RilasciaCellaFinestra(); }

void ApriPromoVelociForm(std::int32_t utente, std::int32_t idApertura) {
  OpzioniLancio opzioni;
  opzioni.IconaDalPercorso = false;
  PercorsoDiLancio(utente, idApertura, opzioni, [](ui::Component* owner, CellaDataModule* cella) {
    return new TPromoVelociForm(owner, cella);
  });
}

}  // namespace velmaro
