#pragma once
// A fresh temporary folder per test, removed afterwards.
#include <filesystem>
#include <string>

#include <unistd.h>

class TestFolder {
public:
  TestFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "velmaro-XXXXXX").string();
    path_ = mkdtemp(tmpl.data());
    path_ += "/";
  }
  ~TestFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

private:
  std::string path_;
};
