// velmaro-host run, as a process: what it prints and how it ends.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
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

// Runs the host with the given arguments, in workDir when one is given.
Outcome Host(const std::string& args, const std::string& workDir = "") {
  Outcome o;
  const std::string cd = workDir.empty() ? "" : "cd '" + workDir + "' && ";
  FILE* p = popen((cd + VELMARO_HOST_EXE + " " + args + " 2>&1").c_str(), "r");
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
  Outcome Run(const std::string& script, const std::string& host = "h",
              const std::string& workDir = "") {
    std::ofstream(dir_ / "script.vms") << script;
    return Host("run '" + dir_ / host + "' " + dir_ / "script.vms", workDir);
  }
  TempFolder dir_{"velmaro-host"};
};

TEST_F(HostRun, PrintsWhatTheOperatorSees) {
  // Fault: a window, a grid row, a message box or a modal dialog missing from
  // the transcript, answers taken by the wrong box, or the host's log row of
  // the opening id not written before the window opened.
  Outcome o =
      Run("# the operator's session\n"
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
            std::string::npos)
      << s;
  EXPECT_NE(s.find("[modal window TDemoDialogForm \"Valore\"]"), std::string::npos) << s;
  EXPECT_NE(s.find("[Message] Valore: D'Amico [OK]"), std::string::npos) << s;
  // The dialog opened again is told again, and cancelling it shows nothing.
  EXPECT_NE(s.find("> click DemoForm.ButtonDialogo\n[modal window TDemoDialogForm \"Valore\"]\n"
                   "> click DemoDialogForm.ButtonAnnulla\n> sql"),
            std::string::npos)
      << s;
  EXPECT_NE(s.find("100        | 2      | DEMO"), std::string::npos) << s;
  EXPECT_EQ(s.substr(s.rfind("> windows\n")), "> windows\n") << s;  // nothing left open
}

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

// Every entry under a folder, recursively (not into the root's folders).
std::set<std::string> Entries(const std::filesystem::path& folder, bool recursive = true) {
  std::set<std::string> out;
  std::error_code ec;
  if (!recursive) {
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
      out.insert(e.path().string());
    return out;
  }
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder, ec))
    out.insert(e.path().string());
  return out;
}

TEST_F(HostRun, AnAccentedHostFolderWorksEndToEnd) {
  // Fault: a database path holding any non-ASCII character refused by the
  // client ("Cannot transliterate character between character sets"): the
  // host folder could not be made, and the module could not open the
  // company database named by "Archivio".
  const std::string name = "Contabilità ´Ωλ日本";
  std::ostringstream out;
  host::InitHostFolder(dir_ / name, host::SqlFolder("/nonexistent"), {true, false}, out);
  Outcome o =
      Run("call ShowImpostazFormX 2 1001\n"
          "sql user SELECT VALORE FROM TABBRIVANE WHERE PARAMETRO='Archivio' AND UTENTE='2'\n"
          "sql company SELECT COUNT(*) FROM FASCESC\n"
          "close TLisFasImpostForm\n",
          name);
  EXPECT_EQ(o.status, 0) << o.output;
  EXPECT_NE(o.output.find("opened "), std::string::npos) << o.output;
  EXPECT_NE(o.output.find(name + "/dati/archivio.fdb"), std::string::npos) << o.output;
  EXPECT_EQ(o.output.find("[Error]"), std::string::npos) << o.output;
  EXPECT_EQ(o.output.find("Effettuata creazione"), std::string::npos) << o.output;
  EXPECT_EQ(o.output.find("\n0\n"), std::string::npos) << o.output;  // the demo bands are there
}

TEST_F(HostRun, ADatabaseOnAnUnreachableServerLeavesNoFileAnywhere) {
  // Fault: the share path \\nohost\dati\archivio.fdb taken for a local
  // file: created in the working folder, "Effettuata creazione data base"
  // shown, and the window run on an empty archive.
  const std::filesystem::path company = dir_ / "ditta", work = dir_ / "lavoro";
  std::filesystem::create_directories(company);
  std::filesystem::create_directories(work);
  std::ofstream(company / "dati.ini")
      << "[CONFIG]\r\nNome Server=nohost\r\nPercorsoDatabase=dati\r\n";
  const std::set<std::string> before = Entries(dir_.Path()), rootBefore = Entries("/", false);

  Outcome o = Run("sql user UPDATE TABBRIVANE SET VALORE='" + (company / "archivio.fdb").string() +
                      "' WHERE PARAMETRO='Archivio'\n"
                      "call ShowImpostazFormX 2 7\n"
                      "answer OK\n"
                      "answer OK\n"
                      "windows\n",
                  "h", work.string());
  EXPECT_EQ(o.status, 0) << o.output;
  EXPECT_NE(o.output.find("> call ShowImpostazFormX 2 7\n[Error] Errore apertura archivio [OK]"),
            std::string::npos)
      << o.output;
  EXPECT_EQ(o.output.find("Effettuata creazione"), std::string::npos) << o.output;
  EXPECT_EQ(o.output.substr(o.output.rfind("> windows\n")), "> windows\n") << o.output;
  std::set<std::string> after = Entries(dir_.Path());
  after.erase((dir_ / "script.vms"));
  EXPECT_EQ(after, before);  // host folder, company folder, working folder
  EXPECT_EQ(Entries("/", false), rootBefore);
}

}  // namespace
