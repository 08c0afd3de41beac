#include "platform/format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

// Every test starts and ends with the Italian formats.
class Format : public ::testing::Test {
 protected:
  void SetUp() override { plat::SetItalianFormats(); }
  void TearDown() override { plat::SetItalianFormats(); }
};

TEST_F(Format, SerialNumbersAndCalendar) {
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

TEST_F(Format, ArithmeticAcrossMonthAndYear) {
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
  // Fault: a time a hair under midnight, added back to a larger day number,
  // rounds into the next day (31/12/1899 23:59:59.99... plus a month gave
  // 1/2/1900); on either side of 30/12/1899.
  EXPECT_EQ(plat::DateToStr(plat::IncMonth(1.9999999999999993, 1)), "31/01/1900");
  EXPECT_EQ(plat::DateToStr(plat::IncMonth(1.9999999999999993, 12)), "31/12/1900");
  EXPECT_EQ(plat::DateToStr(plat::IncMonth(-1.9999999999999993, -1)), "29/11/1899");
  EXPECT_EQ(plat::FormatDateTime("hh:nn", plat::IncMonth(1.9999999999999993, 1)), "23:59");
}

TEST_F(Format, OutOfRangeValuesGiveDefinedResults) {
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

TEST_F(Format, TextRoundTrips) {
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

TEST_F(Format, FormatDateTimeLetters) {
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

TEST_F(Format, FloatTextUsesItalianSeparators) {
  // Fault: C-locale "." leaking into texts, or "." accepted as decimal point under ",".
  EXPECT_EQ(plat::FloatToStr(1234.5), "1234,5");
  EXPECT_EQ(plat::FloatToStr(-0.1), "-0,1");
  EXPECT_EQ(plat::FloatToStr(0.1 + 0.2), "0,3");
  EXPECT_EQ(plat::FloatToStr(1e20), "1E20");
  EXPECT_EQ(plat::StrToFloat(" 1234,5 "), 1234.5);
  EXPECT_EQ(plat::StrToFloat("-3"), -3.0);
  EXPECT_EQ(plat::StrToFloat("1,5E2"), 150.0);
  double v = 0;
  for (const char* bad : {"1.5", "1.234,5", "", ",", "12abc", "1e999"})
    EXPECT_FALSE(plat::TryStrToFloat(bad, v)) << bad;
  EXPECT_THROW(plat::StrToFloat("abc"), plat::ConvertError);
  EXPECT_EQ(plat::FloatToStr(1.0 / 3.0), "0,333333333333333");  // 15 digits, as shown
  for (double x : {0.0, 0.1, -98765.4321, 1e-7, 123456789012345.0})
    EXPECT_DOUBLE_EQ(plat::StrToFloat(plat::FloatToStr(x)), x);
  plat::Formats().DecimalSeparator = '.';
  EXPECT_EQ(plat::FloatToStr(2.5), "2.5");
  EXPECT_EQ(plat::StrToFloat("2.5"), 2.5);
}

TEST_F(Format, Integers) {
  // Fault: overflow wrapping silently, trailing junk accepted, defaults ignored.
  EXPECT_EQ(plat::IntToStr(-42), "-42");
  EXPECT_EQ(plat::StrToInt(" 17"), 17);
  EXPECT_EQ(plat::StrToInt("$1F"), 31);
  EXPECT_EQ(plat::StrToInt64("-9223372036854775808"), INT64_MIN);
  int n = 0;
  for (const char* bad : {"2147483648", "12 ", "-"}) EXPECT_FALSE(plat::TryStrToInt(bad, n)) << bad;
  EXPECT_EQ(plat::StrToIntDef("x", 5), 5);
  EXPECT_THROW(plat::StrToInt("1,5"), plat::ConvertError);
}

TEST_F(Format, FormatFloatPictures) {
  // Fault: binary rounding (2.345 -> 2,34), wrong grouping, wrong sections.
  EXPECT_EQ(plat::FormatFloat("0.00", 2.345), "2,35");
  EXPECT_EQ(plat::FormatFloat("0.00", -2.345), "-2,35");
  EXPECT_EQ(plat::FormatFloat("#,##0.00", 1234567.891), "1.234.567,89");
  EXPECT_EQ(plat::FormatFloat("#,##0.00", 999.999), "1.000,00");
  EXPECT_EQ(plat::FormatFloat("#,##0.###", 1234.5), "1.234,5");
  EXPECT_EQ(plat::FormatFloat("#,##0.###", 12), "12");
  // A leading "," groups thousands like "#,0.00"; it is never printed.
  EXPECT_EQ(plat::FormatFloat(",0.00", 3.74), "3,74");
  EXPECT_EQ(plat::FormatFloat(",0.00", 1234.5), "1.234,50");
  EXPECT_EQ(plat::FormatFloat("0", 0.5), "1");
  EXPECT_EQ(plat::FormatFloat("0", -0.4), "0");
  EXPECT_EQ(plat::FormatFloat("000", 7), "007");
  EXPECT_EQ(plat::FormatFloat("0.00", 0.005), "0,01");
  EXPECT_EQ(plat::FormatFloat("0.0", 1e15), "1000000000000000,0");
  EXPECT_EQ(plat::FormatFloat("0.00 '€'", 3), "3,00 €");
  EXPECT_EQ(plat::FormatFloat("0.00;(0.00)", -4.5), "(4,50)");
  EXPECT_EQ(plat::FormatFloat("0.00;(0.00);'zero'", 0.001), "zero");
  EXPECT_EQ(plat::FormatFloat("#", 0), "");
}

}  // namespace
