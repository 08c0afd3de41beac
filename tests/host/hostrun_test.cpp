// velmaro-host run, as a process: what it prints and how it ends.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/temp_folder.h"
#include "hostinit.h"

#ifndef VELMARO_HOST_EXE
#define VELMARO_HOST_EXE "velmaro-host"
#endif

namespace {

using velmaro::testing::TempFolder;

struct Outcome {
  int status = -1;
  std::string output;  // standard output and error together
};

// Runs the host with the given arguments.
Outcome Host(const std::string& args) {
  Outcome o;
  FILE* p = popen((std::string(VELMARO_HOST_EXE) + " " + args + " 2>&1").c_str(), "r");
  if (!p) return o;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) o.output.append(buf, n);
  int st = pclose(p);
  o.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return o;
}

class HostRun : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ostringstream out;
    host::InitHostFolder(dir_ / "h", host::SqlFolder("/nonexistent"), {true, false}, out);
  }
  Outcome Run(const std::string& script, const std::string& host = "h") {
    std::ofstream(dir_ / "script.vms") << script;
    return Host("run '" + dir_ / host + "' " + dir_ / "script.vms");
  }
  TempFolder dir_{"velmaro-host"};
};

TEST_F(HostRun, AFailedLineStopsTheScriptWithItsNumber) {
  // Fault: a bad line was skipped and the script went on, the error named the
  // wrong line, an unanswered box hung the host, or the exit status hid it.
  struct Case {
    const char *script, *error;
  };
  for (const Case& c :
       {Case{"call demo 1 5\n\n# comment\nclick DemoForm.Nothing\nwindows\n", "error: line 4: "},
        Case{"call demo 1 5\nclick DemoForm.ButtonDomanda\n", "error: line 2: nothing to answer"},
        // A box the module raises inside an export call counts the same.
        Case{"sql user UPDATE TABBRIVANE SET VALORE='/proc/velmaro/x/archivio.fdb' WHERE "
             "UTENTE='1'\n"
             "call ShowImpostazFormX 1 7\n",
             "error: line 2: nothing to answer"},
        Case{"answer OK\n", "error: line 1: nothing to answer"},
        Case{"windows\nfrobnicate now\n", "error: line 2: unknown command"},
        Case{"windows\ncall demo uno 5\n", "error: line 2: \"uno\" is not a number"},
        // Numbers beyond 32 bits were cut: 4294968297 became opening id 1001.
        Case{"call ShowImpostazFormX 2 4294968297\n",
             "error: line 1: \"4294968297\" is out of range"},
        Case{"call demo -2147483649 5\n", "error: line 1: \"-2147483649\" is out of range"},
        Case{"call demo 99999999999999999999 5\n",
             "error: line 1: \"99999999999999999999\" is out of range"},
        Case{"call demo 1 5\nkey DemoForm.EditNome F99999999999\n",
             "error: line 2: unknown key \"F99999999999\""},
        Case{"call ShowNothingX 1 5\n", "error: line 1: libVelmaro.so has no export"}}) {
    Outcome o = Run(c.script);
    EXPECT_EQ(o.status, 1) << c.script;
    EXPECT_NE(o.output.find(c.error), std::string::npos) << o.output;
    if (std::string(c.script).ends_with("windows\n")) {  // the line after the bad one never runs
      EXPECT_EQ(o.output.find("> windows"), std::string::npos) << o.output;
    }
  }
}

TEST_F(HostRun, UsageErrorsEndWithStatusTwo) {
  // Fault: a wrong command line or a taken folder was treated as a failed
  // script (status 1) or, worse, as success.
  EXPECT_EQ(Host("").status, 2);
  EXPECT_EQ(Host("fly " + dir_ / "h").status, 2);
  EXPECT_EQ(Host("run " + dir_ / "nohost").status, 2);
  EXPECT_EQ(Host("run " + dir_ / "h" + " " + dir_ / "missing.vms").status, 2);
  Outcome again = Host("init " + dir_ / "h");
  EXPECT_EQ(again.status, 2);
  EXPECT_NE(again.output.find("--force"), std::string::npos);
}

TEST_F(HostRun, AnAccentedHostFolderWorksEndToEnd) {
  // Fault: a database path holding any non-ASCII character refused by the
  // client ("Cannot transliterate character between character sets"): the
  // host folder could not be made, and the module could not open the
  // company database named by "Archivio"; or the host's log row of the
  // opening not written with its operator and company.
  const std::string name = "Contabilità ´Ωλ日本";
  std::ostringstream out;
  host::InitHostFolder(dir_ / name, host::SqlFolder("/nonexistent"), {true, false}, out);
  Outcome o =
      Run("call ShowImpostazFormX 2 1001\n"
          "sql user SELECT VALORE FROM TABBRIVANE WHERE PARAMETRO='Archivio' AND UTENTE='2'\n"
          "sql company SELECT COUNT(*) FROM FASCESC\n"
          "sql user SELECT IDFINESTRA, UTENTE, DITTA FROM VORLOLOGFUNZ\n"
          "close TLisFasImpostForm\n",
          name);
  EXPECT_EQ(o.status, 0) << o.output;
  EXPECT_NE(o.output.find("opened "), std::string::npos) << o.output;
  EXPECT_NE(o.output.find(name + "/dati/archivio.fdb"), std::string::npos) << o.output;
  EXPECT_EQ(o.output.find("[Error]"), std::string::npos) << o.output;
  EXPECT_EQ(o.output.find("Effettuata creazione"), std::string::npos) << o.output;
  EXPECT_EQ(o.output.find("\n0\n"), std::string::npos) << o.output;  // the demo bands are there
  EXPECT_NE(o.output.find("1001       | 2      | DEMO"), std::string::npos) << o.output;
}

}  // namespace
