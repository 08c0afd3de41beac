#include "hostrun.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/transaction.h"
#include "demoform.h"
#include "filedump.h"
#include "hostinit.h"
#include "platform/hostfolder.h"
#include "platform/library.h"
#include "script.h"
#include "sqlrun.h"
#include "ui/application.h"
#include "ui/dbgrid.h"
#include "ui/dialogs.h"
#include "ui/driver.h"
#include "ui/form.h"

namespace host {
namespace {

using ExportFn = int (*)(int, int);

// A failed script line: the runner prints it with its line number.
struct LineError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

long long Number(const std::string& text) {
  size_t used = 0;
  long long n = 0;
  try {
    n = std::stoll(text, &used);
  } catch (const std::out_of_range&) {
    throw LineError("\"" + text + "\" is out of range");
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size()) throw LineError("\"" + text + "\" is not a number");
  return n;
}

// User numbers, opening ids and rows are 32-bit integers, as the exports
// take them: a larger number would be cut and name another row.
int Number32(const std::string& text) {
  const long long n = Number(text);
  if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
    throw LineError("\"" + text + "\" is out of range (-2147483648 to 2147483647)");
  return static_cast<int>(n);
}

// Writes through to the runner's output and keeps what the last command
// printed, for the checks of "expect" and "reject".
class TeeBuf : public std::streambuf {
 public:
  explicit TeeBuf(std::ostream& out) : out_(out) {}
  std::string recent;

 protected:
  int overflow(int c) override {
    if (c == traits_type::eof()) return 0;
    recent.push_back(char(c));
    out_.put(char(c));
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    recent.append(s, size_t(n));
    out_.write(s, n);
    return n;
  }
  int sync() override {
    out_.flush();
    return 0;
  }

 private:
  std::ostream& out_;
};

// The lines of a script, CR LF or LF; at most `most` of them (0: all).
std::vector<std::string> ReadLines(std::istream& in, size_t most = 0) {
  std::vector<std::string> lines;
  for (std::string l; (most == 0 || lines.size() < most) && std::getline(in, l);) {
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
  }
  return lines;
}

class ScriptRunner {
 public:
  ScriptRunner(const HostPaths& paths, plat::Library& module, std::vector<std::string> lines,
               std::ostream& out, std::ostream& err)
      : paths_(paths),
        module_(module),
        lines_(std::move(lines)),
        tee_(out),
        out_(&tee_),
        err_(err) {
    ui::App().OnMessageShown = [this](const ui::MessageBoxInfo& box) {
      out_ << ui::DescribeMessageBox(box) << "\n";
    };
    // A modal loop waiting for the operator takes the script's next line.
    driver_.SetSource([this](ui::Driver&) {
      AnnounceModal();
      return !failed_ && RunNextLine();
    });
  }

  ~ScriptRunner() {
    ui::App().OnMessageShown = nullptr;
    // Every window goes while the library that made it is still loaded.
    // Freeing one window may free others (a window frees the context
    // object of its call), so the list is read afresh each time.
    while (!ui::App().Forms().empty()) ui::Free(ui::App().Forms().back());
    ui::App().ProcessMessages();
  }

  int Run() {
    while (!failed_ && RunNextLine()) {
    }
    return failed_ ? 1 : 0;
  }

  // Lines of standard input are read one at a time, as the script needs
  // them, and what each printed is flushed first: a harness can drive the
  // runner line by line and read its answers.
  std::istream* input = nullptr;

 private:
  bool HaveLine() {
    if (next_ < lines_.size()) return true;
    if (!input) return false;
    out_.flush();
    std::vector<std::string> more = ReadLines(*input, 1);
    if (more.empty()) return false;
    lines_.push_back(std::move(more.front()));
    return true;
  }

