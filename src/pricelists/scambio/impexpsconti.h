#pragma once
// The exchange of a discount list with a semicolon-separated file: the
// rows are exported in one layout, and a file's lines are appended to the
// list one statement per line, without checks before writing. Opened
// modally by the discount-row page of the price-list editor.
#include <string>
#include <vector>

#include "pricelists/scambio/impexplistino.h"

namespace velmaro {

class TImpExpLisScontiForm : public TImpExpListinoForm {
 public:
  TImpExpLisScontiForm(ui::Component* owner, const std::string& idListino,
                       CellaDataModule* cellaDM);
  std::string ClassName() const override { return "TImpExpLisScontiForm"; }

  void ButtonExpClick() override;
  void ButtonImpClick() override;

  // The statement that appends one line of the file to the list.
  std::vector<std::string> StatementRiga(const std::string& riga) const;
};

}  // namespace velmaro
