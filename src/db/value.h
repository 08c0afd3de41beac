#pragma once
// A single field value as data sets store and exchange it.

#include <cstdint>
#include <string>
#include <string_view>

namespace db {

enum class ValueKind : std::uint8_t { Null, Int, Float, Text, Bool, DateTime, Blob };

// Dates are doubles counting days since 30/12/1899 (the fraction is the
// time of day), the same representation the platform's DateTime uses.
class Value {
 public:
  Value() = default;
  Value(int v) : kind_(ValueKind::Int), i_(v) {}
  Value(long v) : kind_(ValueKind::Int), i_(v) {}
  Value(long long v) : kind_(ValueKind::Int), i_(v) {}
  Value(unsigned v) : kind_(ValueKind::Int), i_(v) {}
  Value(unsigned long v) : kind_(ValueKind::Int), i_(static_cast<std::int64_t>(v)) {}
  Value(double v) : kind_(ValueKind::Float), d_(v) {}
  Value(bool v) : kind_(ValueKind::Bool), b_(v) {}
  Value(const char* s) : kind_(ValueKind::Text), s_(s) {}
  Value(std::string s) : kind_(ValueKind::Text), s_(std::move(s)) {}
  Value(std::string_view s) : kind_(ValueKind::Text), s_(s) {}

  static Value Null() { return Value(); }
  static Value FromDateTime(double days) {
    Value v;
    v.kind_ = ValueKind::DateTime;
    v.d_ = days;
    return v;
  }
  static Value FromBlob(std::string bytes) {
    Value v;
    v.kind_ = ValueKind::Blob;
    v.s_ = std::move(bytes);
    return v;
  }

  ValueKind Kind() const { return kind_; }
  bool IsNull() const { return kind_ == ValueKind::Null; }
  void Clear() {
    kind_ = ValueKind::Null;
    s_.clear();
  }

  // Conversions. Texts of numbers and dates follow the platform's
  // format settings (decimal ",", dates dd/MM/yyyy) and the invariant
  // form is accepted too ("12.5").
  std::int64_t AsInt64() const;  // null 0; text parsed (error when not a number)
  double AsDouble() const;
  bool AsBool() const;
  double AsDateTime() const;
  std::string AsString() const;
  // Text or blob bytes without conversion (empty for other kinds).
  const std::string& Bytes() const { return s_; }

  // In-place setters for the hot path of the row cache: no temporary
  // value, and a text keeps the buffer it already has.
  void SetInt(std::int64_t v) { SetNumber(ValueKind::Int), i_ = v; }
  void SetFloat(double v) { SetNumber(ValueKind::Float), d_ = v; }
  void SetDateTime(double days) { SetNumber(ValueKind::DateTime), d_ = days; }
  void SetBool(bool v) { SetNumber(ValueKind::Bool), b_ = v; }
  void SetText(std::string_view s) {
    kind_ = ValueKind::Text;
    s_.assign(s.data(), s.size());
  }

  // Raw access for the hot paths of the row cache.
  std::int64_t RawInt() const { return i_; }
  double RawDouble() const { return d_; }
  bool RawBool() const { return b_; }

  // Same kind and the same bits: what any conversion or formatting of the
  // two gives is the same (0.0 and -0.0 differ here, as their texts do).
  bool Identical(const Value& o) const;

  // Same kind and same value; Int and Float compare numerically.
  bool operator==(const Value& o) const;
  bool operator!=(const Value& o) const { return !(*this == o); }

 private:
  void SetNumber(ValueKind k) {
    kind_ = k;
    s_.clear();
  }
  ValueKind kind_ = ValueKind::Null;
  union {
    std::int64_t i_ = 0;
    double d_;
    bool b_;
  };
  std::string s_;
};

}  // namespace db
