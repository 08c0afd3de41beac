// Popup menus: positions, OnPopup and shortcuts.
#include <gtest/gtest.h>

#include <string>

#include "ui/driver.h"
#include "ui/ui.h"
#include "ui_fixture.h"

namespace {

using MenusTest = UiTest;

TEST_F(MenusTest, ItemsByPositionCountHiddenItems) {
  // Catches positions that skip hidden items (the F8 item of the grid menu
  // is at 3 after a hidden item 2), and hidden or disabled items clicked
  // by the operator.
  ui::Driver d;
  auto* f = new ui::Form(&ui::App());
  f->SetName("F");
  auto* g = ui::Make<ui::Edit>(f, "E");
  auto* m = new ui::PopupMenu(f);
  g->SetPopupMenu(m);
  std::string log;
  const char* captions[] = {"Ricerca", "Annulla", "Chiave", "Query"};
  for (int i = 0; i < 4; ++i)
    ui::NewItem(m->Items(), f, captions[i], ui::MakeShortCut(ui::Word(ui::VK_F5 + i)),
                [&log, i](ui::Component*) { log += std::to_string(i); });
  m->Items()->Items(2)->Visible = false;
  m->Items()->Items(1)->Enabled = false;
  int popups = 0;
  m->OnPopup = [&](ui::Component*) { ++popups; };
  f->Show();
  d.PopupClick("F.E", 3);
  EXPECT_EQ(log, "3");
  EXPECT_EQ(popups, 1);
  EXPECT_THROW(d.PopupClick("F.E", 2), ui::DriverError);
  EXPECT_THROW(d.PopupClick("F.E", 1), ui::DriverError);
  d.PopupClick("F.E", "ricerca");
  EXPECT_EQ(log, "30");
  m->Items()->Items(2)->Click();  // the program may click a hidden item
  EXPECT_EQ(log, "302");
}

TEST_F(MenusTest, ShortcutsOfTheFocusedControlsMenuTakeTheKey) {
  // Catches menu shortcuts that do not fire from the focused control, or
  // that let the key through to the control as well.
  ui::Driver d;
  auto* f = new ui::Form(&ui::App());
  f->SetName("F");
  auto* e = ui::Make<ui::Edit>(f, "E");
  ui::Make<ui::Edit>(f, "O");
  auto* m = new ui::PopupMenu(f);
  e->SetPopupMenu(m);
  int clicks = 0, downs = 0;
  ui::NewItem(m->Items(), f, "Cerca", ui::MakeShortCut(ui::VK_F5),
              [&](ui::Component*) { ++clicks; });
  e->OnKeyDown = [&](ui::Component*, ui::Word&, ui::ShiftState) { ++downs; };
  f->Show();
  d.PressKey("F.E", ui::VK_F5);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(downs, 0);
  d.PressKey("F.O", ui::VK_F5);  // another control: its own (no) menu
  EXPECT_EQ(clicks, 1);
}

}  // namespace
