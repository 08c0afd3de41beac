#include "filedump.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace host {

std::string ReadableBytes(const std::string& bytes, int maxLines) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  int lines = 0;
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\n') {
      out += "\\n\n";
      if (maxLines > 0 && ++lines >= maxLines) break;
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c >= 0x20 && c < 0x7F) {
      out += ch;
    } else {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::size_t FirstDifference(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i)
    if (a[i] != b[i]) return i;
  return a.size() == b.size() ? std::string::npos : n;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

}  // namespace host
