#pragma once
// A fresh temporary folder per test, removed with its contents afterwards.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace velmaro::testing {

class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix = "velmaro") {
    std::string tmpl = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed for " + tmpl);
    path_ = tmpl + "/";
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }  // ends in "/"
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// A file's bytes as they stand ("" when it cannot be read), and a file
// made with the given bytes.
inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace velmaro::testing
