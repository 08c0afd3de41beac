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
  Outcome Run(const std::string& script) {
    std::ofstream(dir_ / "script.vms") << script;
    return Host("run " + dir_ / "h" + " " + dir_ / "script.vms");
  }
  TempFolder dir_{"velmaro-host"};
};

TEST_F(HostRun, PrintsWhatTheOperatorSees) {
  // Fault: a window, a grid row, a message box or a modal dialog missing from
  // the transcript, answers taken by the wrong box, or the host's log row of
  // the opening id not written before the window opened.
  Outcome o = Run(
      "# the operator's session\n"
      "call demo 2 100\n"
      "set DemoForm.EditNome \"Mario Rossi\"\n"
      "select DemoForm.GridClienti 2\n"
      "show\n"
      "click DemoForm.ButtonDomanda\n"
      "answer No\n"
      "answer OK\n"
      "click DemoForm.ButtonDialogo\n"
      "set DemoDialogForm.EditValore \"D'Amico\"\n"
      "key DemoDialogForm.EditValore Enter\n"
      "answer OK\n"
      "click DemoForm.ButtonDialogo\n"
      "click DemoDialogForm.ButtonAnnulla\n"
      "sql user SELECT IDFINESTRA, UTENTE, DITTA FROM VORLOLOGFUNZ\n"
      "close DemoForm\n"
      "windows\n");
  EXPECT_EQ(o.status, 0) << o.output;
  const std::string& s = o.output;
  EXPECT_NE(s.find("TDemoForm \"Demo - Utente: D'Amico\""), std::string::npos) << s;
  EXPECT_NE(s.find("TEdit EditNome = \"Mario Rossi\""), std::string::npos) << s;
  EXPECT_NE(s.find("> | 000102 | Ferramenta D'Angelo & Figli S.n.c."), std::string::npos) << s;
  EXPECT_NE(s.find("[Confirmation] Confermare l'operazione? [Yes/No]\n> answer No\n"
                   "[Information] Operazione annullata [OK]"),
            std::string::npos) << s;
  EXPECT_NE(s.find("[modal window TDemoDialogForm \"Valore\"]"), std::string::npos) << s;
  EXPECT_NE(s.find("[Message] Valore: D'Amico [OK]"), std::string::npos) << s;
  // The dialog opened again is told again, and cancelling it shows nothing.
  EXPECT_NE(s.find("> click DemoForm.ButtonDialogo\n[modal window TDemoDialogForm \"Valore\"]\n"
                   "> click DemoDialogForm.ButtonAnnulla\n> sql"),
            std::string::npos) << s;
  EXPECT_NE(s.find("100        | 2      | DEMO"), std::string::npos) << s;
  EXPECT_EQ(s.substr(s.rfind("> windows\n")), "> windows\n") << s;  // nothing left open
}

TEST_F(HostRun, AFailedLineStopsTheScriptWithItsNumber) {
  // Fault: a bad line was skipped and the script went on, the error named the
  // wrong line, an unanswered box hung the host, or the exit status hid it.
  struct Case {
    const char *script, *error;
  };
  for (const Case& c : {
           Case{"call demo 1 5\n\n# comment\nclick DemoForm.Nothing\nwindows\n", "error: line 4: "},
           Case{"call demo 1 5\nclick DemoForm.ButtonDomanda\n", "error: line 2: nothing to answer"},
           // A box the module raises inside an export call counts the same.
           Case{"sql user UPDATE TABBRIVANE SET VALORE='/proc/velmaro/x/archivio.fdb' WHERE UTENTE='1'\n"
                "call ShowImpostazFormX 1 7\n",
                "error: line 2: nothing to answer"},
           Case{"answer OK\n", "error: line 1: nothing to answer"},
           Case{"windows\nfrobnicate now\n", "error: line 2: unknown command"},
           Case{"windows\ncall demo uno 5\n", "error: line 2: \"uno\" is not a number"},
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

}  // namespace
