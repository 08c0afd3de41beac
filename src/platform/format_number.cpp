#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/format.h"

namespace plat {

FormatSettings& Formats() {
  static FormatSettings settings;
  return settings;
}

void SetItalianFormats() {
  FormatSettings& f = Formats();
  f.DecimalSeparator = ',';
  f.ThousandSeparator = '.';
  f.ShortDateFormat = "dd/MM/yyyy";
  f.DateSeparator = '/';
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

bool TryStrToInt64(const std::string& text, int64_t& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return false;
  unsigned long long acc = 0;
  const unsigned long long limit = negative ? 9223372036854775808ULL : 9223372036854775807ULL;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c)))
      d = std::tolower(c) - 'a' + 10;
    else
      return false;
    if (acc > (limit - static_cast<unsigned long long>(d)) / static_cast<unsigned long long>(base))
      return false;
    acc = acc * static_cast<unsigned long long>(base) + static_cast<unsigned long long>(d);
  }
  value = negative ? static_cast<int64_t>(0 - acc) : static_cast<int64_t>(acc);
  return true;
}

bool TryStrToInt(const std::string& text, int& value) {
  int64_t v = 0;
  if (!TryStrToInt64(text, v) || v < INT_MIN || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

int StrToInt(const std::string& text) {
  int v = 0;
  if (!TryStrToInt(text, v)) throw ConvertError("'" + text + "' is not a valid integer value");
  return v;
}

int64_t StrToInt64(const std::string& text) {
  int64_t v = 0;
  if (!TryStrToInt64(text, v)) throw ConvertError("'" + text + "' is not a valid integer value");
  return v;
}

int StrToIntDef(const std::string& text, int def) {
  int v = 0;
  return TryStrToInt(text, v) ? v : def;
}

std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  std::string s(buf);
  // "%g" writes "1e+20"; the text is "1E20" and "1E-6".
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '.')
      out += Formats().DecimalSeparator;
    else if (c == 'e') {
      out += 'E';
      size_t j = i + 1;
      if (s[j] == '-') out += '-';
      if (s[j] == '+' || s[j] == '-') ++j;
      while (j + 1 < s.size() && s[j] == '0') ++j;
      out += s.substr(j);
      break;
    } else
      out += c;
  }
  return out == "-0" ? "0" : out;
}

bool TryStrToFloat(const std::string& text, double& value) {
  const char dec = Formats().DecimalSeparator;
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  if (b == e) return false;
  std::string c;  // the number in the C locale's spelling
  size_t i = b;
  if (text[i] == '+' || text[i] == '-') c += text[i++];
  size_t digits = 0;
  while (i < e && std::isdigit(static_cast<unsigned char>(text[i]))) {
    c += text[i++];
    ++digits;
  }
  if (i < e && text[i] == dec) {
    c += '.';
    ++i;
    while (i < e && std::isdigit(static_cast<unsigned char>(text[i]))) {
      c += text[i++];
      ++digits;
    }
  }
  if (digits == 0) return false;
  if (i < e && (text[i] == 'e' || text[i] == 'E')) {
    c += 'e';
    ++i;
    if (i < e && (text[i] == '+' || text[i] == '-')) c += text[i++];
    size_t expDigits = 0;
    while (i < e && std::isdigit(static_cast<unsigned char>(text[i]))) {
      c += text[i++];
      ++expDigits;
    }
    if (expDigits == 0) return false;
  }
  if (i != e) return false;
  errno = 0;
  const double v = std::strtod(c.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(v)) return false;
  value = v;
  return true;
}

double StrToFloat(const std::string& text) {
  double v = 0;
  if (!TryStrToFloat(text, v))
    throw ConvertError("'" + text + "' is not a valid floating point value");
  return v;
}

double StrToFloatDef(const std::string& text, double def) {
  double v = 0;
  return TryStrToFloat(text, v) ? v : def;
}

