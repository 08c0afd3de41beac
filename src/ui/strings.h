// A list of texts whose owner hears every change (combo items, memo lines, ...).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Strings {
 public:
  Strings() = default;
  Strings(std::initializer_list<std::string> items) : items_(items) {}

  int Count() const { return int(items_.size()); }
  const std::string& operator[](int i) const;
  void Set(int i, std::string value);
  int Add(std::string value);
  void Insert(int i, std::string value);
  void Delete(int i);
  void Clear();
  void Assign(const std::vector<std::string>& items);
  int IndexOf(std::string_view value) const;  // case-insensitive
  // Every line followed by a line break.
  std::string Text() const;
  // Splits at "\n", "\r\n" or "\r".
  void SetText(std::string_view text);
  const std::vector<std::string>& Items() const { return items_; }
  std::vector<std::string>::const_iterator begin() const { return items_.begin(); }
  std::vector<std::string>::const_iterator end() const { return items_.end(); }

  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  std::vector<std::string> items_;
};

bool SameText(std::string_view a, std::string_view b);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);

}  // namespace ui
