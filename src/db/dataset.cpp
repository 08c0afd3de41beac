// Life cycle, fields, navigation and editing of the data-set base.
#include "db/dataset.h"

#include <algorithm>

#include "db/datasource.h"
#include "db/textutil.h"

namespace db {

std::function<void(const std::exception&)> DataSet::HandleException;

DataSet::DataSet() = default;

DataSet::~DataSet() {
  // Sources outlive nothing they point at: they forget the set.
  for (DataSource* s : std::vector<DataSource*>(sources_)) s->DataSetGone();
}

void DataSet::RefuseClosed() { throw DbError("Cannot perform this operation on a closed dataset"); }

// ---------------------------------------------------------------- fields

Field* DataSet::CreateField(const std::string& name, FieldType type, int size, FieldKind kind) {
  if (Active()) throw DbError("Cannot perform this operation on an open dataset");
  if (FindField(name)) throw DbError("Duplicate field name '" + name + "'");
  owned_.push_back(std::make_unique<Field>(this, name, type, size, kind));
  fields_.push_back(owned_.back().get());
  return fields_.back();
}

void DataSet::DestroyFields() {
  if (Active()) throw DbError("Cannot perform this operation on an open dataset");
  fields_.clear();
  owned_.clear();
  defaultFields_ = false;
}

Field* DataSet::FindField(const std::string& name) const {
  for (Field* f : fields_)
    if (SameText(f->FieldName(), name)) return f;
  return nullptr;
}

Field& DataSet::FieldByName(const std::string& name) const {
  Field* f = FindField(name);
  if (!f)
    throw DbError((Name.empty() ? std::string() : Name + ": ") + "Field '" + name + "' not found");
  return *f;
}

std::vector<Field*> DataSet::GetFieldList(const std::string& names) const {
  std::vector<Field*> out;
  for (const std::string& n : SplitNames(names)) out.push_back(&FieldByName(n));
  return out;
}

void DataSet::MoveField(Field* f, int newIndex) {
  auto it = std::find(fields_.begin(), fields_.end(), f);
  if (it == fields_.end()) return;
  fields_.erase(it);
  newIndex = std::clamp(newIndex, 0, static_cast<int>(fields_.size()));
  fields_.insert(fields_.begin() + newIndex, f);
  NotifyDataEvent(DataEvent::LayoutChange);
}

void DataSet::BindFields() {
  if (fields_.empty()) {
    for (const FieldDef& d : fieldDefs_) {
      owned_.push_back(std::make_unique<Field>(this, d.name, d.type, d.size, FieldKind::Data));
      Field* f = owned_.back().get();
      fields_.push_back(f);
      f->Required = d.required;
      f->Origin = d.origin;
      f->Precision = d.precision;
      f->Scale = d.scale;
    }
    defaultFields_ = true;
  }
  hasCalcFields_ = false;
  for (size_t i = 0; i < fields_.size(); ++i) {
    fields_[i]->slot_ = static_cast<int>(i);
    if (fields_[i]->Kind() != FieldKind::Data) hasCalcFields_ = true;
  }
  slotCount_ = static_cast<int>(fields_.size());
}

// ---------------------------------------------------------------- life cycle

void DataSet::Open() {
  if (Active()) return;
  if (BeforeOpen) BeforeOpen(*this);
  DropRecords();
  cur_ = -1;
  bof_ = eof_ = true;
  exhausted_ = false;
  visibleValid_ = false;
  try {
    state_ = DataSetState::Browse;  // lets InternalOpen add rows
    InternalOpen();
    BindFields();
    for (Record& r : records_) r.values = rows_.Resize(r.values, slotCount_);
    InternalAfterBind();
  } catch (...) {
    state_ = DataSetState::Inactive;
    try {
      InternalClose();
    } catch (...) {
    }
    DropRecords();
    if (defaultFields_) {
      fields_.clear();
      owned_.clear();
      defaultFields_ = false;
    }
    throw;
  }
  int first = -1;
  if (FindNext(-1, first)) {
    cur_ = first;
    eof_ = false;
  }
  if (hasCalcFields_)
    for (int i = 0; i < static_cast<int>(records_.size()); ++i) CalculateRow(i);
  NotifyDataEvent(DataEvent::ActiveChange);
  if (AfterOpen) AfterOpen(*this);
  if (AfterScroll && cur_ >= 0) AfterScroll(*this);
}

void DataSet::Close() { DoClose(true); }

void DataSet::DoClose(bool events) {
  if (!Active()) return;
  if (events && BeforeClose) BeforeClose(*this);
  // A pending edit is dropped, as closing always did.
  editBuffer_.clear();
  editRow_ = Row();
  insertedIndex_ = -1;
  modified_ = false;
  state_ = DataSetState::Inactive;
  InternalClose();
  DropRecords();
  visible_.clear();
  visibleValid_ = false;
  cur_ = -1;
  bof_ = eof_ = true;
  exhausted_ = true;
  if (defaultFields_) DestroyFields();  // state is Inactive already
  NotifyDataEvent(DataEvent::ActiveChange);
  if (events && AfterClose) AfterClose(*this);
}

void DataSet::InternalRefresh() {}

void DataSet::Refresh() {
  CheckActive();
  CheckBrowseMode();
  int recNo = VisibleRecNo();
  InternalRefresh();
  visibleValid_ = false;
  if (recNo > 0) FetchTo(recNo - 1);
  int count = VisibleCount();
  if (count == 0) {
    cur_ = -1;
    bof_ = eof_ = true;
  } else {
    int row = std::min(recNo, count) - 1;
    cur_ = VisibleToRaw(std::max(row, 0));
    bof_ = eof_ = false;
  }
  RefreshCurrentCalc();
  NotifyDataEvent(DataEvent::DataSetChange);
}

// ---------------------------------------------------------------- rows

Record& DataSet::AddRow(std::vector<Value> values) {
  Row row = rows_.Allocate(std::max<size_t>(values.size(), slotCount_));
  std::move(values.begin(), values.end(), row.begin());
  return AdoptRow(row);
}

Record& DataSet::AdoptRow(Row row) {
  records_.push_back(Record{NewRecordId(), row});
  int index = static_cast<int>(records_.size()) - 1;
  if (hasCalcFields_ && state_ == DataSetState::Browse) CalculateRow(index);
  if (Filtering() && visibleValid_ && AcceptRecord(index)) visible_.push_back(index);
  return records_.back();
}

void DataSet::DropRecords() {
  records_.clear();
  rows_.Clear();
}

void DataSet::ClearRows() {
  DropRecords();
  visible_.clear();
  visibleValid_ = false;
  insertedIndex_ = -1;
  cur_ = -1;
  bof_ = eof_ = true;
  exhausted_ = false;  // a re-run source may deliver rows again
}

void DataSet::SetCurrentIndex(int index) {
  if (records_.empty()) {
    cur_ = -1;
    bof_ = eof_ = true;
    return;
  }
  cur_ = std::clamp(index, 0, static_cast<int>(records_.size()) - 1);
  bof_ = eof_ = false;
}

int DataSet::FindRecordIndex(std::int64_t id) const {
  for (size_t i = 0; i < records_.size(); ++i)
    if (records_[i].id == id && static_cast<int>(i) != insertedIndex_) return static_cast<int>(i);
  return -1;
}

void DataSet::PermuteRows(const std::vector<std::uint32_t>& order) {
  RecordList sorted;
  sorted.reserve(records_.capacity());
  RowStore fresh;
  for (std::size_t i = 0; i < order.size(); ++i) {
    // Two-step read-ahead: the list entry first, then the values it points to.
    if (i + 32 < order.size()) __builtin_prefetch(&records_[order[i + 32]]);
    if (i + 16 < order.size()) {
      const char* ahead = reinterpret_cast<const char*>(records_[order[i + 16]].values.data());
      __builtin_prefetch(ahead);
      __builtin_prefetch(ahead + 64);
      __builtin_prefetch(ahead + 128);
    }
    const Record& from = records_[order[i]];
    Row to = fresh.Allocate(from.values.size());
    std::move(from.values.begin(), from.values.end(), to.begin());
    sorted.push_back(Record{from.id, to});
  }
  records_.swap(sorted);
  rows_.Swap(fresh);
  visibleValid_ = false;
}

void DataSet::Resync() {
  visibleValid_ = false;
  if (cur_ >= static_cast<int>(records_.size())) cur_ = static_cast<int>(records_.size()) - 1;
  if (records_.empty()) bof_ = eof_ = true;
  RefreshCurrentCalc();
  NotifyDataEvent(DataEvent::DataSetChange);
}

bool DataSet::FindNext(int from, int& found) {
  for (int i = from + 1;; ++i) {
    while (i >= static_cast<int>(records_.size())) {
      if (exhausted_) return false;
      if (!FetchMore()) exhausted_ = true;
    }
    if (AcceptRecord(i)) {
      found = i;
      return true;
    }
  }
}

bool DataSet::FindPrior(int from, int& found) {
  for (int i = std::min(from, static_cast<int>(records_.size())) - 1; i >= 0; --i) {
    if (AcceptRecord(i)) {
      found = i;
      return true;
    }
  }
  return false;
}

void DataSet::FetchAll() {
  while (!exhausted_)
    if (!FetchMore()) exhausted_ = true;
}

bool DataSet::IsEmpty() const {
  if (!Active()) return true;
  return cur_ < 0;
}

int DataSet::RecordCount() {
  if (!Active()) return 0;
  return VisibleCount();
}

// ---------------------------------------------------------------- navigation

int DataSet::MoveBy(int distance) {
  CheckActive();
  CheckBrowseMode();
  if (BeforeScroll) BeforeScroll(*this);
  if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  int moved = 0;
  bof_ = eof_ = false;
  while (distance > 0) {
    int n = -1;
    if (!FindNext(cur_, n)) {
      eof_ = true;
      break;
    }
    cur_ = n;
    --distance;
    ++moved;
  }
  while (distance < 0) {
    int n = -1;
    if (!FindPrior(cur_, n)) {
      bof_ = true;
      break;
    }
    cur_ = n;
    ++distance;
    --moved;
  }
  if (cur_ < 0) bof_ = eof_ = true;
  RefreshCurrentCalc();
  if (moved != 0)
    NotifyDataEvent(DataEvent::DataSetScroll, nullptr, moved);
  else
    NotifyDataEvent(DataEvent::DataSetChange);
  if (AfterScroll) AfterScroll(*this);
  return moved;
}

void DataSet::Next() { MoveBy(1); }
void DataSet::Prior() { MoveBy(-1); }

void DataSet::ScrollTo(int index, bool bof, bool eof) {
  cur_ = index;
  bof_ = bof || index < 0;
  eof_ = eof || index < 0;
  RefreshCurrentCalc();
  NotifyDataEvent(DataEvent::DataSetChange);
  if (AfterScroll) AfterScroll(*this);
}

void DataSet::First() {
  CheckActive();
  CheckBrowseMode();
  if (BeforeScroll) BeforeScroll(*this);
  int n = -1;
  bool found = FindNext(-1, n);
  ScrollTo(found ? n : -1, true, !found);
}

void DataSet::Last() {
  CheckActive();
  CheckBrowseMode();
  if (BeforeScroll) BeforeScroll(*this);
  FetchAll();
  int n = -1;
  bool found = FindPrior(static_cast<int>(records_.size()), n);
  ScrollTo(found ? n : -1, !found, true);
}

int DataSet::VisibleRecNo() {
  if (!Active() || cur_ < 0) return 0;
  return CurrentRow() + 1;
}

int DataSet::RecNo() { return VisibleRecNo(); }

void DataSet::SetRecNo(int recNo) {
  CheckActive();
  CheckBrowseMode();
  if (recNo < 1 || !FetchTo(recNo - 1)) return;
  if (recNo == VisibleRecNo()) return;
  if (BeforeScroll) BeforeScroll(*this);
  ScrollTo(VisibleToRaw(recNo - 1), false, false);
}

// ---------------------------------------------------------------- bookmarks

Bookmark DataSet::GetBookmark() const {
  if (!Active() || cur_ < 0 || cur_ == insertedIndex_) return kNoBookmark;
  return records_[cur_].id;
}

bool DataSet::BookmarkValid(Bookmark b) const {
  return Active() && b != kNoBookmark && FindRecordIndex(b) >= 0;
}

void DataSet::GotoBookmark(Bookmark b) {
  CheckActive();
  CheckBrowseMode();
  int index = b == kNoBookmark ? -1 : FindRecordIndex(b);
  if (index < 0 || !AcceptRecord(index)) return;
  if (BeforeScroll) BeforeScroll(*this);
  ScrollTo(index, false, false);
}

int DataSet::CompareBookmarks(Bookmark a, Bookmark b) {
  if (a == kNoBookmark && b == kNoBookmark) return 0;
  if (b == kNoBookmark) return 1;
  if (a == kNoBookmark) return -1;
  return a > b ? 1 : (a < b ? -1 : 0);
}

}  // namespace db
