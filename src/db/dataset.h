#pragma once
// The data-set base: rows cached in memory, a cursor over them, editing
// through an edit buffer and notifications to data sources.
//
// Subclasses supply rows through the protected hooks: InternalOpen builds
// FieldDefs (and may add rows), FetchMore pulls further rows on demand,
// InternalPost/InternalDelete write changes through.

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "db/error.h"
#include "db/field.h"
#include "db/rowstore.h"
#include "db/value.h"

namespace db {

class DataSource;

enum class DataSetState : std::uint8_t {
  Inactive,
  Browse,
  Edit,
  Insert,
  SetKey,
  CalcFields,
  Filter,
  NewValue,
  InternalCalc,
};

enum class DataEvent : std::uint8_t {
  FieldChange,
  RecordChange,
  DataSetChange,
  DataSetScroll,
  LayoutChange,
  UpdateRecord,
  UpdateState,
  CheckBrowseMode,
  ActiveChange,
  FocusControl,
};

struct LocateOptions {
  bool caseInsensitive = false;
  bool partialKey = false;
};

using Bookmark = std::int64_t;
constexpr Bookmark kNoBookmark = std::numeric_limits<std::int64_t>::min();

struct Record {
  std::int64_t id = 0;
  Row values;  // one slot per field (Field::Slot), held by the set's row store
};
// The records of a data set; a long list's storage is kept for the next.
using RecordList = std::vector<Record, LargeBlockAllocator<Record>>;

class DataSet {
 public:
  using Event = std::function<void(DataSet&)>;

  DataSet();
  DataSet(const DataSet&) = delete;
  DataSet& operator=(const DataSet&) = delete;
  virtual ~DataSet();

  // The class name of this kind of set: "TDataSet", "TIBQuery", ...
  virtual const char* ClassName() const { return "TDataSet"; }
  std::string Name;
  int Tag = 0;

  // ---- life cycle
  void Open();
  void Close();
  bool Active() const { return state_ != DataSetState::Inactive; }
  void SetActive(bool on) { on ? Open() : Close(); }
  DataSetState State() const { return state_; }
  // Re-reads the rows, keeping the cursor at the same record number.
  void Refresh();

  // ---- fields
  std::vector<FieldDef>& FieldDefs() { return fieldDefs_; }
  const std::vector<FieldDef>& FieldDefs() const { return fieldDefs_; }
  // Declares a persistent field (before Open); survives Close.
  Field* CreateField(const std::string& name, FieldType type, int size = 0,
                     FieldKind kind = FieldKind::Data);
  void DestroyFields();  // closed set only
  const std::vector<Field*>& Fields() const { return fields_; }
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  Field* FindField(const std::string& name) const;    // case-insensitive
  Field& FieldByName(const std::string& name) const;  // throws DbError
  Field& FieldByNumber(int index) const { return *fields_.at(index); }
  // Fields named in a ";"-separated list (throws for unknown names).
  std::vector<Field*> GetFieldList(const std::string& names) const;
  void MoveField(Field* f, int newIndex);

  // ---- navigation (over the rows the filter accepts)
  void First();
  void Last();
  void Next();
  void Prior();
  int MoveBy(int distance);
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool IsEmpty() const;
  // The rows read so far that the filter accepts: a set that reads its rows
  // as navigation needs them may hold more (FetchTo asks for a given row).
  virtual int RecordCount();
  // 1-based; 0 when empty. The base counts the rows the filter accepts; a
  // set whose records are all at hand may count its whole list instead.
  virtual int RecNo();
  virtual void SetRecNo(int recNo);
  void FetchAll();

  // ---- editing
  void Edit();
  void Insert();
  void Append();
  void Post();
  void Cancel();
  void Delete();
  // Posts a pending edit (refuses a closed set).
  void CheckBrowseMode() {
    if (state_ != DataSetState::Browse) LeaveEditing();
  }
  bool CanModify() const { return CanModifyImpl(); }
  bool Modified() const { return modified_; }
  bool ReadOnly = false;

  // ---- bookmarks
  Bookmark GetBookmark() const;
  void GotoBookmark(Bookmark b);
  bool BookmarkValid(Bookmark b) const;
  void FreeBookmark(Bookmark) {}
  static int CompareBookmarks(Bookmark a, Bookmark b);

  // ---- searching
  virtual bool Locate(const std::string& keyFields, const std::vector<Value>& values,
                      LocateOptions opts = {});
  bool Locate(const std::string& keyFields, const Value& value, LocateOptions opts = {}) {
    return Locate(keyFields, std::vector<Value>{value}, opts);
  }
  // Value of resultField in the first row whose key fields match.
  virtual Value Lookup(const std::string& keyFields, const std::vector<Value>& values,
                       const std::string& resultField);

