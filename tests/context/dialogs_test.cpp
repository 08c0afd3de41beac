#include <gtest/gtest.h>

#include "context/editdata.h"
#include "context/qelin.h"
#include "ui/driver.h"

namespace velmaro {
namespace {

TEST(QelDialogs, EsitoAndFocus) {
  // Fault: OK and Cancel not telling apart, the close box taken for OK, or
  // the focus left on the OK button instead of the first box. The server
  // question's OK and Cancel show in ApriCreaDatabase.FirstRunQuestion.
  ui::Driver d;
  {
    TQelIn2Form dlg(nullptr);
    bool focused = false;
    d.Enqueue([&](ui::Driver& drv) {
      focused = dlg.Edit1->Focused();
      drv.Click("TQelIn2Form.OKBtn");
    });
    dlg.ShowModal();
    EXPECT_TRUE(focused);
  }
  {
    TQelIn1Form dlg(nullptr);
    d.Enqueue([](ui::Driver& drv) { drv.Click("TQelIn1Form.CancelBtn"); });
    dlg.ShowModal();
    EXPECT_EQ(dlg.Esito, 2);
  }
  {
    TQelDataForm dlg(nullptr);
    bool focused = false;
    d.Enqueue([&](ui::Driver& drv) {
      focused = dlg.EditData1->Focused();
      drv.CloseWindow("TQelDataForm");
    });
    dlg.ShowModal();
    EXPECT_TRUE(focused);
    EXPECT_EQ(dlg.Esito, 0);
  }
}

// Fixture: a shown date dialog whose box the driver types into.
class DateBox : public ::testing::Test {
 protected:
  DateBox() : dlg(nullptr) { dlg.Show(); }
  std::string Typed(const std::string& keys) {
    dlg.EditData1->SetText("");
    d.TypeKeys("TQelDataForm.EditData1", keys);
    return dlg.EditData1->Text();
  }
  std::string Selected() const { return dlg.EditData1->SelText(); }
  ui::Driver d;
  TQelDataForm dlg;
};

TEST_F(DateBox, CompletesDayMonthAndYear) {
  // Fault: the slash or leading zero not added, the wrong century, or a
  // four-digit year cut short.
  EXPECT_EQ(Typed("5/"), "05/");
  EXPECT_EQ(Typed("12"), "12/");
  EXPECT_EQ(Typed("1a"), "01/");
  EXPECT_EQ(Typed("053/"), "05/03/");
  EXPECT_EQ(Typed("0503"), "05/03/");
  EXPECT_EQ(Typed("050324"), "05/03/2024");
  EXPECT_EQ(Typed("050375"), "05/03/1975");
  EXPECT_EQ(Typed("050319"), "05/03/19");
  EXPECT_EQ(Typed("05031987"), "05/03/1987");
  EXPECT_EQ(dlg.EditData1->SelStart(), 10);
}

TEST_F(DateBox, WrongPartsAreSelected) {
  // Fault: a wrong day, month or year accepted, replaced by the error word,
  // or the wrong part selected for retyping.
  EXPECT_EQ(Typed("32"), "32");
  EXPECT_EQ(Selected(), "32");
  EXPECT_EQ(Typed("00"), "00");
  EXPECT_EQ(Selected(), "00");
  EXPECT_EQ(Typed("0513"), "05/13");
  EXPECT_EQ(dlg.EditData1->SelStart(), 3);
  EXPECT_EQ(Selected(), "13");
  EXPECT_EQ(TEditData::ControllaData("05/03/ab", '9'), "errore3");
  EXPECT_EQ(TEditData::ControllaData("05/03/a", '9'), "05/03/a");
}

TEST_F(DateBox, EditingKeysChangeNothing) {
  // Fault: Backspace or the arrows completing the date again, so the
  // operator can never remove a slash.
  EXPECT_EQ(Typed("05"), "05/");
  d.PressKey("TQelDataForm.EditData1", ui::VK_BACK);
  EXPECT_EQ(dlg.EditData1->Text(), "05");
  EXPECT_EQ(Typed("0503"), "05/03/");
  d.PressKey("TQelDataForm.EditData1", ui::VK_BACK);
  EXPECT_EQ(dlg.EditData1->Text(), "05/03");
  for (ui::Word key : {ui::VK_DELETE, ui::VK_LEFT, ui::VK_RIGHT, ui::Word(3)})
    EXPECT_EQ(TEditData::ControllaData("05/03/24", key), "05/03/24");
  EXPECT_EQ(TEditData::EstraiNumero("a1b2"), 12);
  EXPECT_EQ(TEditData::EstraiNumero("ab"), 0);
}

}  // namespace
}  // namespace velmaro
