#include "platform/clipboard.h"

#include <mutex>
#include <optional>

namespace plat {
namespace {
std::mutex gMutex;
std::optional<std::string> gText;
}  // namespace

void Clipboard::SetText(const std::string& text) {
  std::lock_guard lock(gMutex);
  gText = text;
}

std::string Clipboard::GetText() {
  std::lock_guard lock(gMutex);
  return gText.value_or(std::string());
}

bool Clipboard::HasText() {
  std::lock_guard lock(gMutex);
  return gText.has_value();
}

void Clipboard::Clear() {
  std::lock_guard lock(gMutex);
  gText.reset();
}

}  // namespace plat
