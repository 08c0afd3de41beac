// Sorting of the in-memory table. Each record's sort values are turned once
// into order-preserving 64-bit words (texts into collation keys whose first
// eight bytes make the word), so the comparisons of the sort touch a small
// array instead of the records; the list is then rearranged in one pass.
#include <algorithm>
#include <cstring>
#include <numeric>

#include "context/memorydata.h"
#include "context/memorydata_collate.h"

namespace velmaro {

using db::DbError;
using db::Field;
using db::FieldKind;
using db::FieldType;
using db::Value;

int CompareFieldValues(const Value& a, const Value& b, FieldType type, bool caseInsensitive) {
  auto sign = [](auto x, auto y) { return x < y ? -1 : (y < x ? 1 : 0); };
  switch (type) {
    case FieldType::String:
    case FieldType::FixedChar: {
      // Stored texts are compared where they are; other kinds through their
      // text, which lives until the comparison ends.
      return collate::Compare(
          a.Kind() == db::ValueKind::Text ? a.Bytes() : std::string_view(a.AsString()),
          b.Kind() == db::ValueKind::Text ? b.Bytes() : std::string_view(b.AsString()),
          caseInsensitive);
    }
    case FieldType::Smallint:
    case FieldType::Integer:
    case FieldType::Largeint:
    case FieldType::AutoInc:
      return sign(a.AsInt64(), b.AsInt64());
    case FieldType::Boolean:
      return sign(a.AsBool(), b.AsBool());
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime:
      return sign(a.AsDouble(), b.AsDouble());
    default:
      return 0;
  }
}

void TRxMemoryData::BuildSortFieldList(const std::string& fieldNames) {
  sortFields_.clear();
  for (Field* f : GetFieldList(fieldNames)) {
    FieldType t = f->DataType();
    if (f->Kind() != FieldKind::Data || t == FieldType::Unknown || f->IsBlob())
      throw DbError("Field '" + f->DisplayLabel() + "' cannot be used to sort");
    sortFields_.push_back({f, f->Slot(), t});
  }
}

void TRxMemoryData::SortByFields(const std::string& fieldNames, bool caseInsensitive,
                                 bool descending) {
  if (Active()) CheckBrowseMode();
  try {
    BuildSortFieldList(fieldNames);
    caseInsensitive_ = caseInsensitive;
    descending_ = descending;
    SortRecords();
  } catch (...) {
    sortFields_.clear();
    throw;
  }
}

namespace {

bool IsText(FieldType t) { return t == FieldType::String || t == FieldType::FixedChar; }

std::uint64_t OrderedWord(const Value& v, FieldType t) {
  switch (t) {
    case FieldType::Boolean:
      return v.AsBool() ? 1 : 0;
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime: {
      double d = v.AsDouble();
      if (d == 0) d = 0;  // -0.0 and 0.0 are one value
      std::uint64_t u;
      std::memcpy(&u, &d, sizeof u);
      return (u >> 63) ? ~u : (u | (1ULL << 63));
    }
    default:
      return static_cast<std::uint64_t>(v.AsInt64()) ^ (1ULL << 63);
  }
}

std::uint64_t PrefixWord(const char* p, std::size_t n) {
  std::uint64_t w = 0;
  for (std::size_t i = 0; i < 8; ++i) w = (w << 8) | (i < n ? static_cast<std::uint8_t>(p[i]) : 0);
  return w;
}

// Collation keys of one text sort field, indexed by record.
struct TextKeys {
  std::string bytes;
  std::vector<std::uint32_t> offset;
  std::vector<std::uint32_t> length;
};

template <int N>
struct Entry {
  std::uint64_t word[N];
  std::int64_t id;
  std::uint32_t rec;
  std::uint32_t present;  // bit k: sort field k has a value
};

template <int N>
struct SortPlan {
  bool text[N] = {};
  TextKeys keys[N];  // used by the text fields only
};

// The tail of two text keys whose first eight bytes agree.
int CompareTails(const TextKeys& k, std::uint32_t a, std::uint32_t b) {
  std::uint32_t la = k.length[a] > 8 ? k.length[a] - 8 : 0;
  std::uint32_t lb = k.length[b] > 8 ? k.length[b] - 8 : 0;
  if (la > 0 && lb > 0) {
    int c = std::memcmp(k.bytes.data() + k.offset[a] + 8, k.bytes.data() + k.offset[b] + 8,
                        std::min(la, lb));
    if (c != 0) return c;
  }
  return la < lb ? -1 : (la > lb ? 1 : 0);
}

template <int N>
std::vector<std::uint32_t> SortEntries(const db::RecordList& recs, const std::vector<int>& slots,
                                       const std::vector<FieldType>& types, bool caseInsensitive,
                                       const db::DataSet& ds, const std::vector<Field*>& fields) {
  SortPlan<N> plan;
  std::vector<Entry<N>> entries(recs.size());
  for (int k = 0; k < N; ++k) {
    plan.text[k] = IsText(types[k]);
    if (!plan.text[k]) continue;
    plan.keys[k].offset.resize(recs.size());
    plan.keys[k].length.resize(recs.size());
  }
  for (std::size_t r = 0; r < recs.size(); ++r) {
    Entry<N>& e = entries[r];
    e.id = recs[r].id;
    e.rec = static_cast<std::uint32_t>(r);
    e.present = 0;
    for (int k = 0; k < N; ++k) {
      const Value& v = recs[r].values[slots[k]];
      e.word[k] = 0;
      if (ds.ValueIsNull(*fields[k], v)) continue;
      e.present |= 1U << k;
      if (!plan.text[k]) {
        e.word[k] = OrderedWord(v, types[k]);
        continue;
      }
      TextKeys& tk = plan.keys[k];
      std::size_t start = tk.bytes.size();
      collate::AppendKey(
          v.Kind() == db::ValueKind::Text ? v.Bytes() : std::string_view(v.AsString()),
          caseInsensitive, tk.bytes);
      tk.offset[r] = static_cast<std::uint32_t>(start);
      tk.length[r] = static_cast<std::uint32_t>(tk.bytes.size() - start);
      e.word[k] = PrefixWord(tk.bytes.data() + start, tk.length[r]);
    }
  }
  std::sort(entries.begin(), entries.end(), [&plan](const Entry<N>& a, const Entry<N>& b) {
    for (int k = 0; k < N; ++k) {
      bool pa = (a.present >> k) & 1U, pb = (b.present >> k) & 1U;
      if (pa != pb) return !pa;  // an absent value sorts below a present one
      if (!pa) continue;
      if (a.word[k] != b.word[k]) return a.word[k] < b.word[k];
      if (plan.text[k]) {
        int c = CompareTails(plan.keys[k], a.rec, b.rec);
        if (c != 0) return c < 0;
      }
    }
    return a.id < b.id;  // creation order breaks every tie
  });
  std::vector<std::uint32_t> order(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) order[i] = entries[i].rec;
  return order;
}

// More than four sort fields: compare the stored values directly.
std::vector<std::uint32_t> SortGeneric(const db::RecordList& recs, const std::vector<int>& slots,
                                       const std::vector<FieldType>& types, bool caseInsensitive,
                                       const db::DataSet& ds, const std::vector<Field*>& fields) {
  std::vector<std::uint32_t> order(recs.size());
  std::iota(order.begin(), order.end(), 0U);
  auto compare = [&](const db::Record& a, const db::Record& b) {
    for (std::size_t k = 0; k < slots.size(); ++k) {
      const Value& va = a.values[slots[k]];
      const Value& vb = b.values[slots[k]];
      bool pa = !ds.ValueIsNull(*fields[k], va), pb = !ds.ValueIsNull(*fields[k], vb);
      int c = pa && pb ? CompareFieldValues(va, vb, types[k], caseInsensitive)
                       : (pa ? 1 : (pb ? -1 : 0));
      if (c != 0) return c;
    }
    return a.id < b.id ? -1 : (a.id > b.id ? 1 : 0);
  };
  std::sort(order.begin(), order.end(),
            [&](std::uint32_t a, std::uint32_t b) { return compare(recs[a], recs[b]) < 0; });
  return order;
}

}  // namespace

void TRxMemoryData::SortRecords() {
  if (!Active()) return;
  db::RecordList& recs = Records();
  if (recs.empty()) return;
  std::vector<int> slots;
  std::vector<FieldType> types;
  std::vector<Field*> fields;
  for (const SortField& s : sortFields_) {
    slots.push_back(s.slot);
    types.push_back(s.type);
    fields.push_back(s.field);
  }
  std::vector<std::uint32_t> order;
  switch (slots.size()) {
    case 0:
      order.resize(recs.size());
      std::iota(order.begin(), order.end(), 0U);
      std::sort(order.begin(), order.end(),
                [&recs](std::uint32_t a, std::uint32_t b) { return recs[a].id < recs[b].id; });
      break;
    case 1:
      order = SortEntries<1>(recs, slots, types, caseInsensitive_, *this, fields);
      break;
    case 2:
      order = SortEntries<2>(recs, slots, types, caseInsensitive_, *this, fields);
      break;
    case 3:
      order = SortEntries<3>(recs, slots, types, caseInsensitive_, *this, fields);
      break;
    case 4:
      order = SortEntries<4>(recs, slots, types, caseInsensitive_, *this, fields);
      break;
    default:
      order = SortGeneric(recs, slots, types, caseInsensitive_, *this, fields);
  }
  // Every record differs from every other by its ID, so the descending
  // order is exactly the ascending one reversed.
  if (descending_) std::reverse(order.begin(), order.end());

  const int oldCur = CurrentIndex();
  int newCur = -1;
  for (std::size_t i = 0; i < order.size() && newCur < 0; ++i)
    if (static_cast<int>(order[i]) == oldCur) newCur = static_cast<int>(i);
  PermuteRows(order);
  Changed();
  if (newCur >= 0) SetCurrentIndex(newCur);
  Resync();
}

}  // namespace velmaro
