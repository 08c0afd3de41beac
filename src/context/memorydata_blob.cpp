// Blob streams of the in-memory table.
#include <algorithm>
#include <cstring>

#include "context/memorydata.h"

namespace velmaro {

using db::DataSetState;
using db::DbError;
using db::Value;

std::unique_ptr<TRxMemoryData::TMemBlobStream> TRxMemoryData::CreateBlobStream(
    db::Field& field, BlobStreamMode mode) {
  return std::make_unique<TMemBlobStream>(field, mode);
}

TRxMemoryData::TMemBlobStream::TMemBlobStream(db::Field& field, BlobStreamMode mode)
    : field_(&field), table_(field.GetDataSet()), mode_(mode) {
  db::Row* values = table_->ActiveValues();
  if (!values || field.Slot() < 0 || field.Slot() >= static_cast<int>(values->size())) return;
  if (mode != BlobStreamMode::Read) {
    // Writing in browse state would change a stored record behind the
    // table's back, so it needs an edit whether or not the field changed.
    if (field.ReadOnly) throw DbError("Field '" + field.DisplayLabel() + "' cannot be modified");
    DataSetState s = table_->State();
    if (s != DataSetState::Edit && s != DataSetState::Insert)
      throw DbError("Dataset not in edit or insert mode");
    cached_ = true;
  }
  opened_ = true;
  if (mode == BlobStreamMode::Write) {
    (*values)[field.Slot()] = field.Coerce(Value::FromBlob(std::string()));
    modified_ = true;
  }
}

TRxMemoryData::TMemBlobStream::~TMemBlobStream() {
  if (!opened_ || !modified_) return;
  DataSetState s = table_->State();
  if (s != DataSetState::Edit && s != DataSetState::Insert) return;  // the edit is over
  try {
    // Marks the field changed and tells the controls, as a typed value does.
    db::Row* values = table_->ActiveValues();
    if (values) table_->SetFieldValue(*field_, (*values)[field_->Slot()]);
  } catch (const std::exception& e) {
    if (db::DataSet::HandleException) db::DataSet::HandleException(e);
  }
}

const db::Value* TRxMemoryData::TMemBlobStream::Data() const {
  if (!opened_) return nullptr;
  db::Row* values = table_->ActiveValues();
  if (!values) return nullptr;
  return &(*values)[field_->Slot()];
}

std::int64_t TRxMemoryData::TMemBlobStream::Size() const {
  const Value* v = Data();
  return v ? static_cast<std::int64_t>(v->Bytes().size()) : 0;
}

std::size_t TRxMemoryData::TMemBlobStream::Read(void* buffer, std::size_t count) {
  const Value* v = Data();
  if (!v) return 0;
  const std::string_view d = v->Bytes();
  if (position_ >= static_cast<std::int64_t>(d.size()) || position_ < 0) return 0;
  std::size_t n = std::min(count, d.size() - static_cast<std::size_t>(position_));
  std::memcpy(buffer, d.data() + position_, n);
  position_ += static_cast<std::int64_t>(n);
  return n;
}

std::size_t TRxMemoryData::TMemBlobStream::Write(const void* buffer, std::size_t count) {
  if (!opened_ || !cached_ || mode_ == BlobStreamMode::Read || position_ < 0) return 0;
  // A stream kept past Post or Cancel would otherwise write into a stored
  // record.
  DataSetState s = table_->State();
  if (s != DataSetState::Edit && s != DataSetState::Insert) return 0;
  db::Row* values = table_->ActiveValues();
  if (!values) return 0;
  Value& slot = (*values)[field_->Slot()];
  std::string bytes(slot.Bytes());
  auto pos = static_cast<std::size_t>(position_);
  if (bytes.size() < pos + count) bytes.resize(pos + count);
  std::memcpy(bytes.data() + pos, buffer, count);
  slot = field_->Coerce(Value::FromBlob(std::move(bytes)));
  position_ += static_cast<std::int64_t>(count);
  modified_ = true;
  return count;
}

std::int64_t TRxMemoryData::TMemBlobStream::Seek(std::int64_t offset, SeekOrigin origin) {
  switch (origin) {
    case SeekOrigin::Begin:
      position_ = offset;
      break;
    case SeekOrigin::Current:
      position_ += offset;
      break;
    case SeekOrigin::End:
      position_ = Size() + offset;
      break;
  }
  return position_;
}

}  // namespace velmaro
