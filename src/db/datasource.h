#pragma once
// Data sources and the data links of data-aware controls.

#include <functional>
#include <vector>

#include "db/dataset.h"

namespace db {

class DataLink;

class DataSource {
 public:
  DataSource() = default;
  explicit DataSource(DataSet* ds) { SetDataSet(ds); }
  DataSource(const DataSource&) = delete;
  DataSource& operator=(const DataSource&) = delete;
  ~DataSource();

  DataSet* GetDataSet() const { return dataset_; }
  void SetDataSet(DataSet* ds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  DataSetState State() const;

  std::function<void(DataSource&, Field*)> OnDataChange;
  std::function<void(DataSource&)> OnStateChange;
  std::function<void(DataSource&)> OnUpdateData;

  const std::vector<DataLink*>& Links() const { return links_; }

 private:
  friend class DataSet;
  friend class DataLink;
  void Notify(DataEvent ev, Field* field, int info);
  void DataSetGone();  // the data set is being destroyed
  DataSet* dataset_ = nullptr;
  bool enabled_ = true;
  DataSetState lastState_ = DataSetState::Inactive;
  std::vector<DataLink*> links_;
};

// Observer of one data source. Overrides receive the data set's
// notifications; nothing arrives while the set's controls are disabled
// (one DataSetChanged follows the last EnableControls).
class DataLink {
 public:
  DataLink() = default;
  DataLink(const DataLink&) = delete;
  DataLink& operator=(const DataLink&) = delete;
  virtual ~DataLink();

  DataSource* GetDataSource() const { return source_; }
  void SetDataSource(DataSource* s);
  DataSet* GetDataSet() const;
  // True when bound to an enabled source whose data set is open.
  bool Active() const;
  bool Editing() const;
  // Current row of the data set as a visible row index (-1 when none).
  int ActiveRecord() const;
  int RecordCount() const;
  bool ReadOnly = false;
  // Puts the data set in edit mode when possible; false otherwise.
  bool Edit();

 protected:
  friend class DataSource;
  virtual void ActiveChanged() {}
  virtual void DataSetChanged() {}
  virtual void DataSetScrolled(int distance) {}
  virtual void RecordChanged(Field* field) {}
  virtual void EditingChanged() {}
  virtual void UpdateData() {}
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void FocusControl(Field* field) {}

 private:
  DataSource* source_ = nullptr;
  bool active_ = false;
  bool editing_ = false;
};

}  // namespace db
