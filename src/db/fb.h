#pragma once
// Internal: the Firebird client as the data-access layer uses it. Only
// src/db/*.cpp include this header.

#include <firebird/Interface.h>

#include <string>
#include <utility>

#include "db/error.h"

namespace db::fb {

using Status = Firebird::ThrowStatusWrapper;

// The master interface; sets up the engine's configuration first.
Firebird::IMaster* Master();
Firebird::IUtil* Util();

// The calling thread's status object, shared by its calls (Call clears what
// each leaves in it). Getting a new one from the master interface and
// disposing of it for each call cost as much as fetching a row.
Firebird::IStatus* ThreadStatus();

// The engine's error as a DbError (message formatted by the engine).
DbError ToDbError(const Firebird::FbException& e, const std::string& context = std::string());

// Runs f with a throwing status over `raw`; Firebird errors come out as
// DbError.
template <class F>
auto CallWith(Firebird::IStatus* raw, F&& f) -> decltype(f(std::declval<Status&>())) {
  Status status(raw);
  // The wrapper shows nothing of the status until the call writes to it;
  // what the call wrote (an error, or warnings) is cleared as it ends, so
  // the next call starts clean without a call into the client each time.
  struct Clear {
    Status& status;
    Firebird::IStatus* raw;
    ~Clear() {
      if (status.isDirty()) raw->init();
    }
  } clear{status, raw};
  try {
    return f(status);
  } catch (const Firebird::FbException& e) {
    throw ToDbError(e);
  }
}

// The same with the calling thread's status.
template <class F>
auto Call(F&& f) -> decltype(f(std::declval<Status&>())) {
  return CallWith(ThreadStatus(), std::forward<F>(f));
}

// Ends an interface through a call that releases it when it succeeds
// (free, close, detach). The handle is cleared first; after a failure the
// interface is still ours, so it is released here before the error goes on.
template <class T, class F>
void EndOrRelease(T*& handle, F&& end) {
  T* h = std::exchange(handle, nullptr);
  if (!h) return;
  try {
    Call([&](Status& st) { end(h, st); });
  } catch (const DbError&) {
    h->release();
    throw;
  }
}

// Releases an interface on scope exit unless taken.
template <class T>
class Ref {
 public:
  Ref() = default;
  explicit Ref(T* p) : p_(p) {}
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  Ref& operator=(Ref&& o) noexcept {
    reset(std::exchange(o.p_, nullptr));
    return *this;
  }
  ~Ref() { reset(); }
  void reset(T* p = nullptr) {
    if (p_) {
      if constexpr (requires(T * q) { q->release(); })
        p_->release();
      else
        p_->dispose();
    }
    p_ = p;
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T* take() { return std::exchange(p_, nullptr); }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// Days between the engine's date origin (17/11/1858) and 30/12/1899.
constexpr int kDateOffset = 15018;
constexpr double kTimeUnitsPerDay = 864000000.0;  // 1/10000 s

}  // namespace db::fb
