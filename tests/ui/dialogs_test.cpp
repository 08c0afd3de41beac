// File and colour dialogs answered by the operator.
#include <gtest/gtest.h>

#include "ui/driver.h"
#include "ui/ui.h"
#include "ui_fixture.h"

namespace {

using DialogsTest = UiTest;

TEST_F(DialogsTest, FileNamesAreCompletedAndCancelIsFalse) {
  // Catches a relative answer not taken in the initial folder, a missing
  // default extension, a cancelled dialog reported as confirmed, and a
  // proposed name that OK does not accept.
  ui::Driver d;
  ui::SaveDialog save;
  save.InitialDir = "/dati/export/";
  save.DefaultExt = "csv";
  d.EnqueueFile("prezzi");
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName, "/dati/export/prezzi.csv");
  d.EnqueueFile("/altro/listino.txt");
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName, "/altro/listino.txt");
  d.EnqueueAnswer("OK");
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName, "/altro/listino.txt");
  d.EnqueueAnswer("Cancel");
  EXPECT_FALSE(save.Execute());
  EXPECT_FALSE(save.Execute());  // nobody answers
  EXPECT_EQ(ui::App().TakeErrors().size(), 1u);

  ui::ColorDialog color;
  d.EnqueueFile("$00FF00");
  ASSERT_TRUE(color.Execute());
  EXPECT_EQ(color.Color, ui::clLime);
  d.EnqueueFile("verde");
  EXPECT_FALSE(color.Execute());
  EXPECT_EQ(ui::App().TakeErrors().size(), 2u);  // the bad answer, then nothing left
}

}  // namespace
