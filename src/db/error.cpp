#include "db/error.h"

#include <algorithm>

namespace db {

bool DbError::HasCode(std::int64_t code) const {
  return std::find(codes_.begin(), codes_.end(), code) != codes_.end();
}

bool DbError::IsLockConflict() const {
  return HasCode(kLockConflict) || HasCode(kDeadlock) || HasCode(kConcurrentTransaction) ||
         HasCode(kUpdateConflict);
}

}  // namespace db
