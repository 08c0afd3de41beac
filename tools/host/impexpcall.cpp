#include "impexpcall.h"

#include "context/datamodule.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "platform/format.h"
#include "pricelists/scambio/impexpnetti.h"
#include "pricelists/scambio/impexpsconti.h"
#include "ui/application.h"

namespace host {

OperatorContext::OperatorContext(int user) {
  plat::SetItalianFormats();
  tabx_ = ui::MakeOwned<velmaro::TTabXForm>(&ui::App(), std::uint8_t(0));
  cellaTabX_.Imposta(tabx_.get());
  tabx_->SetUserPerNum(user);
  std::string archivio;
  tabx_->CaricaParametro("Archivio", archivio);
  tabx_->Inserisci("BVN", "Archivio", "", archivio, "", "", "", "", std::to_string(user));
  tabx_->IBDatabase1->SetConnected(false);
  tabx_->ConnettiDatabase1("Archivio");
  dm_ = ui::MakeOwned<velmaro::TDataModuleVelmaro>(&ui::App(), &cellaTabX_);
  cellaDM_.Imposta(dm_.get());
}

OperatorContext::~OperatorContext() = default;

bool IsImpExpEntry(const std::string& name) {
  return name == "ImpExpNetti" || name == "ImpExpSconti";
}

void OpenImpExp(const std::string& name, int user, const std::string& listId) {
  OperatorContext context(user);
  ui::Owned<ui::Form> form;
  if (name == "ImpExpNetti")
    form = ui::MakeOwned<velmaro::TImpExpLisNettiForm>(&ui::App(), listId, context.DataModule());
  else
    form = ui::MakeOwned<velmaro::TImpExpLisScontiForm>(&ui::App(), listId, context.DataModule());
  form->ShowModal();
}

}  // namespace host
