#pragma once
// The one error type of the data-access layer.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace db {

class DbError : public std::runtime_error {
 public:
  explicit DbError(const std::string& message) : std::runtime_error(message) {}
  DbError(const std::string& message, std::vector<std::int64_t> codes, int sqlCode = 0)
      : std::runtime_error(message), codes_(std::move(codes)), sqlCode_(sqlCode) {}

  // The engine's status-vector codes (gds codes), first one first; empty
  // for errors raised by the data sets themselves.
  const std::vector<std::int64_t>& Codes() const { return codes_; }
  std::int64_t Code() const { return codes_.empty() ? 0 : codes_.front(); }
  bool HasCode(std::int64_t code) const;
  int SqlCode() const { return sqlCode_; }

  // lock_conflict, deadlock, concurrent_transaction or update_conflict.
  bool IsLockConflict() const;

  static constexpr std::int64_t kDeadlock = 335544336;
  static constexpr std::int64_t kLockConflict = 335544345;
  static constexpr std::int64_t kUpdateConflict = 335544451;
  static constexpr std::int64_t kConcurrentTransaction = 335544878;

 private:
  std::vector<std::int64_t> codes_;
  int sqlCode_ = 0;
};

}  // namespace db
