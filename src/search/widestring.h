#pragma once
// The wide-string answer of the search library: a length-prefixed UTF-16
// text. The 32-bit byte length sits just before the characters, which end in
// a NUL; the pointer handed around points at the characters.
//
// Both the library that fills it and the caller that frees it use these
// inline functions, which allocate on the C heap: the text belongs to no
// library, so the caller frees it after the library that made it is gone.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

namespace velmaro {

using WideString = char16_t*;

inline WideString WideStringAlloc(std::u16string_view text) {
  const std::uint32_t bytes = std::uint32_t(text.size() * sizeof(char16_t));
  auto* block = static_cast<unsigned char*>(std::malloc(sizeof(std::uint32_t) + bytes + 2));
  if (!block) throw std::bad_alloc();
  std::memcpy(block, &bytes, sizeof bytes);
  auto* chars = reinterpret_cast<char16_t*>(block + sizeof bytes);
  if (bytes) std::memcpy(chars, text.data(), bytes);
  chars[text.size()] = u'\0';
  return chars;
}

// Null is the empty text and frees nothing.
inline void WideStringFree(WideString text) {
  if (text) std::free(reinterpret_cast<unsigned char*>(text) - sizeof(std::uint32_t));
}

inline std::uint32_t WideStringLength(const char16_t* text) {
  if (!text) return 0;
  std::uint32_t bytes = 0;
  std::memcpy(&bytes, reinterpret_cast<const unsigned char*>(text) - sizeof bytes, sizeof bytes);
  return bytes / sizeof(char16_t);
}

inline std::u16string WideStringRead(const char16_t* text) {
  return text ? std::u16string(text, WideStringLength(text)) : std::u16string();
}

// Replaces what *slot holds, freeing the old text: an out argument of this
// type may arrive holding a text of the caller.
inline void WideStringAssign(WideString* slot, std::u16string_view text) {
  WideString fresh = WideStringAlloc(text);
  WideStringFree(*slot);
  *slot = fresh;
}

}  // namespace velmaro
