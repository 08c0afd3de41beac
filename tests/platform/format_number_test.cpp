#include <gtest/gtest.h>

#include "platform/format.h"

namespace {

class FormatNumber : public ::testing::Test {
 protected:
  void SetUp() override { plat::SetItalianFormats(); }
  void TearDown() override { plat::SetItalianFormats(); }
};

TEST_F(FormatNumber, FloatTextUsesItalianSeparators) {
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

TEST_F(FormatNumber, Integers) {
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

TEST_F(FormatNumber, FormatFloatPictures) {
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
