#pragma once
// A throw-away host folder (the working folder while it lives) with the
// host's user and company databases, and an Operator answering modal loops.
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "context/launch.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "platform/hostfolder.h"
#include "ui/application.h"
#include "ui/form.h"

namespace velmaro::testing {

inline const char* const kNull = "<null>";

class HostFolder {
 public:
  HostFolder() : temp_("velmaro-ctx"), folder_(temp_.Path()) {
    oldCwd_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_);
    plat::SetHostFolderOverride(folder_);
  }
  // The folder itself goes with temp_, after the working folder is back.
  ~HostFolder() {
    plat::ClearHostFolderOverride();
    std::error_code ec;
    std::filesystem::current_path(oldCwd_, ec);
  }
  HostFolder(const HostFolder&) = delete;
  HostFolder& operator=(const HostFolder&) = delete;

  const std::string& Folder() const { return folder_; }  // ends in "/"
  std::string UserDatabasePath() const { return folder_ + "user/user.fdb"; }
  std::string CompanyDatabasePath() const { return folder_ + "ditta/archivio.fdb"; }

  // An empty database at path (its folder made as needed).
  static void CreateDatabase(const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    db::Database d;
    d.DatabaseName = path;
    d.Params = {"USER \"SYSDBA\"", "PASSWORD \"masterkey\"", "PAGE_SIZE 4096"};
    d.CreateDatabase();
  }

  // The user database with the tables of the host's own schema file.
  void CreateUserDatabase() {
    CreateDatabase(UserDatabasePath());
    ExecAll(UserDatabasePath(), SchemaStatements(VELMARO_SQL_DIR "user_schema.sql"));
  }

  // The statements of a schema file of plain statements: "--" comments
  // dropped, each statement ended by ";".
  static std::vector<std::string> SchemaStatements(const std::string& file) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot read " + file);
    std::vector<std::string> statements;
    std::string line, statement;
    while (std::getline(in, line)) {
      line = line.substr(0, line.find("--"));
      for (char c : line) {
        if (c != ';') {
          statement += c;
          continue;
        }
        statements.push_back(statement);
        statement.clear();
      }
      statement += ' ';
    }
    return statements;
  }

  void CreateCompanyDatabase() {
    CreateDatabase(CompanyDatabasePath());
    ExecAll(CompanyDatabasePath(),
            {"CREATE TABLE TABX (CODICE INTEGER NOT NULL PRIMARY KEY, CODPROGETTO INTEGER,"
             " CODSITUAZIONE INTEGER, TIPO VARCHAR(10), NOME VARCHAR(64), NUMERO BIGINT,"
             " TESTO VARCHAR(128), DATA DATE, MEMO BLOB SUB_TYPE TEXT, LIVELLO1 SMALLINT,"
             " LIVELLO2 SMALLINT, UTENTE INTEGER)",
             "CREATE GENERATOR CODICETABXCOUNTER"});
  }

  void AddUser(int code, const std::string& name, const std::string& password,
               const std::string& company, int profile = 0) {
    Exec(UserDatabasePath(),
         "INSERT INTO UTENTI (CODICE, NOMEUTENTE, PWDUTENTE, DITTA, PROFILOSICUREZZA) VALUES (" +
             std::to_string(code) + ", " + Quote(name) + ", " + Quote(password) + ", " +
             Quote(company) + ", " + std::to_string(profile) + ")");
  }

  void AddParameter(int user, const std::string& section, const std::string& name,
                    const std::string& value, int progressive) {
    Exec(UserDatabasePath(),
         "INSERT INTO TABBRIVANE (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) VALUES ('" +
             std::to_string(user) + "', " + Quote(section) + ", " + Quote(name) + ", " +
             Quote(value) + ", " + std::to_string(progressive) + ")");
  }

  // A statement kept as lines, as one text.
  static std::string Joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& line : lines) s += line + "\n";
    return s;
  }

  static std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
  }

  static void Exec(const std::string& path, const std::string& sql) { ExecAll(path, {sql}); }

  static void Attach(db::Database& d, const std::string& path) {
    d.DatabaseName = path;
    d.Params = {"user_name=SYSDBA", "password=masterkey"};
    d.Open();
  }

  static void ExecAll(const std::string& path, const std::vector<std::string>& statements) {
    db::Database d;
    Attach(d, path);
    db::Transaction t(&d);
    for (const std::string& sql : statements) {
      t.StartTransaction();
      db::Query q(&d, &t);
      q.SQL.Add(sql);
      q.ExecSQL();
      t.Commit();
    }
  }

  // Every row of a select as texts; NULL reads as kNull.
  static std::vector<std::vector<std::string>> Rows(const std::string& path,
                                                    const std::string& sql) {
    db::Database d;
    Attach(d, path);
    db::Transaction t(&d);
    db::Query q(&d, &t);
    q.SQL.Add(sql);
    q.Open();
    std::vector<std::vector<std::string>> rows;
    for (q.First(); !q.Eof(); q.Next()) {
      std::vector<std::string> row;
      for (db::Field* f : q.Fields()) row.push_back(f->IsNull() ? kNull : f->AsString());
      rows.push_back(std::move(row));
    }
    return rows;
  }

  static std::string Scalar(const std::string& path, const std::string& sql) {
    const auto rows = Rows(path, sql);
    return rows.empty() || rows[0].empty() ? std::string() : rows[0][0];
  }

 private:
  TempFolder temp_;
  std::string folder_;
  std::filesystem::path oldCwd_;
};

