#include "context/memorydata_collate.h"

#include <cstdint>
#include <cstring>

namespace velmaro::collate {
namespace {

// Key layout: primary weights, 0x01, accent weights, and (case-sensitive
// only) 0x01, case weights. The separator sits below every weight so that a
// text that is a prefix of another sorts first at each level.
constexpr char kLevelSeparator = 0x01;
constexpr uint8_t kNoAccent = 2;
constexpr uint8_t kLower = 2;
constexpr uint8_t kUpper = 3;
constexpr uint8_t kDigitBase = 70;
constexpr uint8_t kLetterBase = 82;  // 'a'; 26 letters and thorn follow

// Base letters of U+0100..U+017F, two per letter pair (upper, lower).
constexpr char kLatinExtA[] =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlLlLlNnNnNn"
    "nNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(sizeof(kLatinExtA) == 129, "one base letter per code point");

// Base letters of U+00C0..U+00FF; '*' marks the non-letters, '+' expansions.
constexpr char kLatin1[] = "AAAAAA+CEEEEIIIIDNOOOOO*OUUUUY#+aaaaaa+ceeeeiiiidnooooo*ouuuuy#y";
static_assert(sizeof(kLatin1) == 65, "one entry per code point");

struct Weights {
  uint8_t primary[4];
  int primaries = 0;
  uint8_t accent = kNoAccent;
  uint8_t letterCase = kLower;
};

uint32_t Decode(std::string_view s, size_t& i) {
  auto b = static_cast<uint8_t>(s[i++]);
  if (b < 0x80) return b;
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
  if (extra < 0 || i + extra > s.size()) return b;  // stray byte: read as Latin-1
  uint32_t cp = b & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    auto c = static_cast<uint8_t>(s[i + k]);
    if ((c & 0xC0) != 0x80) return b;
    cp = (cp << 6) | (c & 0x3F);
  }
  i += extra;
  return cp;
}

constexpr uint8_t PunctuationWeight(uint32_t c) {
  // Controls, blanks and ASCII symbols keep their code order, below digits.
  if (c < 0x30) return static_cast<uint8_t>(2 + c);            // 2..49
  if (c < 0x41) return static_cast<uint8_t>(50 + (c - 0x3A));  // 50..56
  if (c < 0x61) return static_cast<uint8_t>(57 + (c - 0x5B));  // 57..62
  return static_cast<uint8_t>(63 + (c - 0x7B));                // 63..67
}

void Letter(Weights& w, char base) {
  bool upper = base >= 'A' && base <= 'Z';
  char lower = upper ? static_cast<char>(base - 'A' + 'a') : base;
  w.primary[w.primaries++] = static_cast<uint8_t>(kLetterBase + (lower - 'a'));
  if (upper) w.letterCase = kUpper;
}

void Other(Weights& w, uint32_t cp) {
  // Everything else sorts after the Latin letters, by code point.
  w.primary[w.primaries++] = 0xF0;
  w.primary[w.primaries++] = static_cast<uint8_t>(2 + ((cp >> 14) & 0x7F));
  w.primary[w.primaries++] = static_cast<uint8_t>(2 + ((cp >> 7) & 0x7F));
  w.primary[w.primaries++] = static_cast<uint8_t>(2 + (cp & 0x7F));
}

void Latin1Letter(Weights& w, uint32_t cp) {
  char base = kLatin1[cp - 0xC0];
  if (base == '*') return Other(w, cp);
  w.accent = static_cast<uint8_t>(3 + (cp & 0x1F));
  if (base == '#') {  // thorn sorts after z
    w.primary[w.primaries++] = kLetterBase + 26;
    w.accent = kNoAccent;
    if (cp == 0xDE) w.letterCase = kUpper;
    return;
  }
  if (base != '+') return Letter(w, base);
  bool upper = cp < 0xE0;
  if ((cp & 0x1F) == 0x06) {  // ae ligature
    Letter(w, upper ? 'A' : 'a');
    Letter(w, upper ? 'E' : 'e');
  } else {  // sharp s
    Letter(w, 's');
    Letter(w, 's');
  }
}

Weights WeightsOf(uint32_t cp) {
  Weights w;
  if (cp >= '0' && cp <= '9') {
    w.primary[w.primaries++] = static_cast<uint8_t>(kDigitBase + (cp - '0'));
  } else if ((cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z')) {
    Letter(w, static_cast<char>(cp));
  } else if (cp < 0x80) {
    w.primary[w.primaries++] = PunctuationWeight(cp);
  } else if (cp >= 0xC0 && cp <= 0xFF) {
    Latin1Letter(w, cp);
  } else if (cp >= 0x100 && cp <= 0x17F) {
    Letter(w, kLatinExtA[cp - 0x100]);
    w.accent = static_cast<uint8_t>(40 + (cp - 0x100) / 2);
  } else {
    Other(w, cp);
  }
  return w;
}

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<uint8_t>(c) >= 0x80) return false;
  return true;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

struct AsciiTable {
  uint8_t primary[128];
  bool upper[128];
  constexpr AsciiTable() : primary(), upper() {
    for (uint32_t c = 0; c < 128; ++c) {
      if (c >= '0' && c <= '9') {
        primary[c] = static_cast<uint8_t>(kDigitBase + (c - '0'));
      } else if (c >= 'a' && c <= 'z') {
        primary[c] = static_cast<uint8_t>(kLetterBase + (c - 'a'));
      } else if (c >= 'A' && c <= 'Z') {
        primary[c] = static_cast<uint8_t>(kLetterBase + (c - 'A'));
        upper[c] = true;
      } else {
        primary[c] = PunctuationWeight(c);
      }
    }
  }
};
constexpr AsciiTable kAscii;

// The common case of a text in plain ASCII: one table look-up per byte.
// Returns false (having written nothing) when the text holds other bytes.
bool AppendAsciiKey(std::string_view text, bool caseInsensitive, std::string& out) {
  size_t start = out.size();
  out.resize(start + text.size());
  char* p = out.data() + start;
  bool upper = false;
  for (size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<uint8_t>(text[i]);
    if (c >= 0x80) {
      out.resize(start);
      return false;
    }
    p[i] = static_cast<char>(kAscii.primary[c]);
    upper |= kAscii.upper[c];
  }
  if (caseInsensitive || !upper) return true;
  out.push_back(kLevelSeparator);
  out.append(text.size(), static_cast<char>(kNoAccent));
  out.push_back(kLevelSeparator);
  for (char ch : text)
    out.push_back(static_cast<char>(kAscii.upper[static_cast<uint8_t>(ch)] ? kUpper : kLower));
  return true;
}

}  // namespace

