#include "script.h"

#include <cctype>
#include <map>

#include "ui/types.h"

namespace host {

std::vector<std::string> SplitScriptLine(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    if (std::isspace(static_cast<unsigned char>(line[i]))) {
      ++i;
      continue;
    }
    std::string w;
    if (line[i] != '"') {
      while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) w += line[i++];
      words.push_back(w);
      continue;
    }
    ++i;
    for (;;) {
      if (i >= line.size()) throw std::runtime_error("unterminated quoted text");
      if (line[i] == '"') {
        if (i + 1 < line.size() && line[i + 1] == '"') {
          w += '"';
          i += 2;
          continue;
        }
        ++i;
        break;
      }
      w += line[i++];
    }
    words.push_back(w);
  }
  return words;
}

std::string RestOfLine(const std::string& line, int count) {
  size_t i = 0;
  for (int n = 0; n < count; ++n) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
  }
  while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
  size_t e = line.size();
  while (e > i && std::isspace(static_cast<unsigned char>(line[e - 1]))) --e;
  return line.substr(i, e - i);
}

unsigned short KeyCode(const std::string& name) {
  static const std::map<std::string, unsigned short> keys = {
      {"ENTER", ui::VK_RETURN},  {"RETURN", ui::VK_RETURN}, {"ESCAPE", ui::VK_ESCAPE},
      {"ESC", ui::VK_ESCAPE},    {"TAB", ui::VK_TAB},       {"BACKSPACE", ui::VK_BACK},
      {"SPACE", ui::VK_SPACE},   {"UP", ui::VK_UP},         {"DOWN", ui::VK_DOWN},
      {"LEFT", ui::VK_LEFT},     {"RIGHT", ui::VK_RIGHT},   {"HOME", ui::VK_HOME},
      {"END", ui::VK_END},       {"PAGEUP", ui::VK_PRIOR},  {"PAGEDOWN", ui::VK_NEXT},
      {"INSERT", ui::VK_INSERT}, {"DELETE", ui::VK_DELETE}};
  std::string u;
  for (char c : name) u += char(std::toupper(static_cast<unsigned char>(c)));
  if (u.size() == 1 && std::isalnum(static_cast<unsigned char>(u[0]))) return u[0];
  if (u.size() >= 2 && u[0] == 'F' && std::isdigit(static_cast<unsigned char>(u[1]))) {
    // Digits alone and at most two of them: anything else is no key, not
    // a number to convert (F99999999999 would not fit).
    if (u.size() > 3 || u.find_first_not_of("0123456789", 1) != std::string::npos) return 0;
    const int n = std::stoi(u.substr(1));
    return n >= 1 && n <= 12 ? static_cast<unsigned short>(ui::VK_F1 + n - 1) : 0;
  }
  auto it = keys.find(u);
  return it == keys.end() ? 0 : it->second;
}

}  // namespace host