  // ---- controls
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  // ---- filtering (by event only)
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool on);
  std::function<void(DataSet&, bool& accept)> OnFilterRecord;
  void SetOnFilterRecord(std::function<void(DataSet&, bool&)> fn);

  // ---- row access without moving the cursor (grids)
  // Count of rows fetched so far that the filter accepts.
  int VisibleCount();
  // Fetches until row `index` (0-based, visible) exists; false past the end.
  bool FetchTo(int index);
  // Record of visible row i (the pending edit buffer for the current row
  // while editing); nullptr outside the fetched rows.
  const Row* RowValues(int index);
  // The value of `f` in visible row `index` (a null one outside the rows or
  // where the set counts it null); valid until the rows change.
  const Value& RowValue(int index, const Field& f);
  // Visible index of the current row (-1 when empty).
  int CurrentRow();
  // Fields read visible row `index` until EndRowView, without moving the
  // cursor or raising events: a grid draws each row this way, so draw
  // handlers reading fields see the row being drawn. While the current row
  // is edited or inserted the other rows are viewed the same way; the
  // current row itself reads its edit buffer.
  bool BeginRowView(int index) {
    const bool ammesso = state_ == DataSetState::Browse || state_ == DataSetState::Edit ||
                         state_ == DataSetState::Insert;
    if (!ammesso || rowViewOn_) return false;
    const Row* vals = RowValues(index);
    if (!vals) return false;
    rowViewTemp_ = tempValues_;
    tempValues_ = const_cast<Row*>(vals);
    rowViewState_ = PushState(DataSetState::InternalCalc);
    rowViewOn_ = true;
    return true;
  }
  void EndRowView() {
    if (!rowViewOn_) return;
    rowViewOn_ = false;
    tempValues_ = rowViewTemp_;
    PopState(rowViewState_);
  }

  // ---- events
  Event BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  Event BeforeScroll, AfterScroll;
  Event BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  Event BeforePost, AfterPost, BeforeCancel, AfterCancel;
  Event BeforeDelete, AfterDelete, OnNewRecord, OnCalcFields;
  bool AutoCalcFields = true;

  // ---- plumbing used by fields and data sources
  // Values the fields read and write in the present state (nullptr when
  // there is no record to address).
  Row* ActiveValues() {
    // Browsing is the common case by far (every field read of a fetch
    // loop): it is answered here, the other states out of line.
    if (state_ == DataSetState::Browse)
      return cur_ >= 0 && cur_ < static_cast<int>(records_.size()) ? &records_[cur_].values
                                                                   : nullptr;
    return OtherActiveValues();
  }
  const Row* ActiveValues() const { return const_cast<DataSet*>(this)->ActiveValues(); }
  void SetFieldValue(Field& f, const Value& v);
  void NotifyDataEvent(DataEvent ev, Field* field = nullptr, int info = 0);
  void AddDataSource(DataSource* s);
  void RemoveDataSource(DataSource* s);
  void UpdateRecord();  // asks bound controls to write into the fields
  // Whether a stored value counts as null for the field. A set may count
  // a text or a blob as null (an empty one, say); a number, a date or a
  // truth value is null only when it holds none, and the reads of fields
  // and rows do not ask for those.
  virtual bool ValueIsNull(const Field& f, const Value& v) const { return v.IsNull(); }
  bool CountsAsNull(const Field& f, const Value& v) const {
    if (v.IsNull()) return true;
    const ValueKind k = v.Kind();
    return (k == ValueKind::Text || k == ValueKind::Blob) && ValueIsNull(f, v);
  }
  // Receives exceptions raised inside filter events, which must not break
  // navigation (the application's exception display).
  static std::function<void(const std::exception&)> HandleException;

 protected:
  // ---- hooks
  // Prepare the rows: fill FieldDefs (unless already known). Rows may be
  // added here through AddRow or later through FetchMore.
  virtual void InternalOpen() = 0;
  // Called after the fields are bound to their slots.
  virtual void InternalAfterBind() {}
  virtual void InternalClose() {}
  // Pull more rows; return false once the source is exhausted.
  virtual bool FetchMore() { return false; }
  // Write a posted row through. oldValues is null for an insert.
  virtual void InternalPost(Row& values, const Row* oldValues) {}
  virtual void InternalDelete(const Record& rec) {}
  virtual void InternalCancel() {}
  // Re-read rows for Refresh (default: close and open the source again).
  virtual void InternalRefresh();
  // Fill the default values of a new row.
  virtual void InternalInitRecord(Row& values) {}
  // Give auto-increment fields their values at the post of an insert.
  virtual void AssignAutoIncValues(Row& values) {}
  virtual std::int64_t NewRecordId() { return ++lastId_; }
  virtual bool CanModifyImpl() const { return !ReadOnly; }
  // Where Insert (not Append) puts the new row, as an index in records_.
  virtual int InsertPosition();
  // Where the cursor rests once the record at `index` has left Records():
  // an index of an accepted record, or -1 when none is left. The base
  // moves forward to the next accepted record, else back to the one before.
  virtual int PositionAfterDelete(int index);