  // Runs the next command line; false when none is left.
  bool RunNextLine() {
    while (HaveLine()) {
      int number = int(next_) + 1;
      std::string line = lines_[next_++];
      std::vector<std::string> words;
      try {
        words = SplitScriptLine(line);
        if (words.empty() || words[0][0] == '#') continue;
        if (words[0] == "expect" || words[0] == "reject") {
          Check(words);
          continue;
        }
        tee_.recent.clear();
        out_ << "> " << RestOfLine(line, 0) << "\n";
        Execute(words, line);
        // A later dialog may live where this one did: tell it again.
        if (ui::App().ModalStack().empty()) announced_ = nullptr;
      } catch (const std::exception& e) {
        Fail(number, e.what());
      }
      return true;
    }
    return false;
  }

  // A modal window or dialog now waiting for the operator is told once;
  // message boxes are told as they appear.
  void AnnounceModal() {
    const auto& stack = ui::App().ModalStack();
    if (stack.empty() || stack.back().box) return;
    const void* top = stack.back().form ? static_cast<const void*>(stack.back().form)
                                        : static_cast<const void*>(stack.back().dialog);
    if (top == announced_) return;
    announced_ = top;
    out_ << "[" << driver_.Pending() << "]\n";
  }

  void Fail(int number, const std::string& what) {
    if (failed_) return;  // the first failure is the one to tell
    failed_ = true;
    out_.flush();
    err_ << "error: line " << number << ": " << what << "\n";
  }

  // "expect <text>": what the last command printed holds the text;
  // "reject <text>": it does not. Checks print nothing when they hold.
  void Check(const std::vector<std::string>& w) {
    Need(w, 2, 2, "expect|reject <text>");
    bool found = tee_.recent.find(w[1]) != std::string::npos;
    if (w[0] == "expect" && !found)
      throw LineError("expected \"" + w[1] + "\" in what the last command printed");
    if (w[0] == "reject" && found)
      throw LineError("did not expect \"" + w[1] + "\" in what the last command printed");
  }

  void Need(const std::vector<std::string>& w, size_t min, size_t max, const char* usage) {
    if (w.size() < min || w.size() > max) throw LineError(std::string("usage: ") + usage);
  }

  void Execute(const std::vector<std::string>& w, const std::string& line) {
    const std::string& c = w[0];
    if (c == "call") return Call(w);
    if (c == "windows") return Print(driver_.ListWindows());
    if (c == "show") {
      Need(w, 1, 2, "show [<window>]");
      return Print(driver_.Render(w.size() == 2 ? w[1] : ActiveWindow()));
    }
    if (c == "set") {
      Need(w, 3, 3, "set <path> <text>");
      return driver_.Type(w[1], w[2]);
    }
    if (c == "click") {
      Need(w, 2, 2, "click <path>");
      return driver_.Click(w[1]);
    }
    if (c == "dblclick") return DblClick(w);
    if (c == "select") return Select(w);
    if (c == "key") return Key(w);
    if (c == "popup") {
      Need(w, 3, 3, "popup <path> <caption>");
      return driver_.PopupClick(w[1], w[2]);
    }
    if (c == "answer") return Answer(w);
    if (c == "wait") {
      Need(w, 2, 2, "wait <ms>");
      return driver_.Wait(Number(w[1]));
    }
    if (c == "close") {
      Need(w, 2, 2, "close <window>");
      return driver_.CloseWindow(w[1]);
    }
    if (c == "sql") return Sql(w, line);
    if (c == "file") return File(w);
    throw LineError("unknown command \"" + c + "\"");
  }

  void Print(const std::string& text) {
    out_ << text;
    if (!text.empty() && text.back() != '\n') out_ << "\n";
  }

  std::string ActiveWindow() const {
    ui::Form* f = ui::App().ActiveForm();
    if (!f) {
      auto windows = ui::App().Windows();
      if (windows.empty()) throw LineError("no window is open");
      f = windows.front();
    }
    return std::to_string(f->Handle());
  }

