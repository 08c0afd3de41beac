// How a window owns its parts: Make for controls and data objects, frames,
// and dialogs held for a moment.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "testsets.h"
#include "ui/driver.h"
#include "ui/frame.h"
#include "ui/make.h"
#include "ui/ui.h"

namespace {

using MakeTest = UiTest;

// An object of no toolkit class that writes its name into a log when freed.
struct Part {
  explicit Part(std::string* log) : log_(log) {}
  ~Part() { *log_ += Name + ";"; }
  std::string Name;
  std::string* log_;
};

// A window whose constructor fails after it has made its parts.
class TFailingForm : public ui::Form {
 public:
  TFailingForm(ui::Component* owner, std::string* log) : Form(owner) {
    ui::Make<Part>(this, "Database", log);
    ui::Make<Part>(this, "Query", log);
    ui::Make<ui::Edit>(this, "Edit1");
    throw std::runtime_error("connessione fallita");
  }
};

TEST_F(MakeTest, PartsAreFreedInReverseOrderAlsoWhenTheConstructorThrows) {
  // Catches data objects leaked by a window whose constructor throws, and
  // a connection freed while a query made after it still lives.
  std::string log;
  EXPECT_THROW(TFailingForm(&ui::App(), &log), std::runtime_error);
  EXPECT_EQ(log, "Query;Database;");

  log.clear();
  auto* owner = new ui::Component();
  Part* p = ui::Make<Part>(owner, "Transazione2", &log);
  EXPECT_EQ(p->Name, "Transazione2");
  EXPECT_NE(owner->FindComponent("Transazione2"), nullptr);
  delete owner;
  EXPECT_EQ(log, "Transazione2;");
}

}  // namespace
