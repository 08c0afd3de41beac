#pragma once
// Statement parameters, written ":NAME" in the SQL text.

#include <memory>
#include <string>
#include <vector>

#include "db/field.h"
#include "db/value.h"

namespace db {

class Param {
 public:
  explicit Param(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }
  FieldType DataType = FieldType::Unknown;  // known for procedure parameters

  const Value& GetValue() const { return value_; }
  void SetValue(Value v) { value_ = std::move(v); }
  bool IsNull() const { return value_.IsNull(); }
  void Clear() { value_ = Value(); }

  std::string AsString() const { return value_.AsString(); }
  void SetAsString(const std::string& s) { value_ = Value(s); }
  std::int32_t AsInteger() const { return static_cast<std::int32_t>(value_.AsInt64()); }
  void SetAsInteger(std::int32_t v) { value_ = Value(static_cast<std::int64_t>(v)); }
  std::int64_t AsLargeInt() const { return value_.AsInt64(); }
  void SetAsLargeInt(std::int64_t v) { value_ = Value(v); }
  double AsFloat() const { return value_.AsDouble(); }
  void SetAsFloat(double v) { value_ = Value(v); }
  double AsCurrency() const { return value_.AsDouble(); }
  void SetAsCurrency(double v) { value_ = Value(v); }
  double AsDateTime() const { return value_.AsDateTime(); }
  void SetAsDateTime(double v) { value_ = Value::FromDateTime(v); }
  void SetAsDate(double v);  // drops the time of day
  bool AsBoolean() const { return value_.AsBool(); }
  void SetAsBoolean(bool v) { value_ = Value(v); }
  Value AsVariant() const { return value_; }
  void SetAsVariant(const Value& v) { value_ = v; }
  void SetAsBlob(const std::string& bytes) { value_ = Value::FromBlob(bytes); }

 private:
  std::string name_;
  Value value_;
};

class ParamList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  Param& operator[](int i) { return *items_.at(i); }
  const Param& operator[](int i) const { return *items_.at(i); }
  Param* FindParam(const std::string& name) const;    // case-insensitive
  Param& ParamByName(const std::string& name) const;  // throws DbError
  // The parameter of that name, created when missing.
  Param& Add(const std::string& name);
  void Clear() { items_.clear(); }
  // Keeps the values of names that stay.
  void Rebuild(const std::vector<std::string>& names);

 private:
  std::vector<std::unique_ptr<Param>> items_;
};

}  // namespace db
