#pragma once
// Internal: one prepared Firebird statement with its input and output
// messages, shared by queries, tables, plain statements and procedures.

#include <string>
#include <vector>

#include "db/fb.h"
#include "db/field.h"
#include "db/value.h"

namespace db {

class Database;
class Transaction;

// The text sent to the engine ("?" for each ":NAME") and the names in order.
struct ParsedSql {
  std::string text;
  std::vector<std::string> names;
};
ParsedSql ParseParams(const std::string& sql, bool paramCheck);

struct Column {
  std::string alias, relation, field;
  unsigned type = 0;
  int subType = 0, scale = 0;
  unsigned length = 0, offset = 0, nullOffset = 0, charset = 0;
  FieldDef def;
};

class Statement {
 public:
  // The longest text a parameter takes, in bytes: the engine's VARCHAR limit.
  static constexpr size_t kMaxTextParam = 32765;

  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  void Prepare(Database* db, Transaction* tr, const std::string& sql, bool paramCheck);
  bool Prepared() const { return stmt_ != nullptr; }
  // Frees the statement handle (before the attachment goes).
  void Free();
  const std::vector<std::string>& ParamNames() const { return paramNames_; }
  const std::vector<Column>& Columns() const { return columns_; }
  bool IsSelect() const { return isSelect_; }

  // Runs the statement; a select opens its cursor. Values are given in
  // the order of ParamNames (null pointer = null).
  void Execute(Transaction* tr, const std::vector<const Value*>& params);
  // Next row into row[slots[i]] for column i (slot -1 skips it).
  bool Fetch(Value* row, const std::vector<int>& slots);
  bool Fetch(std::vector<Value>& row, const std::vector<int>& slots) {
    return Fetch(row.data(), slots);
  }
  void CloseCursor();
  bool CursorOpen() const { return cursor_ != nullptr; }
  // Row of an executed procedure or RETURNING clause.
  bool HasSingletonRow() const { return singleton_; }
  void ReadSingleton(std::vector<Value>& row);
  std::int64_t RowsAffected();

 private:
  void DescribeOutput(fb::Status& st);
  void BuildInput(fb::Status& st, const std::vector<const Value*>& params);
  // Throws a DbError for a text the engine would not store as given.
  void CheckTextParam(const std::string& text, unsigned index) const;
  void Decode(const unsigned char* buf, Value* row, const std::vector<int>& slots);
  // How each column is read out of the output message, worked out once at
  // the preparation: the fetch loop decodes every column of every row.
  enum class How : std::uint8_t {
    Varying,
    Fixed,
    Short,
    Long,
    Int64,
    ScaledShort,
    ScaledLong,
    ScaledInt64,
    Float,
    Double,
    Date,
    Time,
    Stamp,
    Bool,
    Blob,
    TextBlob,
    Unknown
  };
  struct Read {
    How how = How::Unknown;
    unsigned offset = 0, nullOffset = 0, length = 0;
    double divisor = 1;  // the scaled kinds: 10^-scale
  };
  Value ReadBlob(const unsigned char* idPtr, bool text);

  Firebird::IAttachment* att_ = nullptr;
  Firebird::ITransaction* tra_ = nullptr;
  Firebird::IStatement* stmt_ = nullptr;
  Firebird::IResultSet* cursor_ = nullptr;
  Firebird::IMessageMetadata* inMeta_ = nullptr;    // as described
  Firebird::IMessageMetadata* sendMeta_ = nullptr;  // as sent
  Firebird::IMessageMetadata* outMeta_ = nullptr;
  std::vector<std::string> paramNames_;
  std::vector<Column> columns_;
  std::vector<Read> reads_;  // one per column
  std::vector<unsigned char> inBuf_, outBuf_;
  // The status of the row fetches, the statement's own: each row is one
  // call, and the thread's status costs a lookup each time.
  Firebird::IStatus* fetchStatus_ = nullptr;
  bool isSelect_ = false;
  bool singleton_ = false;
};

}  // namespace db
