// The host's operator script lines: words, quoted texts, the rest of a
// line and key names.
#include "script.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "check.h"

namespace {

std::string Quoted(const std::string& word) {
  std::string out = "\"";
  for (char c : word) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

bool Blank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> words;
  try {
    words = host::SplitScriptLine(line);
  } catch (const std::runtime_error&) {
    // Only an unterminated quoted text is refused; it needs a quote.
    FUZZ_CHECK(line.find('"') != std::string::npos, "a line without quotes was refused");
    return 0;
  }

  // Every word quoted and joined again splits into the same words.
  std::string again;
  for (const std::string& w : words) again += Quoted(w) + " ";
  FUZZ_CHECK(host::SplitScriptLine(again) == words, "quoting the words changed them");

  // The rest of the line is a piece of it, trimmed.
  for (int k = 0; k <= static_cast<int>(words.size()) + 1; ++k) {
    const std::string rest = host::RestOfLine(line, k);
    FUZZ_CHECK(line.find(rest) != std::string::npos, "RestOfLine is no piece of the line");
    FUZZ_CHECK(rest.empty() || (!Blank(rest.front()) && !Blank(rest.back())),
               "RestOfLine not trimmed");
  }

  // Key names: a function key is F1 to F12 and nothing else.
  for (const std::string& w : words) {
    const unsigned short key = host::KeyCode(w);
    if (w.size() >= 2 && (w[0] == 'F' || w[0] == 'f') &&
        std::isdigit(static_cast<unsigned char>(w[1]))) {
      const std::string n = w.substr(1);
      const bool fkey = n.size() <= 2 && n.find_first_not_of("0123456789") == std::string::npos &&
                        std::stoi(n) >= 1 && std::stoi(n) <= 12;
      FUZZ_CHECK((key != 0) == fkey, "function key " + w + " read wrongly");
    }
  }
  return 0;
}
