#include "ui/extctrls.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace ui {

void ProgressBar::SetMin(int v) {
  min_ = v;
  if (max_ < min_) max_ = min_;
  SetPosition(position_);
}

void ProgressBar::SetMax(int v) {
  max_ = v;
  if (min_ > max_) min_ = max_;
  SetPosition(position_);
}

void ProgressBar::SetPosition(int v) { position_ = std::clamp(v, min_, max_); }

namespace {
// Days from 1 January of year 1 (proleptic Gregorian) to the given date.
long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  long era = (y >= 0 ? y : y - 399) / 400;
  long yoe = y - era * 400;
  long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;  // days since 1970-01-01
}
constexpr long kEpoch1899 = -25569;  // 1899-12-30 counted from 1970-01-01

bool ValidDate(int y, int m, int d) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= days[m - 1] + (m == 2 && leap);
}
}  // namespace

DateTime EncodeDate(int year, int month, int day) {
  return double(DaysFromCivil(year, month, day) - kEpoch1899);
}

void DecodeDate(DateTime dt, int& year, int& month, int& day) {
  long z = long(std::floor(dt)) + kEpoch1899 + 719468;
  long era = (z >= 0 ? z : z - 146096) / 146097;
  long doe = z - era * 146097;
  long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  long mp = (5 * doy + 2) / 153;
  day = int(doy - (153 * mp + 2) / 5 + 1);
  month = int(mp < 10 ? mp + 3 : mp - 9);
  year = int(yoe + era * 400 + (month <= 2));
}

DateTime Today() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
}

std::string FormatDate(DateTime d) {
  int y, m, dd;
  DecodeDate(d, y, m, dd);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", dd, m, y);
  return buf;
}

bool ParseDate(const std::string& text, DateTime& out) {
  int d = 0, m = 0, y = 0, used = 0;
  if (std::sscanf(text.c_str(), "%d/%d/%d%n", &d, &m, &y, &used) != 3 ||
      size_t(used) != text.size())
    return false;
  if (y < 100) y += y < 50 ? 2000 : 1900;
  if (!ValidDate(y, m, d)) return false;
  out = EncodeDate(y, m, d);
  return true;
}

DateTimePicker::DateTimePicker(Component* owner) : Control(owner), dateTime_(Today()) {
  TabStop = true;
  Color = clWindow;
}

void DateTimePicker::SetDate(DateTime d) { dateTime_ = std::floor(d) + (dateTime_ - std::floor(dateTime_)); }

void DateTimePicker::OperatorType(const std::string& text) {
  DateTime d;
  if (!ParseDate(text, d)) throw Error("\"" + text + "\" is not a valid date");
  SetDate(d);
  Change();
}

void DateTimePicker::OperatorCheck(bool c) {
  if (c == checked_) return;
  checked_ = c;
  Change();
}

}  // namespace ui
