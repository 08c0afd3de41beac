#include "db/value.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "db/error.h"
#include "platform/format.h"

namespace db {
namespace {

bool ParseDouble(const std::string& text, double& out) {
  if (plat::TryStrToFloat(text, out)) return true;
  // Texts coming from SQL or files use the point.
  const char* b = text.c_str();
  while (*b == ' ') ++b;
  if (!*b) return false;
  char* end = nullptr;
  out = std::strtod(b, &end);
  while (end && *end == ' ') ++end;
  return end && *end == '\0';
}

std::string DateTimeText(double dt) {
  if (dt == std::floor(dt)) return plat::DateToStr(dt);
  return plat::DateTimeToStr(dt);
}

}  // namespace

void Value::StoreText(std::string_view s) {
  const std::size_t n = s.size();
  if (n <= kInline) {
    // memmove: s may be this value's own text.
    if (tag_ == kHeap) {
      char* old = HeapData();
      std::memmove(raw_, s.data(), n);
      delete[] old;
    } else {
      std::memmove(raw_, s.data(), n);
    }
    tag_ = static_cast<std::uint8_t>(n);
    return;
  }
  if (tag_ == kHeap && n <= HeapCapacity()) {
    std::memmove(HeapData(), s.data(), n);
  } else {
    char* p = new char[n];
    std::memcpy(p, s.data(), n);
    Release();
    const std::uint32_t cap = n > UINT32_MAX ? 0 : static_cast<std::uint32_t>(n);
    std::memcpy(raw_ + kCapacity, &cap, sizeof cap);
    std::memcpy(raw_ + kData, &p, sizeof p);
    tag_ = kHeap;
  }
  std::memcpy(raw_ + kSize, &n, sizeof n);
}

void Value::ClearAll(Value* values, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) values[i].Release();
  // A null value is all zero bytes (kind Null, no text, no number).
  std::memset(static_cast<void*>(values), 0, n * sizeof(Value));
}

std::int64_t Value::ConvertToInt64() const {
  switch (Kind()) {
    case ValueKind::Null:
      return 0;
    case ValueKind::Int:
      return RawInt();
    case ValueKind::Float:
    case ValueKind::DateTime:
      return static_cast<std::int64_t>(std::llround(RawDouble()));
    case ValueKind::Bool:
      return RawBool() ? 1 : 0;
    case ValueKind::Text:
    case ValueKind::Blob: {
      const std::string text(Bytes());
      std::int64_t v = 0;
      if (plat::TryStrToInt64(text, v)) return v;
      double d = 0;
      if (ParseDouble(text, d) && d == std::floor(d)) return static_cast<std::int64_t>(d);
      throw DbError("'" + text + "' is not a valid integer value");
    }
  }
  return 0;
}

double Value::ConvertToDouble() const {
  switch (Kind()) {
    case ValueKind::Null:
      return 0;
    case ValueKind::Int:
      return static_cast<double>(RawInt());
    case ValueKind::Float:
    case ValueKind::DateTime:
      return RawDouble();
    case ValueKind::Bool:
      return RawBool() ? 1 : 0;
    case ValueKind::Text:
    case ValueKind::Blob: {
      if (Bytes().empty()) return 0;
      const std::string text(Bytes());
      double d = 0;
      if (ParseDouble(text, d)) return d;
      throw DbError("'" + text + "' is not a valid floating point value");
    }
  }
  return 0;
}

bool Value::AsBool() const {
  switch (Kind()) {
    case ValueKind::Null:
      return false;
    case ValueKind::Bool:
      return RawBool();
    case ValueKind::Int:
      return RawInt() != 0;
    case ValueKind::Float:
    case ValueKind::DateTime:
      return RawDouble() != 0;
    case ValueKind::Text:
    case ValueKind::Blob: {
      const std::string text(Bytes());
      if (text == "True" || text == "TRUE" || text == "true" || text == "1") return true;
      if (text == "False" || text == "FALSE" || text == "false" || text == "0" || text.empty())
        return false;
      throw DbError("'" + text + "' is not a valid boolean value");
    }
  }
  return false;
}

double Value::ConvertToDateTime() const {
  switch (Kind()) {
    case ValueKind::Text:
    case ValueKind::Blob: {
      if (Bytes().empty()) return 0;
      const std::string text(Bytes());
      plat::DateTime dt = 0;
      if (plat::TryStrToDate(text, dt)) return dt;
      int y = 0, m = 0, d = 0;
      // ISO form as SQL writes it.
      if (std::sscanf(text.c_str(), "%d-%d-%d", &y, &m, &d) == 3 &&
          plat::TryEncodeDate(y, m, d, dt))
        return dt;
      throw DbError("'" + text + "' is not a valid date");
    }
    default:
      return AsDouble();
  }
}

std::string Value::AsString() const {
  switch (Kind()) {
    case ValueKind::Null:
      return std::string();
    case ValueKind::Int:
      return std::to_string(RawInt());
    case ValueKind::Float:
      return plat::FloatToStr(RawDouble());
    case ValueKind::DateTime:
      return DateTimeText(RawDouble());
    case ValueKind::Bool:
      return RawBool() ? "True" : "False";
    case ValueKind::Text:
    case ValueKind::Blob:
      return std::string(Bytes());
  }
  return std::string();
}

bool Value::operator==(const Value& o) const {
  const ValueKind kind = Kind();
  if (kind == ValueKind::Null || o.Kind() == ValueKind::Null) return kind == o.Kind();
  auto numeric = [](ValueKind k) {
    return k == ValueKind::Int || k == ValueKind::Float || k == ValueKind::DateTime ||
           k == ValueKind::Bool;
  };
  if (kind == ValueKind::Int && o.Kind() == ValueKind::Int) return RawInt() == o.RawInt();
  if (numeric(kind) && numeric(o.Kind())) return AsDouble() == o.AsDouble();
  if (kind == ValueKind::Text || kind == ValueKind::Blob) {
    if (o.HasText()) return Bytes() == o.Bytes();
    return AsString() == o.AsString();
  }
  return AsString() == o.AsString();
}

}  // namespace db
