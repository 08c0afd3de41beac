#pragma once
// Small text helpers of the data-access layer (internal).

#include <string>
#include <string_view>
#include <vector>

namespace db {

// Lower case for ASCII and the accented Latin letters of UTF-8 texts.
std::string FoldCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
std::string UpperAscii(std::string_view s);
// Names separated by ";" (blanks around each name removed, empty dropped).
std::vector<std::string> SplitNames(const std::string& names);
std::string Trim(std::string_view s);

}  // namespace db
