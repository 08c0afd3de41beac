#include "hostinit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "common/temp_folder.h"
#include "db/database.h"
#include "sqlrun.h"
#include "ui/graphics.h"

namespace {

using velmaro::testing::TempFolder;

std::string SqlDir() { return host::SqlFolder("/nonexistent"); }

std::string One(db::Database& d, const std::string& sql) {
  auto r = host::RunSql(d, sql);
  return r.rows.empty() ? std::string("<no row>") : r.rows[0][0];
}

std::map<std::string, long long> Counts(db::Database& d) {
  std::map<std::string, long long> m;
  for (const auto& [t, n] : host::TableRowCounts(d)) m[t] = n;
  return m;
}

TEST(HostInit, MakesTheThreeDatabasesWithOperatorsAndSample) {
  // Fault: a database or table missing from a new host folder, "Archivio"
  // not naming the company database by absolute path, the sample's rows
  // ahead of the TABX generator or its exception classes naming customers
  // the company lacks. The operators, their company and the sample's rows
  // are what every operator script works on.
  TempFolder dir("velmaro-host");
  std::ostringstream summary;
  host::InitHostFolder(dir / "h", SqlDir(), {true, false}, summary);
  host::HostPaths p = host::PathsOf(dir / "h");

  db::Database user, company, exceptions;
  host::OpenHostDatabase(user, p.userDb);
  host::OpenHostDatabase(company, p.companyDb);
  host::OpenHostDatabase(exceptions, p.exceptionsDb);

  EXPECT_EQ(One(user,
                "SELECT VALORE FROM TABBRIVANE WHERE (UTENTE='2')AND(INTESTAZIONE='DEMO')"
                "AND(PARAMETRO='Archivio')"),
            p.companyDb);
  EXPECT_EQ(p.companyDb.front(), '/');

  auto c = Counts(company);
  for (const char* t : {"TABX", "ANAMAG", "CLIENTI", "FORNITO", "CLASSIFICAZIONE1",
                        "CLASSIFICAZIONE6", "TAGLIEOPERATIVE", "TIPIPR", "LISTSC", "LISTSCDTNET",
                        "LISTSCDTSCO", "FASCESC", "FASCESCDT", "CHIAMATEESTERNE"})
    EXPECT_EQ(c.count(t), 1u) << t;
  // The generator of TABX goes on after the rows the sample wrote.
  EXPECT_GT(std::stoll(One(company, "SELECT GEN_ID(CODICETABXCOUNTER,1) FROM RDB$DATABASE")),
            std::stoll(One(company, "SELECT MAX(CODICE) FROM TABX")));

  // Every customer of an exception class exists in the company database.
  auto cli = host::RunSql(exceptions, "SELECT DISTINCT CODCLI FROM CLIECCCLASS");
  for (const auto& row : cli.rows) {
    std::string code = row[0].substr(row[0].size() - 6);
    EXPECT_EQ(One(company, "SELECT COUNT(*) FROM CLIENTI WHERE CODICE='" + code + "'"), "1")
        << code;
  }

  EXPECT_EQ(One(user, "SELECT RDB$CHARACTER_SET_NAME FROM RDB$DATABASE").substr(0, 4), "UTF8");
  EXPECT_EQ(One(company, "SELECT MON$PAGE_SIZE FROM MON$DATABASE"), "4096");
  EXPECT_EQ(One(exceptions, "SELECT MON$SQL_DIALECT FROM MON$DATABASE"), "3");

  ui::Icon icon;
  EXPECT_TRUE(icon.LoadFromFile(p.icon));
  EXPECT_EQ(icon.Width(), 16);
}

TEST(HostInit, RefusesATakenFolderUnlessForced) {
  // Fault: a second init silently replaced an operator's databases, or
  // --force left the old rows behind.
  TempFolder dir("velmaro-host");
  std::ostringstream out;
  host::InitHostFolder(dir / "h", SqlDir(), {true, false}, out);
  EXPECT_THROW(host::InitHostFolder(dir / "h", SqlDir(), {false, false}, out),
               host::AlreadyInitialised);

  host::InitHostFolder(dir / "h", SqlDir(), {false, true}, out);
  db::Database company;
  host::OpenHostDatabase(company, host::PathsOf(dir / "h").companyDb);
  EXPECT_EQ(One(company, "SELECT COUNT(*) FROM ANAMAG"), "0");
  EXPECT_EQ(One(company, "SELECT COUNT(*) FROM TABX"), "1");  // ImpDirEccDB only
}

}  // namespace
