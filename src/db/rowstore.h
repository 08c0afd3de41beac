#pragma once
// Storage of buffered rows: the values of every row of a data set live in a
// few large blocks instead of one allocation per row, so fetching a row
// costs no call to the allocator, a long list is released in a few frees,
// and rows read one after the other sit one after the other in memory.
//
// Large blocks a data set lets go are kept for the next one (up to a
// limit) instead of going back to the allocator, which would hand their
// pages back to the system: a list fetched again soon after would then
// fault every page in anew.

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "db/value.h"

namespace db {

// The values of one row: a view of slots held elsewhere (a row store, or
// the vector of an edit buffer). Copying a Row copies the view, not the
// values.
class Row {
 public:
  Row() = default;
  Row(Value* data, std::size_t size) : data_(data), size_(static_cast<std::uint32_t>(size)) {}
  explicit Row(std::vector<Value>& values) : Row(values.data(), values.size()) {}

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  Value* data() const { return data_; }
  Value& operator[](std::size_t i) const { return data_[i]; }
  Value* begin() const { return data_; }
  Value* end() const { return data_ + size_; }

 private:
  Value* data_ = nullptr;
  std::uint32_t size_ = 0;
};

// Raw memory for large blocks: a kept block of exactly `bytes` when there
// is one, else a new one; Give keeps a block while the kept ones stay under
// their limit and frees it otherwise. Blocks below kLargeBlock are not kept.
namespace largeblocks {
constexpr std::size_t kLargeBlock = 64 * 1024;
void* Take(std::size_t bytes);
void Give(void* block, std::size_t bytes) noexcept;
// Frees every kept block; gives the bytes freed.
std::size_t ReleaseKept();
}  // namespace largeblocks

// An allocator whose large blocks go through the kept ones: for the lists
// that grow with the rows of a data set.
template <class T>
struct LargeBlockAllocator {
  using value_type = T;
  LargeBlockAllocator() = default;
  template <class U>
  LargeBlockAllocator(const LargeBlockAllocator<U>&) {}
  T* allocate(std::size_t n) { return static_cast<T*>(largeblocks::Take(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { largeblocks::Give(p, n * sizeof(T)); }
  template <class U>
  bool operator==(const LargeBlockAllocator<U>&) const {
    return true;
  }
};

class RowStore {
 public:
  RowStore() = default;
  RowStore(const RowStore&) = delete;
  RowStore& operator=(const RowStore&) = delete;
  ~RowStore() { Clear(); }

  // A row of `width` null values, valid until it is released or the store
  // is cleared.
  Row Allocate(std::size_t width);
  // The row's values become null and its slots serve a later row of the
  // same width.
  void Release(Row row);
  // A row of another width holding the first values of `row` (moved), which
  // is released; the row itself when the width is already that.
  Row Resize(Row row, std::size_t width);
  // Drops every row.
  void Clear();
  void Swap(RowStore& other) noexcept;

 private:
  struct Block {
    Value* values = nullptr;  // raw memory; the first `used` slots hold values
    std::size_t capacity = 0;
    std::size_t used = 0;
  };
  // Blocks grow with the store, within these bounds (in values).
  static constexpr std::size_t kFirstBlock = 64;
  static constexpr std::size_t kLargestBlock = 16384;

  void NewBlock(std::size_t width);

  std::vector<Block> blocks_;
  std::size_t total_ = 0;  // slots in every block
  std::vector<std::vector<Value*>> free_;  // released rows, by width
};

}  // namespace db