  // As the host does: the log row of the opening id first, then the export.
  void Call(const std::vector<std::string>& w) {
    Need(w, 4, 4, "call <export> <user> <opening-id>");
    int user = Number32(w[2]);
    int opening = Number32(w[3]);
    ExportFn fn = nullptr;
    if (w[1] != "demo") {
      fn = module_.Function<ExportFn>(w[1]);
      if (!fn) throw LineError("libVelmaro.so has no export \"" + w[1] + "\"");
    }
    LogOpening(user, opening, w[1]);
    std::set<ui::Form*> before(ui::App().Forms().begin(), ui::App().Forms().end());
    driver_.Enqueue([&](ui::Driver&) {
      if (fn) {
        fn(user, opening);
        return;
      }
      auto* form = new TDemoForm(paths_.companyDb, OperatorName(user), user);
      form->Show();
    });
    ui::App().HandleMessage();
    for (ui::Form* f : ui::App().Windows())
      if (!before.count(f))
        out_ << "opened " << f->Handle() << " " << f->ClassName() << " \"" << f->Caption()
             << "\"\n";
    // A box or dialog the script left unanswered during the call.
    auto errors = ui::App().TakeErrors();
    if (!errors.empty()) throw LineError(errors.front());
  }

  void LogOpening(int user, int opening, const std::string& function) {
    db::Database d;
    OpenHostDatabase(d, paths_.userDb);
    db::Transaction tr(&d);
    db::Query q(&d, &tr);
    q.SQL.SetText(
        "UPDATE OR INSERT INTO VORLOLOGFUNZ (IDFINESTRA, UTENTE, DITTA, FUNZIONE, DATAORA, "
        "HANDLEFINESTRA) "
        "VALUES (:ID, :UTENTE, (SELECT DITTA FROM UTENTI WHERE CODICE = :CODICE), :FUNZIONE, "
        "CURRENT_TIMESTAMP, NULL) MATCHING (IDFINESTRA)");
    q.ParamByName("ID").SetAsString(std::to_string(opening));
    q.ParamByName("UTENTE").SetAsInteger(user);
    q.ParamByName("CODICE").SetAsInteger(user);
    q.ParamByName("FUNZIONE").SetAsString(function);
    q.ExecSQL();
    tr.Commit();
  }

  std::string OperatorName(int user) {
    db::Database d;
    OpenHostDatabase(d, paths_.userDb);
    auto r = RunSql(d, "SELECT NOMEUTENTE FROM UTENTI WHERE CODICE = " + std::to_string(user));
    return r.rows.empty() ? std::string() : r.rows[0][0];
  }

  ui::DBGrid* GridAt(const std::string& path) {
    return dynamic_cast<ui::DBGrid*>(&driver_.Find(path));
  }

  void DblClick(const std::vector<std::string>& w) {
    if (w.size() == 4 && w[2] == "title") return driver_.DblClickTitle(w[1], w[3]);
    // With Ctrl held: a title joins the grid's sort keys.
    if (w.size() == 5 && w[2] == "title" && w[4] == "ctrl")
      return driver_.DblClickTitle(w[1], w[3], ui::ssCtrl);
    Need(w, 2, 2, "dblclick <path> [title <column> [ctrl]]");
    driver_.DblClick(w[1]);
  }

  void Select(const std::vector<std::string>& w) {
    if (w.size() == 4 && w[2] == "column") return driver_.SelectColumn(w[1], w[3]);
    Need(w, 3, 3, "select <path> <row-or-text> | select <grid> column <title>");
    bool number = !w[2].empty() && w[2].find_first_not_of("0123456789") == std::string::npos;
    if (number && GridAt(w[1])) return driver_.SelectRow(w[1], Number32(w[2]));
    driver_.Select(w[1], w[2]);
  }

