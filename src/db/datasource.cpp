#include "db/datasource.h"

#include <algorithm>

namespace db {

DataSource::~DataSource() {
  for (DataLink* l : std::vector<DataLink*>(links_)) l->SetDataSource(nullptr);
  if (dataset_) dataset_->RemoveDataSource(this);
}

void DataSource::SetDataSet(DataSet* ds) {
  if (ds == dataset_) return;
  if (dataset_) dataset_->RemoveDataSource(this);
  dataset_ = ds;
  if (dataset_) dataset_->AddDataSource(this);
  lastState_ = State();
  Notify(DataEvent::ActiveChange, nullptr, 0);
}

void DataSource::SetEnabled(bool on) {
  if (enabled_ == on) return;
  enabled_ = on;
  enabled_ ? Notify(DataEvent::ActiveChange, nullptr, 0) : void();
  if (!enabled_)
    for (DataLink* l : std::vector<DataLink*>(links_))
      if (l->active_) {
        l->active_ = false;
        l->ActiveChanged();
      }
}

DataSetState DataSource::State() const {
  return dataset_ ? dataset_->State() : DataSetState::Inactive;
}

void DataSource::DataSetGone() {
  dataset_ = nullptr;
  for (DataLink* l : std::vector<DataLink*>(links_))
    if (l->active_) {
      l->active_ = false;
      l->ActiveChanged();
    }
}

void DataSource::Notify(DataEvent ev, Field* field, int info) {
  if (!enabled_) return;
  DataSetState st = State();
  if (st != lastState_) {
    lastState_ = st;
    if (OnStateChange) OnStateChange(*this);
  }
  bool editing = st == DataSetState::Edit || st == DataSetState::Insert;
  for (DataLink* l : std::vector<DataLink*>(links_)) {
    if (std::find(links_.begin(), links_.end(), l) == links_.end()) continue;  // detached meanwhile
    bool active = st != DataSetState::Inactive;
    if (l->active_ != active) {
      l->active_ = active;
      l->ActiveChanged();
    }
    if (l->editing_ != (editing && active)) {
      l->editing_ = editing && active;
      l->EditingChanged();
    }
    if (!active) continue;
    switch (ev) {
      case DataEvent::FieldChange:
        l->RecordChanged(field);
        break;
      case DataEvent::RecordChange:
        l->RecordChanged(nullptr);
        break;
      case DataEvent::DataSetChange:
        l->DataSetChanged();
        break;
      case DataEvent::DataSetScroll:
        l->DataSetScrolled(info);
        break;
      case DataEvent::LayoutChange:
        l->LayoutChanged();
        break;
      case DataEvent::UpdateRecord:
        l->UpdateData();
        break;
      case DataEvent::FocusControl:
        l->FocusControl(field);
        break;
      default:
        break;
    }
  }
  switch (ev) {
    case DataEvent::FieldChange:
    case DataEvent::RecordChange:
    case DataEvent::DataSetChange:
    case DataEvent::DataSetScroll:
    case DataEvent::LayoutChange:
      if (OnDataChange && st != DataSetState::Inactive)
        OnDataChange(*this, ev == DataEvent::FieldChange ? field : nullptr);
      break;
    case DataEvent::UpdateRecord:
      if (OnUpdateData) OnUpdateData(*this);
      break;
    default:
      break;
  }
}

DataLink::~DataLink() { SetDataSource(nullptr); }

void DataLink::SetDataSource(DataSource* s) {
  if (s == source_) return;
  if (source_) {
    auto& v = source_->links_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  source_ = s;
  if (source_) source_->links_.push_back(this);
  bool active = Active();
  if (active != active_) {
    active_ = active;
    ActiveChanged();
  }
  editing_ = active &&
             (source_->State() == DataSetState::Edit || source_->State() == DataSetState::Insert);
}

DataSet* DataLink::GetDataSet() const { return source_ ? source_->GetDataSet() : nullptr; }

bool DataLink::Active() const {
  return source_ && source_->Enabled() && source_->GetDataSet() && source_->GetDataSet()->Active();
}

bool DataLink::Editing() const { return editing_; }

int DataLink::ActiveRecord() const {
  DataSet* ds = GetDataSet();
  return ds && ds->Active() ? ds->CurrentRow() : -1;
}

int DataLink::RecordCount() const {
  DataSet* ds = GetDataSet();
  return ds && ds->Active() ? ds->VisibleCount() : 0;
}

bool DataLink::Edit() {
  if (ReadOnly || !Active()) return false;
  DataSet* ds = GetDataSet();
  if (ds->State() == DataSetState::Edit || ds->State() == DataSetState::Insert) return true;
  if (!ds->CanModify()) return false;
  ds->Edit();
  return ds->State() == DataSetState::Edit || ds->State() == DataSetState::Insert;
}

}  // namespace db
