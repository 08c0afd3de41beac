#pragma once
// Stand-in entries that open the list-exchange windows the way the
// price-list editor's row pages open them, before the editor exists:
//   call ImpExpNetti <user> <list-id>    net-price list exchange
//   call ImpExpSconti <user> <list-id>   discount list exchange
// The window is modal; the script's next lines drive it until it closes.

#include <string>

namespace host {

bool IsImpExpEntry(const std::string& name);
// Builds the operator's context object and data module as the launch road
// does, shows the window modally for the list, then frees all of it.
void OpenImpExp(const std::string& name, int user, const std::string& listId);

}  // namespace host
