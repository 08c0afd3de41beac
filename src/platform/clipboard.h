#pragma once
// The process-wide clipboard: one text shared by every window of the
// process, as the desktop's clipboard is.
#include <string>

namespace plat {

class Clipboard {
 public:
  static void SetText(const std::string& text);
  static std::string GetText();  // "" when it holds no text
  static bool HasText();
  static void Clear();
};

}  // namespace plat
