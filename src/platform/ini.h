#pragma once
// INI files as the host and the module keep their settings: every call
// reads the file afresh, a missing file, section or key reads as the
// default, section and key names compare case-insensitively, values are
// trimmed of surrounding blanks and of one pair of enclosing quotes.
// Files on disk are Windows-1252 (a UTF-8 byte-order mark is honoured),
// with CRLF or LF line ends; writes produce CRLF. A file named in network
// form ("\\server\share\...") is out of reach: it reads as empty and a
// write throws IniError.
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {

class IniError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parsed INI content held in memory, e.g. the packed parameter text of an
// operator ("[S]\nkey=value\n...").
class IniText {
 public:
  IniText() = default;
  explicit IniText(const std::string& utf8Text);

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  int ReadInteger(const std::string& section, const std::string& key, int def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  std::vector<std::string> ReadSections() const;
  std::vector<std::string> ReadSection(const std::string& section) const;        // keys
  std::vector<std::string> ReadSectionValues(const std::string& section) const;  // key=value
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& key);

  // The text with the given line end after every line.
  std::string ToString(const std::string& lineEnd = "\n") const;

 private:
  struct Line {
    std::string raw;    // the line as it stood (UTF-8, no line end)
    std::string name;   // section name, or key; empty for other lines
    std::string value;  // value of a key line
    bool isSection = false;
    bool isKey = false;
  };
  std::vector<Line> lines_;

  static Line ParseLine(const std::string& raw);
  long FindSection(const std::string& section) const;  // index of header or -1
  long SectionEnd(long header) const;                  // index past its last line
  long FindKey(long header, const std::string& key) const;
};

// A file on disk; each operation loads and, for writes, saves the file.
class IniFile {
 public:
  explicit IniFile(std::string path);
  const std::string& FileName() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  int ReadInteger(const std::string& section, const std::string& key, int def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  std::vector<std::string> ReadSections() const;
  std::vector<std::string> ReadSection(const std::string& section) const;
  std::vector<std::string> ReadSectionValues(const std::string& section) const;
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  // Create the file, section and key as needed; other content keeps its
  // place. Throws IniError when the file cannot be written.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);
  void EraseSection(const std::string& section);
  void DeleteKey(const std::string& section, const std::string& key);

 private:
  std::string path_;
  IniText Load(bool* utf8Bom = nullptr) const;
  void Save(const IniText& text, bool utf8Bom) const;
};

// One-shot forms of GetPrivateProfileString / WritePrivateProfileString.
std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& def);
void WriteString(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value);

}  // namespace plat
