// Locating and looking up records of the in-memory table. Each key value is
// converted once to the field's stored form, so the scan compares stored
// values directly; larger tables first narrow the scan through a hash per
// record of the lead key field, kept while the records do not change.
#include <cstring>
#include <functional>

#include "context/memorydata.h"
#include "context/memorydata_collate.h"

namespace velmaro {

using db::DbError;
using db::Field;
using db::FieldType;
using db::Value;
using db::ValueKind;

namespace {

struct KeyMatcher {
  enum class How : std::uint8_t { Text, Null, Int, Double, Bool, Same, Never };
  const Field* field = nullptr;
  int slot = 0;
  How how = How::Same;
  std::string text;
  std::size_t textChars = 0;
  std::int64_t i = 0;
  double d = 0;
  bool b = false;
  Value value;
};

KeyMatcher MakeMatcher(const Field& f, const Value& want) {
  KeyMatcher m;
  m.field = &f;
  m.slot = f.Slot();
  if (db::IsTextType(f.DataType())) {
    // Text fields compare as texts: an absent value reads as "".
    m.how = KeyMatcher::How::Text;
    m.text = want.AsString();
    m.textChars = collate::Length(m.text);
    return m;
  }
  if (want.IsNull()) {
    m.how = KeyMatcher::How::Null;
    return m;
  }
  try {
    m.value = f.Coerce(want);
  } catch (const DbError&) {
    m.how = KeyMatcher::How::Never;  // no stored value can equal it
    return m;
  }
  switch (m.value.Kind()) {
    case ValueKind::Null:
      m.how = KeyMatcher::How::Null;
      break;
    case ValueKind::Int:
      m.how = KeyMatcher::How::Int;
      m.i = m.value.RawInt();
      break;
    case ValueKind::Float:
    case ValueKind::DateTime:
      m.how = KeyMatcher::How::Double;
      m.d = m.value.RawDouble();
      break;
    case ValueKind::Bool:
      m.how = KeyMatcher::How::Bool;
      m.b = m.value.RawBool();
      break;
    default:
      m.how = KeyMatcher::How::Same;
      break;
  }
  return m;
}

bool TextMatches(const KeyMatcher& m, std::string_view have, db::LocateOptions opts) {
  if (!opts.caseInsensitive) {
    if (opts.partialKey) return have.substr(0, m.text.size()) == m.text;
    return have == m.text;
  }
  if (opts.partialKey) have = collate::Prefix(have, m.textChars);
  return collate::Equal(have, m.text, true);
}

bool Matches(const db::DataSet& ds, const KeyMatcher& m, const Value& have,
             db::LocateOptions opts) {
  using How = KeyMatcher::How;
  switch (m.how) {
    case How::Text:
      if (have.Kind() == ValueKind::Text) return TextMatches(m, have.Bytes(), opts);
      return TextMatches(m, ds.ValueIsNull(*m.field, have) ? std::string() : have.AsString(), opts);
    case How::Null:
      return ds.ValueIsNull(*m.field, have);
    case How::Int:
      return have.Kind() == ValueKind::Int && have.RawInt() == m.i;
    case How::Double:
      return (have.Kind() == ValueKind::Float || have.Kind() == ValueKind::DateTime) &&
             have.RawDouble() == m.d;
    case How::Bool:
      return have.Kind() == ValueKind::Bool && have.RawBool() == m.b;
    case How::Same:
      return !ds.ValueIsNull(*m.field, have) && have == m.value;
    case How::Never:
      return false;
  }
  return false;
}

std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

constexpr std::uint64_t kNullHash = 0x6E756C6C;

// Hash of a text as the locate compares it: bytes when case counts, the
// case-free collation key otherwise.
std::uint64_t TextHash(std::string_view text, bool caseInsensitive) {
  if (!caseInsensitive) return Mix(std::hash<std::string_view>{}(text));
  thread_local std::string key;
  key.clear();
  collate::AppendKey(text, true, key);
  return Mix(std::hash<std::string_view>{}(key));
}

std::uint64_t NumberHash(double d) {
  if (d == 0) d = 0;  // -0.0 equals 0.0
  std::uint64_t u;
  std::memcpy(&u, &d, sizeof u);
  return Mix(u);
}

// Equal values under Matches() give equal hashes.
std::uint64_t CellHash(const db::DataSet& ds, const Field& f, const Value& v,
                       bool caseInsensitive) {
  if (db::IsTextType(f.DataType())) {
    if (ds.ValueIsNull(f, v)) return TextHash("", caseInsensitive);
    return TextHash(v.Kind() == ValueKind::Text ? v.Bytes() : v.AsString(), caseInsensitive);
  }
  if (ds.ValueIsNull(f, v)) return kNullHash;
  switch (v.Kind()) {
    case ValueKind::Int:
      return Mix(static_cast<std::uint64_t>(v.RawInt()));
    case ValueKind::Float:
    case ValueKind::DateTime:
      return NumberHash(v.RawDouble());
    case ValueKind::Bool:
      return Mix(v.RawBool() ? 1 : 2);
    default:
      return Mix(std::hash<std::string_view>{}(v.Bytes()));
  }
}

std::uint64_t KeyHash(const KeyMatcher& m, bool caseInsensitive) {
  switch (m.how) {
    case KeyMatcher::How::Text:
      return TextHash(m.text, caseInsensitive);
    case KeyMatcher::How::Null:
      return kNullHash;
    case KeyMatcher::How::Int:
      return Mix(static_cast<std::uint64_t>(m.i));
    case KeyMatcher::How::Double:
      return NumberHash(m.d);
    case KeyMatcher::How::Bool:
      return Mix(m.b ? 1 : 2);
    default:
      return Mix(std::hash<std::string_view>{}(m.value.Bytes()));
  }
}

// Below this many records a plain scan costs less than keeping hashes.
constexpr std::size_t kCacheFrom = 64;

}  // namespace

const TRxMemoryData::LocateCache* TRxMemoryData::CacheFor(Field* field, bool caseInsensitive) {
  const db::RecordList& recs = Records();
  if (recs.size() < kCacheFrom || field->Kind() != db::FieldKind::Data) return nullptr;
  if (cache_.generation == generation_ && cache_.field == field &&
      cache_.caseInsensitive == caseInsensitive)
    return &cache_;
  if (cache_.lastGeneration != generation_ || cache_.lastField != field ||
      cache_.lastCaseInsensitive != caseInsensitive) {
    cache_.lastGeneration = generation_;
    cache_.lastField = field;
    cache_.lastCaseInsensitive = caseInsensitive;
    return nullptr;
  }
  cache_.field = field;
  cache_.caseInsensitive = caseInsensitive;
  cache_.hashes.resize(recs.size());
  int slot = field->Slot();
  for (std::size_t i = 0; i < recs.size(); ++i) {
    if (i + 48 < recs.size()) __builtin_prefetch(recs[i + 48].values.data() + slot);
    cache_.hashes[i] = CellHash(*this, *field, recs[i].values[slot], caseInsensitive);
  }
  cache_.generation = generation_;
  return &cache_;
}

int TRxMemoryData::FindMatch(const std::vector<Field*>& keys, const std::vector<Value>& values,
                             db::LocateOptions opts, bool startWithCurrent) {
  if (keys.size() != values.size()) throw DbError("Locate: key fields and values do not match");
  std::vector<KeyMatcher> matchers;
  for (std::size_t k = 0; k < keys.size(); ++k)
    matchers.push_back(MakeMatcher(*keys[k], values[k]));
  const db::RecordList& recs = Records();
  auto rowMatches = [&](int i) {
    const db::Row& row = recs[i].values;
    for (const KeyMatcher& m : matchers)
      if (!Matches(*this, m, row[m.slot], opts)) return false;
    return true;
  };
  int cur = CurrentIndex();
  // A pending insert sits in the list as an empty row that is no record yet.
  int pending = State() == db::DataSetState::Insert ? cur : -1;
  if (startWithCurrent && cur >= 0 && cur != pending && rowMatches(cur)) return cur;
  bool filtering = Filtered() && OnFilterRecord;
  int n = static_cast<int>(recs.size());
  if (matchers.empty()) return -1;
  for (const KeyMatcher& m : matchers)
    if (m.how == KeyMatcher::How::Never) return -1;
  // A partial text key has no hash; everything else narrows through the
  // first key field's hashes before the full comparison.
  const KeyMatcher& lead = matchers.front();
  bool hashable = !(lead.how == KeyMatcher::How::Text && opts.partialKey);
  if (const LocateCache* cache =
          hashable ? CacheFor(keys.front(), opts.caseInsensitive) : nullptr) {
    std::uint64_t h = KeyHash(lead, opts.caseInsensitive);
    const std::uint64_t* hashes = cache->hashes.data();
    for (int i = 0; i < n; ++i)
      if (hashes[i] == h && i != pending && rowMatches(i) && (!filtering || AcceptRecord(i)))
        return i;
    return -1;
  }
  // Each record's values are a block of their own: ask for the blocks a
  // little ahead, or the scan waits on memory at every record.
  constexpr int kAhead = 96;
  int slot = matchers.empty() ? 0 : matchers.front().slot;
  for (int i = 0; i < n; ++i) {
    if (i + kAhead < n) __builtin_prefetch(recs[i + kAhead].values.data() + slot);
    if (i != pending && rowMatches(i) && (!filtering || AcceptRecord(i))) return i;
  }
  return -1;
}

bool TRxMemoryData::Locate(const std::string& keyFields, const std::vector<Value>& values,
                           db::LocateOptions opts) {
  if (BeforeScroll) BeforeScroll(*this);
  CheckBrowseMode();
  if (Records().empty()) return false;
  std::vector<Field*> keys = GetFieldList(keyFields);
  int cur = CurrentIndex();
  int found = FindMatch(keys, values, opts, true);
  if (found < 0) return false;
  if (found != cur) MoveToRecord(found);
  return true;
}

Value TRxMemoryData::Lookup(const std::string& keyFields, const std::vector<Value>& values,
                            const std::string& resultField) {
  if (!Active() || Records().empty()) return Value();
  std::vector<Field*> keys = GetFieldList(keyFields);
  Field& result = FieldByName(resultField);
  int found = FindMatch(keys, values, {}, false);
  if (found < 0) return Value();
  const Value& v = Records()[found].values[result.Slot()];
  return ValueIsNull(result, v) ? Value() : v;
}

}  // namespace velmaro
