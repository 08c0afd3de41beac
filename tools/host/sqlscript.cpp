#include "sqlscript.h"

#include <cctype>
#include <sstream>
#include <stdexcept>

namespace host {
namespace {

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// The words of a statement, upper-cased, for recognising the script's own
// commands (SET TERM, SET SQL DIALECT, COMMIT).
std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> w;
  for (std::string t; in >> t;) w.push_back(Upper(t));
  return w;
}

std::string FirstWord(const std::string& s) {
  auto w = Words(s.substr(0, 64));
  return w.empty() ? std::string() : w[0];
}

class Splitter {
 public:
  explicit Splitter(const std::string& s) : s_(s) {}

  std::vector<ScriptStatement> Run() {
    while (i_ < s_.size()) Step();
    if (!Trim(buf_).empty())
      throw std::runtime_error("line " + std::to_string(start_) +
                               ": statement without terminator \"" + term_ + "\"");
    return out_;
  }

 private:
  void Step() {
    char c = s_[i_];
    if (c == '-' && Next() == '-') return SkipLineComment();
    if (c == '/' && Next() == '*') return SkipBlockComment();
    if (c == '\'' || c == '"') return CopyQuoted(c);
    if (s_.compare(i_, term_.size(), term_) == 0) {
      i_ += term_.size();
      return EndStatement();
    }
    Put(c);
    ++i_;
  }

  char Next() const { return i_ + 1 < s_.size() ? s_[i_ + 1] : '\0'; }

  void Put(char c) {
    if (Trim(buf_).empty() && !std::isspace(static_cast<unsigned char>(c))) start_ = line_;
    if (c == '\n') ++line_;
    buf_ += c;
  }

  void SkipLineComment() {
    while (i_ < s_.size() && s_[i_] != '\n') ++i_;
  }

  void SkipBlockComment() {
    int from = line_;
    size_t end = s_.find("*/", i_ + 2);
    if (end == std::string::npos)
      throw std::runtime_error("line " + std::to_string(from) + ": unterminated comment");
    for (size_t k = i_; k < end; ++k)
      if (s_[k] == '\n') ++line_;
    buf_ += ' ';
    i_ = end + 2;
  }

  // A quoted text or name; a doubled quote stands for itself.
  void CopyQuoted(char q) {
    int from = line_;
    Put(s_[i_++]);
    for (;;) {
      if (i_ >= s_.size())
        throw std::runtime_error("line " + std::to_string(from) + ": unterminated quoted text");
      char c = s_[i_++];
      Put(c);
      if (c != q) continue;
      if (i_ < s_.size() && s_[i_] == q) {
        Put(s_[i_++]);
        continue;
      }
      return;
    }
  }

  void EndStatement() {
    std::string text = Trim(buf_);
    buf_.clear();
    if (text.empty()) return;
    auto w = Words(text);
    if (w.size() >= 2 && w[0] == "SET" && w[1] == "TERM") {
      // The new terminator is the first word after SET TERM, as typed.
      std::istringstream in(text);
      std::string set, term, t;
      in >> set >> term >> t;
      if (t.empty())
        throw std::runtime_error("line " + std::to_string(start_) +
                                 ": SET TERM without terminator");
      term_ = t;
      return;
    }
    if (w.size() >= 3 && w[0] == "SET" && w[1] == "SQL" && w[2] == "DIALECT") return;
    out_.push_back({text, start_});
  }

  const std::string& s_;
  size_t i_ = 0;
  int line_ = 1, start_ = 1;
  std::string term_ = ";";
  std::string buf_;
  std::vector<ScriptStatement> out_;
};

}  // namespace

std::vector<ScriptStatement> SplitSqlScript(const std::string& script) {
  return Splitter(script).Run();
}

bool IsDefinition(const std::string& statement) {
  std::string w = FirstWord(statement);
  return w == "CREATE" || w == "ALTER" || w == "DROP" || w == "RECREATE" || w == "DECLARE" ||
         w == "COMMENT" || w == "GRANT" || w == "REVOKE";
}

bool IsCommit(const std::string& statement) {
  auto w = Words(statement);
  return (w.size() == 1 && w[0] == "COMMIT") ||
         (w.size() == 2 && w[0] == "COMMIT" && w[1] == "WORK");
}

}  // namespace host
