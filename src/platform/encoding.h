#pragma once
// Text inside the program is UTF-8; the files the module reads and writes
// and the sibling libraries' texts are Windows-1252, and wide text is UTF-16.
#include <string>

namespace plat {

// Characters with no Windows-1252 code, and malformed UTF-8, become "?".
std::string Utf8ToAnsi(const std::string& utf8);
std::string AnsiToUtf8(const std::string& ansi);
// Malformed input becomes U+FFFD.
std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& utf16);
bool IsValidUtf8(const std::string& text);

}  // namespace plat
