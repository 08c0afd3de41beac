#pragma once
// Number and date conversions under process-wide format settings (decimal
// and thousands separators, date separator and short date form). One set of
// settings serves the whole process: the host and every window see the same
// values.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace plat {

// A text that does not convert to a number or a date.
class ConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct FormatSettings {
  char DecimalSeparator = ',';
  char ThousandSeparator = '.';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "dd/MM/yyyy";
  std::string LongTimeFormat = "hh:nn:ss";
  bool operator==(const FormatSettings&) const = default;
};

// The live settings; the Italian ones until someone changes them.
FormatSettings& Formats();
// What every export sets before opening its window: ",", ".", "dd/MM/yyyy".
void SetItalianFormats();

// Days since 30/12/1899; the fraction is the time of day.
using DateTime = double;
inline constexpr DateTime kNoDate = 0.0;     // empty date text
inline constexpr DateTime kNotADate = -1.0;  // text that is not a date

// ---- numbers
std::string IntToStr(int64_t value);
// Leading blanks, a sign, decimal digits or "$"/"0x" hex; nothing after.
bool TryStrToInt(const std::string& text, int& value);
bool TryStrToInt64(const std::string& text, int64_t& value);
int StrToInt(const std::string& text);        // throws ConvertError
int64_t StrToInt64(const std::string& text);  // throws ConvertError
int StrToIntDef(const std::string& text, int def);

// Shortest text of up to 15 significant digits, current decimal separator.
std::string FloatToStr(double value);
// Blanks around the number are allowed; only the current decimal separator
// is accepted, and a thousands separator makes the text no number.
bool TryStrToFloat(const std::string& text, double& value);
double StrToFloat(const std::string& text);  // throws ConvertError
double StrToFloatDef(const std::string& text, double def);

// Picture formats: "0" digit, "#" optional digit, "." decimal point,
// "," thousands grouping, "'..'"/"\"..\"" literals, up to three sections
// "positive;negative;zero". Halves round away from zero after the value is
// taken at 15 significant digits, so 2.345 under "0.00" gives "2,35".
std::string FormatFloat(const std::string& format, double value);

// ---- dates
// True when the value names a day of the years 1 to 9999 (any time of day).
// Outside that range (NaN and infinities included) DecodeDate gives 0/0/0,
// DecodeTime 0:00, DayOfWeek 0, FormatDateTime an empty text, and IncMonth
// throws ConvertError (also when its result would fall outside).
bool IsDateInRange(DateTime dt);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool TryEncodeDate(int year, int month, int day, DateTime& result);
DateTime EncodeDate(int year, int month, int day);  // throws ConvertError
void DecodeDate(DateTime dt, int& year, int& month, int& day);
bool TryEncodeTime(int hour, int min, int sec, int msec, DateTime& result);
DateTime EncodeTime(int hour, int min, int sec, int msec);  // throws ConvertError
void DecodeTime(DateTime dt, int& hour, int& min, int& sec, int& msec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(DateTime dt);
DateTime Date();  // today, midnight, local time
DateTime Now();   // local time
DateTime IncMonth(DateTime dt, int months);

// Format letters (case-insensitive): d dd ddd dddd ddddd (short date),
// m mm mmm mmmm (minutes right after h), yy yyyy, h hh, n nn, s ss, z zzz,
// "/" date separator, ":" time separator, quoted literals.
std::string FormatDateTime(const std::string& format, DateTime dt);
std::string DateToStr(DateTime dt);
std::string TimeToStr(DateTime dt);
std::string DateTimeToStr(DateTime dt);
// Reads day, month and year in the order of ShortDateFormat, separated by
// DateSeparator; one or two digits for day and month; a missing year is the
// current one. Two-digit years: 00-49 are 2000-2049, 50-99 are 1950-1999,
// the same window the date edit box completes with.
bool TryStrToDate(const std::string& text, DateTime& result);
DateTime StrToDate(const std::string& text);  // throws ConvertError

}  // namespace plat
