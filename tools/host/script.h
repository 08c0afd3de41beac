#pragma once
// The operator script: one command a line, words split at blanks, texts
// with blanks in double quotes ("" inside stands for one quote).

#include <stdexcept>
#include <string>
#include <vector>

namespace host {

// Splits a script line into words; throws std::runtime_error for an
// unterminated quoted text.
std::vector<std::string> SplitScriptLine(const std::string& line);

// What follows the first `count` words of a line, as typed (for the SQL of
// a "sql" command).
std::string RestOfLine(const std::string& line, int count);

// A key name of the script ("F5", "Enter", "Escape", "A", "1", ...) as a
// virtual-key code; 0 when unknown.
unsigned short KeyCode(const std::string& name);

}  // namespace host
