#include "impexpcall.h"

#include "context/datamodule.h"
#include "context/launch.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "platform/format.h"
#include "pricelists/impexpnetti.h"
#include "pricelists/impexpsconti.h"
#include "ui/application.h"
#include "ui/make.h"

namespace host {

bool IsImpExpEntry(const std::string& name) {
  return name == "ImpExpNetti" || name == "ImpExpSconti";
}

void OpenImpExp(const std::string& name, int user, const std::string& listId) {
  plat::SetItalianFormats();
  // Declared in the order of their making: they go in reverse.
  auto tabx = ui::MakeOwned<velmaro::TTabXForm>(&ui::App(), std::uint8_t(0));
  velmaro::CellaTabX cellaTabX(tabx.get());
  tabx->SetUserPerNum(user);
  std::string archivio;
  tabx->CaricaParametro("Archivio", archivio);
  tabx->Inserisci("BVN", "Archivio", "", archivio, "", "", "", "", std::to_string(user));
  tabx->IBDatabase1->SetConnected(false);
  tabx->ConnettiDatabase1("Archivio");
  auto dm = ui::MakeOwned<velmaro::TDataModuleVelmaro>(&ui::App(), &cellaTabX);
  velmaro::CellaDataModule cellaDM(dm.get());
  ui::Owned<ui::Form> form;
  if (name == "ImpExpNetti")
    form = ui::MakeOwned<velmaro::TImpExpLisNettiForm>(&ui::App(), listId, &cellaDM);
  else
    form = ui::MakeOwned<velmaro::TImpExpLisScontiForm>(&ui::App(), listId, &cellaDM);
  form->ShowModal();
}

}  // namespace host
