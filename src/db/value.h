#pragma once
// A single field value as data sets store and exchange it.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace db {

enum class ValueKind : std::uint8_t { Null, Int, Float, Text, Bool, DateTime, Blob };

// Dates are doubles counting days since 30/12/1899 (the fraction is the
// time of day), the same representation the platform's DateTime uses.
//
// A value takes 24 bytes: its kind, then either the number, a text of up to
// 22 bytes held in place (codes, names, descriptions of most rows), or the
// length and address of a longer text or blob. Data sets keep one value per
// field per row, so the size of a buffered row follows this one closely.
// Texts are read as views (Bytes) without a copy.
class alignas(8) Value {
 public:
  Value() {}
  Value(int v) : kind_(ValueKind::Int) { PutInt(v); }
  Value(long v) : kind_(ValueKind::Int) { PutInt(v); }
  Value(long long v) : kind_(ValueKind::Int) { PutInt(v); }
  Value(unsigned v) : kind_(ValueKind::Int) { PutInt(v); }
  Value(unsigned long v) : kind_(ValueKind::Int) { PutInt(static_cast<std::int64_t>(v)); }
  Value(double v) : kind_(ValueKind::Float) { PutDouble(v); }
  Value(bool v) : kind_(ValueKind::Bool) { PutInt(v ? 1 : 0); }
  Value(const char* s) : Value(std::string_view(s)) {}
  Value(const std::string& s) : Value(std::string_view(s)) {}
  Value(std::string_view s) { SetText(s); }

  Value(const Value& o) : kind_(o.kind_), tag_(o.tag_) {
    if (o.tag_ == kHeap) {
      tag_ = 0;
      StoreText(o.Bytes());
    } else {
      std::memcpy(raw_, o.raw_, sizeof raw_);
    }
  }
  Value(Value&& o) noexcept : kind_(o.kind_), tag_(o.tag_) {
    std::memcpy(raw_, o.raw_, sizeof raw_);
    o.Forget();
  }
  Value& operator=(const Value& o) {
    if (this == &o) return *this;
    if (o.HasText()) {
      StoreText(o.Bytes());  // a long text keeps the buffer already there
    } else {
      Release();
      std::memcpy(raw_, o.raw_, sizeof raw_);
    }
    kind_ = o.kind_;
    return *this;
  }
  Value& operator=(Value&& o) noexcept {
    if (this == &o) return *this;
    Release();
    kind_ = o.kind_;
    tag_ = o.tag_;
    std::memcpy(raw_, o.raw_, sizeof raw_);
    o.Forget();
    return *this;
  }
  ~Value() { Release(); }

  static Value Null() { return Value(); }
  static Value FromDateTime(double days) {
    Value v;
    v.SetDateTime(days);
    return v;
  }
  static Value FromBlob(std::string_view bytes) {
    Value v(bytes);
    v.kind_ = ValueKind::Blob;
    return v;
  }

  ValueKind Kind() const { return kind_; }
  bool IsNull() const { return kind_ == ValueKind::Null; }
  void Clear() { *this = Value(); }

  // Conversions. Texts of numbers and dates follow the platform's
  // format settings (decimal ",", dates dd/MM/yyyy) and the invariant
  // form is accepted too ("12.5").
  // The stored kinds of a column answer here; the others convert out of line.
  std::int64_t AsInt64() const {  // null 0; text parsed (error when not a number)
    return kind_ == ValueKind::Int ? RawInt() : ConvertToInt64();
  }
  double AsDouble() const {
    if (kind_ == ValueKind::Float || kind_ == ValueKind::DateTime) return RawDouble();
    return kind_ == ValueKind::Int ? static_cast<double>(RawInt()) : ConvertToDouble();
  }
  bool AsBool() const;
  double AsDateTime() const {
    return kind_ == ValueKind::DateTime || kind_ == ValueKind::Float ? RawDouble()
                                                                     : ConvertToDateTime();
  }
  std::string AsString() const;
  // Text or blob bytes without conversion or copy (empty for other kinds);
  // valid until the value changes.
  std::string_view Bytes() const {
    if (tag_ == kHeap) return {HeapData(), HeapSize()};
    return {raw_, tag_};  // tag_ is 0 for every kind but a text held in place
  }