  // ---- row storage
  RecordList& Records() { return records_; }
  const RecordList& Records() const { return records_; }
  // Index of the current record in Records() (-1 when none).
  int CurrentIndex() const { return cur_; }
  void SetCurrentIndex(int index);            // no events; clamps; fixes Bof/Eof
  Record& AddRow(std::vector<Value> values);  // appends, gives an id
  // A fetch fills a row of the store in place: NewRow gives one of null
  // values for every slot, AdoptRow appends it as AddRow does, DiscardRow
  // gives it back unused.
  Row NewRow() { return rows_.Allocate(static_cast<std::size_t>(slotCount_)); }
  Record& AdoptRow(Row row);
  void DiscardRow(Row row) { rows_.Release(row); }
  void ClearRows();  // drops every row, cursor before the first; FetchMore is asked again
  // Puts the records in the order of `order` (indexes into Records()),
  // their values moved into fresh storage in that order, so a later scan
  // reads memory forward. No cursor change, no notification.
  void PermuteRows(const std::vector<std::uint32_t>& order);
  int FindRecordIndex(std::int64_t id) const;
  std::int64_t lastId_ = 0;
  bool defaultFields_ = false;  // fields made from FieldDefs at Open
  // Computes calculated and lookup fields of the row at index.
  void CalculateRow(int index);
  bool HasCalcFields() const { return hasCalcFields_; }
  bool AcceptRecord(int index);
  void InvalidateVisible() { visibleValid_ = false; }
  void Resync();  // recompute after a change of rows; notifies
  void SetStateNotify(DataSetState s);
  DataSetState PushState(DataSetState s);
  void PopState(DataSetState s) { state_ = s; }

 private:
  Row* OtherActiveValues();
  void BindFields();
  void DoClose(bool events);
  // RecNo as the base counts it; Refresh and SetRecNo work in visible rows
  // whatever a subclass reports.
  int VisibleRecNo();
  void CheckActive() const {
    if (state_ == DataSetState::Inactive) RefuseClosed();
  }
  [[noreturn]] static void RefuseClosed();
  void LeaveEditing();
  bool FindNext(int from, int& found);  // next accepted raw index > from
  bool FindPrior(int from, int& found);
  void ScrollTo(int index, bool bof, bool eof);
  // Whether a filter applies: a set without a filter handler, filtered
  // or not, shows every row.
  bool Filtering() const { return filtered_ && OnFilterRecord; }
  void BuildVisible();
  int RawToVisible(int raw);
  // The index in records_ of visible row `index`, which must exist.
  int VisibleToRaw(int index) { return Filtering() ? visible_[index] : index; }
  void StartEditBuffer(std::vector<Value> values);
  // Stores posted values into a record's row.
  void StoreValues(Row& target, std::vector<Value>& values);
  // Drops every record and its values.
  void DropRecords();
  // Refuses a read-only set, then posts a pending edit.
  void PrepareModify();
  // Back to browsing after a post or a cancel.
  void EndEdit();
  void CheckRequired();
  void RefreshCurrentCalc() {
    if (hasCalcFields_ && cur_ >= 0) CalculateRow(cur_);
  }
  bool RowMatches(int index, const std::vector<Field*>& keys, const std::vector<Value>& values,
                  LocateOptions opts);

  DataSetState state_ = DataSetState::Inactive;
  std::vector<FieldDef> fieldDefs_;
  std::vector<std::unique_ptr<Field>> owned_;
  std::vector<Field*> fields_;
  RecordList records_;
  RowStore rows_;  // the values of records_
  int cur_ = -1;
  bool bof_ = true;
  bool eof_ = true;
  bool exhausted_ = true;
  bool hasCalcFields_ = false;
  // editing
  std::vector<Value> editBuffer_;
  Row editRow_;  // a view of editBuffer_
  bool modified_ = false;
  int insertedIndex_ = -1;  // row holding a pending insert
  int savedCur_ = -1;       // cursor before an insert
  // transient addressing for the filter / calc states
  Row* tempValues_ = nullptr;
  int slotCount_ = 0;
  DataSetState disabledState_ = DataSetState::Inactive;
  // filtering
  bool filtered_ = false;
  std::vector<int> visible_;
  bool visibleValid_ = false;
  // controls
  int disableCount_ = 0;
  bool pendingChange_ = false;
  std::vector<DataSource*> sources_;
  // row view of the grids (BeginRowView)
  bool rowViewOn_ = false;
  Row* rowViewTemp_ = nullptr;
  DataSetState rowViewState_ = DataSetState::Browse;
};

}  // namespace db