  void Key(const std::vector<std::string>& w) {
    Need(w, 3, 4, "key <path> <key> [ctrl|shift]");
    ui::Word key = KeyCode(w[2]);
    if (!key)
      throw LineError("unknown key \"" + w[2] +
                      "\" (F1 to F12, Enter, Escape, Tab, a letter, ...)");
    ui::ShiftState shift = 0;
    if (w.size() == 4) {
      if (w[3] == "ctrl")
        shift = ui::ssCtrl;
      else if (w[3] == "shift")
        shift = ui::ssShift;
      else
        throw LineError("unknown shift \"" + w[3] + "\" (ctrl or shift)");
    }
    driver_.PressKey(w[1], key, shift);
  }

  void Answer(const std::vector<std::string>& w) {
    Need(w, 2, 3, "answer <OK|Cancel|Yes|No> [<file>]");
    std::string pending = driver_.Pending();
    if (pending.empty()) throw LineError("nothing to answer");
    if (w.size() == 3) return driver_.AnswerFile(w[2]);
    driver_.Answer(w[1]);
  }

  void Sql(const std::vector<std::string>& w, const std::string& line) {
    if (w.size() < 3 || (w[1] != "user" && w[1] != "company"))
      throw LineError("usage: sql <user|company> <statement>");
    db::Database d;
    OpenHostDatabase(d, w[1] == "user" ? paths_.userDb : paths_.companyDb);
    for (const auto& l : FormatSqlResult(RunSql(d, RestOfLine(line, 2)))) out_ << l << "\n";
  }

  // "file <path> [<lines>|<expected>]": the path is taken in the host
  // folder, the expected file beside the script, when relative.
  void File(const std::vector<std::string>& w) {
    Need(w, 2, 3, "file <path> [<lines>|<expected-file>]");
    namespace fs = std::filesystem;
    const fs::path path = fs::path(paths_.root) / w[1];
    const std::string bytes = ReadWholeFile(path.string());
    const bool lines = w.size() == 3 && w[2].find_first_not_of("0123456789") == std::string::npos;
    out_ << ReadableBytes(bytes, lines ? int(Number(w[2])) : 0);
    if (w.size() < 3 || lines) return;
    const fs::path expected = fs::path(scriptFolder) / w[2];
    const std::size_t at = FirstDifference(bytes, ReadWholeFile(expected.string()));
    if (at != std::string::npos)
      throw LineError(w[1] + " differs from " + w[2] + " at byte " + std::to_string(at));
    out_ << "(same as " << w[2] << ")\n";
  }

 public:
  std::string scriptFolder;  // where the script was read from; "" for standard input

 private:
  const HostPaths& paths_;
  plat::Library& module_;
  std::vector<std::string> lines_;
  TeeBuf tee_;
  std::ostream out_;
  std::ostream& err_;
  ui::Driver driver_;
  size_t next_ = 0;
  const void* announced_ = nullptr;
  bool failed_ = false;
};

}  // namespace

int RunHost(const std::string& dir, const std::string& scriptPath, const std::string& programFolder,
            std::ostream& out, std::ostream& err) {
  HostPaths paths = PathsOf(dir);
  if (!std::filesystem::exists(paths.userDb)) {
    err << "velmaro-host: " << dir << " is no host folder (no user/user.fdb; run init first)\n";
    return 2;
  }
  std::vector<std::string> lines;
  if (!scriptPath.empty()) {
    std::ifstream f(scriptPath);
    if (!f) {
      err << "velmaro-host: cannot read " << scriptPath << "\n";
      return 2;
    }
    lines = ReadLines(f);
  }
  plat::SetHostFolderOverride(paths.root);
  plat::Library module = plat::Library::Load(programFolder + "/libVelmaro.so");
  if (!module) {
    err << "velmaro-host: cannot load libVelmaro.so: " << module.Error() << "\n";
    return 1;
  }
  ScriptRunner runner(paths, module, std::move(lines), out, err);
  if (scriptPath.empty())
    runner.input = &std::cin;
  else
    runner.scriptFolder = std::filesystem::absolute(scriptPath).parent_path().string();
  return runner.Run();
}

}  // namespace host
