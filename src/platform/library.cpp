#include "platform/library.h"

#include <dirent.h>
#include <dlfcn.h>
#include <strings.h>

#include "platform/hostfolder.h"

namespace plat {
namespace {

// Library names are given without regard to case, so "KESTRIN.DLL" finds
// Kestrin.dll.
std::string FindIgnoringCase(const std::string& folder, const std::string& name) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return std::string();
  std::string found;
  while (dirent* e = readdir(dir)) {
    if (strcasecmp(e->d_name, name.c_str()) == 0) {
      found = folder + e->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

std::string Resolve(const std::string& name) {
  if (name.find_first_of("/\\") != std::string::npos) return NativePath(name);
  const std::string folder = HostFolder();
  const std::string exact = folder + name;
  if (FileExists(exact)) return exact;
  const std::string other = FindIgnoringCase(folder, name);
  return other.empty() ? exact : other;
}

}  // namespace

Library::~Library() { Free(); }

Library::Library(Library&& other) noexcept
    : handle_(other.handle_), path_(std::move(other.path_)), error_(std::move(other.error_)) {
  other.handle_ = nullptr;
}

Library& Library::operator=(Library&& other) noexcept {
  if (this != &other) {
    Free();
    handle_ = other.handle_;
    path_ = std::move(other.path_);
    error_ = std::move(other.error_);
    other.handle_ = nullptr;
  }
  return *this;
}

Library Library::Load(const std::string& name) {
  Library lib;
  lib.path_ = Resolve(name);
  if (!FileExists(lib.path_)) {
    lib.error_ = lib.path_ + ": file not found";
    return lib;
  }
  dlerror();
  lib.handle_ = dlopen(lib.path_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!lib.handle_) {
    const char* err = dlerror();
    lib.error_ = err ? err : (lib.path_ + ": cannot be loaded");
  }
  return lib;
}

void* Library::Symbol(const std::string& name) const {
  if (!handle_) {
    error_ = "library not loaded";
    return nullptr;
  }
  dlerror();
  void* sym = dlsym(handle_, name.c_str());
  if (!sym) {
    const char* err = dlerror();
    error_ = err ? err : (name + ": export not found");
  }
  return sym;
}

void Library::Free() {
  if (handle_) dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace plat