// ---------------------------------------------------------------- FormatFloat
namespace {

struct Picture {
  std::string prefix, suffix;  // literal text around the digits
  int intZeros = 0;            // minimum integer digits
  int decZeros = 0;            // decimals always shown
  int decMax = 0;              // decimals at most
  bool grouping = false;
  bool hasDigits = false;
};

std::vector<std::string> SplitSections(const std::string& format) {
  std::vector<std::string> sections(1);
  char quote = 0;
  for (char c : format) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

Picture ParsePicture(const std::string& section) {
  // Tokens: each character with whether it stood between quotes.
  std::vector<std::pair<char, bool>> tokens;
  char quote = 0;
  for (char c : section) {
    if (quote) {
      if (c == quote)
        quote = 0;
      else
        tokens.emplace_back(c, true);
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else {
      tokens.emplace_back(c, false);
    }
  }
  auto isPlaceholder = [](char c) { return c == '0' || c == '#' || c == '.'; };
  long first = -1, last = -1;
  for (long i = 0; i < static_cast<long>(tokens.size()); ++i) {
    const auto [c, literal] = tokens[static_cast<size_t>(i)];
    if (literal) continue;
    if (isPlaceholder(c) && first < 0) first = i;
    if (first >= 0 && (isPlaceholder(c) || c == ',')) last = i;
  }
  Picture p;
  if (first < 0) {
    for (const auto& t : tokens) p.prefix += t.first;
    return p;
  }
  p.hasDigits = true;
  bool afterPoint = false;
  for (long i = 0; i < static_cast<long>(tokens.size()); ++i) {
    const char c = tokens[static_cast<size_t>(i)].first;
    // A "," outside quotes asks for thousands grouping wherever it stands
    // (",0.00" is "#,0.00") and is never printed itself.
    if (c == ',' && !tokens[static_cast<size_t>(i)].second) {
      p.grouping = true;
      continue;
    }
    if (i < first) {
      p.prefix += c;
      continue;
    }
    if (i > last) {
      p.suffix += c;
      continue;
    }
    if (tokens[static_cast<size_t>(i)].second) continue;
    if (c == '.')
      afterPoint = true;
    else if (c == ',' && !afterPoint)
      p.grouping = true;
    else if (c == '0' || c == '#') {
      if (afterPoint) {
        ++p.decMax;
        if (c == '0') p.decZeros = p.decMax;
      } else if (c == '0' || p.intZeros > 0) {
        ++p.intZeros;
      }
    }
  }
  return p;
}

// The absolute value as decimal digits at 15 significant digits, rounded
// half away from zero to `decimals` places. Returns integer and fraction.
void Digits(double value, int decimals, std::string& intPart, std::string& fracPart) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
  std::string mant;
  for (const char* q = buf; *q && *q != 'e'; ++q)
    if (std::isdigit(static_cast<unsigned char>(*q))) mant += *q;
  const int exp = std::atoi(std::strchr(buf, 'e') + 1);
  // mant holds d.dddd * 10^exp; the decimal point sits after exp+1 digits.
  int point = exp + 1;
  if (point < 0) {
    mant.insert(0, static_cast<size_t>(-point), '0');
    point = 0;
  }
  if (static_cast<int>(mant.size()) < point + decimals + 1)
    mant.append(static_cast<size_t>(point + decimals + 1) - mant.size(), '0');
  const int keep = point + decimals;
  const bool roundUp = mant[static_cast<size_t>(keep)] >= '5';
  mant.resize(static_cast<size_t>(keep));
  if (roundUp) {
    int k = keep - 1;
    for (; k >= 0; --k) {
      if (mant[static_cast<size_t>(k)] == '9') {
        mant[static_cast<size_t>(k)] = '0';
        continue;
      }
      ++mant[static_cast<size_t>(k)];
      break;
    }
    if (k < 0) {
      mant.insert(0, "1");
      ++point;
    }
  }
  intPart = mant.substr(0, static_cast<size_t>(point));
  fracPart = mant.substr(static_cast<size_t>(point));
  size_t nz = intPart.find_first_not_of('0');
  intPart = nz == std::string::npos ? std::string() : intPart.substr(nz);
}

std::string Render(const Picture& p, double value, bool& isZero) {
  std::string ip, fp;
  Digits(value, p.decMax, ip, fp);
  isZero = ip.empty() && fp.find_first_not_of('0') == std::string::npos;
  while (static_cast<int>(fp.size()) > p.decZeros && !fp.empty() && fp.back() == '0') fp.pop_back();
  while (static_cast<int>(ip.size()) < p.intZeros) ip.insert(0, "0");
  if (p.grouping && ip.size() > 3) {
    std::string g;
    const size_t lead = ip.size() % 3 == 0 ? 3 : ip.size() % 3;
    g = ip.substr(0, lead);
    for (size_t k = lead; k < ip.size(); k += 3) g += Formats().ThousandSeparator + ip.substr(k, 3);
    ip = g;
  }
  std::string out = p.prefix + ip;
  if (!fp.empty()) out += Formats().DecimalSeparator + fp;
  return out + p.suffix;
}

}  // namespace

std::string FormatFloat(const std::string& format, double value) {
  if (std::isnan(value) || std::isinf(value)) return FloatToStr(value);
  const std::vector<std::string> sections = SplitSections(format);
  if (format.empty()) return FloatToStr(value);
  const bool negative = value < 0;
  std::string section = sections[0];
  bool useMinus = negative;
  if (negative && sections.size() > 1 && !sections[1].empty()) {
    section = sections[1];
    useMinus = false;
  }
  Picture p = ParsePicture(section);
  if (!p.hasDigits) return p.prefix;
  bool isZero = false;
  std::string out = Render(p, value, isZero);
  if (isZero) {
    // The zero section serves any value that shows as zero; a value that
    // rounds to zero carries no minus sign.
    if (sections.size() > 2 && !sections[2].empty()) {
      Picture z = ParsePicture(sections[2]);
      if (!z.hasDigits) return z.prefix;
      return Render(z, 0.0, isZero);
    }
    if (negative && sections.size() > 1 && !sections[1].empty())
      out = Render(ParsePicture(sections[0]), 0.0, isZero);
    return out;
  }
  return useMinus ? "-" + out : out;
}

}  // namespace plat
