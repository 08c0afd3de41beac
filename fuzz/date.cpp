// Dates under the module's settings (dd/MM/yyyy): encoding, decoding,
// arithmetic and text, over values of any size.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "check.h"
#include "context/helpers.h"
#include "platform/format.h"

using namespace velmaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  plat::SetItalianFormats();
  FuzzedDataProvider p(data, size);

  // Any value, NaN and infinities included.
  double dt = 0;
  const std::string raw = p.ConsumeBytesAsString(sizeof dt);
  if (raw.size() == sizeof dt) std::memcpy(&dt, raw.data(), sizeof dt);
  if (p.ConsumeBool())
    dt = std::ldexp(p.ConsumeIntegral<int32_t>(), p.ConsumeIntegralInRange(-8, 8));
  int y = -1, m = -1, d = -1, h = -1, mi = -1, s = -1, ms = -1;
  plat::DecodeDate(dt, y, m, d);
  plat::DecodeTime(dt, h, mi, s, ms);
  FUZZ_CHECK(h >= 0 && h < 24 && mi >= 0 && mi < 60 && s >= 0 && s < 60 && ms >= 0 && ms < 1000,
             "time parts");
  const std::string text = plat::DateToStr(dt);
  if (!plat::IsDateInRange(dt)) {
    FUZZ_CHECK(y == 0 && m == 0 && d == 0 && text.empty() && plat::DayOfWeek(dt) == 0,
               "a non-date decoded");
  } else {
    FUZZ_CHECK(y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= plat::DaysInMonth(y, m),
               "date parts");
    FUZZ_CHECK(plat::EncodeDate(y, m, d) == std::trunc(dt), "decode then encode moved the day");
    FUZZ_CHECK(plat::DayOfWeek(dt) >= 1 && plat::DayOfWeek(dt) <= 7, "day of week");
    plat::DateTime again = 0;
    FUZZ_CHECK(plat::TryStrToDate(text, again) && again == std::trunc(dt),
               "date text round trip: " + text);
    FUZZ_CHECK(DataPerSQL(dt).size() == 12, "SQL date literal: " + DataPerSQL(dt));
  }

  // Months added: an in-range date with the same or a shorter month's day,
  // or an error, never a wrapped-around year.
  const int months = p.ConsumeIntegral<int>();
  try {
    const plat::DateTime moved = plat::IncMonth(dt, months);
    FUZZ_CHECK(plat::IsDateInRange(dt) && plat::IsDateInRange(moved), "IncMonth left the range");
    int y2, m2, d2;
    plat::DecodeDate(moved, y2, m2, d2);
    FUZZ_CHECK((int64_t{y2} * 12 + m2) - (int64_t{y} * 12 + m) == months,
               "IncMonth counted wrongly");
    FUZZ_CHECK(d2 == d || (d2 < d && d2 == plat::DaysInMonth(y2, m2)), "IncMonth moved the day");
  } catch (const plat::ConvertError&) {
    const int64_t total = int64_t{y} * 12 + (m - 1) + months;
    FUZZ_CHECK(!plat::IsDateInRange(dt) || total < 12 || total >= 120000,
               "IncMonth refused a valid result");
  }

  // Encoding from parts: accepted exactly when they name a day.
  const int ey = p.ConsumeIntegralInRange(-2, 10001), em = p.ConsumeIntegralInRange(-1, 13),
            ed = p.ConsumeIntegralInRange(-1, 32);
  plat::DateTime encoded = 0;
  const bool ok = plat::TryEncodeDate(ey, em, ed, encoded);
  FUZZ_CHECK(ok == (ey >= 1 && ey <= 9999 && em >= 1 && em <= 12 && ed >= 1 &&
                    ed <= plat::DaysInMonth(ey, em)),
             "TryEncodeDate accepted or refused wrongly");
  if (ok) {
    int y3, m3, d3;
    plat::DecodeDate(encoded, y3, m3, d3);
    FUZZ_CHECK(y3 == ey && m3 == em && d3 == ed, "encode then decode changed the date");
  }

  // Typed text: a date reads back from its own printing; otherwise -1 (0 empty).
  const std::string typed = p.ConsumeRemainingBytesAsString();
  const double value = TestoInData(typed);
  FUZZ_CHECK(DataValida(value) == (value != 0 && value != -1), "DataValida");
  if (DataValida(value)) {
    FUZZ_CHECK(plat::IsDateInRange(value) && value == std::trunc(value),
               "a typed date out of range");
    FUZZ_CHECK(TestoInData(plat::DateToStr(value)) == value, "typed date round trip");
  } else {
    // 30/12/1899 and 29/12/1899 are the days 0 and -1: they read as no date.
    FUZZ_CHECK(value == 0 || value == -1, "TestoInData of no date");
    if (typed.empty()) FUZZ_CHECK(value == 0, "TestoInData of an empty text");
  }
  return 0;
}
