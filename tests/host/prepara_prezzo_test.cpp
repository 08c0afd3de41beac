// The host's price procedure PREPARAPREZZO on the sample company.
#include <gtest/gtest.h>

#include <sstream>

#include "common/temp_folder.h"
#include "db/database.h"
#include "hostinit.h"
#include "sqlrun.h"

namespace {

using velmaro::testing::TempFolder;

class PreparaPrezzo : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ostringstream out;
    host::InitHostFolder(dir_ / "h", host::SqlFolder("/nonexistent"), {true, false}, out);
    host::OpenHostDatabase(company_, host::PathsOf(dir_ / "h").companyDb);
  }
  // Price, discounts and deciding list of one article, as text.
  std::string Row(int band, const std::string& article, const std::string& date,
                  const std::string& criteria = "") {
    auto r = host::RunSql(company_,
                          "SELECT CAST(PREZZONETTO AS VARCHAR(20)), CAST(SCONTOUNO AS VARCHAR(20)),"
                          " CAST(SCONTODUE AS VARCHAR(20)), LISTINO_APP FROM PREPARAPREZZO(" +
                              std::to_string(band) + ",'" + criteria + "','" + date +
                              "') WHERE ARTICOLO='" + article + "'");
    if (r.rows.empty()) return "none";
    return r.rows[0][0] + " " + r.rows[0][1] + " " + r.rows[0][2] + " " + r.rows[0][3];
  }
  long long Count(int band, const std::string& criteria, const std::string& date) {
    auto r = host::RunSql(company_, "SELECT COUNT(*) FROM PREPARAPREZZO(" + std::to_string(band) +
                                        ",'" + criteria + "','" + date + "')");
    return std::stoll(r.rows[0][0]);
  }
  TempFolder dir_{"velmaro-host"};
  db::Database company_;
};

TEST_F(PreparaPrezzo, TakesTheFirstListOfTheBandThatPricesTheArticle) {
  // Fault: the band's list order, the validity dates or the reference list
  // of a discount list ignored, giving a price from the wrong list.
  EXPECT_EQ(Row(1, "VTL001", "06/15/2026"), "3.9000 <null> <null> 1");
  EXPECT_EQ(Row(1, "VTL001", "06/15/2024"), "3.7400 <null> <null> 1");  // the 2024 price
  EXPECT_EQ(Row(2, "VTL001", "06/15/2026"), "3.2000 <null> <null> 2");  // resellers' list first
  EXPECT_EQ(Row(3, "TAS001", "06/15/2026"),
            "4.5000 40.0000 5.0000 4");  // article discount on list 1
  EXPECT_EQ(Row(3, "CHC001", "06/15/2026"), "3.8000 20.0000 <null> 3");  // category discount
  EXPECT_EQ(Row(4, "CAV001", "06/15/2026"), "0.3100 12.0000 3.0000 9");  // brand+category on list 2
  // Before the resellers' list began, band 2 falls back on list 1.
  EXPECT_EQ(Row(2, "VTL001", "06/15/2024"), "3.7400 <null> <null> 1");
}

TEST_F(PreparaPrezzo, LeavesOutTheArticlesTheCriteriaSelect) {
  // Fault: the criteria kept the selected articles instead of dropping them,
  // or also dropped articles whose column is empty (unknown condition).
  long long all = Count(1, "", "06/15/2026");
  EXPECT_EQ(all, 266);
  EXPECT_EQ(Count(1, "CLASSIFICAZIONE2=''999''", "06/15/2026"), all - 4);
  EXPECT_EQ(Count(1, "CLASSIFICAZIONE5=''TG-GUANTI''", "06/15/2026"), all - 6);
  EXPECT_EQ(Row(1, "ESP001", "06/15/2026", "CLASSIFICAZIONE2=''999''"), "none");
  EXPECT_EQ(Count(99, "", "06/15/2026"), 0);  // a band that does not exist
}

}  // namespace
