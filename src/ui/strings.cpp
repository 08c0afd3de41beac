#include "ui/strings.h"

#include <cctype>

#include "ui/types.h"

namespace ui {

const std::string& Strings::operator[](int i) const {
  if (i < 0 || i >= Count()) throw Error("List index out of bounds (" + std::to_string(i) + ")");
  return items_[size_t(i)];
}

void Strings::Set(int i, std::string value) {
  (void)(*this)[i];
  items_[size_t(i)] = std::move(value);
  Changed();
}

int Strings::Add(std::string value) {
  items_.push_back(std::move(value));
  Changed();
  return Count() - 1;
}

void Strings::Insert(int i, std::string value) {
  if (i < 0 || i > Count()) throw Error("List index out of bounds (" + std::to_string(i) + ")");
  items_.insert(items_.begin() + i, std::move(value));
  Changed();
}

void Strings::Delete(int i) {
  (void)(*this)[i];
  items_.erase(items_.begin() + i);
  Changed();
}

void Strings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void Strings::Assign(const std::vector<std::string>& items) {
  items_ = items;
  Changed();
}

int Strings::IndexOf(std::string_view value) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(items_[size_t(i)], value)) return i;
  return -1;
}

std::string Strings::Text() const {
  std::string out;
  for (const auto& s : items_) out += s + "\n";
  return out;
}

void Strings::SetText(std::string_view text) {
  items_.clear();
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      items_.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) items_.push_back(line);
  Changed();
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper((unsigned char)a[i]) != std::toupper((unsigned char)b[i])) return false;
  return true;
}

std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (auto& c : r) c = char(std::toupper((unsigned char)c));
  return r;
}

std::string LowerCase(std::string_view s) {
  std::string r(s);
  for (auto& c : r) c = char(std::tolower((unsigned char)c));
  return r;
}

}  // namespace ui
