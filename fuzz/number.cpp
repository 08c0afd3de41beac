// Numbers under the module's Italian settings: integer and floating-point
// text, picture formats, the helpers that print and round amounts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "check.h"
#include "context/helpers.h"
#include "platform/format.h"

using namespace velmaro;

namespace {

// "1.234,50" read back as a number: thousands separators dropped.
double ReadAmount(const std::string& text) {
  std::string plain;
  for (char c : text)
    if (c != '.') plain += c;
  double v = 0;
  FUZZ_CHECK(plat::TryStrToFloat(plain, v), "formatted amount does not read back: " + text);
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  plat::SetItalianFormats();
  FuzzedDataProvider p(data, size);

  const int64_t whole = p.ConsumeIntegral<int64_t>();
  int64_t back = 0;
  FUZZ_CHECK(plat::TryStrToInt64(plat::IntToStr(whole), back) && back == whole,
             "integer round trip");

  double d = 0;
  const std::string raw = p.ConsumeBytesAsString(sizeof d);
  if (raw.size() == sizeof d) std::memcpy(&d, raw.data(), sizeof d);

  // Shortest text and back: the same value to 15 significant digits (but
  // near the largest double, whose 15 digits round up beyond it).
  if (std::isfinite(d) && (d == 0 || std::fabs(d) >= DBL_MIN) && std::fabs(d) < 1e308) {
    double r = 0;
    const std::string t = plat::FloatToStr(d);
    FUZZ_CHECK(plat::TryStrToFloat(t, r), "FloatToStr text does not read back: " + t);
    FUZZ_CHECK(std::fabs(r - d) <= 1e-14 * std::fabs(d), "FloatToStr round trip: " + t);
  }

  // Amounts: two decimals with thousands separators, within half a cent.
  if (std::isfinite(d) && std::fabs(d) < 1e13) {
    const std::string t = plat::FormatFloat("#,##0.00", d);
    FUZZ_CHECK(std::fabs(ReadAmount(t) - d) <= 0.0050001 + 1e-13 * std::fabs(d),
               "two decimals: " + t);
    FUZZ_CHECK(FormattaDueDecimali(d).empty() == (d == 0), "zero prints empty, nothing else does");
    const int decimals = p.ConsumeIntegralInRange(0, 9);
    const double scale = std::pow(10.0, decimals);
    const double r = ArrotondaDecimali(decimals, d);
    FUZZ_CHECK(std::fabs(r - d) <= 0.5000002 / scale + 1e-12 * std::fabs(d),
               "rounding moved too far");
    FUZZ_CHECK(std::fabs(r * scale - std::round(r * scale)) <= 1e-6 + 1e-12 * std::fabs(r * scale),
               "rounding left more decimals");
  }
  const int anyDecimals = p.ConsumeIntegralInRange(-5, 30);
  const double rounded = ArrotondaDecimali(anyDecimals, d);
  FUZZ_CHECK(std::isnan(d) == std::isnan(rounded), "rounding made or lost a NaN");

  // Any picture format: a bounded text, nothing read past the format.
  const std::string format = p.ConsumeRandomLengthString(40);
  const std::string shown = plat::FormatFloat(format, d);
  FUZZ_CHECK(shown.size() <= 4 * format.size() + 450, "picture output unbounded");

  // Typed text: what reads as a number reads back from its own printing.
  const std::string typed = p.ConsumeRemainingBytesAsString();
  double v = 0;
  if (plat::TryStrToFloat(typed, v)) {
    FUZZ_CHECK(std::isfinite(v), "a typed text read as an infinite number");
    FUZZ_CHECK(TestoInNumero(typed) == v, "TestoInNumero differs from the parse");
  } else {
    FUZZ_CHECK(TestoInNumero(typed) == (typed.empty() ? 0 : -1), "TestoInNumero of no number");
  }
  int small = 0;
  if (plat::TryStrToInt(typed, small)) {
    int again = 0;
    FUZZ_CHECK(plat::TryStrToInt(plat::IntToStr(small), again) && again == small, "int round trip");
  }
  return 0;
}
