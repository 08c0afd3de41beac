#pragma once
// Fields and field definitions of a data set.

#include <cstdint>
#include <functional>
#include <string>

#include "db/value.h"

namespace db {

class DataSet;

enum class FieldType : std::uint8_t {
  Unknown,
  String,
  FixedChar,
  Smallint,
  Integer,
  Largeint,
  Float,
  Currency,  // NUMERIC/DECIMAL with a scale, held as a double
  Date,
  Time,
  DateTime,
  Boolean,
  Memo,  // text blob
  Blob,  // binary blob
  AutoInc,
};

enum class FieldKind : std::uint8_t { Data, Calculated, Lookup, InternalCalc };

// Which Value kind a field of the type stores.
ValueKind StorageKind(FieldType t);
bool IsBlobType(FieldType t);
bool IsTextType(FieldType t);  // String, FixedChar
const char* FieldTypeName(FieldType t);

// Every member but the name has a default, so `{"N", FieldType::Integer}`
// describes a whole field.
struct FieldDef {
  std::string name;
  FieldType type = FieldType::Unknown;
  int size = 0;  // characters for text types
  bool required = false;
  int precision = 0;
  int scale = 0;         // digits after the point for Currency
  std::string origin{};  // "RELATION.FIELD" for query columns
};

class Field {
 public:
  Field(DataSet* owner, std::string name, FieldType type, int size, FieldKind kind);
  Field(const Field&) = delete;
  Field& operator=(const Field&) = delete;
  ~Field();

  DataSet* GetDataSet() const { return dataset_; }
  const std::string& FieldName() const { return name_; }
  FieldType DataType() const { return type_; }
  int Size() const { return size_; }
  FieldKind Kind() const { return kind_; }
  bool IsBlob() const { return IsBlobType(type_); }

  // Position in the data set's field list; setting it moves the field.
  int Index() const;
  void SetIndex(int index);

  // Slot of the field's value inside a row (fixed while the set is open).
  int Slot() const { return slot_; }

  std::string DisplayLabel() const { return displayLabel_.empty() ? name_ : displayLabel_; }
  void SetDisplayLabel(std::string s) { displayLabel_ = std::move(s); }
  int DisplayWidth() const;
  void SetDisplayWidth(int w) { displayWidth_ = w; }
  std::string DisplayFormat;
  std::string EditFormat;
  bool Visible = true;
  bool ReadOnly = false;
  bool Required = false;
  std::string Origin;
  int Precision = 0;
  int Scale = 0;
  int Tag = 0;

  // Lookup fields: KeyFields of this data set matched against
  // LookupKeyFields of LookupDataSet, giving LookupResultField.
  std::string KeyFields;
  DataSet* LookupDataSet = nullptr;
  std::string LookupKeyFields;
  std::string LookupResultField;

  std::function<void(Field&)> OnChange;
  std::function<void(Field&)> OnValidate;
  // Replaces AsString/DisplayText when set (displayText true for display).
  std::function<void(Field&, std::string& text, bool displayText)> OnGetText;
  std::function<void(Field&, const std::string& text)> OnSetText;

  // Value of the active record (edit buffer while editing).
  Value GetValue() const;
  const Value& ValueRef() const;
  void SetValue(const Value& v);
  bool IsNull() const;
  void Clear() { SetValue(Value()); }

  std::string AsString() const;
  void SetAsString(const std::string& s);
  std::int32_t AsInteger() const;
  // The value as an integer when it lies within [lowest, highest] (NULL
  // reads 0, as above); `otherwise` for one outside, which AsInteger would
  // wrap into another number (-8,000,000,000 into 589,934,592).
  std::int32_t AsIntegerOr(std::int32_t otherwise, std::int32_t lowest = INT32_MIN,
                           std::int32_t highest = INT32_MAX) const;
  void SetAsInteger(std::int32_t v) { SetValue(Value(static_cast<std::int64_t>(v))); }
  std::int64_t AsLargeInt() const;
  void SetAsLargeInt(std::int64_t v) { SetValue(Value(v)); }
  double AsFloat() const;
  void SetAsFloat(double v) { SetValue(Value(v)); }
  double AsCurrency() const { return AsFloat(); }
  void SetAsCurrency(double v) { SetAsFloat(v); }
  double AsDateTime() const;
  void SetAsDateTime(double v) { SetValue(Value::FromDateTime(v)); }
  bool AsBoolean() const;
  void SetAsBoolean(bool v) { SetValue(Value(v)); }
  Value AsVariant() const { return GetValue(); }
  void SetAsVariant(const Value& v) { SetValue(v); }
  // Raw bytes of a blob/memo (or the text of a text field).
  std::string AsBlob() const;
  void SetAsBlob(const std::string& bytes);

  // Text as shown (DisplayFormat) and as edited (EditFormat).
  std::string DisplayText() const;
  std::string Text() const;
  // Formats a value the way this field displays it, for a row that is
  // not the current one (grids).
  std::string FormatValue(const Value& v, bool display = true) const;

  // Turns a value into what this field's type stores (throws DbError
  // when it does not convert).
  Value Coerce(const Value& v) const;

  bool Modified() const { return modified_; }

 private:
  friend class DataSet;
  // The active record's value, or a null one where the data set counts the
  // stored value as null: what the getters read, without a copy.
  const Value& Current() const;
  DataSet* dataset_;
  std::string name_;
  FieldType type_;
  int size_;
  FieldKind kind_;
  int slot_ = -1;
  std::string displayLabel_;
  int displayWidth_ = 0;
  bool modified_ = false;
};

}  // namespace db
