// The application: timers on the virtual clock and message boxes.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/abort.h"
#include "ui/driver.h"
#include "ui/ui.h"
#include "ui_fixture.h"

namespace {

using ApplicationTest = UiTest;

// Shows window "F" with button "B" doing `onClick`.
void ShowButton(std::function<void(ui::Component*)> onClick) {
  auto* f = new ui::Form(&ui::App());
  f->SetName("F");
  ui::Make<ui::Button>(f, "B")->OnClick = std::move(onClick);
  f->Show();
}

TEST_F(ApplicationTest, TimerRestartsOnEveryChange) {
  // Catches a restart that keeps the old due time (the typed-text reload
  // would fire too early), ticks while disabled, and missed repeats.
  ui::Timer t;
  std::vector<std::int64_t> ticks;
  t.SetEnabled(false);
  t.SetInterval(400);
  t.SetOnTimer([&](ui::Component*) { ticks.push_back(ui::App().Now()); });
  std::int64_t start = ui::App().Now();
  ui::App().AdvanceClock(1000);
  EXPECT_TRUE(ticks.empty());
  t.SetEnabled(true);  // typed a key at start+1000
  ui::App().AdvanceClock(300);
  t.SetEnabled(false);  // another key: stop and restart
  t.SetEnabled(true);
  ui::App().AdvanceClock(300);
  EXPECT_TRUE(ticks.empty());
  ui::App().AdvanceClock(100);
  ASSERT_EQ(ticks.size(), 1u);
  EXPECT_EQ(ticks[0], start + 1700);  // 400 ms after the last restart
  ui::App().AdvanceClock(850);
  EXPECT_EQ(ticks.size(), 3u);  // repeats while enabled
  t.SetInterval(1000);
  ui::App().AdvanceClock(999);
  EXPECT_EQ(ticks.size(), 3u);
  ui::App().AdvanceClock(1);
  EXPECT_EQ(ticks.size(), 4u);
}

TEST_F(ApplicationTest, TimersFireInTimeOrderAndMayStopThemselves) {
  // Catches timers fired in creation order instead of due order, and a
  // handler that disables its own timer still being called again.
  ui::Timer a, b;
  std::string log;
  a.SetInterval(300);
  b.SetInterval(200);
  a.SetOnTimer([&](ui::Component*) { log += "a"; });
  b.SetOnTimer([&](ui::Component*) {
    log += "b";
    b.SetEnabled(false);
  });
  ui::App().AdvanceClock(700);
  EXPECT_EQ(log, "baa");
}

TEST_F(ApplicationTest, MessageBoxesWaitForTheOperatorsAnswer) {
  // Catches boxes that return without the answer given, accept a button
  // they do not show, or show the wrong kind or buttons for their flags.
  ui::Driver d;
  d.EnqueueAnswer("No");
  EXPECT_EQ(ui::MessageDlg("Eliminare?", ui::MsgDlgType::Confirmation, ui::mbYesNo), ui::mrNo);
  d.EnqueueAnswer("Cancel");
  EXPECT_EQ(ui::MessageDlg("Sicuro?", ui::MsgDlgType::Warning, ui::mbYesNo), ui::mrCancel);
  auto errors = ui::App().TakeErrors();
  ASSERT_FALSE(errors.empty());
  EXPECT_NE(errors[0].find("has no button \"Cancel\""), std::string::npos);
  EXPECT_EQ(ui::App().Messages()[0].Result, ui::mrNo);
  // The flags of the Windows form give the kind and the buttons.
  EXPECT_EQ(ui::App().MessageBox("Ok?", "Titolo", ui::MB_OKCANCEL | ui::MB_ICONQUESTION),
            ui::IDCANCEL);
  EXPECT_EQ(ui::DescribeMessageBox(ui::App().Messages().back()), "[Confirmation] Ok? [OK/Cancel]");
}

TEST_F(ApplicationTest, ErrorsOfActionsInsideAModalLoopReachTheDisplay) {
  // Catches an action taken inside a modal loop (a script's click on a
  // modal dialog) whose handler's error skips the exception display and
  // reaches the input source, which then ends the dialog and the run.
  ui::Driver d;
  ShowButton([](ui::Component*) { throw std::runtime_error("Errore nel dialogo"); });
  ui::Form& dialog = d.Window("F");
  dialog.Hide();
  std::string escaped;
  int step = 0;
  d.SetSource([&](ui::Driver& drv) {
    try {
      switch (step++) {
        case 0:
          drv.Click("F.B");
          return true;
        case 1:
          drv.Answer("OK");
          return true;
        case 2:
          drv.CloseWindow("F");  // still open after the box
          return true;
        default:
          return false;
      }
    } catch (const std::exception& e) {
      escaped = e.what();
      return false;
    }
  });
  ui::App().ClearMessages();
  EXPECT_EQ(dialog.ShowModal(), ui::mrCancel);
  EXPECT_EQ(escaped, "");
  EXPECT_EQ(step, 3);
  ASSERT_EQ(ui::App().Messages().size(), 1u);
  EXPECT_EQ(ui::DescribeMessageBox(ui::App().Messages()[0]), "[Error] Errore nel dialogo. [OK]");
}

TEST_F(ApplicationTest, UncaughtErrorsReachTheDisplayWhateverTheInputSource) {
  // Catches the last-resort catch living in the test driver only: a
  // handler's error under another input source escaping the message loop,
  // a failing timer stopping the clock for the timers due after it, and a
  // filter event's error lost or breaking the navigation that ran it.
  ShowButton([](ui::Component*) { throw std::runtime_error("Errore del pulsante"); });
  auto* button = dynamic_cast<ui::Button*>(ui::FindDescendant(ui::App().Windows()[0], "B"));
  int clicks = 0;
  auto previous = ui::App().SetInputSource([&] {
    const auto& modal = ui::App().ModalStack();
    if (!modal.empty() && modal.back().box) {
      modal.back().box->Result = ui::mrOk;
      return true;
    }
    if (clicks++ > 0) return false;
    button->Click();
    return true;
  });
  EXPECT_TRUE(ui::App().HandleMessage());

  ui::Timer failing, later;
  failing.SetInterval(100);
  later.SetInterval(150);
  failing.SetOnTimer([&](ui::Component*) {
    failing.SetEnabled(false);
    throw std::runtime_error("Errore del timer");
  });
  int laterTicks = 0;
  later.SetOnTimer([&](ui::Component*) { ++laterTicks; });
  EXPECT_NO_THROW(ui::App().AdvanceClock(200));
  EXPECT_EQ(laterTicks, 1);

  std::unique_ptr<TestRows> rows(MakeBands());
  rows->Open();
  rows->SetOnFilterRecord([](db::DataSet& ds, bool& accept) {
    if (ds.FieldByName("ID").AsInteger() == 2) throw std::runtime_error("Errore del filtro");
    accept = true;
  });
  rows->SetFiltered(true);
  rows->First();
  rows->Next();
  EXPECT_EQ(rows->FieldByName("ID").AsInteger(), 2);
  ui::App().SetInputSource(std::move(previous));

  std::vector<std::string> shown;
  for (const auto& box : ui::App().Messages()) shown.push_back(ui::DescribeMessageBox(box));
  EXPECT_EQ(shown, (std::vector<std::string>{"[Error] Errore del pulsante. [OK]",
                                             "[Error] Errore del timer. [OK]",
                                             "[Error] Errore del filtro. [OK]"}));
}

TEST_F(ApplicationTest, ASilentAbortShowsNothing) {
  // Catches the silent abort of a handler (an insert refused on purpose)
  // shown to the operator as an error box, or failing the step.
  ui::Driver d;
  ShowButton([](ui::Component*) { plat::Abort(); });
  ui::App().ClearMessages();
  EXPECT_NO_THROW(d.Click("F.B"));
  EXPECT_TRUE(ui::App().Messages().empty());
}

}  // namespace
