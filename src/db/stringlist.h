#pragma once
// A list of text lines (SQL statements, parameter lines).

#include <string>
#include <vector>

namespace db {

class StringList {
 public:
  StringList() = default;
  StringList(std::initializer_list<std::string> l) : lines(l) {}
  std::vector<std::string> lines;

  void Add(const std::string& line) { lines.push_back(line); }
  void Clear() { lines.clear(); }
  int Count() const { return static_cast<int>(lines.size()); }
  bool Empty() const { return lines.empty(); }
  std::string& operator[](int i) { return lines.at(i); }
  const std::string& operator[](int i) const { return lines.at(i); }
  // Lines joined by "\n", the last one followed by it too.
  std::string Text() const {
    size_t size = 0;
    for (const auto& l : lines) size += l.size() + 1;
    std::string t;
    t.reserve(size);
    for (const auto& l : lines) t.append(l).push_back('\n');
    return t;
  }
  void SetText(const std::string& text) {
    lines.clear();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string l = text.substr(start, end - start);
      if (!l.empty() && l.back() == '\r') l.pop_back();
      lines.push_back(std::move(l));
      start = end + 1;
    }
  }
  void Assign(const std::vector<std::string>& v) { lines = v; }
  auto begin() const { return lines.begin(); }
  auto end() const { return lines.end(); }
};

}  // namespace db
