// INI text and files: reading, writing, and what a write leaves alone.
#include "platform/ini.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <strings.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "check.h"
#include "platform/encoding.h"

namespace {

// A section or key name as callers use them: letters, digits, blanks inside.
std::string Name(FuzzedDataProvider& p, const char* fallback) {
  std::string out;
  for (char c : p.ConsumeRandomLengthString(16))
    if (std::isalnum(static_cast<unsigned char>(c)) || ((c == ' ' || c == '_') && !out.empty()))
      out += c;
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out.empty() ? fallback : out;
}

bool Same(const std::string& a, const std::string& b) {
  return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// Every key's value, by section, as a reader sees them.
std::vector<std::vector<std::string>> Everything(const plat::IniText& ini) {
  std::vector<std::vector<std::string>> out;
  for (const std::string& s : ini.ReadSections()) out.push_back(ini.ReadSectionValues(s));
  return out;
}

// The file the target writes, alone in a folder of its own: what the
// writer meets beside it (and so what the run covers) is the same in every
// run, whatever else lies in /tmp or whatever the process number.
std::string PrivateFile() {
  static char folder[] = "/tmp/velmaro-fuzz-ini-XXXXXX";
  if (!mkdtemp(folder)) FUZZ_CHECK(false, "cannot make a folder in /tmp");
  std::atexit([] { rmdir(folder); });
  return std::string(folder) + "/fuzz.ini";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider p(data, size);
  const std::string section = Name(p, "S"), key = Name(p, "K");
  std::string value;
  for (char c : p.ConsumeRandomLengthString(64))
    if (c != '\r' && c != '\n' && c != '\0') value += c;
  const std::string text = p.ConsumeRemainingBytesAsString();

  // The text an IniText writes reads back as the text it was read from.
  plat::IniText ini(text);
  const auto before = Everything(ini);
  FUZZ_CHECK(Everything(plat::IniText(ini.ToString("\r\n"))) == before,
             "text written reads differently");

  // A written key reads back as written, and no other key changes.
  std::vector<std::pair<std::string, std::string>> others;
  for (const std::string& s : ini.ReadSections())
    for (const std::string& k : ini.ReadSection(s))
      if (!(Same(s, section) && Same(k, key))) others.emplace_back(s, k);
  std::vector<std::string> othersBefore;
  for (auto& [s, k] : others) othersBefore.push_back(ini.ReadString(s, k, "\x01"));
  ini.WriteString(section, key, value);
  FUZZ_CHECK(ini.ReadString(section, key, "\x01") == value, "written value not read back");
  for (size_t i = 0; i < others.size(); ++i)
    FUZZ_CHECK(ini.ReadString(others[i].first, others[i].second, "\x01") == othersBefore[i],
               "a write changed key " + others[i].second);

  // Through a file (Windows-1252 on disk): a value without blanks or quotes
  // around it, in characters that exist there, reads back the same.
  static const std::string file = PrivateFile();
  std::remove(file.c_str());
  plat::IniFile disk(file);
  try {
    disk.WriteString(section, key, value);
  } catch (const plat::IniError&) {
    FUZZ_CHECK(false, "cannot write " + file);
  }
  const bool plain =
      value.empty() || (value.front() != ' ' && value.back() != ' ' && value.front() != '\t' &&
                        value.back() != '\t' && value.front() != '"' && value.front() != '\'');
  if (plain && plat::IsValidUtf8(value) && plat::Utf8ToAnsi(value).find('?') == std::string::npos &&
      value.find('?') == std::string::npos)
    FUZZ_CHECK(disk.ReadString(section, key, "\x01") == value, "value through the file changed");
  std::remove(file.c_str());
  return 0;
}
