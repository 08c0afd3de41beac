#include "platform/hostfolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <mutex>
#include <optional>

namespace plat {
namespace {
std::mutex gMutex;
std::optional<std::string> gOverride;

size_t LastDelimiter(const std::string& path) { return path.find_last_of("/\\"); }
}  // namespace

std::string HostFolder() {
  {
    std::lock_guard lock(gMutex);
    if (gOverride) return *gOverride;
  }
  char buf[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return IncludeTrailingPathDelimiter(GetCurrentDir());
  return ExtractFilePath(std::string(buf, static_cast<size_t>(n)));
}

void SetHostFolderOverride(const std::string& folder) {
  std::lock_guard lock(gMutex);
  gOverride = IncludeTrailingPathDelimiter(NativePath(folder));
}

void ClearHostFolderOverride() {
  std::lock_guard lock(gMutex);
  gOverride.reset();
}

bool IsPathDelimiter(char c) { return c == '/' || c == '\\'; }

bool IsNetworkName(const std::string& path) {
  return path.size() >= 2 && IsPathDelimiter(path[0]) && IsPathDelimiter(path[1]);
}

std::string NativePath(const std::string& path) {
  std::string out = path;
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

std::string IncludeTrailingPathDelimiter(const std::string& path) {
  if (!path.empty() && IsPathDelimiter(path.back())) return path;
  return path + "/";
}

std::string ExcludeTrailingPathDelimiter(const std::string& path) {
  std::string out = path;
  // The root "/" stays: without it the path would name the current folder.
  while (out.size() > 1 && IsPathDelimiter(out.back())) out.pop_back();
  return out;
}

std::string ExtractFilePath(const std::string& path) {
  const size_t p = LastDelimiter(path);
  return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

std::string ExtractFileDir(const std::string& path) {
  const size_t p = LastDelimiter(path);
  if (p == std::string::npos) return std::string();
  return p == 0 ? path.substr(0, 1) : path.substr(0, p);
}

std::string ExtractFileName(const std::string& path) {
  const size_t p = LastDelimiter(path);
  return p == std::string::npos ? path : path.substr(p + 1);
}

std::string ExtractFileExt(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t delim = LastDelimiter(path);
  if (dot == std::string::npos || (delim != std::string::npos && dot < delim)) return std::string();
  return path.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  const std::string old = ExtractFileExt(path);
  return path.substr(0, path.size() - old.size()) + ext;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && !IsNetworkName(path) && stat(NativePath(path).c_str(), &st) == 0 &&
         !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && !IsNetworkName(path) && stat(NativePath(path).c_str(), &st) == 0 &&
         S_ISDIR(st.st_mode);
}

bool CreateDir(const std::string& path) {
  return !path.empty() && !IsNetworkName(path) &&
         mkdir(NativePath(ExcludeTrailingPathDelimiter(path)).c_str(), 0777) == 0;
}

bool ForceDirectories(const std::string& path) {
  if (IsNetworkName(path)) return false;
  const std::string dir = ExcludeTrailingPathDelimiter(NativePath(path));
  if (dir.empty()) return false;
  if (DirectoryExists(dir)) return true;
  const std::string parent = ExtractFileDir(dir);
  if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
  return mkdir(dir.c_str(), 0777) == 0 || (errno == EEXIST && DirectoryExists(dir));
}

bool DeleteFile(const std::string& path) {
  return !IsNetworkName(path) && !DirectoryExists(path) && unlink(NativePath(path).c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  // An existing target is never overwritten: the rename fails instead.
  if (IsNetworkName(from) || IsNetworkName(to) || FileExists(to) || DirectoryExists(to))
    return false;
  return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

std::string GetCurrentDir() {
  char buf[PATH_MAX];
  return getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
}

}  // namespace plat
