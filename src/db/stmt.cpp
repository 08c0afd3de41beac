#include "db/stmt.h"

#include <ibase.h>

#include <cctype>
#include <cmath>
#include <cstring>

#include "db/database.h"
#include "db/textutil.h"
#include "db/transaction.h"

namespace db {

Statement::~Statement() {
  if (fetchStatus_) fetchStatus_->dispose();
  if (cursor_) cursor_->release();
  if (stmt_) stmt_->release();
  if (inMeta_) inMeta_->release();
  if (sendMeta_) sendMeta_->release();
  if (outMeta_) outMeta_->release();
}

void Statement::Free() {
  CloseCursor();
  try {
    fb::EndOrRelease(stmt_, [](Firebird::IStatement* s, fb::Status& st) { s->free(&st); });
  } catch (const DbError&) {
    // A statement of a lost attachment: releasing it is all there is to do.
  }
  for (auto** m : {&inMeta_, &sendMeta_, &outMeta_})
    if (*m) {
      (*m)->release();
      *m = nullptr;
    }
  columns_.clear();
  reads_.clear();
  paramNames_.clear();
}

namespace {

// The engine reads a statement's text up to its first NUL byte: a NUL
// inside a literal would end the statement early, at a place the engine
// reports with meaningless line numbers.
void RefuseNul(const std::string& text, const std::string& what) {
  if (text.find('\0') != std::string::npos)
    throw DbError(what + " contiene un carattere nullo (NUL), che l'archivio non può ricevere");
}

}  // namespace

void Statement::Prepare(Database* db, Transaction* tr, const std::string& sql, bool paramCheck) {
  Free();
  RefuseNul(sql, "Il testo dell'istruzione SQL");
  ParsedSql parsed = ParseParams(sql, paramCheck);
  att_ = db->Handle();
  tra_ = tr->Handle();
  fb::Call([&](fb::Status& st) {
    stmt_ = att_->prepare(&st, tra_, 0, parsed.text.c_str(), static_cast<unsigned>(db->SQLDialect),
                          Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    unsigned type = stmt_->getType(&st);
    isSelect_ = type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
    // Parameters are marked "?" in the text sent; without one there is no
    // input message to describe.
    if (parsed.text.find('?') != std::string::npos) inMeta_ = stmt_->getInputMetadata(&st);
    outMeta_ = stmt_->getOutputMetadata(&st);
    DescribeOutput(st);
  });
  paramNames_ = std::move(parsed.names);
}

namespace {

// An integer of the message, widened.
template <class T>
std::int64_t Load(const unsigned char* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

const double kPow10[] = {1,    1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                         1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
}  // namespace

void Statement::DescribeOutput(fb::Status& st) {
  columns_.clear();
  reads_.clear();
  unsigned count = outMeta_->getCount(&st);
  outBuf_.assign(outMeta_->getMessageLength(&st), 0);
  for (unsigned i = 0; i < count; ++i) {
    Column c;
    c.alias = outMeta_->getAlias(&st, i);
    c.relation = outMeta_->getRelation(&st, i);
    c.field = outMeta_->getField(&st, i);
    c.type = outMeta_->getType(&st, i) & ~1u;
    c.subType = outMeta_->getSubType(&st, i);
    c.scale = outMeta_->getScale(&st, i);
    c.length = outMeta_->getLength(&st, i);
    c.offset = outMeta_->getOffset(&st, i);
    c.nullOffset = outMeta_->getNullOffset(&st, i);
    c.charset = outMeta_->getCharSet(&st, i);
    FieldDef& d = c.def;
    d.name = c.alias.empty() ? c.field : c.alias;
    for (int k = 1; [&] {
           for (const Column& o : columns_)
             if (SameText(o.def.name, d.name)) return true;
           return false;
         }();
         ++k)
      d.name = (c.alias.empty() ? c.field : c.alias) + "_" + std::to_string(k);
    d.required = !outMeta_->isNullable(&st, i);
    if (!c.relation.empty() && !c.field.empty()) d.origin = c.relation + "." + c.field;
    int bytesPerChar = c.charset == 4 ? 4 : (c.charset == 3 ? 3 : 1);
    Read r;
    r.offset = c.offset;
    r.nullOffset = c.nullOffset;
    r.length = c.length;
    switch (c.type) {
      case SQL_VARYING:
        d.type = FieldType::String;
        d.size = static_cast<int>(c.length) / bytesPerChar;
        r.how = How::Varying;
        break;
      case SQL_TEXT:
        d.type = FieldType::FixedChar;
        d.size = static_cast<int>(c.length) / bytesPerChar;
        r.how = How::Fixed;
        break;
      case SQL_SHORT:
      case SQL_LONG:
      case SQL_INT64: {
        const int kind = c.type == SQL_SHORT ? 0 : (c.type == SQL_LONG ? 1 : 2);
        if (c.scale < 0) {
          d.type = FieldType::Currency;
          d.scale = -c.scale;
          d.precision = kind == 0 ? 4 : (kind == 1 ? 9 : 18);
          r.how = kind == 0 ? How::ScaledShort : (kind == 1 ? How::ScaledLong : How::ScaledInt64);
          r.divisor = kPow10[std::min(-c.scale, 18)];
        } else {
          d.type = kind == 0 ? FieldType::Smallint
                             : (kind == 1 ? FieldType::Integer : FieldType::Largeint);
          r.how = kind == 0 ? How::Short : (kind == 1 ? How::Long : How::Int64);
        }
        break;
      }
      case SQL_FLOAT:
      case SQL_DOUBLE:
      case SQL_D_FLOAT:
        d.type = FieldType::Float;
        r.how = c.type == SQL_FLOAT ? How::Float : How::Double;
        break;
      case SQL_TYPE_DATE:
        d.type = FieldType::Date;
        r.how = How::Date;
        break;
      case SQL_TYPE_TIME:
        d.type = FieldType::Time;
        r.how = How::Time;
        break;
      case SQL_TIMESTAMP:
        d.type = FieldType::DateTime;
        r.how = How::Stamp;
        break;
      case SQL_BOOLEAN:
        d.type = FieldType::Boolean;
        r.how = How::Bool;
        break;
      case SQL_BLOB:
        d.type = c.subType == 1 ? FieldType::Memo : FieldType::Blob;
        r.how = c.subType == 1 ? How::TextBlob : How::Blob;
        break;
      default:
        d.type = FieldType::String;
        d.size = static_cast<int>(c.length);
        break;  // read as null
    }
    reads_.push_back(r);
    columns_.push_back(std::move(c));
  }
}

namespace {

enum class Send { Keep, Text, Int, Double, Stamp, Bool, Blob };

Send SendKind(unsigned type, int scale) {
  switch (type) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
      return scale < 0 ? Send::Double : Send::Int;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return Send::Double;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TIMESTAMP:
      return Send::Stamp;
    case SQL_BOOLEAN:
      return Send::Bool;
    case SQL_BLOB:
      return Send::Blob;
    default:
      return Send::Text;
  }
}

void EncodeStamp(double dt, unsigned char* p) {
  double day = std::floor(dt);
  auto time = static_cast<ISC_TIME>(std::llround((dt - day) * fb::kTimeUnitsPerDay));
  ISC_DATE date = static_cast<ISC_DATE>(day) + fb::kDateOffset;
  if (time >= fb::kTimeUnitsPerDay) {
    time = 0;
    ++date;
  }
  std::memcpy(p, &date, sizeof date);
  std::memcpy(p + sizeof date, &time, sizeof time);
}

}  // namespace

// A text parameter goes whole or not at all: a VARCHAR of the message
// carries at most kMaxTextParam bytes (its length is a 16-bit field, and
// the engine refuses a longer VARCHAR), and a NUL byte would be stored
// inside the value, where no reader of the column expects one.
void Statement::CheckTextParam(const std::string& text, unsigned index) const {
  const std::string what =
      index < paramNames_.size() ? "Il valore di " + paramNames_[index] : "Un valore";
  if (text.size() > kMaxTextParam)
    throw DbError(what + " è troppo lungo per l'archivio: " + std::to_string(text.size()) +
                  " byte, al massimo " + std::to_string(kMaxTextParam));
  RefuseNul(text, what);
}

void Statement::BuildInput(fb::Status& st, const std::vector<const Value*>& params) {
  unsigned count = inMeta_ ? inMeta_->getCount(&st) : 0;
  if (sendMeta_) {
    sendMeta_->release();
    sendMeta_ = nullptr;
  }
  // A statement without parameters sends no message at all.
  if (count == 0) {
    inBuf_.clear();
    return;
  }
  fb::Ref<Firebird::IMetadataBuilder> b(inMeta_->getBuilder(&st));
  std::vector<Send> kinds(count, Send::Keep);
  for (unsigned i = 0; i < count; ++i) {
    const Value* v = i < params.size() ? params[i] : nullptr;
    unsigned type = inMeta_->getType(&st, i) & ~1u;
    if (!v || v->IsNull()) {
      if (type == SQL_NULL) {
        b->setType(&st, i, SQL_VARYING);
        b->setLength(&st, i, 1);
      }
      continue;
    }
    kinds[i] = SendKind(type, inMeta_->getScale(&st, i));
    switch (kinds[i]) {
      case Send::Text: {
        const std::string text = v->AsString();
        CheckTextParam(text, i);
        unsigned len = static_cast<unsigned>(std::max<size_t>(text.size(), 1));
        b->setType(&st, i, SQL_VARYING);
        b->setLength(&st, i, len);
        if (type == SQL_NULL || (type != SQL_TEXT && type != SQL_VARYING)) b->setCharSet(&st, i, 4);
        break;
      }
      case Send::Int:
      case Send::Double:
        b->setType(&st, i, kinds[i] == Send::Int ? SQL_INT64 : SQL_DOUBLE);
        b->setLength(&st, i, 8);
        b->setScale(&st, i, 0);
        break;
      case Send::Stamp:
        b->setType(&st, i, SQL_TIMESTAMP);
        b->setLength(&st, i, 8);
        break;
      default:
        break;
    }
  }
  sendMeta_ = b->getMetadata(&st);
  inBuf_.assign(sendMeta_->getMessageLength(&st), 0);
  for (unsigned i = 0; i < count; ++i) {
    const Value* v = i < params.size() ? params[i] : nullptr;
    unsigned char* p = inBuf_.data() + sendMeta_->getOffset(&st, i);
    short isNull = (!v || v->IsNull()) ? -1 : 0;
    std::memcpy(inBuf_.data() + sendMeta_->getNullOffset(&st, i), &isNull, sizeof isNull);
    if (isNull) continue;
    switch (kinds[i]) {
      case Send::Text: {
        std::string s = v->AsString();
        auto len = static_cast<unsigned short>(s.size());
        std::memcpy(p, &len, 2);
        std::memcpy(p + 2, s.data(), s.size());
        break;
      }
      case Send::Int: {
        std::int64_t x = v->AsInt64();
        std::memcpy(p, &x, 8);
        break;
      }
      case Send::Double: {
        double x = v->AsDouble();
        std::memcpy(p, &x, 8);
        break;
      }
      case Send::Stamp:
        EncodeStamp(v->AsDateTime(), p);
        break;
      case Send::Bool:
        *p = v->AsBool() ? 1 : 0;
        break;
      case Send::Blob: {
        ISC_QUAD id{};
        const std::string bytes = v->Kind() == ValueKind::Text || v->Kind() == ValueKind::Blob
                                      ? std::string(v->Bytes())
                                      : v->AsString();
        fb::Ref<Firebird::IBlob> blob(att_->createBlob(&st, tra_, &id, 0, nullptr));
        for (size_t off = 0; off < bytes.size(); off += 32768) {
          unsigned chunk = static_cast<unsigned>(std::min<size_t>(32768, bytes.size() - off));
          blob->putSegment(&st, chunk, bytes.data() + off);
        }
        blob->close(&st);
        blob.take();  // close released it
        std::memcpy(p, &id, sizeof id);
        break;
      }
      case Send::Keep:
        break;
    }
  }
}

void Statement::Execute(Transaction* tr, const std::vector<const Value*>& params) {
  if (!stmt_) throw DbError("Statement not prepared");
  CloseCursor();
  tra_ = tr->Handle();
  singleton_ = false;
  fb::Call([&](fb::Status& st) {
    BuildInput(st, params);
    void* in = sendMeta_ ? inBuf_.data() : nullptr;
    if (isSelect_) {
      cursor_ = stmt_->openCursor(&st, tra_, sendMeta_, in, outMeta_, 0);
      return;
    }
    bool hasOut = !columns_.empty();
    stmt_->execute(&st, tra_, sendMeta_, in, hasOut ? outMeta_ : nullptr,
                   hasOut ? outBuf_.data() : nullptr);
    singleton_ = hasOut;
  });
}

void Statement::CloseCursor() {
  try {
    fb::EndOrRelease(cursor_, [](Firebird::IResultSet* c, fb::Status& st) { c->close(&st); });
  } catch (const DbError&) {
    // A cursor of an ended transaction: releasing it is all there is to do.
  }
}

bool Statement::Fetch(Value* row, const std::vector<int>& slots) {
  if (!cursor_) return false;
  if (!fetchStatus_) fetchStatus_ = fb::Master()->getStatus();
  int rc = fb::CallWith(fetchStatus_,
                        [&](fb::Status& st) { return cursor_->fetchNext(&st, outBuf_.data()); });
  if (rc != Firebird::IStatus::RESULT_OK) {
    CloseCursor();
    return false;
  }
  Decode(outBuf_.data(), row, slots);
  return true;
}

void Statement::ReadSingleton(std::vector<Value>& row) {
  std::vector<int> slots(columns_.size());
  for (size_t i = 0; i < slots.size(); ++i) slots[i] = static_cast<int>(i);
  row.resize(columns_.size());
  Decode(outBuf_.data(), row.data(), slots);
}

std::int64_t Statement::RowsAffected() {
  if (!stmt_) return -1;
  return static_cast<std::int64_t>(
      fb::Call([&](fb::Status& st) { return stmt_->getAffectedRecords(&st); }));
}

Value Statement::ReadBlob(const unsigned char* idPtr, bool text) {
  ISC_QUAD id;
  std::memcpy(&id, idPtr, sizeof id);
  std::string bytes;
  fb::Call([&](fb::Status& st) {
    fb::Ref<Firebird::IBlob> blob(att_->openBlob(&st, tra_, &id, 0, nullptr));
    char buf[16384];
    for (;;) {
      unsigned got = 0;
      int rc = blob->getSegment(&st, sizeof buf, buf, &got);
      if (rc == Firebird::IStatus::RESULT_OK || rc == Firebird::IStatus::RESULT_SEGMENT)
        bytes.append(buf, got);
      else
        break;
    }
    blob->close(&st);
    blob.take();
  });
  return text ? Value(std::move(bytes)) : Value::FromBlob(std::move(bytes));
}

void Statement::Decode(const unsigned char* buf, Value* row, const std::vector<int>& slots) {
  for (size_t i = 0; i < reads_.size(); ++i) {
    const int slot = slots[i];
    if (slot < 0) continue;
    const Read& r = reads_[i];
    Value& out = row[slot];
    short isNull;
    std::memcpy(&isNull, buf + r.nullOffset, sizeof isNull);
    if (isNull) {
      if (!out.IsNull()) out = Value();
      continue;
    }
    const unsigned char* p = buf + r.offset;
    switch (r.how) {
      case How::Varying: {
        unsigned short len;
        std::memcpy(&len, p, 2);
        out.SetText(std::string_view(reinterpret_cast<const char*>(p + 2), len));
        break;
      }
      case How::Fixed: {
        // Fixed-length texts come padded; callers compare them trimmed.
        size_t len = r.length;
        while (len > 0 && p[len - 1] == ' ') --len;
        out.SetText(std::string_view(reinterpret_cast<const char*>(p), len));
        break;
      }
      case How::Short:
        out.SetInt(Load<std::int16_t>(p));
        break;
      case How::Long:
        out.SetInt(Load<std::int32_t>(p));
        break;
      case How::Int64:
        out.SetInt(Load<std::int64_t>(p));
        break;
      case How::ScaledShort:
        out.SetFloat(static_cast<double>(Load<std::int16_t>(p)) / r.divisor);
        break;
      case How::ScaledLong:
        out.SetFloat(static_cast<double>(Load<std::int32_t>(p)) / r.divisor);
        break;
      case How::ScaledInt64:
        out.SetFloat(static_cast<double>(Load<std::int64_t>(p)) / r.divisor);
        break;
      case How::Float: {
        float f;
        std::memcpy(&f, p, 4);
        out.SetFloat(static_cast<double>(f));
        break;
      }
      case How::Double: {
        double d;
        std::memcpy(&d, p, 8);
        out.SetFloat(d);
        break;
      }
      case How::Date: {
        ISC_DATE d;
        std::memcpy(&d, p, sizeof d);
        out.SetDateTime(static_cast<double>(d - fb::kDateOffset));
        break;
      }
      case How::Time: {
        ISC_TIME t;
        std::memcpy(&t, p, sizeof t);
        out.SetDateTime(t / fb::kTimeUnitsPerDay);
        break;
      }
      case How::Stamp: {
        ISC_DATE d;
        ISC_TIME t;
        std::memcpy(&d, p, sizeof d);
        std::memcpy(&t, p + sizeof d, sizeof t);
        out.SetDateTime(static_cast<double>(d - fb::kDateOffset) + t / fb::kTimeUnitsPerDay);
        break;
      }
      case How::Bool:
        out.SetBool(*p != 0);
        break;
      case How::Blob:
      case How::TextBlob:
        out = ReadBlob(p, r.how == How::TextBlob);
        break;
      case How::Unknown:
        out = Value();
        break;
    }
  }
}

}  // namespace db
