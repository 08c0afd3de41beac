#include "script.h"

#include <gtest/gtest.h>

#include "ui/types.h"

namespace {

TEST(OperatorScript, SplitsWordsAndQuotedTexts) {
  // Fault: a quoted text with blanks or an apostrophe split into words, a
  // doubled quote lost, or an unterminated quote taken as typed.
  auto w = host::SplitScriptLine("  set  Form.Edit1 \"D'Amico & \"\"Figli\"\"\"  ");
  ASSERT_EQ(w.size(), 3u);
  EXPECT_EQ(w[1], "Form.Edit1");
  EXPECT_EQ(w[2], "D'Amico & \"Figli\"");
  EXPECT_EQ(host::SplitScriptLine("set F.E \"\"").at(2), "");
  EXPECT_THROW(host::SplitScriptLine("set F.E \"open"), std::runtime_error);
  EXPECT_EQ(host::RestOfLine("sql  company  SELECT 'a  b' FROM T  ", 2), "SELECT 'a  b' FROM T");
  EXPECT_EQ(host::RestOfLine("windows", 2), "");
}

TEST(OperatorScript, NamesKeys) {
  // Fault: a function key off by one, or an unknown name taken as a key. A
  // function-key number too large to convert shows in hostrun.sh.
  EXPECT_EQ(host::KeyCode("F5"), ui::VK_F5);
  EXPECT_EQ(host::KeyCode("f12"), ui::VK_F12);
  EXPECT_EQ(host::KeyCode("F13"), 0);
  EXPECT_EQ(host::KeyCode("F5x"), 0);
  EXPECT_EQ(host::KeyCode("F012"), 0);
  EXPECT_EQ(host::KeyCode("Enter"), ui::VK_RETURN);
  EXPECT_EQ(host::KeyCode("Escape"), ui::VK_ESCAPE);
  EXPECT_EQ(host::KeyCode("a"), 'A');
  EXPECT_EQ(host::KeyCode("7"), '7');
  EXPECT_EQ(host::KeyCode("Frobnicate"), 0);
}

}  // namespace
