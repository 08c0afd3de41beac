#pragma once
// A single field value as data sets store and exchange it.

#include <cstdint>
#include <new>
#include <string>
#include <string_view>

namespace db {

enum class ValueKind : std::uint8_t { Null, Int, Float, Text, Bool, DateTime, Blob };

// Dates are doubles counting days since 30/12/1899 (the fraction is the
// time of day), the same representation the platform's DateTime uses.
//
// A value takes 40 bytes: its kind and either the number or the text, whose
// string object shares the place of the number. Data sets keep one value
// per field per row; a text of up to 15 bytes (codes, short names) needs no
// allocation of its own.
class Value {
 public:
  Value() {}
  Value(int v) : kind_(ValueKind::Int), i_(v) {}
  Value(long v) : kind_(ValueKind::Int), i_(v) {}
  Value(long long v) : kind_(ValueKind::Int), i_(v) {}
  Value(unsigned v) : kind_(ValueKind::Int), i_(v) {}
  Value(unsigned long v) : kind_(ValueKind::Int), i_(static_cast<std::int64_t>(v)) {}
  Value(double v) : kind_(ValueKind::Float), d_(v) {}
  Value(bool v) : kind_(ValueKind::Bool), i_(v ? 1 : 0) {}
  Value(const char* s) : kind_(ValueKind::Text) { new (&s_) std::string(s); }
  Value(std::string s) : kind_(ValueKind::Text) { new (&s_) std::string(std::move(s)); }
  Value(std::string_view s) : kind_(ValueKind::Text) { new (&s_) std::string(s); }

  Value(const Value& o) : kind_(o.kind_) {
    if (o.HasText())
      new (&s_) std::string(o.s_);
    else
      i_ = o.i_;
  }
  Value(Value&& o) noexcept : kind_(o.kind_) {
    if (o.HasText()) {
      new (&s_) std::string(std::move(o.s_));
      o.MakeNull();
    } else {
      i_ = o.i_;
    }
  }
  Value& operator=(const Value& o) {
    if (this == &o) return *this;
    if (HasText() && o.HasText()) {
      s_ = o.s_;  // keeps the buffer already there
      kind_ = o.kind_;
      return *this;
    }
    Value copy(o);
    return *this = std::move(copy);
  }
  Value& operator=(Value&& o) noexcept {
    if (this == &o) return *this;
    if (o.HasText()) {
      if (HasText())
        s_ = std::move(o.s_);
      else
        new (&s_) std::string(std::move(o.s_));
      kind_ = o.kind_;
      o.MakeNull();
    } else {
      if (HasText()) s_.~basic_string();
      kind_ = o.kind_;
      i_ = o.i_;
    }
    return *this;
  }
  ~Value() {
    if (HasText()) s_.~basic_string();
  }

  static Value Null() { return Value(); }
  static Value FromDateTime(double days) {
    Value v;
    v.kind_ = ValueKind::DateTime;
    v.d_ = days;
    return v;
  }
  static Value FromBlob(std::string bytes) {
    Value v(std::move(bytes));
    v.kind_ = ValueKind::Blob;
    return v;
  }

  ValueKind Kind() const { return kind_; }
  bool IsNull() const { return kind_ == ValueKind::Null; }
  void Clear() { *this = Value(); }

  // Conversions. Texts of numbers and dates follow the platform's
  // format settings (decimal ",", dates dd/MM/yyyy) and the invariant
  // form is accepted too ("12.5").
  std::int64_t AsInt64() const;  // null 0; text parsed (error when not a number)
  double AsDouble() const;
  bool AsBool() const;
  double AsDateTime() const;
  std::string AsString() const;
  // Text or blob bytes without conversion (empty for other kinds).
  const std::string& Bytes() const { return HasText() ? s_ : NoText(); }

  // In-place setters for the hot path of the row cache: no temporary
  // value, and a text keeps the buffer it already has.
  void SetInt(std::int64_t v) { SetNumber(ValueKind::Int), i_ = v; }
  void SetFloat(double v) { SetNumber(ValueKind::Float), d_ = v; }
  void SetDateTime(double days) { SetNumber(ValueKind::DateTime), d_ = days; }
  void SetBool(bool v) { SetNumber(ValueKind::Bool), i_ = v ? 1 : 0; }
  void SetText(std::string_view s) {
    if (HasText())
      s_.assign(s.data(), s.size());
    else
      new (&s_) std::string(s);
    kind_ = ValueKind::Text;
  }

  // Raw access for the hot paths of the row cache.
  std::int64_t RawInt() const { return i_; }
  double RawDouble() const { return d_; }
  bool RawBool() const { return i_ != 0; }

  // Same kind and the same bits: what any conversion or formatting of the
  // two gives is the same (0.0 and -0.0 differ here, as their texts do).
  bool Identical(const Value& o) const;

  // Same kind and same value; Int and Float compare numerically.
  bool operator==(const Value& o) const;
  bool operator!=(const Value& o) const { return !(*this == o); }

 private:
  bool HasText() const { return kind_ == ValueKind::Text || kind_ == ValueKind::Blob; }
  static const std::string& NoText();
  void SetNumber(ValueKind k) {
    if (HasText()) s_.~basic_string();
    kind_ = k;
  }
  void MakeNull() {
    s_.~basic_string();
    kind_ = ValueKind::Null;
    i_ = 0;
  }
  ValueKind kind_ = ValueKind::Null;
  union {
    std::int64_t i_ = 0;  // Int, and Bool as 0 or 1
    double d_;            // Float and DateTime
    std::string s_;       // Text and Blob
  };
};

}  // namespace db
