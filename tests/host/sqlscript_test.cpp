#include "sqlscript.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(SqlScript, SplitsAtTerminatorsOutsideTextsAndComments) {
  // Fault: a ";" inside a quoted text, a quoted name or a comment cut the
  // statement in two, and a dropped comment shifted the reported lines.
  auto s = host::SplitSqlScript(
      "-- heading; with a terminator\n"
      "CREATE TABLE T (A VARCHAR(10));\n"
      "/* block; comment\n spanning lines */\n"
      "INSERT INTO T VALUES ('a;b''c');\n"
      "INSERT INTO \"T\" VALUES ('x');");
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[0].text, "CREATE TABLE T (A VARCHAR(10))");
  EXPECT_EQ(s[0].line, 2);
  EXPECT_EQ(s[1].text, "INSERT INTO T VALUES ('a;b''c')");
  EXPECT_EQ(s[1].line, 5);
  EXPECT_EQ(s[2].line, 6);
}

TEST(SqlScript, SetTermKeepsPsqlBodiesWhole) {
  // Fault: the ";" between the statements of a procedure body ended the
  // CREATE PROCEDURE, and SET TERM itself was sent to the server.
  auto s = host::SplitSqlScript(
      "SET SQL DIALECT 3;\n"
      "SET TERM ^ ;\n"
      "CREATE PROCEDURE P AS\nBEGIN\n  X = 1;\n  Y = 2;\nEND^\n"
      "SET TERM ; ^\n"
      "COMMIT;\n");
  ASSERT_EQ(s.size(), 2u);
  EXPECT_EQ(s[0].text, "CREATE PROCEDURE P AS\nBEGIN\n  X = 1;\n  Y = 2;\nEND");
  EXPECT_EQ(s[0].line, 3);
  EXPECT_TRUE(host::IsDefinition(s[0].text));
  EXPECT_TRUE(host::IsCommit(s[1].text));
  EXPECT_FALSE(host::IsCommit("COMMIT RETAIN"));
  EXPECT_FALSE(host::IsDefinition("INSERT INTO CREATE_LOG VALUES (1)"));
}

TEST(SqlScript, RefusesUnterminatedInput) {
  // Fault: a missing quote or terminator silently dropped the script's tail.
  EXPECT_THROW(host::SplitSqlScript("INSERT INTO T VALUES ('abc);"), std::runtime_error);
  EXPECT_THROW(host::SplitSqlScript("SELECT 1 FROM RDB$DATABASE"), std::runtime_error);
  EXPECT_THROW(host::SplitSqlScript("/* open comment; SELECT 1;"), std::runtime_error);
  EXPECT_TRUE(host::SplitSqlScript("  \n-- only a comment\n").empty());
}

}  // namespace
