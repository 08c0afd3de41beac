// Editing of the data-set base: the edit buffer, insert, post, cancel and
// delete.
#include <algorithm>

#include "db/dataset.h"

namespace db {

// ---------------------------------------------------------------- editing

void DataSet::StartEditBuffer(std::vector<Value> values) {
  editBuffer_ = std::move(values);
  editBuffer_.resize(slotCount_);
  editRow_ = Row(editBuffer_);
  modified_ = false;
  for (Field* f : fields_) f->modified_ = false;
}

void DataSet::Edit() {
  CheckActive();
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) return;
  if (cur_ < 0) {
    Insert();
    return;
  }
  PrepareModify();
  if (BeforeEdit) BeforeEdit(*this);
  const Row& row = records_[cur_].values;
  StartEditBuffer(std::vector<Value>(row.begin(), row.end()));
  SetStateNotify(DataSetState::Edit);
  NotifyDataEvent(DataEvent::RecordChange);
  if (AfterEdit) AfterEdit(*this);
}

void DataSet::PrepareModify() {
  if (!CanModify()) throw DbError("Cannot modify a read-only dataset");
  CheckBrowseMode();
}

int DataSet::InsertPosition() { return std::max(cur_, 0); }

void DataSet::Insert() {
  CheckActive();
  PrepareModify();
  if (BeforeInsert) BeforeInsert(*this);
  // The new row is a move of the cursor: handlers following the current
  // row hear of it as of any scroll.
  if (BeforeScroll) BeforeScroll(*this);
  int pos = std::clamp(InsertPosition(), 0, static_cast<int>(records_.size()));
  savedCur_ = cur_;
  records_.insert(records_.begin() + pos, Record{0, NewRow()});
  insertedIndex_ = pos;
  cur_ = pos;
  bof_ = eof_ = false;
  visibleValid_ = false;
  std::vector<Value> fresh(slotCount_);
  Row freshRow(fresh);
  InternalInitRecord(freshRow);
  StartEditBuffer(std::move(fresh));
  SetStateNotify(DataSetState::Insert);
  if (OnNewRecord) {
    // Defaults set here do not count as the operator's changes.
    OnNewRecord(*this);
    modified_ = false;
  }
  RefreshCurrentCalc();
  NotifyDataEvent(DataEvent::DataSetChange);
  if (AfterInsert) AfterInsert(*this);
  if (AfterScroll) AfterScroll(*this);
}

void DataSet::Append() {
  CheckActive();
  PrepareModify();
  FetchAll();
  // Put the cursor past the end so the new row lands last.
  int saved = cur_;
  cur_ = static_cast<int>(records_.size());
  struct Restore {
    DataSet* ds;
    int saved;
    ~Restore() {
      if (ds->state_ != DataSetState::Insert) ds->cur_ = saved;
    }
  } restore{this, saved};
  Insert();
  savedCur_ = saved;
}

void DataSet::StoreValues(Row& target, std::vector<Value>& values) {
  if (target.size() != values.size()) {
    rows_.Release(target);
    target = rows_.Allocate(values.size());
  }
  std::move(values.begin(), values.end(), target.begin());
}

void DataSet::EndEdit() {
  editBuffer_.clear();
  editRow_ = Row();
  modified_ = false;
  visibleValid_ = false;
  SetStateNotify(DataSetState::Browse);
  RefreshCurrentCalc();
  NotifyDataEvent(DataEvent::DataSetChange);
}

void DataSet::CheckRequired() {
  for (Field* f : fields_) {
    if (f->Kind() != FieldKind::Data || !f->Required || f->ReadOnly) continue;
    if (f->DataType() == FieldType::AutoInc) continue;
    if (ValueIsNull(*f, editBuffer_[f->Slot()]))
      throw DbError("Field '" + f->DisplayLabel() + "' must have a value");
  }
}

void DataSet::Post() {
  CheckActive();
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
  UpdateRecord();
  if (BeforePost) BeforePost(*this);
  CheckRequired();
  bool inserting = state_ == DataSetState::Insert;
  // A failing write leaves the set in Edit/Insert with the buffer intact.
  std::vector<Value> values = editBuffer_;
  Row posted(values);
  if (inserting) {
    AssignAutoIncValues(posted);
    InternalPost(posted, nullptr);
    Record& r = records_[insertedIndex_];
    r.id = NewRecordId();
    StoreValues(r.values, values);
    cur_ = insertedIndex_;
    insertedIndex_ = -1;
  } else {
    InternalPost(posted, &records_[cur_].values);
    StoreValues(records_[cur_].values, values);
  }
  EndEdit();
  if (AfterPost) AfterPost(*this);
}

void DataSet::Cancel() {
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
  if (BeforeCancel) BeforeCancel(*this);
  // Dropping a new row moves the cursor back to where it was.
  const bool scrolls = state_ == DataSetState::Insert;
  if (scrolls && BeforeScroll) BeforeScroll(*this);
  InternalCancel();
  if (state_ == DataSetState::Insert) {
    rows_.Release(records_[insertedIndex_].values);
    records_.erase(records_.begin() + insertedIndex_);
    insertedIndex_ = -1;
    cur_ = std::min(savedCur_, static_cast<int>(records_.size()) - 1);
    if (cur_ < 0) bof_ = eof_ = true;
  }
  EndEdit();
  if (AfterCancel) AfterCancel(*this);
  if (scrolls && AfterScroll) AfterScroll(*this);
}

void DataSet::Delete() {
  CheckActive();
  if (state_ == DataSetState::Insert) {
    Cancel();
    return;
  }
  if (cur_ < 0) throw DbError("Cannot perform this operation on an empty dataset");
  PrepareModify();
  if (BeforeDelete) BeforeDelete(*this);
  if (BeforeScroll) BeforeScroll(*this);
  InternalDelete(records_[cur_]);
  const int at = cur_;
  rows_.Release(records_[at].values);
  records_.erase(records_.begin() + at);
  visibleValid_ = false;
  cur_ = PositionAfterDelete(at);
  // A hook answering outside the list must not leave a dangling cursor.
  if (cur_ < -1 || cur_ >= static_cast<int>(records_.size())) cur_ = -1;
  bof_ = eof_ = cur_ < 0;
  RefreshCurrentCalc();
  NotifyDataEvent(DataEvent::DataSetChange);
  if (AfterDelete) AfterDelete(*this);
  if (AfterScroll) AfterScroll(*this);
}

int DataSet::PositionAfterDelete(int index) {
  int n = -1;
  if (FindNext(index - 1, n)) return n;
  if (FindPrior(index, n)) return n;
  return -1;
}

void DataSet::LeaveEditing() {
  CheckActive();
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
  UpdateRecord();
  if (modified_)
    Post();
  else
    Cancel();
}

}  // namespace db
