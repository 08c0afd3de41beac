#include "db/field.h"

#include <cmath>

#include "db/dataset.h"
#include "db/error.h"
#include "platform/format.h"

namespace db {

ValueKind StorageKind(FieldType t) {
  switch (t) {
    case FieldType::String:
    case FieldType::FixedChar:
    case FieldType::Memo:
      return ValueKind::Text;
    case FieldType::Smallint:
    case FieldType::Integer:
    case FieldType::Largeint:
    case FieldType::AutoInc:
      return ValueKind::Int;
    case FieldType::Float:
    case FieldType::Currency:
      return ValueKind::Float;
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime:
      return ValueKind::DateTime;
    case FieldType::Boolean:
      return ValueKind::Bool;
    case FieldType::Blob:
      return ValueKind::Blob;
    case FieldType::Unknown:
      break;
  }
  return ValueKind::Null;
}

bool IsBlobType(FieldType t) { return t == FieldType::Memo || t == FieldType::Blob; }
bool IsTextType(FieldType t) { return t == FieldType::String || t == FieldType::FixedChar; }

const char* FieldTypeName(FieldType t) {
  static const char* names[] = {"Unknown",  "String",  "FixedChar", "Smallint", "Integer",
                                "Largeint", "Float",   "Currency",  "Date",     "Time",
                                "DateTime", "Boolean", "Memo",      "Blob",     "AutoInc"};
  return names[static_cast<int>(t)];
}

Field::Field(DataSet* owner, std::string name, FieldType type, int size, FieldKind kind)
    : dataset_(owner), name_(std::move(name)), type_(type), size_(size), kind_(kind) {}

Field::~Field() = default;

int Field::Index() const {
  const auto& fs = dataset_->Fields();
  for (size_t i = 0; i < fs.size(); ++i)
    if (fs[i] == this) return static_cast<int>(i);
  return -1;
}

void Field::SetIndex(int index) { dataset_->MoveField(this, index); }

int Field::DisplayWidth() const {
  if (displayWidth_ > 0) return displayWidth_;
  switch (type_) {
    case FieldType::String:
    case FieldType::FixedChar:
      return size_ > 0 ? size_ : 20;
    case FieldType::Smallint:
      return 6;
    case FieldType::Integer:
    case FieldType::AutoInc:
      return 11;
    case FieldType::Largeint:
      return 15;
    case FieldType::DateTime:
      return 18;
    case FieldType::Boolean:
      return 5;
    default:
      return 10;
  }
}

namespace {
const Value kNull;
}  // namespace

const Value& Field::ValueRef() const {
  const Row* vals = dataset_->ActiveValues();
  if (!vals || slot_ < 0 || slot_ >= static_cast<int>(vals->size())) return kNull;
  return (*vals)[slot_];
}

const Value& Field::Current() const {
  const Value& v = ValueRef();
  return dataset_->CountsAsNull(*this, v) ? kNull : v;
}

Value Field::GetValue() const { return Current(); }

bool Field::IsNull() const { return Current().IsNull(); }

void Field::SetValue(const Value& v) { dataset_->SetFieldValue(*this, v); }

Value Field::Coerce(const Value& v) const {
  if (v.IsNull()) return v;
  switch (StorageKind(type_)) {
    case ValueKind::Text:
      return v.Kind() == ValueKind::Text ? v : Value(v.AsString());
    case ValueKind::Int:
      if (v.Kind() == ValueKind::Text && v.Bytes().empty()) return Value();
      return v.Kind() == ValueKind::Int ? v : Value(v.AsInt64());
    case ValueKind::Float:
      if (v.Kind() == ValueKind::Text && v.Bytes().empty()) return Value();
      return v.Kind() == ValueKind::Float ? v : Value(v.AsDouble());
    case ValueKind::DateTime: {
      if (v.Kind() == ValueKind::Text && v.Bytes().empty()) return Value();
      double d = v.AsDateTime();
      if (type_ == FieldType::Date) d = std::floor(d);
      if (type_ == FieldType::Time) d = d - std::floor(d);
      return Value::FromDateTime(d);
    }
    case ValueKind::Bool:
      return v.Kind() == ValueKind::Bool ? v : Value(v.AsBool());
    case ValueKind::Blob:
      return v.Kind() == ValueKind::Blob ? v : Value::FromBlob(v.AsString());
    case ValueKind::Null:
      break;
  }
  return v;
}

std::int32_t Field::AsInteger() const { return static_cast<std::int32_t>(AsLargeInt()); }
std::int32_t Field::AsIntegerOr(std::int32_t otherwise, std::int32_t lowest,
                                std::int32_t highest) const {
  const Value& v = Current();
  // Compared as a double first: a float column's value may lie beyond
  // what a 64-bit integer holds.
  const double d = v.AsDouble();
  if (!(d >= lowest && d <= highest)) return otherwise;
  return static_cast<std::int32_t>(v.AsInt64());
}
std::int64_t Field::AsLargeInt() const { return Current().AsInt64(); }
double Field::AsFloat() const { return Current().AsDouble(); }
double Field::AsDateTime() const { return Current().AsDateTime(); }
bool Field::AsBoolean() const { return Current().AsBool(); }
std::string Field::AsBlob() const { return std::string(Current().Bytes()); }

void Field::SetAsBlob(const std::string& bytes) {
  if (type_ == FieldType::Blob)
    SetValue(Value::FromBlob(bytes));
  else
    SetValue(Value(bytes));
}

std::string Field::FormatValue(const Value& raw, bool display) const {
  if (raw.IsNull() || dataset_->ValueIsNull(*this, raw)) {
    if (display && type_ == FieldType::Memo) return "(Memo)";
    if (display && type_ == FieldType::Blob) return "(Blob)";
    return std::string();
  }
  const std::string& fmt =
      display ? DisplayFormat : (EditFormat.empty() ? DisplayFormat : EditFormat);
  switch (type_) {
    case FieldType::Memo:
      return display ? "(MEMO)" : std::string(raw.Bytes());
    case FieldType::Blob:
      return display ? "(BLOB)" : std::string(raw.Bytes());
    case FieldType::Float:
    case FieldType::Currency:
      if (!fmt.empty()) return plat::FormatFloat(fmt, raw.AsDouble());
      return plat::FloatToStr(raw.AsDouble());
    case FieldType::Smallint:
    case FieldType::Integer:
    case FieldType::Largeint:
    case FieldType::AutoInc:
      if (!fmt.empty()) return plat::FormatFloat(fmt, raw.AsDouble());
      return std::to_string(raw.AsInt64());
    case FieldType::Date:
      if (!fmt.empty()) return plat::FormatDateTime(fmt, raw.AsDateTime());
      return plat::DateToStr(raw.AsDateTime());
    case FieldType::Time:
      if (!fmt.empty()) return plat::FormatDateTime(fmt, raw.AsDateTime());
      return plat::TimeToStr(raw.AsDateTime());
    case FieldType::DateTime:
      if (!fmt.empty()) return plat::FormatDateTime(fmt, raw.AsDateTime());
      return plat::DateTimeToStr(raw.AsDateTime());
    case FieldType::Boolean:
      return raw.AsBool() ? "True" : "False";
    default:
      return raw.AsString();
  }
}

std::string Field::AsString() const {
  const Value& v = Current();
  if (v.IsNull()) return std::string();
  switch (type_) {
    case FieldType::Memo:
    case FieldType::Blob:
      return std::string(v.Bytes());
    case FieldType::Float:
    case FieldType::Currency:
      return plat::FloatToStr(v.AsDouble());
    case FieldType::Date:
      return plat::DateToStr(v.AsDateTime());
    case FieldType::Time:
      return plat::TimeToStr(v.AsDateTime());
    case FieldType::DateTime:
      return plat::DateTimeToStr(v.AsDateTime());
    default:
      return v.AsString();
  }
}

std::string Field::DisplayText() const {
  if (OnGetText) {
    std::string text;
    OnGetText(const_cast<Field&>(*this), text, true);
    return text;
  }
  return FormatValue(ValueRef(), true);
}

std::string Field::Text() const {
  if (OnGetText) {
    std::string text;
    OnGetText(const_cast<Field&>(*this), text, false);
    return text;
  }
  return FormatValue(ValueRef(), false);
}

void Field::SetAsString(const std::string& s) {
  if (OnSetText) {
    OnSetText(*this, s);
    return;
  }
  switch (StorageKind(type_)) {
    case ValueKind::Text:
      SetValue(Value(s));
      return;
    case ValueKind::Blob:
      SetValue(Value::FromBlob(s));
      return;
    default:
      if (s.empty()) {
        SetValue(Value());
        return;
      }
      try {
        SetValue(Coerce(Value(s)));
      } catch (const DbError&) {
        throw DbError("'" + s + "' is not a valid value for field '" + DisplayLabel() + "'");
      }
  }
}

}  // namespace db
