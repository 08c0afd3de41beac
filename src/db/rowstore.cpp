#include "db/rowstore.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace db {

// ---------------------------------------------------------------- kept blocks

namespace largeblocks {
namespace {

constexpr std::size_t kMostKeptBytes = std::size_t{48} << 20;
constexpr std::size_t kMostKeptBlocks = 256;

struct Kept {
  std::mutex lock;
  std::vector<std::pair<std::size_t, void*>> blocks;
  std::size_t bytes = 0;
  Kept() { blocks.reserve(kMostKeptBlocks); }
};

Kept& TheKept() {
  // Never destroyed: a data set may still let its rows go while the
  // program ends.
  static Kept* kept = new Kept;
  return *kept;
}

}  // namespace

void* Take(std::size_t bytes) {
  if (bytes >= kLargeBlock) {
    Kept& kept = TheKept();
    std::lock_guard<std::mutex> hold(kept.lock);
    for (std::size_t i = kept.blocks.size(); i-- > 0;) {
      if (kept.blocks[i].first != bytes) continue;
      void* block = kept.blocks[i].second;
      kept.blocks.erase(kept.blocks.begin() + static_cast<std::ptrdiff_t>(i));
      kept.bytes -= bytes;
      return block;
    }
  }
  return ::operator new(bytes);
}

void Give(void* block, std::size_t bytes) noexcept {
  if (!block) return;
  if (bytes >= kLargeBlock) {
    Kept& kept = TheKept();
    std::lock_guard<std::mutex> hold(kept.lock);
    if (kept.bytes + bytes <= kMostKeptBytes && kept.blocks.size() < kMostKeptBlocks) {
      kept.blocks.emplace_back(bytes, block);  // within the reserved room: no allocation
      kept.bytes += bytes;
      return;
    }
  }
  ::operator delete(block);
}

std::size_t ReleaseKept() {
  std::vector<std::pair<std::size_t, void*>> blocks;
  blocks.reserve(kMostKeptBlocks);
  Kept& kept = TheKept();
  {
    std::lock_guard<std::mutex> hold(kept.lock);
    blocks.swap(kept.blocks);
    kept.bytes = 0;
  }
  std::size_t freed = 0;
  for (const auto& [bytes, block] : blocks) {
    ::operator delete(block);
    freed += bytes;
  }
  return freed;
}

}  // namespace largeblocks

// ---------------------------------------------------------------- rows

void RowStore::NewBlock(std::size_t width) {
  // Each block about doubles the store, so a long fetch makes few of them
  // and a data set of a handful of rows stays small.
  const std::size_t capacity = std::max(width, std::clamp(total_, kFirstBlock, kLargestBlock));
  blocks_.reserve(blocks_.size() + 1);
  Block b;
  b.values = static_cast<Value*>(largeblocks::Take(capacity * sizeof(Value)));
  b.capacity = capacity;
  total_ += capacity;
  blocks_.push_back(b);
}

Row RowStore::Allocate(std::size_t width) {
  if (width < free_.size() && !free_[width].empty()) {
    Value* p = free_[width].back();
    free_[width].pop_back();
    return Row(p, width);
  }
  if (width == 0) return Row();
  if (blocks_.empty() || blocks_.back().capacity - blocks_.back().used < width) NewBlock(width);
  Block& b = blocks_.back();
  Value* p = b.values + b.used;
  // The values come to life here, in the row about to be written.
  for (std::size_t i = 0; i < width; ++i) new (p + i) Value();
  b.used += width;
  return Row(p, width);
}

void RowStore::Release(Row row) {
  if (row.empty()) return;
  Value::ClearAll(row.data(), row.size());
  if (free_.size() <= row.size()) free_.resize(row.size() + 1);
  free_[row.size()].push_back(row.data());
}

Row RowStore::Resize(Row row, std::size_t width) {
  if (row.size() == width) return row;
  Row fresh = Allocate(width);
  std::move(row.begin(), row.begin() + std::min(width, row.size()), fresh.begin());
  Release(row);
  return fresh;
}

void RowStore::Clear() {
  for (Block& b : blocks_) {
    for (std::size_t i = 0; i < b.used; ++i) b.values[i].~Value();
    largeblocks::Give(b.values, b.capacity * sizeof(Value));
  }
  blocks_.clear();
  free_.clear();
  total_ = 0;
}

void RowStore::Swap(RowStore& other) noexcept {
  blocks_.swap(other.blocks_);
  free_.swap(other.free_);
  std::swap(total_, other.total_);
}

}  // namespace db
