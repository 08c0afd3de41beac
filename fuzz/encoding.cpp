// The encodings: Windows-1252 files and UTF-16 wide text at the boundary,
// UTF-8 inside.
#include "platform/encoding.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // Every Windows-1252 byte has a character: ANSI to UTF-8 and back is exact.
  const std::string utf8 = plat::AnsiToUtf8(bytes);
  FUZZ_CHECK(plat::IsValidUtf8(utf8), "AnsiToUtf8 wrote malformed UTF-8");
  FUZZ_CHECK(plat::Utf8ToAnsi(utf8) == bytes, "ANSI -> UTF-8 -> ANSI changed the bytes");

  // The same bytes read as UTF-8: through wide text and back they are valid
  // UTF-8, unchanged when they were valid.
  const std::u16string wide = plat::Utf8ToUtf16(bytes);
  FUZZ_CHECK(wide.size() <= bytes.size(), "more UTF-16 units than UTF-8 bytes");
  const std::string back = plat::Utf16ToUtf8(wide);
  FUZZ_CHECK(plat::IsValidUtf8(back), "Utf16ToUtf8 wrote malformed UTF-8");
  const bool valid = plat::IsValidUtf8(bytes);
  if (valid) FUZZ_CHECK(back == bytes, "valid UTF-8 changed through UTF-16");

  // To ANSI: one byte a character at most; characters that exist in
  // Windows-1252 come back unchanged.
  const std::string ansi = plat::Utf8ToAnsi(bytes);
  FUZZ_CHECK(ansi.size() <= bytes.size(), "more ANSI bytes than UTF-8 bytes");
  if (valid && ansi.find('?') == std::string::npos)
    FUZZ_CHECK(plat::AnsiToUtf8(ansi) == bytes, "UTF-8 -> ANSI -> UTF-8 changed the text");

  // Raw UTF-16 units, lone surrogates included: always valid UTF-8 out, and
  // back to the same units but for lone surrogates, which become U+FFFD.
  std::u16string units(size / 2, u'\0');
  if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
  const std::string fromUnits = plat::Utf16ToUtf8(units);
  FUZZ_CHECK(plat::IsValidUtf8(fromUnits), "Utf16ToUtf8 of raw units wrote malformed UTF-8");
  std::u16string expected;
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t c = units[i];
    const bool high = c >= 0xD800 && c <= 0xDBFF, low = c >= 0xDC00 && c <= 0xDFFF;
    if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      expected += c;
      expected += units[++i];
    } else {
      expected += (high || low) ? u'\xFFFD' : c;
    }
  }
  FUZZ_CHECK(plat::Utf8ToUtf16(fromUnits) == expected,
             "UTF-16 -> UTF-8 -> UTF-16 changed the units");
  return 0;
}
