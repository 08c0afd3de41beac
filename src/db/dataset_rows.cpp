// Field addressing, filtering, calculated fields, searching and the
// notifications of the data-set base.
#include <algorithm>

#include "db/dataset.h"
#include "db/datasource.h"
#include "db/textutil.h"

namespace db {

// ---------------------------------------------------------------- addressing

Row* DataSet::OtherActiveValues() {
  switch (state_) {
    case DataSetState::Edit:
    case DataSetState::Insert:
      return &editRow_;
    case DataSetState::CalcFields:
    case DataSetState::Filter:
    case DataSetState::InternalCalc:
      return tempValues_;
    default:
      return nullptr;
  }
}

void DataSet::SetFieldValue(Field& f, const Value& v) {
  DataSetState s = state_;
  bool calcState = s == DataSetState::CalcFields || s == DataSetState::Filter;
  bool allowed = s == DataSetState::Edit || s == DataSetState::Insert ||
                 s == DataSetState::SetKey || calcState || s == DataSetState::NewValue ||
                 s == DataSetState::InternalCalc;
  if (!allowed) throw DbError("Dataset not in edit or insert mode");
  if (f.Kind() == FieldKind::Data) {
    if (calcState) throw DbError("Dataset not in edit or insert mode");
    if (f.ReadOnly && s != DataSetState::SetKey)
      throw DbError("Field '" + f.DisplayLabel() + "' cannot be modified");
  }
  Row* vals = ActiveValues();
  if (!vals || f.Slot() < 0 || f.Slot() >= static_cast<int>(vals->size()))
    throw DbError("Field '" + f.DisplayLabel() + "' is not bound to a record");
  Value stored = f.Coerce(v);
  Value old = std::move((*vals)[f.Slot()]);
  (*vals)[f.Slot()] = std::move(stored);
  if (f.OnValidate && !calcState) {
    try {
      f.OnValidate(f);
    } catch (...) {
      (*vals)[f.Slot()] = std::move(old);
      throw;
    }
  }
  if (calcState || s == DataSetState::NewValue) return;
  f.modified_ = true;
  modified_ = true;
  if (f.Kind() == FieldKind::Data && hasCalcFields_ && AutoCalcFields) RefreshCurrentCalc();
  if (f.OnChange) f.OnChange(f);
  NotifyDataEvent(DataEvent::FieldChange, &f);
}

DataSetState DataSet::PushState(DataSetState s) {
  DataSetState old = state_;
  state_ = s;
  return old;
}

void DataSet::SetStateNotify(DataSetState s) {
  if (state_ == s) return;
  state_ = s;
  NotifyDataEvent(DataEvent::UpdateState);
}

// ---------------------------------------------------------------- calculated fields

void DataSet::CalculateRow(int index) {
  if (!hasCalcFields_ || index < 0 || index >= static_cast<int>(records_.size())) return;
  Row* target = &records_[index].values;
  if (index == cur_ && (state_ == DataSetState::Edit || state_ == DataSetState::Insert))
    target = &editRow_;
  Row* savedTemp = tempValues_;
  tempValues_ = target;
  DataSetState old = PushState(DataSetState::CalcFields);
  try {
    for (Field* f : fields_) {
      if (f->Kind() == FieldKind::Data) continue;
      (*target)[f->Slot()] = Value();
      if (f->Kind() != FieldKind::Lookup || !f->LookupDataSet || !f->LookupDataSet->Active())
        continue;
      std::vector<Value> keys;
      for (Field* k : GetFieldList(f->KeyFields)) keys.push_back((*target)[k->Slot()]);
      (*target)[f->Slot()] =
          f->Coerce(f->LookupDataSet->Lookup(f->LookupKeyFields, keys, f->LookupResultField));
    }
    if (OnCalcFields) OnCalcFields(*this);
  } catch (...) {
    PopState(old);
    tempValues_ = savedTemp;
    throw;
  }
  PopState(old);
  tempValues_ = savedTemp;
}

// ---------------------------------------------------------------- filtering

bool DataSet::AcceptRecord(int index) {
  if (!Filtering()) return true;
  if (index < 0 || index >= static_cast<int>(records_.size())) return false;
  if (index == insertedIndex_) return true;
  Row* savedTemp = tempValues_;
  tempValues_ = &records_[index].values;
  DataSetState old = PushState(DataSetState::Filter);
  bool accept = true;
  try {
    OnFilterRecord(*this, accept);
  } catch (const std::exception& e) {
    // The record stays accepted unless the event had refused it already.
    if (HandleException) HandleException(e);
  }
  PopState(old);
  tempValues_ = savedTemp;
  return accept;
}

void DataSet::SetFiltered(bool on) {
  if (!Active()) {
    filtered_ = on;
    return;
  }
  CheckBrowseMode();
  if (filtered_ == on) return;
  filtered_ = on;
  visibleValid_ = false;
  First();
}

void DataSet::SetOnFilterRecord(std::function<void(DataSet&, bool&)> fn) {
  if (Active()) CheckBrowseMode();
  OnFilterRecord = std::move(fn);
  visibleValid_ = false;
  if (Active() && filtered_) First();
}

void DataSet::BuildVisible() {
  if (visibleValid_) return;
  visible_.clear();
  for (int i = 0; i < static_cast<int>(records_.size()); ++i)
    if (AcceptRecord(i)) visible_.push_back(i);
  visibleValid_ = true;
}

int DataSet::VisibleCount() {
  if (!Active()) return 0;
  if (!Filtering()) return static_cast<int>(records_.size());
  BuildVisible();
  return static_cast<int>(visible_.size());
}

bool DataSet::FetchTo(int index) {
  if (!Active() || index < 0) return false;
  while (VisibleCount() <= index) {
    if (exhausted_) return false;
    if (!FetchMore()) exhausted_ = true;
  }
  return true;
}

int DataSet::RawToVisible(int raw) {
  if (raw < 0) return -1;
  if (!Filtering()) return raw;
  BuildVisible();
  auto it = std::lower_bound(visible_.begin(), visible_.end(), raw);
  if (it == visible_.end() || *it != raw) return -1;
  return static_cast<int>(it - visible_.begin());
}

int DataSet::CurrentRow() { return Active() ? RawToVisible(cur_) : -1; }

const Row* DataSet::RowValues(int index) {
  if (!FetchTo(index)) return nullptr;
  const int raw = VisibleToRaw(index);
  if (raw == cur_ && (state_ == DataSetState::Edit || state_ == DataSetState::Insert))
    return &editRow_;
  return &records_[raw].values;
}

const Value& DataSet::RowValue(int index, const Field& f) {
  static const Value kNull;
  const Row* vals = RowValues(index);
  if (!vals || f.Slot() < 0 || f.Slot() >= static_cast<int>(vals->size())) return kNull;
  const Value& v = (*vals)[f.Slot()];
  return CountsAsNull(f, v) ? kNull : v;
}

// ---------------------------------------------------------------- searching

bool DataSet::RowMatches(int index, const std::vector<Field*>& keys,
                         const std::vector<Value>& values, LocateOptions opts) {
  const Row& row = records_[index].values;
  for (size_t k = 0; k < keys.size(); ++k) {
    const Field& f = *keys[k];
    const Value& have = row[f.Slot()];
    const Value& want = values[k];
    bool haveNull = ValueIsNull(f, have);
    if (want.IsNull() || haveNull) {
      if (want.IsNull() != haveNull) return false;
      continue;
    }
    if (IsTextType(f.DataType()) || f.DataType() == FieldType::Memo) {
      std::string a = have.AsString(), b = want.AsString();
      if (opts.caseInsensitive) {
        a = FoldCase(a);
        b = FoldCase(b);
      }
      if (opts.partialKey && a.size() > b.size()) a.resize(b.size());
      if (a != b) return false;
      continue;
    }
    Value coerced;
    try {
      coerced = f.Coerce(want);
    } catch (const DbError&) {
      return false;
    }
    if (!(have == coerced)) return false;
  }
  return true;
}

bool DataSet::Locate(const std::string& keyFields, const std::vector<Value>& values,
                     LocateOptions opts) {
  CheckActive();
  CheckBrowseMode();
  std::vector<Field*> keys = GetFieldList(keyFields);
  if (keys.size() != values.size()) throw DbError("Locate: key fields and values do not match");
  if (cur_ < 0) return false;
  if (RowMatches(cur_, keys, values, opts)) return true;
  int i = -1;
  while (FindNext(i, i)) {
    if (!RowMatches(i, keys, values, opts)) continue;
    if (BeforeScroll) BeforeScroll(*this);
    ScrollTo(i, false, false);
    return true;
  }
  return false;
}

Value DataSet::Lookup(const std::string& keyFields, const std::vector<Value>& values,
                      const std::string& resultField) {
  CheckActive();
  std::vector<Field*> keys = GetFieldList(keyFields);
  Field& result = FieldByName(resultField);
  if (keys.size() != values.size()) throw DbError("Lookup: key fields and values do not match");
  int i = -1;
  while (FindNext(i, i))
    if (RowMatches(i, keys, values, {})) return records_[i].values[result.Slot()];
  return Value();
}

// ---------------------------------------------------------------- notifications

void DataSet::DisableControls() {
  if (disableCount_++ == 0) {
    disabledState_ = state_;
    pendingChange_ = false;
  }
}

void DataSet::EnableControls() {
  if (disableCount_ == 0) return;
  if (--disableCount_ > 0) return;
  if (disabledState_ != state_) NotifyDataEvent(DataEvent::UpdateState);
  if (state_ != DataSetState::Inactive) NotifyDataEvent(DataEvent::DataSetChange);
}

void DataSet::NotifyDataEvent(DataEvent ev, Field* field, int info) {
  // Editing controls still write their pending text while disabled.
  if (disableCount_ > 0 && ev != DataEvent::UpdateRecord) {
    pendingChange_ = true;
    return;
  }
  // A source may leave, or bring another, while it is told: the ones to
  // tell are taken first. A single one (the common case: one grid or one
  // editor) needs no copy for that.
  if (sources_.size() == 1) {
    DataSource* s = sources_.front();
    s->Notify(ev, field, info);
    return;
  }
  for (DataSource* s : std::vector<DataSource*>(sources_)) s->Notify(ev, field, info);
}

void DataSet::UpdateRecord() {
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert &&
      state_ != DataSetState::SetKey)
    throw DbError("Dataset not in edit or insert mode");
  NotifyDataEvent(DataEvent::UpdateRecord);
}

void DataSet::AddDataSource(DataSource* s) {
  if (std::find(sources_.begin(), sources_.end(), s) == sources_.end()) sources_.push_back(s);
}

void DataSet::RemoveDataSource(DataSource* s) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), s), sources_.end());
}

}  // namespace db
