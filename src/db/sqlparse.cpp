// ":NAME" parameters of SQL texts.
#include <cctype>

#include "db/stmt.h"

namespace db {

ParsedSql ParseParams(const std::string& sql, bool paramCheck) {
  // Only a colon can start a parameter: a text without one goes as it is.
  if (!paramCheck || sql.find(':') == std::string::npos) return {sql, {}};
  ParsedSql out;
  out.text.reserve(sql.size());
  const size_t n = sql.size();
  for (size_t i = 0; i < n;) {
    char c = sql[i];
    if (c == '\'' || c == '"') {  // literals and quoted identifiers
      size_t j = i + 1;
      while (j < n) {
        if (sql[j] == c) {
          if (j + 1 < n && sql[j + 1] == c) {
            j += 2;
            continue;
          }
          break;
        }
        ++j;
      }
      j = std::min(j + 1, n);
      out.text.append(sql, i, j - i);
      i = j;
      continue;
    }
    if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      size_t j = sql.find('\n', i);
      j = j == std::string::npos ? n : j;
      out.text.append(sql, i, j - i);
      i = j;
      continue;
    }
    if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      size_t j = sql.find("*/", i + 2);
      j = j == std::string::npos ? n : j + 2;
      out.text.append(sql, i, j - i);
      i = j;
      continue;
    }
    if (c == ':' && paramCheck && i + 1 < n) {
      unsigned char d = static_cast<unsigned char>(sql[i + 1]);
      if (d == '"') {
        size_t j = sql.find('"', i + 2);
        if (j != std::string::npos) {
          out.names.push_back(sql.substr(i + 2, j - i - 2));
          out.text += '?';
          i = j + 1;
          continue;
        }
      } else if (std::isalpha(d) || d == '_') {
        size_t j = i + 1;
        while (j < n &&
               (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '_' || sql[j] == '$'))
          ++j;
        out.names.push_back(sql.substr(i + 1, j - i - 1));
        out.text += '?';
        i = j;
        continue;
      }
    }
    out.text += c;
    ++i;
  }
  return out;
}

}  // namespace db
