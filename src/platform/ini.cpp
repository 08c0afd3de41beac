#include "platform/ini.h"

#include <strings.h>

#include <fstream>
#include <sstream>

#include "platform/encoding.h"
#include "platform/format.h"
#include "platform/hostfolder.h"
#include "platform/safefile.h"

namespace plat {
namespace {

const char kBom[] = "\xEF\xBB\xBF";

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  const size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

// One pair of matching quotes around a value is not part of it.
std::string Unquote(const std::string& v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

bool ToBool(const std::string& v, bool def) {
  int n = 0;
  if (TryStrToInt(v, n)) return n != 0;
  if (SameName(v, "true")) return true;
  if (SameName(v, "false")) return false;
  return def;
}

}  // namespace

// ------------------------------------------------------------------ IniText
IniText::IniText(const std::string& utf8Text) {
  size_t start = 0;
  while (start < utf8Text.size()) {
    size_t end = utf8Text.find('\n', start);
    if (end == std::string::npos) end = utf8Text.size();
    std::string raw = utf8Text.substr(start, end - start);
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    lines_.push_back(ParseLine(raw));
    start = end + 1;
  }
}

IniText::Line IniText::ParseLine(const std::string& raw) {
  Line line;
  line.raw = raw;
  const std::string t = Trim(raw);
  if (t.empty() || t[0] == ';') return line;
  if (t[0] == '[') {
    const size_t close = t.find(']');
    line.isSection = true;
    line.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return line;
  }
  const size_t eq = t.find('=');
  line.isKey = true;
  line.name = Trim(t.substr(0, eq));
  if (eq != std::string::npos) line.value = Unquote(Trim(t.substr(eq + 1)));
  return line;
}

long IniText::FindSection(const std::string& section) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].isSection && SameName(lines_[i].name, section)) return static_cast<long>(i);
  return -1;
}

long IniText::SectionEnd(long header) const {
  size_t i = static_cast<size_t>(header) + 1;
  while (i < lines_.size() && !lines_[i].isSection) ++i;
  return static_cast<long>(i);
}

long IniText::FindKey(long header, const std::string& key) const {
  const long end = SectionEnd(header);
  for (long i = header + 1; i < end; ++i)
    if (lines_[static_cast<size_t>(i)].isKey && SameName(lines_[static_cast<size_t>(i)].name, key))
      return i;
  return -1;
}

std::string IniText::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) const {
  const long h = FindSection(section);
  const long k = h < 0 ? -1 : FindKey(h, key);
  return k < 0 ? def : lines_[static_cast<size_t>(k)].value;
}

int IniText::ReadInteger(const std::string& section, const std::string& key, int def) const {
  return StrToIntDef(ReadString(section, key, std::string()), def);
}

bool IniText::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ToBool(ReadString(section, key, std::string()), def);
}

std::vector<std::string> IniText::ReadSections() const {
  std::vector<std::string> out;
  for (const Line& l : lines_)
    if (l.isSection) out.push_back(l.name);
  return out;
}

std::vector<std::string> IniText::ReadSection(const std::string& section) const {
  std::vector<std::string> out;
  const long h = FindSection(section);
  if (h < 0) return out;
  for (long i = h + 1, end = SectionEnd(h); i < end; ++i)
    if (lines_[static_cast<size_t>(i)].isKey) out.push_back(lines_[static_cast<size_t>(i)].name);
  return out;
}

std::vector<std::string> IniText::ReadSectionValues(const std::string& section) const {
  std::vector<std::string> out;
  const long h = FindSection(section);
  if (h < 0) return out;
  for (long i = h + 1, end = SectionEnd(h); i < end; ++i) {
    const Line& l = lines_[static_cast<size_t>(i)];
    if (l.isKey) out.push_back(l.name + "=" + l.value);
  }
  return out;
}

bool IniText::SectionExists(const std::string& section) const { return FindSection(section) >= 0; }

bool IniText::ValueExists(const std::string& section, const std::string& key) const {
  const long h = FindSection(section);
  return h >= 0 && FindKey(h, key) >= 0;
}

