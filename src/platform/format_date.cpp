#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "platform/format.h"

namespace plat {
namespace {

const char* const kShortMonths[12] = {"gen", "feb", "mar", "apr", "mag", "giu",
                                      "lug", "ago", "set", "ott", "nov", "dic"};
const char* const kLongMonths[12] = {"gennaio",   "febbraio", "marzo",    "aprile",
                                     "maggio",    "giugno",   "luglio",   "agosto",
                                     "settembre", "ottobre",  "novembre", "dicembre"};
const char* const kShortDays[7] = {"dom", "lun", "mar", "mer", "gio", "ven", "sab"};
const char* const kLongDays[7] = {"domenica", "lunedì",  "martedì", "mercoledì",
                                  "giovedì",  "venerdì", "sabato"};

// Days from 1/1/1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

const int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);
// The first and the last day a date value may name: 1/1/0001, 31/12/9999.
const double kFirstDay = static_cast<double>(DaysFromCivil(1, 1, 1) - kEpochOffset);
const double kLastDay = static_cast<double>(DaysFromCivil(9999, 12, 31) - kEpochOffset);

std::string Pad(int value, int width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", width, value);
  return buf;
}

// Counts how often the letter at i repeats (case-insensitively).
size_t Run(const std::string& f, size_t i) {
  size_t n = 1;
  while (i + n < f.size() && std::tolower(static_cast<unsigned char>(f[i + n])) ==
                                 std::tolower(static_cast<unsigned char>(f[i])))
    ++n;
  return n;
}

}  // namespace

bool IsDateInRange(DateTime dt) {
  // NaN fails both comparisons; infinities fail one.
  return std::trunc(dt) >= kFirstDay && std::trunc(dt) <= kLastDay;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, DateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    return false;
  result = static_cast<double>(DaysFromCivil(year, month, day) - kEpochOffset);
  return true;
}

DateTime EncodeDate(int year, int month, int day) {
  DateTime r = 0;
  if (!TryEncodeDate(year, month, day, r)) throw ConvertError("Invalid argument to date encode");
  return r;
}

void DecodeDate(DateTime dt, int& year, int& month, int& day) {
  if (!IsDateInRange(dt)) {
    year = month = day = 0;
    return;
  }
  // Before 1899 the whole part counts the day and the fraction, whatever
  // the sign, the time of day.
  CivilFromDays(static_cast<int64_t>(std::trunc(dt)) + kEpochOffset, year, month, day);
}

bool TryEncodeTime(int hour, int min, int sec, int msec, DateTime& result) {
  if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
    return false;
  result = (((hour * 60.0 + min) * 60.0 + sec) * 1000.0 + msec) / 86400000.0;
  return true;
}

DateTime EncodeTime(int hour, int min, int sec, int msec) {
  DateTime r = 0;
  if (!TryEncodeTime(hour, min, sec, msec, r))
    throw ConvertError("Invalid argument to time encode");
  return r;
}

void DecodeTime(DateTime dt, int& hour, int& min, int& sec, int& msec) {
  if (!std::isfinite(dt)) {
    hour = min = sec = msec = 0;
    return;
  }
  const double frac = std::fabs(dt - std::trunc(dt));
  int64_t ms = std::llround(frac * 86400000.0);
  if (ms >= 86400000) ms = 86399999;
  hour = static_cast<int>(ms / 3600000);
  min = static_cast<int>(ms / 60000 % 60);
  sec = static_cast<int>(ms / 1000 % 60);
  msec = static_cast<int>(ms % 1000);
}

int DayOfWeek(DateTime dt) {
  if (!IsDateInRange(dt)) return 0;
  // 30/12/1899 was a Saturday.
  const int64_t days = static_cast<int64_t>(std::trunc(dt));
  return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

DateTime Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&t, &tm);
  const int ms = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  return EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) +
         EncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec, ms);
}

DateTime Date() { return std::trunc(Now()); }

DateTime IncMonth(DateTime dt, int months) {
  if (!IsDateInRange(dt)) throw ConvertError("Invalid argument to date encode");
  int y, m, d;
  DecodeDate(dt, y, m, d);
  // In 64 bits: any month count fits, and a result outside years 1 to 9999
  // is an error rather than an overflow.
  const int64_t total = int64_t{y} * 12 + (m - 1) + months;
  if (total < 12 || total >= int64_t{10000} * 12)
    throw ConvertError("Invalid argument to date encode");
  y = static_cast<int>(total / 12);
  m = static_cast<int>(total % 12) + 1;
  if (d > DaysInMonth(y, m)) d = DaysInMonth(y, m);
  // Before 30/12/1899 the time of day counts away from zero, as DecodeDate
  // reads it: adding a negative fraction to a later day would move the day.
  // A time a hair under midnight may round up to the next whole day when
  // added to a larger day number: it is then kept as the last value that
  // still names the day.
  const double time = std::fabs(dt - std::trunc(dt));
  const DateTime day = EncodeDate(y, m, d);
  if (day >= 0) {
    const DateTime moved = day + time;
    return moved < day + 1 ? moved : std::nextafter(day + 1, day);
  }
  const DateTime moved = day - time;
  return moved > day - 1 ? moved : std::nextafter(day - 1, day);
}

