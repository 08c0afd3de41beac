#pragma once
// The silent exception: a handler that refuses an operation (an insert, a
// close) without telling the operator throws it; the application's
// exception display shows nothing for it.
#include <exception>

namespace plat {

class AbortError : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

[[noreturn]] inline void Abort() { throw AbortError(); }

}  // namespace plat