void IniText::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  long h = FindSection(section);
  if (h < 0) {
    if (!lines_.empty() && !Trim(lines_.back().raw).empty()) lines_.push_back(ParseLine(""));
    lines_.push_back(ParseLine("[" + section + "]"));
    h = static_cast<long>(lines_.size()) - 1;
  }
  const long k = FindKey(h, key);
  if (k >= 0) {
    Line& l = lines_[static_cast<size_t>(k)];
    l = ParseLine(l.name + "=" + value);
    l.value = value;  // stored as given, even when it looks quoted
    return;
  }
  // A new key goes after the section's last key, before any blank lines.
  long at = SectionEnd(h);
  while (at > h + 1 && !lines_[static_cast<size_t>(at - 1)].isKey) --at;
  Line l = ParseLine(key + "=" + value);
  l.value = value;
  lines_.insert(lines_.begin() + at, l);
}

void IniText::EraseSection(const std::string& section) {
  // Every section of that name goes, with its lines.
  for (long h = FindSection(section); h >= 0; h = FindSection(section))
    lines_.erase(lines_.begin() + h, lines_.begin() + SectionEnd(h));
}

void IniText::DeleteKey(const std::string& section, const std::string& key) {
  const long h = FindSection(section);
  const long k = h < 0 ? -1 : FindKey(h, key);
  if (k >= 0) lines_.erase(lines_.begin() + k);
}

std::string IniText::ToString(const std::string& lineEnd) const {
  std::string out;
  for (const Line& l : lines_) out += l.raw + lineEnd;
  return out;
}

// ------------------------------------------------------------------ IniFile
IniFile::IniFile(std::string path) : path_(std::move(path)) {}

IniText IniFile::Load(bool* utf8Bom) const {
  if (IsNetworkName(path_)) return IniText();
  std::ifstream in(NativePath(path_), std::ios::binary);
  if (!in) return IniText();
  std::stringstream ss;
  ss << in.rdbuf();
  std::string bytes = ss.str();
  const bool bom = bytes.compare(0, 3, kBom) == 0;
  if (utf8Bom) *utf8Bom = bom;
  return IniText(bom ? bytes.substr(3) : AnsiToUtf8(bytes));
}

void IniFile::Save(const IniText& text, bool utf8Bom) const {
  if (IsNetworkName(path_))
    throw IniError("Unable to write to " + path_ + ": not reachable from here");
  const std::string target = NativePath(path_);
  const std::string body = text.ToString("\r\n");
  const std::string bytes = utf8Bom ? kBom + body : Utf8ToAnsi(body);
  // A failed write never leaves half a configuration behind.
  if (!WriteFileSafely(target, bytes)) throw IniError("Unable to write to " + path_);
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& def) const {
  return Load().ReadString(section, key, def);
}
int IniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
  return Load().ReadInteger(section, key, def);
}
bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return Load().ReadBool(section, key, def);
}
std::vector<std::string> IniFile::ReadSections() const { return Load().ReadSections(); }
std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
  return Load().ReadSection(section);
}
std::vector<std::string> IniFile::ReadSectionValues(const std::string& section) const {
  return Load().ReadSectionValues(section);
}
bool IniFile::SectionExists(const std::string& section) const {
  return Load().SectionExists(section);
}
bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
  return Load().ValueExists(section, key);
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  bool bom = false;
  IniText text = Load(&bom);
  text.WriteString(section, key, value);
  Save(text, bom);
}
void IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, IntToStr(value));
}
void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void IniFile::EraseSection(const std::string& section) {
  bool bom = false;
  IniText text = Load(&bom);
  if (!text.SectionExists(section)) return;
  text.EraseSection(section);
  Save(text, bom);
}

void IniFile::DeleteKey(const std::string& section, const std::string& key) {
  bool bom = false;
  IniText text = Load(&bom);
  if (!text.ValueExists(section, key)) return;
  text.DeleteKey(section, key);
  Save(text, bom);
}

std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& def) {
  return IniFile(file).ReadString(section, key, def);
}

void WriteString(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value) {
  IniFile(file).WriteString(section, key, value);
}

}  // namespace plat
