// Forms: modal results, closing, deferred frees, keys and focus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/driver.h"
#include "ui/ui.h"
#include "ui_fixture.h"

namespace {

class TDialogoForm : public ui::Form {
 public:
  explicit TDialogoForm(ui::Component* owner) : Form(owner) {
    SetName("Dialogo");
    SetCaption("Dialog");
    Edit1 = ui::Make<ui::Edit>(this, "Edit1");
    (OKBtn = ui::Make<ui::BitBtn>(this, "OKBtn"))->SetKind(ui::BitBtnKind::OK);
    (CancelBtn = ui::Make<ui::BitBtn>(this, "CancelBtn"))->SetKind(ui::BitBtnKind::Cancel);
    DoCreate();
  }
  std::string ClassName() const override { return "TDialogoForm"; }
  ui::Edit* Edit1;
  ui::BitBtn *OKBtn, *CancelBtn;
};

using FormTest = UiTest;

TEST_F(FormTest, ModalResultComesFromButtonsCloseBoxAndKeys) {
  // Catches a modal loop that ignores a button's modal result, a close box
  // that does not give mrCancel, and Enter/Escape not reaching the
  // default and cancel buttons.
  ui::Driver d;
  auto* f = new TDialogoForm(&ui::App());
  d.Enqueue([](ui::Driver& d) { d.Type("TDialogoForm.Edit1", "abc"); });
  d.Enqueue([](ui::Driver& d) { d.Click("TDialogoForm.OKBtn"); });
  EXPECT_EQ(f->ShowModal(), ui::mrOk);
  EXPECT_EQ(f->Edit1->Text(), "abc");

  d.Enqueue([](ui::Driver& d) { d.CloseWindow("TDialogoForm"); });
  EXPECT_EQ(f->ShowModal(), ui::mrCancel);

  d.Enqueue([](ui::Driver& d) { d.PressKey("TDialogoForm.Edit1", ui::VK_RETURN); });
  EXPECT_EQ(f->ShowModal(), ui::mrOk);
  d.Enqueue([](ui::Driver& d) { d.PressKey("TDialogoForm", ui::VK_ESCAPE); });
  EXPECT_EQ(f->ShowModal(), ui::mrCancel);
}

TEST_F(FormTest, RefusedCloseKeepsTheWindowOpen) {
  // Catches OnCloseQuery being ignored, in the modeless close and in the
  // modal loop, and OnClose running after a refusal.
  ui::Driver d;
  auto* f = new TDialogoForm(&ui::App());
  bool allow = false;
  int closes = 0;
  f->OnCloseQuery = [&](ui::Component*, bool& can) { can = allow; };
  f->OnClose = [&](ui::Component*, ui::CloseAction&) { ++closes; };
  f->Show();
  d.CloseWindow("TDialogoForm");
  EXPECT_TRUE(f->Visible());
  EXPECT_EQ(closes, 0);
  allow = true;
  d.CloseWindow("TDialogoForm");
  EXPECT_FALSE(f->Visible());
  EXPECT_EQ(closes, 1);

  allow = false;
  d.Enqueue([](ui::Driver& d) { d.Click("TDialogoForm.OKBtn"); });
  d.Enqueue([&](ui::Driver& d) {
    EXPECT_TRUE(f->Visible());  // the first OK was refused
    allow = true;
    d.Click("TDialogoForm.CancelBtn");
  });
  EXPECT_EQ(f->ShowModal(), ui::mrCancel);
}

TEST_F(FormTest, FreeOnCloseWaitsForTheRunningHandler) {
  // Catches a form freed by caFree while its own click handler is still on
  // the stack (a use after free), and a form never freed at all.
  ui::Driver d;
  auto* f = new TDialogoForm(&ui::App());
  std::vector<std::string> log;
  f->OnClose = [](ui::Component*, ui::CloseAction& a) { a = ui::CloseAction::Free; };
  f->OnDestroy = [&](ui::Component* s) {
    log.push_back("destroy " + static_cast<TDialogoForm*>(s)->Edit1->Text());
  };
  f->OKBtn->OnClick = [&, f](ui::Component*) {
    f->Close();
    log.push_back("after close " + f->Edit1->Text());  // the form must still be whole here
  };
  f->Edit1->SetText("x");
  f->Show();
  auto ref = f->Ref();
  d.Click("TDialogoForm.OKBtn");
  EXPECT_FALSE(ref);
  EXPECT_EQ(log, (std::vector<std::string>{"after close x", "destroy x"}));
}

TEST_F(FormTest, KeyPreviewSeesKeysBeforeTheFocusedControl) {
  // Catches a form that sees keys after its control, or a zeroed key that
  // still reaches the control.
  ui::Driver d;
  auto* f = new TDialogoForm(&ui::App());
  std::vector<std::string> log;
  f->KeyPreview = true;
  f->OnKeyDown = [&](ui::Component*, ui::Word& k, ui::ShiftState s) {
    log.push_back("form down " + std::to_string(k) + ((s & ui::ssCtrl) ? " ctrl" : ""));
    if (k == ui::VK_F2) k = 0;
  };
  f->OnKeyUp = [&](ui::Component*, ui::Word& k, ui::ShiftState) { log.push_back("form up"); };
  f->Edit1->OnKeyDown = [&](ui::Component*, ui::Word& k, ui::ShiftState) {
    log.push_back("edit down " + std::to_string(k));
  };
  f->Edit1->OnKeyUp = [&](ui::Component*, ui::Word&, ui::ShiftState) { log.push_back("edit up"); };
  f->Show();
  d.PressKey("TDialogoForm.Edit1", ui::VK_F5, ui::ssCtrl);
  d.PressKey("TDialogoForm.Edit1", ui::VK_F2);
  EXPECT_EQ(log, (std::vector<std::string>{"form down 116 ctrl", "edit down 116", "form up",
                                           "edit up", "form down 113", "form up", "edit up"}));
  f->KeyPreview = false;
  log.clear();
  d.PressKey("TDialogoForm.Edit1", ui::VK_F5);
  EXPECT_EQ(log, (std::vector<std::string>{"edit down 116", "edit up"}));
}

TEST_F(FormTest, FocusMovesWithEnterAndExitEvents) {
  // Catches focus changes that skip OnExit/OnEnter, Tab that does not walk
  // the tab order, and a disabled control taking the focus.
  ui::Driver d;
  auto* f = new TDialogoForm(&ui::App());
  std::vector<std::string> log;
  f->Edit1->OnExit = [&](ui::Component*) { log.push_back("exit edit"); };
  f->OKBtn->OnEnter = [&](ui::Component*) { log.push_back("enter ok"); };
  f->Show();
  EXPECT_EQ(f->ActiveControl(), f->Edit1);  // the first tab stop on activation
  d.PressKey("TDialogoForm", ui::VK_TAB);
  EXPECT_EQ(f->ActiveControl(), f->OKBtn);
  EXPECT_EQ(log, (std::vector<std::string>{"exit edit", "enter ok"}));
  f->CancelBtn->SetEnabled(false);
  EXPECT_THROW(f->CancelBtn->SetFocus(), ui::Error);
  EXPECT_THROW(d.Click("TDialogoForm.CancelBtn"), ui::DriverError);
}

TEST_F(FormTest, HandlesAreUniqueAndWindowsListInZOrder) {
  // Catches two windows sharing a handle and a window list that does not
  // put the last shown window on top.
  ui::Driver d;
  auto* a = new TDialogoForm(&ui::App());
  auto* b = new ui::Form(&ui::App());
  b->SetCaption("Secondo");
  a->Show();
  b->Show();
  EXPECT_NE(a->Handle(), b->Handle());
  EXPECT_EQ(&d.Window(std::to_string(a->Handle())), a);
  EXPECT_EQ(d.ListWindows(), std::to_string(b->Handle()) + " TForm \"Secondo\"\n" +
                                 std::to_string(a->Handle()) + " TDialogoForm \"Dialog\"\n");
}

TEST_F(FormTest, ActivationFollowsTheTopWindow) {
  // Catches a window that stays active under a modal dialog or does not
  // become active again when the dialog closes, and centring ignored.
  ui::Driver d;
  auto* main = new ui::Form(&ui::App());
  main->SetName("Main");
  std::vector<std::string> log;
  main->OnActivate = [&](ui::Component*) { log.push_back("main on"); };
  main->OnDeactivate = [&](ui::Component*) { log.push_back("main off"); };
  main->Show();
  auto* dlg = new TDialogoForm(main);
  dlg->Position = ui::FormPosition::ScreenCenter;
  dlg->SetBounds(0, 0, 300, 200);
  d.Enqueue([&](ui::Driver& d) {
    EXPECT_EQ(ui::App().ActiveForm(), dlg);
    EXPECT_EQ(dlg->Left(), (ui::Application::ScreenWidth - 300) / 2);
    EXPECT_THROW(d.CloseWindow("Main"), ui::DriverError);  // behind the dialog
    d.Click("TDialogoForm.CancelBtn");
  });
  EXPECT_EQ(dlg->ShowModal(), ui::mrCancel);
  EXPECT_EQ(ui::App().ActiveForm(), main);
  EXPECT_EQ(log, (std::vector<std::string>{"main on", "main off", "main on"}));
  ui::Free(main);  // while the log it writes to still exists
}

}  // namespace