void AppendKey(std::string_view text, bool caseInsensitive, std::string& out) {
  if (AppendAsciiKey(text, caseInsensitive, out)) return;
  bool accents = false, upper = false;
  for (size_t i = 0; i < text.size();) {
    Weights w = WeightsOf(Decode(text, i));
    out.append(reinterpret_cast<const char*>(w.primary), w.primaries);
    accents |= w.accent != kNoAccent;
    upper |= w.letterCase != kLower;
  }
  // A text with no accents and (when case counts) no capitals stops after
  // its primaries: the default weights are the lowest, so the shorter key
  // still sorts first, and the common ASCII case costs one pass.
  if (!accents && (caseInsensitive || !upper)) return;
  out.push_back(kLevelSeparator);
  for (size_t i = 0; i < text.size();) {
    Weights w = WeightsOf(Decode(text, i));
    out.push_back(static_cast<char>(w.accent));
  }
  if (caseInsensitive) return;
  out.push_back(kLevelSeparator);
  for (size_t i = 0; i < text.size();) {
    Weights w = WeightsOf(Decode(text, i));
    out.push_back(static_cast<char>(w.letterCase));
  }
}

int Compare(std::string_view a, std::string_view b, bool caseInsensitive) {
  thread_local std::string ka, kb;
  ka.clear();
  kb.clear();
  AppendKey(a, caseInsensitive, ka);
  AppendKey(b, caseInsensitive, kb);
  int r = ka.compare(kb);
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

bool Equal(std::string_view a, std::string_view b, bool caseInsensitive) {
  if (!caseInsensitive) return a == b;
  if (IsAscii(a) && IsAscii(b)) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
      if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
  }
  return Compare(a, b, true) == 0;
}

std::string_view Prefix(std::string_view text, size_t chars) {
  size_t i = 0;
  for (size_t n = 0; n < chars && i < text.size(); ++n) Decode(text, i);
  return text.substr(0, i);
}

size_t Length(std::string_view text) {
  size_t n = 0;
  for (size_t i = 0; i < text.size(); ++n) Decode(text, i);
  return n;
}

}  // namespace velmaro::collate
