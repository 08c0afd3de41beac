#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "platform/format.h"

namespace {

class FormatDate : public ::testing::Test {
 protected:
  void SetUp() override { plat::SetItalianFormats(); }
  void TearDown() override { plat::SetItalianFormats(); }
};

TEST_F(FormatDate, SerialNumbersAndCalendar) {
  // Fault: wrong epoch, leap rules or decoding of dates before 1899.
  EXPECT_EQ(plat::EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(plat::EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(plat::EncodeDate(2024, 2, 29), 45351.0);
  EXPECT_TRUE(plat::IsLeapYear(2000));
  EXPECT_FALSE(plat::IsLeapYear(1900));
  EXPECT_EQ(plat::DaysInMonth(2023, 2), 28);
  EXPECT_EQ(plat::DaysInMonth(2024, 2), 29);
  plat::DateTime d = 0;
  EXPECT_FALSE(plat::TryEncodeDate(2023, 2, 29, d));
  EXPECT_FALSE(plat::TryEncodeDate(2023, 13, 1, d));
  EXPECT_THROW(plat::EncodeDate(2023, 4, 31), plat::ConvertError);
  int y, m, dd;
  plat::DecodeDate(-1.25, y, m, dd);  // 29/12/1899 06:00
  EXPECT_EQ((std::vector<int>{y, m, dd}), (std::vector<int>{1899, 12, 29}));
  int h, mi, s, ms;
  plat::DecodeTime(-1.25, h, mi, s, ms);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(plat::DayOfWeek(plat::EncodeDate(2024, 3, 5)), 3);  // Tuesday
}

TEST_F(FormatDate, ArithmeticAcrossMonthAndYear) {
  // Fault: subtracting a day or adding months lands on an impossible date.
  EXPECT_EQ(plat::DateToStr(plat::EncodeDate(2024, 3, 1) - 1), "29/02/2024");
  EXPECT_EQ(plat::DateToStr(plat::EncodeDate(2023, 3, 1) - 1), "28/02/2023");
  EXPECT_EQ(plat::DateToStr(plat::EncodeDate(2024, 1, 1) - 1), "31/12/2023");
  EXPECT_EQ(plat::DateToStr(plat::IncMonth(plat::EncodeDate(2024, 1, 31), 1)), "29/02/2024");
  EXPECT_EQ(plat::DateToStr(plat::IncMonth(plat::EncodeDate(2024, 1, 15), -1)), "15/12/2023");
  // Before 30/12/1899 the time counts away from zero: a month after
  // 29/12/1899 06:00 is 29/01/1900 06:00, not 28/01 at 18:00.
  EXPECT_EQ(plat::FormatDateTime("dd/mm/yyyy hh:nn", plat::IncMonth(-1.25, 1)), "29/01/1900 06:00");
  EXPECT_EQ(plat::FormatDateTime("dd/mm/yyyy hh:nn", plat::IncMonth(-31.25, -1)),
            "29/10/1899 06:00");
}

TEST_F(FormatDate, OutOfRangeValuesGiveDefinedResults) {
  // Fault: undefined behaviour (signed overflow in month increments and day
  // conversion, float-to-integer casts out of range) on values that name no
  // day: garbage dates, or reports of the sanitizer build.
  const double last = plat::EncodeDate(9999, 12, 31), first = plat::EncodeDate(1, 1, 1);
  EXPECT_TRUE(plat::IsDateInRange(last + 0.99) && plat::IsDateInRange(first - 0.5));
  for (double v : {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e300, 9.3e18, last + 1, first - 1}) {
    EXPECT_FALSE(plat::IsDateInRange(v)) << v;
    int y = -1, m = -1, d = -1;
    plat::DecodeDate(v, y, m, d);
    EXPECT_EQ(y + m + d, 0) << v;
    EXPECT_EQ(plat::DayOfWeek(v), 0) << v;
    EXPECT_EQ(plat::FormatDateTime("dddd dd mmmm yyyy hh:nn", v), "") << v;
    EXPECT_THROW(plat::IncMonth(v, 1), plat::ConvertError) << v;
  }
  int h = -1, mi = -1, s = -1, ms = -1;
  plat::DecodeTime(HUGE_VAL, h, mi, s, ms);
  EXPECT_EQ(h + mi + s + ms, 0);

  const double day = plat::EncodeDate(2024, 1, 15);
  for (int months : {INT_MAX, INT_MIN, 12 * 8000, -12 * 2024})
    EXPECT_THROW(plat::IncMonth(day, months), plat::ConvertError) << months;
  EXPECT_THROW(plat::IncMonth(plat::EncodeDate(9999, 12, 1), 1), plat::ConvertError);
  EXPECT_EQ(plat::DateToStr(plat::IncMonth(plat::EncodeDate(1, 2, 28), -1)), "28/01/0001");
  EXPECT_EQ(plat::DateToStr(plat::IncMonth(day, 12 * 7975 + 11)), "15/12/9999");
}

TEST_F(FormatDate, TextRoundTrips) {
  // Fault: dates read in month-first order, impossible dates accepted, junk accepted.
  const plat::DateTime d = plat::EncodeDate(2023, 12, 31);
  EXPECT_EQ(plat::DateToStr(d), "31/12/2023");
  EXPECT_EQ(plat::StrToDate("31/12/2023"), d);
  EXPECT_EQ(plat::StrToDate(" 5/3/2024 "), plat::EncodeDate(2024, 3, 5));
  EXPECT_EQ(plat::StrToDate("05/03/24"), plat::EncodeDate(2024, 3, 5));
  EXPECT_EQ(plat::StrToDate("05/03/75"), plat::EncodeDate(1975, 3, 5));
  EXPECT_EQ(plat::StrToDate("29/02/2024"), plat::EncodeDate(2024, 2, 29));
  plat::DateTime r = 0;
  for (const char* bad :
       {"29/02/2023", "31/02/2023", "abc", "", "1/2/3/4", "12-03-2024", "123/03/2024"})
    EXPECT_FALSE(plat::TryStrToDate(bad, r)) << bad;
  EXPECT_THROW(plat::StrToDate("32/01/2024"), plat::ConvertError);
  int y, m, dd;
  plat::DecodeDate(plat::StrToDate("7/8"), y, m, dd);
  EXPECT_TRUE(m == 8 && dd == 7);
  plat::Formats().ShortDateFormat = "MM/dd/yyyy";
  EXPECT_EQ(plat::DateToStr(d), "12/31/2023");
  EXPECT_EQ(plat::StrToDate("12/31/2023"), d);
}

TEST_F(FormatDate, FormatDateTimeLetters) {
  // Fault: "mm" after hours printed as month, separators not taken from the settings.
  const plat::DateTime dt = plat::EncodeDate(2024, 3, 5) + plat::EncodeTime(14, 7, 9, 0);
  EXPECT_EQ(plat::FormatDateTime("mm/dd/yyyy", dt), "03/05/2024");
  EXPECT_EQ(plat::FormatDateTime("dd/mm/yyyy", dt), "05/03/2024");
  EXPECT_EQ(plat::FormatDateTime("MM-DD-YYYY", dt), "03-05-2024");
  EXPECT_EQ(plat::FormatDateTime("hh:nn:ss", dt), "14:07:09");
  EXPECT_EQ(plat::FormatDateTime("hh:mm", dt), "14:07");
  EXPECT_EQ(plat::FormatDateTime("yyyymmdd", dt), "20240305");
  EXPECT_EQ(plat::FormatDateTime("d mmmm yy", dt), "5 marzo 24");
  EXPECT_EQ(plat::FormatDateTime("'ore' h", dt), "ore 14");
  plat::Formats().DateSeparator = '.';
  EXPECT_EQ(plat::FormatDateTime("dd/mm/yyyy", dt), "05.03.2024");
  EXPECT_EQ(plat::Date(), static_cast<double>(static_cast<long>(plat::Now())));
}

}  // namespace