  // In-place setters for the hot path of the row cache: no temporary
  // value, and a long text keeps the buffer it already has.
  void SetInt(std::int64_t v) { SetNumber(ValueKind::Int), PutInt(v); }
  void SetFloat(double v) { SetNumber(ValueKind::Float), PutDouble(v); }
  void SetDateTime(double days) { SetNumber(ValueKind::DateTime), PutDouble(days); }
  void SetBool(bool v) { SetNumber(ValueKind::Bool), PutInt(v ? 1 : 0); }
  void SetText(std::string_view s) {
    StoreText(s);
    kind_ = ValueKind::Text;
  }

  // Raw access for the hot paths of the row cache.
  std::int64_t RawInt() const {
    std::int64_t v;
    std::memcpy(&v, raw_ + kNumber, sizeof v);
    return v;
  }
  double RawDouble() const {
    double v;
    std::memcpy(&v, raw_ + kNumber, sizeof v);
    return v;
  }
  bool RawBool() const { return RawInt() != 0; }

  // Makes the n values at `values` null: a batch form of Clear for the
  // row storage, which frees long texts and then writes the block once.
  static void ClearAll(Value* values, std::size_t n);

  // Same kind and same value; Int and Float compare numerically.
  bool operator==(const Value& o) const;
  bool operator!=(const Value& o) const { return !(*this == o); }

 private:
  // Layout of raw_ (offsets from the start of the value, which is aligned
  // to 8): a text in place from 2 to 23; a number at 8; a text on the heap
  // keeps its capacity at 4, its length at 8 and its address at 16.
  static constexpr std::uint8_t kHeap = 0xFF;
  static constexpr std::size_t kInline = 22;
  static constexpr std::size_t kCapacity = 2;
  static constexpr std::size_t kNumber = 6;
  static constexpr std::size_t kSize = 6;
  static constexpr std::size_t kData = 14;

  std::int64_t ConvertToInt64() const;
  double ConvertToDouble() const;
  double ConvertToDateTime() const;
  bool HasText() const { return kind_ == ValueKind::Text || kind_ == ValueKind::Blob; }
  void PutInt(std::int64_t v) { std::memcpy(raw_ + kNumber, &v, sizeof v); }
  void PutDouble(double v) { std::memcpy(raw_ + kNumber, &v, sizeof v); }
  char* HeapData() const {
    char* p;
    std::memcpy(&p, raw_ + kData, sizeof p);
    return p;
  }
  std::size_t HeapSize() const {
    std::size_t n;
    std::memcpy(&n, raw_ + kSize, sizeof n);
    return n;
  }
  std::uint32_t HeapCapacity() const {
    std::uint32_t n;
    std::memcpy(&n, raw_ + kCapacity, sizeof n);
    return n;
  }
  void SetNumber(ValueKind k) {
    Release();
    kind_ = k;
  }
  // Frees a text on the heap; the value is then any kind but that.
  void Release() {
    if (tag_ == kHeap) delete[] HeapData();
    tag_ = 0;
  }
  // After a move: the storage went elsewhere, this is null.
  void Forget() {
    kind_ = ValueKind::Null;
    tag_ = 0;
    std::memset(raw_, 0, sizeof raw_);
  }
  // Stores the bytes (the kind is the caller's); s may view this value.
  void StoreText(std::string_view s);

  ValueKind kind_ = ValueKind::Null;
  std::uint8_t tag_ = 0;  // length of a text in place, or kHeap
  char raw_[kInline] = {};
};

static_assert(sizeof(Value) == 24);

}  // namespace db
