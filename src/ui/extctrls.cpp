#include "ui/extctrls.h"

#include <algorithm>
#include <cmath>

#include "platform/format.h"

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

// The date box keeps its dates as the platform layer does (whole part the
// day, counted towards zero, fraction the time of day whatever the sign);
// values that name no day format as an empty text and never reach an
// integer conversion.
DateTime EncodeDate(int year, int month, int day) { return plat::EncodeDate(year, month, day); }

void DecodeDate(DateTime dt, int& year, int& month, int& day) {
  plat::DecodeDate(dt, year, month, day);
}

DateTime Today() { return plat::Date(); }

std::string FormatDate(DateTime d) { return plat::FormatDateTime("dd/mm/yyyy", d); }

bool ParseDate(const std::string& text, DateTime& out) { return plat::TryStrToDate(text, out); }

DateTimePicker::DateTimePicker(Component* owner) : Control(owner), dateTime_(Today()) {
  TabStop = true;
  Color = clWindow;
}

// The new day with the time of day the box held; a box holding no day
// keeps no time.
void DateTimePicker::SetDate(DateTime d) {
  const DateTime giorno = std::trunc(d);
  DateTime ora = std::fabs(dateTime_ - std::trunc(dateTime_));
  if (!std::isfinite(ora)) ora = 0;
  dateTime_ = std::signbit(giorno) ? giorno - ora : giorno + ora;
}

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
