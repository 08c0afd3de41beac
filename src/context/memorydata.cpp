// Life cycle, record identity, auto-increment values and copying of the
// in-memory table.
#include "context/memorydata.h"

#include <algorithm>
#include <climits>

namespace velmaro {

using db::DataSet;
using db::DbError;
using db::Field;
using db::FieldDef;
using db::FieldKind;
using db::FieldType;
using db::Value;

namespace {

FieldDef DefinizioneDi(const Field& f) {
  FieldDef d;
  d.name = f.FieldName();
  d.type = f.DataType();
  d.size = f.Size();
  d.required = f.Required;
  d.precision = f.Precision;
  d.scale = f.Scale;
  d.origin = f.Origin;
  return d;
}

}  // namespace

TRxMemoryData::TRxMemoryData() { lastId_ = kNoRecordId; }

TRxMemoryData::~TRxMemoryData() = default;

int TRxMemoryData::Capacity() const { return static_cast<int>(Records().capacity()); }

void TRxMemoryData::SetCapacity(int capacity) {
  if (capacity > 0) Records().reserve(static_cast<size_t>(capacity));
}

void TRxMemoryData::InternalOpen() {
  Changed();
  sortFields_.clear();
  if (Fields().empty()) return;
  // Persistent fields win: the definitions are rebuilt from them.
  FieldDefs().clear();
  for (Field* f : Fields()) {
    if (f->Kind() != FieldKind::Data) continue;
    if (f->DataType() == FieldType::Unknown) {
      sortFields_.clear();
      throw DbError("Field '" + f->DisplayLabel() + "' is of an unknown type");
    }
    FieldDefs().push_back(DefinizioneDi(*f));
  }
}

void TRxMemoryData::InternalClose() {
  Changed();
  lastId_ = kNoRecordId;
  autoInc_ = 1;
  sortFields_.clear();
}

std::int64_t TRxMemoryData::NewRecordId() { return ++lastId_; }

void TRxMemoryData::InternalPost(db::Row&, const db::Row*) { Changed(); }

// Insert puts an empty row into the list before this runs.
void TRxMemoryData::InternalInitRecord(db::Row&) { Changed(); }

void TRxMemoryData::InternalCancel() { Changed(); }

void TRxMemoryData::InternalDelete(const db::Record&) {
  Changed();
  // The record about to go is the last one: identities start over.
  if (Records().size() == 1) lastId_ = kNoRecordId;
}

void TRxMemoryData::AssignAutoIncValues(db::Row& values) {
  bool assigned = false;
  for (Field* f : Fields()) {
    if (f->Kind() != FieldKind::Data || f->DataType() != FieldType::AutoInc) continue;
    values[f->Slot()] = Value(static_cast<long long>(autoInc_));
    assigned = true;
  }
  if (assigned) ++autoInc_;
}

bool TRxMemoryData::ValueIsNull(const Field& f, const Value& v) const {
  if (v.IsNull()) return true;
  // An empty text, memo or blob holds nothing.
  if (v.Kind() == db::ValueKind::Text || v.Kind() == db::ValueKind::Blob) return v.Bytes().empty();
  return false;
}

int TRxMemoryData::RecordCount() {
  if (!Active()) return 0;
  int n = static_cast<int>(Records().size());
  // The row of a pending insert joins the list only when posted.
  return State() == db::DataSetState::Insert ? n - 1 : n;
}

int TRxMemoryData::RecNo() {
  if (RecordCount() == 0) return 0;
  // A pending insert or append sits at the index the cursor had (past the
  // last record for an append), so the index still gives the position.
  int cur = CurrentIndex();
  return cur < 0 ? 1 : cur + 1;
}

int TRxMemoryData::FirstAcceptedFrom(int index, bool forward) {
  int n = static_cast<int>(Records().size());
  for (int i = index; i >= 0 && i < n; i += forward ? 1 : -1)
    if (AcceptRecord(i)) return i;
  return -1;
}

void TRxMemoryData::SetRecNo(int recNo) {
  if (!Active()) return;
  CheckBrowseMode();
  if (recNo < 1 || recNo > RecordCount()) return;
  // The cursor never rests on a refused record.
  int target = FirstAcceptedFrom(recNo - 1, true);
  if (target < 0) target = FirstAcceptedFrom(recNo - 1, false);
  if (target < 0 || target == CurrentIndex()) return;
  if (BeforeScroll) BeforeScroll(*this);
  MoveToRecord(target);
}

int TRxMemoryData::PositionAfterDelete(int index) {
  // The record that slid into the freed place follows, unless the last one
  // went; under a filter the cursor backs up to an accepted record.
  int pos = std::min(index, static_cast<int>(Records().size()) - 1);
  pos = FirstAcceptedFrom(pos, false);
  // Nothing accepted before it: like any set re-reading a lost position,
  // the cursor settles on the first accepted record there is.
  return pos >= 0 ? pos : FirstAcceptedFrom(0, true);
}

void TRxMemoryData::ClearRecords() {
  if (!Active()) return;
  CheckBrowseMode();
  Changed();
  ClearRows();
  lastId_ = kNoRecordId;
  Resync();
}

void TRxMemoryData::MoveToRecord(int index) {
  SetCurrentIndex(index);
  if (HasCalcFields()) CalculateRow(index);
  NotifyDataEvent(db::DataEvent::DataSetChange);
  if (AfterScroll) AfterScroll(*this);
}

bool TRxMemoryData::IsIndexField(const Field& field) const {
  if (field.GetDataSet() != this || field.Kind() != FieldKind::Data) return false;
  for (const SortField& s : sortFields_)
    if (s.field == &field) return true;
  return false;
}

// ---------------------------------------------------------------- structure

void TRxMemoryData::AssignStructure(DataSet* source) {
  DestroyFields();
  if (!source) return;
  std::vector<FieldDef> defs = source->FieldDefs();
  if (defs.empty()) {
    // A closed source with persistent fields describes itself by them.
    for (Field* f : source->Fields()) {
      if (f->Kind() != FieldKind::Data) continue;
      defs.push_back(DefinizioneDi(*f));
    }
  }
  std::erase_if(defs, [](const FieldDef& d) { return d.type == FieldType::Unknown; });
  FieldDefs() = defs;
  for (const FieldDef& d : defs) {
    Field* f = CreateField(d.name, d.type, d.size);
    f->Required = d.required;
    f->Precision = d.precision;
    f->Scale = d.scale;
    f->Origin = d.origin;
  }
}

void TRxMemoryData::CopyRecordFields(DataSet& source, DataSet& dest, bool byName) {
  auto s = dest.State();
  if (s != db::DataSetState::Edit && s != db::DataSetState::Insert && s != db::DataSetState::SetKey)
    throw DbError("Dataset not in edit or insert mode");
  if (byName) {
    for (Field* from : source.Fields())
      if (Field* to = dest.FindField(from->FieldName())) to->SetValue(from->GetValue());
    return;
  }
  size_t n = std::min(source.FieldDefs().size(), dest.FieldDefs().size());
  for (size_t i = 0; i < n; ++i) {
    Field* from = source.FindField(source.FieldDefs()[i].name);
    Field* to = dest.FindField(dest.FieldDefs()[i].name);
    if (from && to) to->SetValue(from->GetValue());
  }
}

namespace {

// Gives back, on every way out, what a copy switched off on both sets.
class CopyGuard {
 public:
  CopyGuard(DataSet& table, DataSet& source) : table_(table), source_(source) {
    sourceWasActive_ = source.Active();
    source.DisableControls();
    table.DisableControls();
  }
  CopyGuard(const CopyGuard&) = delete;
  CopyGuard& operator=(const CopyGuard&) = delete;
  ~CopyGuard() {
    RestoreReadOnly();
    table_.EnableControls();
    try {
      if (!sourceWasActive_) source_.Close();
    } catch (...) {
      // Closing a set we opened ourselves must not mask the copy's outcome.
    }
    source_.EnableControls();
  }
  void ClearReadOnly() {
    for (Field* f : table_.Fields()) {
      readOnly_.emplace_back(f, f->ReadOnly);
      f->ReadOnly = false;
    }
  }
  void RestoreReadOnly() {
    for (auto& [f, ro] : readOnly_) f->ReadOnly = ro;
    readOnly_.clear();
  }

 private:
  DataSet& table_;
  DataSet& source_;
  bool sourceWasActive_ = false;
  std::vector<std::pair<Field*, bool>> readOnly_;
};

}  // namespace

int TRxMemoryData::CopyFromDataSet(DataSet* source, int recordCount, int mode) {
  if (!source || source == this) return 0;
  CopyGuard guard(*this, *source);
  SetFiltered(false);
  source->Open();
  source->CheckBrowseMode();
  if (mode == 0) {
    Close();
    AssignStructure(source);
  }
  sortFields_.clear();
  if (!Active()) Open();
  CheckBrowseMode();
  int limit = INT_MAX;
  if (recordCount < 1)
    source->First();
  else
    limit = recordCount;
  guard.ClearReadOnly();
  int count = 0;
  while (!source->Eof()) {
    Append();
    CopyRecordFields(*source, *this, true);
    Post();
    if (++count >= limit) break;
    source->Next();
  }
  guard.RestoreReadOnly();
  First();
  return count;
}

}  // namespace velmaro