// A host folder with the company database and its operator 1 "Rossi" of
// "Ditta Uno". Context() gives an operator's context object connected to
// the company database, in its holder; the objects go with the folder.
class Company : public HostFolder {
 public:
  Company() {
    CreateUserDatabase();
    AddUser(1, "Rossi", "", "Ditta Uno");
    CreateCompanyDatabase();
  }
  ~Company() {
    for (auto& cell : cells_) ui::Free(cell->Oggetto());
  }
  CellaTabX* Context(int user = 1) {
    cells_.push_back(std::make_unique<CellaTabX>(new TTabXForm(nullptr, 0)));
    cells_.back()->Riferimento().SetUserPerNum(user);
    cells_.back()->Riferimento().ConnettiDatabase0(CompanyDatabasePath());
    return cells_.back().get();
  }

 private:
  std::vector<std::unique_ptr<CellaTabX>> cells_;
};

// Answers each message box with the next of the answers given, then with OK
// (Yes when it has no OK); a modal form takes the next queued action, and
// with none left it is closed as by its close box.
class Operator {
 public:
  using FormAction = std::function<void(ui::Form&)>;

  explicit Operator(std::deque<int> answers = {}) : answers_(std::move(answers)) {
    ui::App().ClearMessages();
    ui::App().TakeErrors();
    previous_ = ui::App().SetInputSource([this] { return Act(); });
  }
  ~Operator() { ui::App().SetInputSource(std::move(previous_)); }
  Operator(const Operator&) = delete;
  Operator& operator=(const Operator&) = delete;

  void Then(FormAction action) { actions_.push_back(std::move(action)); }

  // Texts of the boxes shown since this operator sat down.
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& m : ui::App().Messages()) out.push_back(m.Text);
    return out;
  }
  std::vector<std::string> FormsSeen() const { return formsSeen_; }

 private:
  bool Act() {
    const auto& stack = ui::App().ModalStack();
    if (stack.empty()) return false;
    const ui::ModalEntry& top = stack.back();
    if (top.box) {
      const int buttons = top.box->Buttons;
      top.box->Result = !answers_.empty()       ? answers_.front()
                        : (buttons & ui::mbOK)  ? ui::mrOk
                        : (buttons & ui::mbYes) ? ui::mrYes
                                                : ui::mrCancel;
      if (!answers_.empty()) answers_.pop_front();
      return true;
    }
    if (!top.form) return false;
    if (top.form != lastForm_) formsSeen_.push_back(top.form->ClassName());
    lastForm_ = top.form;
    if (actions_.empty()) {
      top.form->Close();
    } else {
      FormAction action = std::move(actions_.front());
      actions_.pop_front();
      action(*top.form);
    }
    return true;
  }

  std::deque<int> answers_;
  std::deque<FormAction> actions_;
  std::vector<std::string> formsSeen_;
  const ui::Form* lastForm_ = nullptr;
  ui::Application::InputSource previous_;
};

// Records the name of every attach or create attempt while it lives.
class AttemptLog {
 public:
  struct Attempt {
    std::string name;
    bool create;
  };
  AttemptLog() {
    db::Database::OnAttachAttempt = [this](const std::string& name, bool create) {
      attempts_.push_back({name, create});
    };
  }
  ~AttemptLog() { db::Database::OnAttachAttempt = nullptr; }
  AttemptLog(const AttemptLog&) = delete;
  AttemptLog& operator=(const AttemptLog&) = delete;

  const std::vector<Attempt>& Attempts() const { return attempts_; }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const auto& a : attempts_) out.push_back(a.name);
    return out;
  }
  void Clear() { attempts_.clear(); }

 private:
  std::vector<Attempt> attempts_;
};

}  // namespace velmaro::testing
