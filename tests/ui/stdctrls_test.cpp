// Edit boxes, check boxes, combos, radio groups, pages and date pickers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ui/driver.h"
#include "ui/ui.h"
#include "ui_fixture.h"

namespace {

class Window : public ui::Form {
 public:
  Window() : Form(&ui::App()) {
    SetName("W");
    EditData = ui::Make<ui::Edit>(this, "EditData");
    Check = ui::Make<ui::CheckBox>(this, "Check");
    Combo = ui::Make<ui::ComboBox>(this, "Combo");
    Combo->Items.Assign({"Netti", "Sconti", "Ricarichi"});
    Radio = ui::Make<ui::RadioGroup>(this, "Radio");
    Radio->Items.Assign({"Tutto", "Solo netti"});
    Pages = ui::Make<ui::PageControl>(this, "Pages");
    for (const char* c : {"Clienti", "Fasce"})
      ui::Make<ui::TabSheet>(this, nullptr, std::string("Tab") + c, {}, c)->SetPageControl(Pages);
    Date = ui::Make<ui::DateTimePicker>(this, "Date");
    DoCreate();
  }
  ui::Edit* EditData;
  ui::CheckBox* Check;
  ui::ComboBox* Combo;
  ui::RadioGroup* Radio;
  ui::PageControl* Pages;
  ui::DateTimePicker* Date;
};

using StdCtrlsTest = UiTest;

TEST_F(StdCtrlsTest, EditTypingHonoursSelectionLimitsAndCase) {
  // Catches typing that ignores the selection, MaxLength or CharCase, a
  // Backspace that deletes the wrong character, and UTF-8 split in two.
  ui::Driver d;
  auto* w = new Window();
  std::vector<std::string> changes;
  w->EditData->OnChange = [&](ui::Component* s) {
    changes.push_back(static_cast<ui::Edit*>(s)->Text());
  };
  w->Show();
  d.TypeKeys("W.EditData", "ab\bc");
  EXPECT_EQ(w->EditData->Text(), "ac");
  EXPECT_EQ(changes, (std::vector<std::string>{"a", "ab", "a", "ac"}));
  w->EditData->SetSelStart(0);
  w->EditData->SetSelLength(1);
  d.TypeKeys("W.EditData", "è");
  EXPECT_EQ(w->EditData->Text(), "èc");
  d.PressKey("W.EditData", ui::VK_DELETE);
  EXPECT_EQ(w->EditData->Text(), "è");
  w->EditData->MaxLength = 3;
  w->EditData->CharCase = ui::EditCharCase::UpperCase;
  d.Type("W.EditData", "abcdef");
  EXPECT_EQ(w->EditData->Text(), "ABC");
  w->EditData->SetText("ABC");  // unchanged: no event
  EXPECT_EQ(changes.back(), "ABC");
  size_t n = changes.size();
  w->EditData->ReadOnly = true;
  EXPECT_THROW(d.Type("W.EditData", "x"), ui::DriverError);
  d.TypeKeys("W.EditData", "x");
  EXPECT_EQ(changes.size(), n);
}

TEST_F(StdCtrlsTest, ClickEventsOnlyForChanges) {
  // Catches check boxes that raise OnClick without a change, combos that
  // raise OnChange for the program's own changes or OnChange and OnSelect
  // both, and radio groups silent when their index changes.
  ui::Driver d;
  auto* w = new Window();
  std::vector<std::string> log;
  w->Check->OnClick = [&](ui::Component*) { log.push_back("check"); };
  w->Combo->OnChange = [&](ui::Component*) { log.push_back("change " + w->Combo->Text()); };
  w->Radio->OnClick = [&](ui::Component*) {
    log.push_back("radio " + std::to_string(w->Radio->ItemIndex()));
  };
  w->Show();
  w->Check->SetChecked(false);
  d.Check("W.Check", true);
  d.Check("W.Check", true);
  w->Combo->SetItemIndex(1);
  d.Select("W.Combo", "Ricarichi");
  w->Combo->OnSelect = [&](ui::Component*) { log.push_back("select"); };
  d.Select("W.Combo", "#0");
  w->Radio->SetItemIndex(1);
  d.Select("W.Radio", "Solo netti");
  EXPECT_EQ(log, (std::vector<std::string>{"check", "change Ricarichi", "select", "radio 1"}));
  w->Combo->Style = ui::ComboBoxStyle::DropDownList;
  d.Type("W.Combo", "sco");
  EXPECT_EQ(w->Combo->ItemIndex(), 1);
  EXPECT_THROW(d.Type("W.Combo", "zz"), ui::DriverError);
}

TEST_F(StdCtrlsTest, PageControlAsksBeforeAnOperatorChange) {
  // Catches a refused tab change that still switches pages, and program
  // changes that raise the operator's events.
  ui::Driver d;
  auto* w = new Window();
  int changes = 0;
  bool allow = false;
  w->Pages->OnChanging = [&](ui::Component*, bool& a) { a = allow; };
  w->Pages->OnChange = [&](ui::Component*) { ++changes; };
  w->Show();
  EXPECT_EQ(w->Pages->ActivePageIndex(), 0);
  d.Click("W.TabFasce");
  EXPECT_EQ(w->Pages->ActivePageIndex(), 0);
  allow = true;
  d.Select("W.Pages", "Fasce");
  EXPECT_EQ(w->Pages->ActivePageIndex(), 1);
  EXPECT_EQ(changes, 1);
  w->Pages->SetActivePageIndex(0);
  EXPECT_EQ(changes, 1);
  // Controls on an inactive page are out of the operator's reach.
  ui::Make<ui::Button>(w->Pages->Pages(1), "OnFasce");
  EXPECT_THROW(d.Click("W.OnFasce"), ui::DriverError);
}

TEST_F(StdCtrlsTest, DatePickerReadsTypedDates) {
  // Catches dates shifted by a day in the serial conversion and invalid
  // dates accepted.
  ui::Driver d;
  auto* w = new Window();
  int changes = 0;
  w->Date->OnChange = [&](ui::Component*) { ++changes; };
  w->Show();
  w->Date->SetDate(ui::EncodeDate(2024, 2, 29));
  EXPECT_EQ(w->Date->Text(), "29/02/2024");
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(ui::EncodeDate(2000, 1, 1), 36526.0);
  d.Type("W.Date", "05/03/24");
  EXPECT_EQ(w->Date->Text(), "05/03/2024");
  EXPECT_EQ(changes, 1);
  EXPECT_THROW(d.Type("W.Date", "31/02/2024"), ui::DriverError);
}

TEST_F(StdCtrlsTest, KeyUpSeesTheTextTheKeyProduced) {
  // Catches key-up arriving before the typed character is in the text
  // (the self-completing date box reads the text at key-up), and a text
  // rewritten at key-up that later keys do not continue.
  ui::Driver d;
  auto* w = new Window();
  std::vector<std::string> seen;
  w->EditData->OnKeyUp = [&](ui::Component*, ui::Word& key, ui::ShiftState) {
    seen.push_back(w->EditData->Text());
    if (key != ui::VK_BACK && w->EditData->Text().size() == 2) {
      w->EditData->SetText(w->EditData->Text() + "/");
      w->EditData->SetSelStart(3);
    }
  };
  w->Show();
  d.TypeKeys("W.EditData", "05");
  d.TypeKeys("W.EditData", "03");
  EXPECT_EQ(w->EditData->Text(), "05/03");
  EXPECT_EQ(seen, (std::vector<std::string>{"0", "05", "05/0", "05/03"}));
}

TEST_F(StdCtrlsTest, GroupedButtonsReleaseEachOther) {
  // Catches speed buttons of one group both down, radio buttons beside
  // each other both checked, and notebook pages showing when not current.
  ui::Driver d;
  auto* w = new Window();
  auto *s1 = ui::Make<ui::SpeedButton>(w, "S1"), *s2 = ui::Make<ui::SpeedButton>(w, "S2");
  s1->GroupIndex = s2->GroupIndex = 1;
  auto* r1 = ui::Make<ui::RadioButton>(w, "R1");
  ui::Make<ui::RadioButton>(w, "R2");
  auto* nb = ui::Make<ui::Notebook>(w, "Nb");
  nb->AddPage("Default");
  ui::Make<ui::Button>(nb->AddPage("Vuota"), "OnSecond");
  w->Show();
  d.Click("W.S1");
  d.Click("W.S2");
  EXPECT_FALSE(s1->Down());
  EXPECT_TRUE(s2->Down());
  d.Click("W.R1");
  d.Check("W.R2", true);
  EXPECT_FALSE(r1->Checked());
  EXPECT_THROW(d.Click("W.OnSecond"), ui::DriverError);
  nb->SetActivePage("vuota");
  d.Click("W.OnSecond");
  auto* pb = ui::Make<ui::ProgressBar>(w, "Pb");
  pb->SetMax(10);
  pb->SetPosition(15);
  EXPECT_EQ(pb->Position(), 10);
}

TEST_F(StdCtrlsTest, DatesOutsideTheCalendarAndBefore1900) {
  // Catches the date box's own arithmetic: values that name no day turned
  // into integers (undefined behaviour, garbage text), typed numbers too
  // large for an int overflowing, and days before 30/12/1899 counted with
  // floor (a day early) instead of towards zero as the rest of the module.
  ui::Driver d;
  auto* w = new Window();
  w->Show();
  for (double nessuno : {1e300, -1e300, std::nan(""), HUGE_VAL}) {
    w->Date->SetDateTime(nessuno);
    EXPECT_EQ(w->Date->Text(), "") << nessuno;
  }
  EXPECT_EQ(ui::FormatDate(-1.5), "29/12/1899");
  EXPECT_EQ(ui::FormatDate(-1.0), "29/12/1899");

  w->Date->SetDateTime(ui::EncodeDate(2024, 5, 3) + 0.25);
  w->Date->SetDate(-1.5);
  EXPECT_EQ(w->Date->Text(), "29/12/1899");
  EXPECT_DOUBLE_EQ(w->Date->DateTimeValue(), -1.25);  // the time of day kept
  EXPECT_EQ(w->Date->Date(), -1.0);

  ui::DateTime letto = 7;
  EXPECT_FALSE(ui::ParseDate("99999999999/1/2024", letto));
  EXPECT_FALSE(ui::ParseDate("1/1/99999999999", letto));
  EXPECT_EQ(letto, 7);
  EXPECT_THROW(d.Type("W.Date", "1/99999999999/2024"), ui::DriverError);
  EXPECT_EQ(w->Date->Text(), "29/12/1899");
}

TEST_F(StdCtrlsTest, PositionsTooLargeForAListAreTheScriptsMistake) {
  // Catches "#<digits>" converted with a throwing std::stoi: a position
  // beyond any int ended a script with "stoi" instead of saying what was
  // wrong, and no item may be chosen on the way.
  ui::Driver d;
  auto* w = new Window();
  w->Show();
  d.Select("W.Combo", "#1");
  EXPECT_EQ(w->Combo->ItemIndex(), 1);
  for (const char* path : {"W.Combo", "W.Pages"}) {
    try {
      d.Select(path, "#99999999999");
      FAIL() << path;
    } catch (const ui::DriverError& e) {
      EXPECT_NE(std::string(e.what()).find("position \"#99999999999\" is out of range"),
                std::string::npos)
          << e.what();
    }
  }
  EXPECT_EQ(w->Combo->ItemIndex(), 1);
}

}  // namespace