std::string FormatDateTime(const std::string& format, DateTime dt) {
  // A value that names no day has no text, as an empty date box shows.
  if (!IsDateInRange(dt)) return std::string();
  const FormatSettings& fs = Formats();
  int y, mo, d, h, mi, s, ms;
  DecodeDate(dt, y, mo, d);
  DecodeTime(dt, h, mi, s, ms);
  std::string out;
  bool lastWasHour = false;
  for (size_t i = 0; i < format.size();) {
    const char c = format[i];
    const char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c == '\'' || c == '"') {
      const size_t end = format.find(c, i + 1);
      out += format.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
      i = end == std::string::npos ? format.size() : end + 1;
      continue;
    }
    const size_t n = Run(format, i);
    bool hour = false;
    switch (lc) {
      case 'd':
        if (n >= 5)
          out += FormatDateTime(fs.ShortDateFormat, dt);
        else if (n == 4)
          out += kLongDays[DayOfWeek(dt) - 1];
        else if (n == 3)
          out += kShortDays[DayOfWeek(dt) - 1];
        else
          out += Pad(d, static_cast<int>(n));
        break;
      case 'm':
        if (lastWasHour && n <= 2)
          out += Pad(mi, static_cast<int>(n));
        else if (n >= 4)
          out += kLongMonths[mo - 1];
        else if (n == 3)
          out += kShortMonths[mo - 1];
        else
          out += Pad(mo, static_cast<int>(n));
        break;
      case 'y':
        out += n <= 2 ? Pad(y % 100, 2) : Pad(y, 4);
        break;
      case 'h':
        out += Pad(h, n >= 2 ? 2 : 1);
        hour = true;
        break;
      case 'n':
        out += Pad(mi, n >= 2 ? 2 : 1);
        break;
      case 's':
        out += Pad(s, n >= 2 ? 2 : 1);
        break;
      case 'z':
        out += Pad(ms, n >= 3 ? 3 : 1);
        break;
      case 'c':
        out += FormatDateTime(fs.ShortDateFormat, dt);
        if (h || mi || s) out += " " + FormatDateTime(fs.LongTimeFormat, dt);
        break;
      case '/':
        out.append(n, fs.DateSeparator);
        break;
      case ':':
        out.append(n, fs.TimeSeparator);
        break;
      default:
        out.append(format, i, n);
        break;
    }
    // "m" right after an hour, even across separators, means minutes.
    if (hour)
      lastWasHour = true;
    else if (std::isalpha(static_cast<unsigned char>(c)))
      lastWasHour = false;
    i += n;
  }
  return out;
}

std::string DateToStr(DateTime dt) { return FormatDateTime(Formats().ShortDateFormat, dt); }
std::string TimeToStr(DateTime dt) { return FormatDateTime(Formats().LongTimeFormat, dt); }
std::string DateTimeToStr(DateTime dt) { return FormatDateTime("c", dt); }

bool TryStrToDate(const std::string& text, DateTime& result) {
  const FormatSettings& fs = Formats();
  // The order of day, month and year as the short date format gives it.
  std::string order;
  for (char c : fs.ShortDateFormat) {
    const char lc = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if ((lc == 'd' || lc == 'm' || lc == 'y') && order.find(lc) == std::string::npos) order += lc;
  }
  if (order.size() != 3) order = "dmy";
  std::vector<std::string> parts(1);
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  for (size_t i = b; i < e; ++i) {
    if (text[i] == fs.DateSeparator)
      parts.emplace_back();
    else if (std::isdigit(static_cast<unsigned char>(text[i])) && parts.back().size() < 4)
      parts.back() += text[i];
    else
      return false;
  }
  if (parts.size() < 2 || parts.size() > 3) return false;
  for (const auto& p : parts)
    if (p.empty()) return false;
  int y = -1, m = 0, d = 0;
  bool twoDigitYear = false;
  if (parts.size() == 2) {
    // Day and month alone: the current year, in the format's order.
    int cy, cm, cd;
    DecodeDate(Date(), cy, cm, cd);
    y = cy;
    order.erase(order.find('y'), 1);
  }
  for (size_t k = 0; k < parts.size(); ++k) {
    if (parts[k].size() > (order[k] == 'y' ? 4u : 2u)) return false;
    const int v = std::stoi(parts[k]);
    if (order[k] == 'd')
      d = v;
    else if (order[k] == 'm')
      m = v;
    else {
      y = v;
      twoDigitYear = parts[k].size() <= 2;
    }
  }
  if (twoDigitYear) y += y < 50 ? 2000 : 1900;
  return TryEncodeDate(y, m, d, result);
}

DateTime StrToDate(const std::string& text) {
  DateTime r = 0;
  if (!TryStrToDate(text, r)) throw ConvertError("'" + text + "' is not a valid date");
  return r;
}

}  // namespace plat
