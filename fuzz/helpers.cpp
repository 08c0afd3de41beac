// The text and SQL-date helpers: date literals turned month-first, fields,
// line breaking, alignment, apostrophes and blanks.
#include "context/helpers.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "check.h"
#include "platform/encoding.h"

using namespace velmaro;

namespace {

// Characters (code points) of a UTF-8 text, as the helpers count them.
long Characters(const std::string& utf8) {
  const std::u16string w = plat::Utf8ToUtf16(utf8);
  long n = 0;
  for (char16_t c : w) n += (c >= 0xDC00 && c <= 0xDFFF) ? 0 : 1;
  return n;
}

void DateLiterals(const std::string& sql) {
  const std::string out = InvertiDateSQL(sql);
  FUZZ_CHECK(out.size() == sql.size(), "InvertiDateSQL changed the length");
  std::string a = sql, b = out;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  FUZZ_CHECK(a == b, "InvertiDateSQL did more than reorder characters");
  // No quote moves, and nothing outside the quoted literals changes.
  bool inside = false;
  for (size_t i = 0; i < sql.size(); ++i) {
    if (sql[i] == '\'') {
      FUZZ_CHECK(out[i] == '\'', "a quote moved at " + std::to_string(i) + ": " + out);
      inside = !inside;
      continue;
    }
    FUZZ_CHECK(out[i] != '\'', "a quote appeared at " + std::to_string(i) + ": " + out);
    if (!inside) FUZZ_CHECK(out[i] == sql[i], "text outside the literals changed: " + out);
  }
}

void Fields(const std::string& text, const std::string& delimiter) {
  // The fields joined with their delimiter give the text back.
  const std::u16string w = plat::Utf8ToUtf16(text), delim = plat::Utf8ToUtf16(delimiter);
  if (delim.empty()) return;
  size_t count = 1;
  for (size_t p = w.find(delim); p != std::u16string::npos; p = w.find(delim, p + delim.size()))
    ++count;
  if (count > 200) return;
  std::u16string joined;
  for (size_t n = 1; n <= count; ++n) {
    const std::u16string field = CampoDelimitatoW(w, static_cast<int>(n), delim);
    FUZZ_CHECK(field.find(delim) == std::u16string::npos, "a field holds its delimiter");
    joined += (n > 1 ? delim : u"") + field;
    const std::string narrow = CampoDelimitato(text, static_cast<int>(n), delimiter);
    FUZZ_CHECK(narrow.find(' ') == std::string::npos, "a narrow field kept a blank");
  }
  FUZZ_CHECK(joined == w, "fields do not join back into the text");
  FUZZ_CHECK(CampoDelimitatoW(w, static_cast<int>(count) + 1, delim).empty(),
             "a field past the last");
  FUZZ_CHECK(CampoDelimitato(text, 0, delimiter).empty(), "field 0");
}

void Lines(std::string text, int width) {
  // Lines of at most `width` characters that step through the whole text.
  text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
  const long total = Characters(text);
  long start = 0;
  for (long guard = 0; start < total; ++guard) {
    FUZZ_CHECK(guard <= total, "SpezzaRiga does not advance");
    std::string line;
    const int n = SpezzaRiga(text, line, static_cast<int>(start), width);
    FUZZ_CHECK(n > 0, "SpezzaRiga took nothing before the end");
    FUZZ_CHECK(Characters(line) <= width, "a line wider than its width");
    start += n;
  }
  FUZZ_CHECK(start <= total, "SpezzaRiga stepped past the text");
}

void Alignment(const std::string& text, int width) {
  if (!plat::IsValidUtf8(text)) return;
  const long want = width > 0 ? width : 0;
  const std::string right = AllineaDestra(text, width), left = AllineaSinistra(text, width);
  FUZZ_CHECK(Characters(right) == want && Characters(left) == want,
             "aligned text of the wrong width");
  if (width >= Characters(text)) {
    FUZZ_CHECK(right.size() >= text.size() &&
                   right.compare(right.size() - text.size(), text.size(), text) == 0,
               "right alignment lost the text");
    FUZZ_CHECK(left.compare(0, text.size(), text) == 0, "left alignment lost the text");
  }
}

void Blanks(const std::string& text) {
  const std::string doubled = Apici(text);
  std::string undone;
  for (size_t i = 0; i < doubled.size(); ++i) {
    undone += doubled[i];
    if (doubled[i] == '\'') {
      FUZZ_CHECK(i + 1 < doubled.size() && doubled[i + 1] == '\'', "an apostrophe left single");
      ++i;
    }
  }
  FUZZ_CHECK(undone == text, "Apici changed more than apostrophes");
  FUZZ_CHECK(TogliSpazi(text).find(' ') == std::string::npos, "TogliSpazi kept a blank");
  const std::string trimmed = TogliSpaziFinali(text);
  FUZZ_CHECK(text.compare(0, trimmed.size(), trimmed) == 0, "TogliSpaziFinali is no prefix");
  FUZZ_CHECK(trimmed.empty() || trimmed.back() != ' ', "TogliSpaziFinali kept a trailing blank");
  const std::string spaced = AcapoInSpazi(text);
  FUZZ_CHECK(spaced.size() == text.size() && spaced.find_first_of("\r\n") == std::string::npos,
             "AcapoInSpazi");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider p(data, size);
  const int width = p.ConsumeIntegralInRange(-3, 90);
  const std::string delimiter = p.ConsumeRandomLengthString(3);
  const std::string text = p.ConsumeRemainingBytesAsString();
  DateLiterals(text);
  Fields(text, delimiter);
  if (width > 0) Lines(text, width);
  Alignment(text, width);
  Blanks(text);
  return 0;
}
