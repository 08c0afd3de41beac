#pragma once
// A private Firebird server on loopback (Super mode, a free port) for tests
// that need a real "server:path" connection. It lives in a temp folder of
// its own: a firebird.conf, the embedded engine's plugins, character sets
// and messages linked in, a lock folder and a security database whose
// SYSDBA has the module's default password.
// The server runs as a child process, stopped and reaped with the object
// and killed with the test process. In Super mode it holds the files it
// opens exclusively: the test's embedded engine must have closed them first.
// Needs /usr/sbin/firebird and isql-fb; without them, or when the server
// does not come up, Running() is false and Reason() says why.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "context/dbopen.h"
#include "db/engine.h"

extern char** environ;

namespace velmaro::testing {

class FirebirdServer {
 public:
  static constexpr const char* kServerBinary = "/usr/sbin/firebird";

  FirebirdServer() { Start(); }
  ~FirebirdServer() {
    Stop();
    if (!folder_.empty()) {
      std::error_code ec;
      std::filesystem::remove_all(folder_, ec);
    }
  }
  FirebirdServer(const FirebirdServer&) = delete;
  FirebirdServer& operator=(const FirebirdServer&) = delete;

  bool Running() const { return pid_ > 0; }
  const std::string& Reason() const { return reason_; }
  pid_t Pid() const { return pid_; }
  // Firebird's host/port form of the server name.
  std::string Address() const { return "127.0.0.1/" + std::to_string(port_); }

