#pragma once
// Stand-in entries that open the list-exchange windows the way the
// price-list editor's row pages open them, before the editor exists:
//   call ImpExpNetti <user> <list-id>    net-price list exchange
//   call ImpExpSconti <user> <list-id>   discount list exchange
// The window is modal; the script's next lines drive it until it closes.

#include <string>

#include "context/launch.h"
#include "ui/make.h"

namespace host {

// The objects the launch road gives a window for one operator: the
// context object on the user and company databases and the data module,
// each with its reference holder. Freed in reverse order.
class OperatorContext {
 public:
  explicit OperatorContext(int user);
  ~OperatorContext();
  OperatorContext(const OperatorContext&) = delete;
  OperatorContext& operator=(const OperatorContext&) = delete;
  velmaro::CellaDataModule* DataModule() { return &cellaDM_; }

 private:
  ui::Owned<velmaro::TTabXForm> tabx_;
  velmaro::CellaTabX cellaTabX_;
  ui::Owned<velmaro::TDataModuleVelmaro> dm_;
  velmaro::CellaDataModule cellaDM_;
};

bool IsImpExpEntry(const std::string& name);
// Shows the window modally for the list, then frees it and the context.
void OpenImpExp(const std::string& name, int user, const std::string& listId);

}  // namespace host
