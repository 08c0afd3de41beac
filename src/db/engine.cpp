#include "db/engine.h"

#include <ibase.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "db/fb.h"

#ifndef VELMARO_FIREBIRD_CONF_DIR
#define VELMARO_FIREBIRD_CONF_DIR ""
#endif

namespace db {
namespace {

std::mutex g_mutex;
// Written once under g_mutex; read without it once set.
std::atomic<Firebird::IMaster*> g_master{nullptr};

bool HasConf(const std::string& dir) {
  struct stat st {};
  return !dir.empty() && stat((dir + "/firebird.conf").c_str(), &st) == 0;
}

}  // namespace

std::string DefaultEngineConfigDir() { return VELMARO_FIREBIRD_CONF_DIR; }

bool ConfigureEngine(const std::string& confDir) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_master || !HasConf(confDir)) return false;
  // Without FIREBIRD the client reads the installation's firebird.conf,
  // whose Super mode would keep a second process off every database.
  return setenv("FIREBIRD", confDir.c_str(), 0) == 0 && std::getenv("FIREBIRD") == confDir;
}

namespace fb {

Firebird::IMaster* Master() {
  if (Firebird::IMaster* m = g_master.load(std::memory_order_acquire)) return m;
  std::lock_guard<std::mutex> lock(g_mutex);
  if (!g_master.load(std::memory_order_relaxed)) {
    if (!std::getenv("FIREBIRD") && HasConf(VELMARO_FIREBIRD_CONF_DIR))
      setenv("FIREBIRD", VELMARO_FIREBIRD_CONF_DIR, 0);
    g_master.store(Firebird::fb_get_master_interface(), std::memory_order_release);
  }
  return g_master.load(std::memory_order_relaxed);
}

Firebird::IStatus* ThreadStatus() {
  // Disposed of when the thread ends (the main thread's at exit, before
  // the client library's own statics go).
  thread_local struct Holder {
    Firebird::IStatus* status = nullptr;
    ~Holder() {
      if (status) status->dispose();
    }
  } holder;
  if (!holder.status) holder.status = Master()->getStatus();
  return holder.status;
}

Firebird::IUtil* Util() { return Master()->getUtilInterface(); }

DbError ToDbError(const Firebird::FbException& e, const std::string& context) {
  const ISC_STATUS* vec = e.getStatus()->getErrors();
  std::vector<std::int64_t> codes;
  for (const ISC_STATUS* p = vec; p && *p != isc_arg_end;) {
    ISC_STATUS type = p[0];
    if (type == isc_arg_gds) codes.push_back(p[1]);
    p += (type == isc_arg_cstring) ? 3 : 2;
  }
  char buf[2048];
  Util()->formatStatus(buf, sizeof(buf), e.getStatus());
  std::string msg = buf;
  while (!msg.empty() && (msg.back() == '\n' || msg.back() == ' ')) msg.pop_back();
  if (!context.empty()) msg = context + ": " + msg;
  int sqlCode = static_cast<int>(isc_sqlcode(vec));
  return DbError(msg, std::move(codes), sqlCode);
}

}  // namespace fb
}  // namespace db