  // Asks the server to end (SIGTERM), then kills it if it is still there
  // after a second; always reaps it. Firebird 3's server now and then lets
  // a SIGTERM go unheeded even with no connection left; killing it loses
  // nothing, as its databases are the test's own and its lock folder is
  // private.
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (!WaitExit(pid_, std::chrono::seconds(1))) {
      kill(pid_, SIGKILL);
      int status = 0;
      while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
      }
    }
    pid_ = -1;
  }

 private:
  using Clock = std::chrono::steady_clock;

  void Start() {
    if (access(kServerBinary, X_OK) != 0) {
      reason_ = std::string(kServerBinary) + " missing (firebird3.0-server is not installed)";
      return;
    }
    const std::string isql = FindIsql();
    if (isql.empty()) {
      reason_ = "isql-fb missing (firebird3.0-utils is not installed)";
      return;
    }
    const std::string engineDir = db::DefaultEngineConfigDir();
    std::string pattern =
        (std::filesystem::temp_directory_path() / "velmaro-fbsrv-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
      reason_ = "cannot make a temp folder for the server";
      return;
    }
    folder_ = pattern + "/";
    if (!LinkEngineFiles(engineDir)) return;
    std::error_code ec;
    if (!std::filesystem::create_directory(folder_ + "lock", ec)) {
      reason_ = "cannot make " + folder_ + "lock";
      return;
    }

    // A port can be taken between choosing and binding it: a few tries.
    for (int attempt = 0; attempt < 3; ++attempt) {
      port_ = FreePort();
      if (port_ <= 0) {
        reason_ = "no free port on 127.0.0.1";
        return;
      }
      if (!WriteConf()) return;
      if (attempt == 0 && !CreateSecurityDatabase(isql)) return;
      if (Launch()) return;
    }
  }

  static std::string FindIsql() {
    for (const char* dir : {"/usr/bin", "/usr/local/bin", "/opt/firebird/bin"}) {
      const std::string p = std::string(dir) + "/isql-fb";
      if (access(p.c_str(), X_OK) == 0) return p;
    }
    return "";
  }

  // The engine's plugins, character sets and messages, linked as in the
  // embedded engine's configuration folder.
  bool LinkEngineFiles(const std::string& engineDir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    bool plugins = false;
    for (const fs::directory_entry& e : fs::directory_iterator(engineDir, ec)) {
      if (!e.is_symlink(ec)) continue;
      const fs::path target = fs::read_symlink(e.path(), ec);
      if (ec) continue;
      fs::create_symlink(target, folder_ + e.path().filename().string(), ec);
      if (ec) {
        reason_ = "cannot link " + target.string() + " into " + folder_;
        return false;
      }
      if (e.path().filename() == "plugins") plugins = true;
    }
    if (!plugins) {
      reason_ = "no engine plugins linked in the engine configuration folder '" + engineDir + "'";
      return false;
    }
    return true;
  }

  static int FreePort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return -1;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = 0;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    int port = -1;
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
      port = ntohs(addr.sin_port);
    close(s);
    return port;
  }

  // True when something listens on 127.0.0.1:port, read from the kernel's
  // socket table rather than by connecting, so that the only connection the
  // server ever sees is the test's own.
  static bool Listening(int port) {
    std::ifstream tcp("/proc/net/tcp");
    char local[16];
    std::snprintf(local, sizeof local, "0100007F:%04X", static_cast<unsigned>(port));
    std::string line;
    std::getline(tcp, line);  // titles
    while (std::getline(tcp, line)) {
      std::istringstream fields(line);
      std::string slot, localAddress, remoteAddress, state;
      fields >> slot >> localAddress >> remoteAddress >> state;
      if (localAddress == local && state == "0A") return true;  // 0A: LISTEN
    }
    return false;
  }

  std::string SecurityDatabase() const { return folder_ + "security.fdb"; }

  bool WriteConf() {
    std::ofstream conf(folder_ + "firebird.conf", std::ios::trunc);
    conf << "ServerMode = Super\n"
         << "RemoteServicePort = " << port_ << "\n"
         << "RemoteBindAddress = 127.0.0.1\n"
         << "SecurityDatabase = " << SecurityDatabase() << "\n"
         << "AuthServer = Srp\n"
         << "UserManager = Srp\n"
         << "WireCrypt = Enabled\n"
         << "UdfAccess = None\n";
    if (!conf.flush()) {
      reason_ = "cannot write " + folder_ + "firebird.conf";
      return false;
    }
    return true;
  }

  // The environment of the children: this process's, with FIREBIRD naming
  // the server's folder and FIREBIRD_LOCK a lock folder inside it.
  std::vector<std::string> ChildEnvironment() const {
    std::vector<std::string> env;
    for (char** e = environ; e && *e; ++e)
      if (std::strncmp(*e, "FIREBIRD=", 9) != 0 && std::strncmp(*e, "FIREBIRD_LOCK=", 14) != 0)
        env.emplace_back(*e);
    env.push_back("FIREBIRD=" + folder_.substr(0, folder_.size() - 1));
    env.push_back("FIREBIRD_LOCK=" + folder_ + "lock");
    return env;
  }

  // Starts program with stdin from /dev/null and stdout and stderr into
  // logFile of the server's folder; the child is killed if this process dies.
  pid_t Spawn(const std::vector<std::string>& args, const std::string& logFile) const {
    const std::vector<std::string> env = ChildEnvironment();
    const std::string logPath = folder_ + logFile;
    std::vector<char*> argv, envp;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0) return pid;
    // Child: only async-signal-safe calls until exec.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    int in = open("/dev/null", O_RDONLY);
    int out = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    // Nothing of this process's engine (database files, lock and shared
    // memory files, sockets) may stay open in the child.
    if (close_range(3, ~0U, 0) != 0)
      for (int fd = 3; fd < 65536; ++fd) close(fd);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }

  // True when pid ended within the time (and was reaped).
  static bool WaitExit(pid_t pid, Clock::duration limit, int* status = nullptr) {
    const auto end = Clock::now() + limit;
    int st = 0;
    for (;;) {
      const pid_t r = waitpid(pid, &st, WNOHANG);
      if (r == pid || (r < 0 && errno == ECHILD)) {
        if (status) *status = st;
        return true;
      }
      if (Clock::now() >= end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  std::string Log(const std::string& file) const {
    std::ifstream in(folder_ + file);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text.empty() ? "(no output)" : text;
  }

  // The security database, made by isql-fb through the embedded engine with
  // the server's configuration, holding SYSDBA with the default password.
  bool CreateSecurityDatabase(const std::string& isql) {
    const std::string script = folder_ + "security.sql";
    {
      std::ofstream sql(script);
      sql << "CREATE DATABASE '" << SecurityDatabase() << "';\n"
          << "CREATE USER " << UtenteDatabaseDefault << " PASSWORD '" << PasswordDatabaseDefault
          << "' USING PLUGIN Srp;\n"
          << "COMMIT;\n";
      if (!sql.flush()) {
        reason_ = "cannot write " + script;
        return false;
      }
    }
    const pid_t pid =
        Spawn({isql, "-q", "-b", "-user", UtenteDatabaseDefault, "-i", script}, "isql.log");
    if (pid < 0) {
      reason_ = "cannot start isql-fb";
      return false;
    }
    int status = 0;
    if (!WaitExit(pid, std::chrono::seconds(20), &status)) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      reason_ = "isql-fb did not make the security database within 20 s";
      return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      reason_ = "isql-fb could not make the security database: " + Log("isql.log");
      return false;
    }
    return true;
  }

  // Starts the server and waits (at most 10 s) until it listens on its port.
  bool Launch() {
    pid_ = Spawn({kServerBinary}, "server.log");
    if (pid_ < 0) {
      pid_ = -1;
      reason_ = std::string("cannot start ") + kServerBinary;
      return false;
    }
    const auto end = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < end) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        reason_ = std::string(kServerBinary) + " ended at start on port " + std::to_string(port_) +
                  ": " + Log("server.log");
        return false;
      }
      if (Listening(port_)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    Stop();
    reason_ = std::string(kServerBinary) + " did not listen on 127.0.0.1:" + std::to_string(port_) +
              " within 10 s: " + Log("server.log");
    return false;
  }

  std::string folder_;  // ends in "/"
  std::string reason_;
  int port_ = -1;
  pid_t pid_ = -1;
};

}  // namespace velmaro::testing
