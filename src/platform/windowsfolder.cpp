#include "platform/windowsfolder.h"

#include <cstdlib>

#include "platform/hostfolder.h"

namespace plat {

namespace {
std::string& Override() {
  static std::string folder;
  return folder;
}
}  // namespace

std::string WindowsFolder() {
  if (!Override().empty()) return Override();
  if (const char* env = std::getenv("VELMARO_WINDOWS_DIR"); env && *env)
    return IncludeTrailingPathDelimiter(NativePath(env));
  return HostFolder() + "windows/";
}

void SetWindowsFolderOverride(const std::string& folder) {
  Override() = IncludeTrailingPathDelimiter(NativePath(folder));
}

void ClearWindowsFolderOverride() { Override().clear(); }

}  // namespace plat
