// The driver's steps that cannot be taken, and the source feeding modal
// loops. The whole chain operator -> control -> handler -> query -> grid ->
// render is what every operator script drives.
#include "ui/driver.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/ui.h"
#include "ui_fixture.h"

namespace {

class TNomeForm : public ui::Form {
 public:
  explicit TNomeForm(ui::Component* owner) : Form(owner) {
    ui::Make<ui::Button>(this, "ButtonOK", {}, "OK")->ModalResult = ui::mrOk;
    DoCreate();
  }
  std::string ClassName() const override { return "TNomeForm"; }
};

// A window whose "Nuovo" opens TNomeForm modally and whose "Elimina" asks.
class TListiniForm : public ui::Form {
 public:
  TListiniForm() : Form(&ui::App()) {
    ui::Make<ui::Button>(this, "ButtonNuovo")->OnClick = [this](ui::Component*) {
      auto dlg = ui::MakeOwned<TNomeForm>(this);
      dlg->ShowModal();
    };
    ui::Make<ui::Button>(this, "ButtonElimina")->OnClick = [](ui::Component*) {
      ui::MessageDlg("Eliminare?", ui::MsgDlgType::Confirmation, ui::mbYesNo);
    };
    DoCreate();
  }
  std::string ClassName() const override { return "TListiniForm"; }
};

using DriverTest = UiTest;

TEST_F(DriverTest, StepsThatCannotBeTakenFailWithoutHanging) {
  // Catches a modal dialog that blocks (or succeeds) when no answer is
  // queued, clicks reaching a window behind a modal one, actions left
  // queued after a failed step, and failures reported as success.
  ui::Driver d;
  auto* dialog = new TNomeForm(&ui::App());
  EXPECT_EQ(dialog->ShowModal(), ui::mrCancel);
  auto errors = ui::App().TakeErrors();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("nothing to answer: modal window TNomeForm"), std::string::npos);

  (new TListiniForm())->Show();
  try {
    d.Click("TListiniForm.ButtonNuovo");
    FAIL() << "an unanswered dialog must fail the step";
  } catch (const ui::DriverError& e) {
    EXPECT_NE(std::string(e.what()).find("nothing to answer: modal window TNomeForm"),
              std::string::npos);
  }
  d.Enqueue([](ui::Driver& d) { d.Click("TListiniForm.ButtonElimina"); });
  d.Enqueue([](ui::Driver& d) { d.Click("TNomeForm.ButtonOK"); });  // never reached
  EXPECT_THROW(d.Click("TListiniForm.ButtonNuovo"), ui::DriverError);
  EXPECT_EQ(d.Queued(), 0u);
  EXPECT_TRUE(ui::App().Messages().empty());
  EXPECT_THROW(d.Click("TListiniForm.Missing"), ui::DriverError);
  EXPECT_THROW(d.Answer("OK"), ui::DriverError);
  EXPECT_THROW(d.Window("TNessunaForm"), ui::DriverError);
}

TEST_F(DriverTest, ASourceFeedsModalLoopsLineByLine) {
  // Catches a driver that ignores its source once the queue is empty (the host's
  // script lines would never answer a box), and a source asked again after it ran out.
  ui::Driver d;
  std::vector<std::string> lines = {"answer Yes", "answer OK"};
  size_t next = 0, asked = 0;
  d.SetSource([&](ui::Driver& d) {
    ++asked;
    if (next == lines.size()) return false;
    d.Answer(lines[next++].substr(7));
    return true;
  });
  EXPECT_EQ(ui::MessageDlg("Procedere?", ui::MsgDlgType::Confirmation, ui::mbYesNo), ui::mrYes);
  ui::ShowMessage("Fatto");
  EXPECT_EQ(ui::App().Messages().back().Result, ui::mrOk);
  EXPECT_EQ(ui::App().MessageBox("Altro?", "", ui::MB_YESNO), ui::IDCANCEL);
  EXPECT_EQ(asked, 3u);
  EXPECT_EQ(d.Pending(), "");
}

}  // namespace
