#pragma once
// TRxMemoryData: a complete data set whose records live only in memory,
// with sorting, copying from another data set and blob streams.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "db/dataset.h"

namespace velmaro {

enum class BlobStreamMode : std::uint8_t { Read, Write, ReadWrite };
enum class SeekOrigin : std::uint8_t { Begin, Current, End };

class TRxMemoryData : public db::DataSet {
 public:
  // The last-ID counter starts here, so the first record gets -2147483647.
  static constexpr std::int64_t kNoRecordId = -2147483648LL;

  TRxMemoryData();
  ~TRxMemoryData() override;
  const char* ClassName() const override { return "TRxMemoryData"; }

  // Room reserved in the record list.
  int Capacity() const;
  void SetCapacity(int capacity);

  // Frees every record (a pending edit is posted first); nothing on a
  // closed table.
  void ClearRecords();
  void EmptyTable() { ClearRecords(); }

  // Replaces the fields with those described by the source's field
  // definitions (none: the fields are only freed). The table must be closed.
  void AssignStructure(db::DataSet* source);

  // Copies records of the source: mode 0 replaces the structure, mode 1
  // appends to the existing one. A count below 1 copies every record from
  // the first; otherwise at most that many from the source's current record.
  // Returns the number of records copied.
  int CopyFromDataSet(db::DataSet* source, int recordCount, int mode);

  // Copies the field values of the source's current record into the
  // destination's edit buffer, by field name or by definition position.
  static void CopyRecordFields(db::DataSet& source, db::DataSet& dest, bool byName);

  // Sorts the records by the ";"-separated data fields; equal keys keep
  // creation order and absent values sort below present ones, both
  // reversed when descending.
  void SortByFields(const std::string& fieldNames, bool caseInsensitive = false,
                    bool descending = false);
  bool IsIndexField(const db::Field& field) const;
  bool IsSequenced() const { return !Filtered(); }

  // Records in the list, whatever the filter.
  int RecordCount() override;
  // The cursor's 1-based place in the whole list, refused records counted
  // too; 1 while no record is current in a non-empty table, 0 when empty.
  int RecNo() override;
  // Moves to list position recNo (1 to RecordCount); other values are
  // ignored. A position the filter refuses gives way to the next accepted
  // record, else to the one before.
  void SetRecNo(int recNo) override;

  bool Locate(const std::string& keyFields, const std::vector<db::Value>& values,
              db::LocateOptions opts = {}) override;
  using db::DataSet::Locate;
  db::Value Lookup(const std::string& keyFields, const std::vector<db::Value>& values,
                   const std::string& resultField) override;

  bool ValueIsNull(const db::Field& f, const db::Value& v) const override;

  class TMemBlobStream;
  std::unique_ptr<TMemBlobStream> CreateBlobStream(db::Field& field, BlobStreamMode mode);

 protected:
  void InternalOpen() override;
  void InternalClose() override;
  void InternalDelete(const db::Record& rec) override;
  void InternalPost(db::Row& values, const db::Row* oldValues) override;
  void InternalInitRecord(db::Row& values) override;
  void InternalCancel() override;
  void AssignAutoIncValues(db::Row& values) override;
  std::int64_t NewRecordId() override;
  int PositionAfterDelete(int index) override;

 private:
  struct SortField {
    db::Field* field;
    int slot;
    db::FieldType type;
  };
  void BuildSortFieldList(const std::string& fieldNames);
  void SortRecords();
  void MoveToRecord(int index);
  // First record the filter accepts from index on, going forward or back;
  // -1 when there is none.
  int FirstAcceptedFrom(int index, bool forward);
  int FindMatch(const std::vector<db::Field*>& keys, const std::vector<db::Value>& values,
                db::LocateOptions opts, bool startWithCurrent);

  // Hashes of one key field's values, one per record, so that repeated
  // scans of an unchanged table read a compact array. Any change to the
  // records bumps the generation and makes it stale.
  struct LocateCache {
    db::Field* field = nullptr;
    bool caseInsensitive = false;
    std::uint64_t generation = 0;
    std::vector<std::uint64_t> hashes;
    // The scan before: hashes are built on the second scan of one field
    // between two changes, so a single Locate after a change costs no more
    // than a plain scan.
    db::Field* lastField = nullptr;
    bool lastCaseInsensitive = false;
    std::uint64_t lastGeneration = 0;
  };
  void Changed() { ++generation_; }
  const LocateCache* CacheFor(db::Field* field, bool caseInsensitive);

  std::uint64_t generation_ = 1;
  LocateCache cache_;
  std::int64_t autoInc_ = 1;
  std::vector<SortField> sortFields_;
  bool caseInsensitive_ = false;
  bool descending_ = false;
};

// A stream over one blob or memo field of the active record. Writing needs
// the table in edit or insert state and lands in the edit buffer; the field
// counts as changed once the stream is destroyed.
class TRxMemoryData::TMemBlobStream {
 public:
  TMemBlobStream(db::Field& field, BlobStreamMode mode);
  TMemBlobStream(const TMemBlobStream&) = delete;
  TMemBlobStream& operator=(const TMemBlobStream&) = delete;
  ~TMemBlobStream();

  std::size_t Read(void* buffer, std::size_t count);
  std::size_t Write(const void* buffer, std::size_t count);
  std::int64_t Seek(std::int64_t offset, SeekOrigin origin);
  std::int64_t Size() const;
  std::int64_t Position() const { return position_; }

 private:
  // The stored bytes of the field, or none while the stream is closed.
  const db::Value* Data() const;

  db::Field* field_;
  db::DataSet* table_;
  BlobStreamMode mode_;
  bool opened_ = false;
  bool modified_ = false;
  bool cached_ = false;
  std::int64_t position_ = 0;
};

// -1, 0 or 1 as value a sorts below, equal to or above value b for a field
// of the given type (both values present).
int CompareFieldValues(const db::Value& a, const db::Value& b, db::FieldType type,
                       bool caseInsensitive);

}  // namespace velmaro
