#pragma once
// A fresh temporary folder per test, removed afterwards, and the host
// program's path for tests that run it.
#include <unistd.h>

#include <filesystem>
#include <string>

class HostFolder {
 public:
  HostFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "velmaro-host-XXXXXX").string();
    path_ = mkdtemp(tmpl.data());
    path_ += "/";
  }
  ~HostFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  HostFolder(const HostFolder&) = delete;
  HostFolder& operator=(const HostFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};
