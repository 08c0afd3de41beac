// Internal: character positions in UTF-8 texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ui::utf8 {

inline bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

inline int Length(std::string_view s) {
  int n = 0;
  for (char c : s)
    if (!IsContinuation(c)) ++n;
  return n;
}

// Byte offset of character `index` (the end when past it).
inline size_t Offset(std::string_view s, int index) {
  size_t i = 0;
  for (int n = 0; i < s.size() && n < index; ++n) {
    ++i;
    while (i < s.size() && IsContinuation(s[i])) ++i;
  }
  return i;
}

// The characters of a text, each as its UTF-8 bytes.
inline std::vector<std::string> Split(std::string_view s) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.size();) {
    size_t j = i + 1;
    while (j < s.size() && IsContinuation(s[j])) ++j;
    out.emplace_back(s.substr(i, j - i));
    i = j;
  }
  return out;
}

inline std::string Sub(std::string_view s, int from, int count) {
  size_t a = Offset(s, from), b = Offset(s, from + count);
  return std::string(s.substr(a, b - a));
}

}  // namespace ui::utf8
