#include "hostinit.h"

#include <filesystem>
#include <stdexcept>

#include "../siblings/tressil_archivio.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/tabellegriglia.h"
#include "icon.h"
#include "sqlrun.h"

#ifndef VELMARO_SOURCE_SQL_DIR
#define VELMARO_SOURCE_SQL_DIR "sql"
#endif

namespace fs = std::filesystem;

namespace host {
namespace {

struct Operator {
  int number;
  const char* name;
  const char* password;
  int profile;
};

// The host's operators of company "DEMO".
const Operator kOperators[] = {
    {1, "admin", "admin", 0},
    {2, "D'Amico", "damico", 1},
};

void Exec(db::Database& d, db::Transaction& tr, const std::string& sql,
          const std::vector<std::pair<std::string, db::Value>>& params) {
  db::Query q(&d, &tr);
  q.SQL.SetText(sql);
  for (const auto& [name, value] : params) q.ParamByName(name).SetValue(value);
  q.ExecSQL();
}

// The grid's layout, positions and settings tables, as the host's
// installation creates them: a window may set up its grids before any
// record search has had the chance to.
void CreateGridTables(db::Database& d) {
  db::Transaction tr(&d);
  tr.StartTransaction();
  for (const auto* statement :
       {&velmaro::kCreaSTOASP1, &velmaro::kCreaSTOPOS1, &velmaro::kCreaSETGRID}) {
    db::Query q(&d, &tr);
    q.SQL.Assign(*statement);
    q.ExecSQL();
  }
  tr.Commit();
}

// Operators, each with the parameter "Archivio" of company DEMO in
// TABBRIVANE and its packed copy in UTENTI.BRIVANE.
void AddOperators(db::Database& d, const HostPaths& p) {
  db::Transaction tr(&d);
  for (const Operator& op : kOperators) {
    std::string packed = std::string("[") + kCompany + "]\nArchivio=" + p.companyDb + "\n";
    Exec(d, tr,
         "INSERT INTO UTENTI (CODICE, NOMEUTENTE, PWDUTENTE, DITTA, PROFILOSICUREZZA, BRIVANE) "
         "VALUES (:CODICE, :NOME, :PWD, :DITTA, :PROFILO, :BRIVANE)",
         {{"CODICE", db::Value(std::int64_t(op.number))},
          {"NOME", db::Value(std::string(op.name))},
          {"PWD", db::Value(std::string(op.password))},
          {"DITTA", db::Value(std::string(kCompany))},
          {"PROFILO", db::Value(std::int64_t(op.profile))},
          {"BRIVANE", db::Value(packed)}});
    Exec(d, tr,
         "INSERT INTO TABBRIVANE (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) "
         "VALUES (:UTENTE, :DITTA, 'Archivio', :VALORE, 1)",
         {{"UTENTE", db::Value(std::to_string(op.number))},
          {"DITTA", db::Value(std::string(kCompany))},
          {"VALORE", db::Value(p.companyDb)}});
  }
  tr.Commit();
}

// The settings window and the exceptions import find the exceptions
// database through the shared stored value "ImpDirEccDB".
void SetExceptionsPath(db::Database& d, const HostPaths& p) {
  db::Transaction tr(&d);
  Exec(d, tr,
       "INSERT INTO TABX (CODICE, TIPO, NOME, TESTO) "
       "VALUES (GEN_ID(CODICETABXCOUNTER, 1), 'TBX', 'ImpDirEccDB', :PERCORSO)",
       {{"PERCORSO", db::Value(p.exceptionsDb)}});
  tr.Commit();
}

void RemoveIfForced(const std::string& path, bool force) {
  if (!fs::exists(path)) return;
  if (!force) throw AlreadyInitialised(path + " exists already (use --force to replace it)");
  fs::remove(path);
}

void Summarise(db::Database& d, const std::string& path, std::ostream& out) {
  out << path << "\n";
  for (const auto& [table, rows] : TableRowCounts(d)) out << "  " << table << ": " << rows << "\n";
}

void LinkSiblings(const std::string& from, const std::string& root, std::ostream& out) {
  std::error_code ec;
  if (from.empty() || !fs::is_directory(from, ec)) return;
  for (const auto& e : fs::directory_iterator(from, ec)) {
    if (e.path().extension() != ".dll") continue;
    const fs::path link = fs::path(root) / e.path().filename();
    fs::remove(link, ec);
    fs::create_symlink(fs::absolute(e.path()), link);
    out << link.string() << "\n";
  }
}

}  // namespace

HostPaths PathsOf(const std::string& dir) {
  HostPaths p;
  p.root = fs::weakly_canonical(fs::absolute(dir)).string();
  if (p.root.empty() || p.root.back() != '/') p.root += '/';
  p.userDb = p.root + "user/user.fdb";
  p.companyDb = p.root + "dati/archivio.fdb";
  p.exceptionsDb = p.root + "dati/eccezioni.fdb";
  p.icon = p.root + "Grafica/ZAREVUZI.ICO";
  return p;
}

std::string SqlFolder(const std::string& programFolder) {
  fs::path beside = fs::path(programFolder) / "sql";
  if (fs::exists(beside / "user_schema.sql")) return beside.string();
  return VELMARO_SOURCE_SQL_DIR;
}

void InitHostFolder(const std::string& dir, const std::string& sqlFolder,
                    const InitOptions& options, std::ostream& out) {
  HostPaths p = PathsOf(dir);
  // Only the user database decides whether the folder is taken: the other
  // files may be left over from an interrupted init.
  RemoveIfForced(p.userDb, options.force);
  RemoveIfForced(p.companyDb, true);
  RemoveIfForced(p.exceptionsDb, true);
  for (const char* sub : {"user", "dati", "Grafica"}) fs::create_directories(p.root + sub);

  auto sql = [&](const char* name) { return sqlFolder + "/" + name; };
  db::Database user, company, exceptions;
  CreateHostDatabase(user, p.userDb);
  RunSqlFile(user, sql("user_schema.sql"));
  AddOperators(user, p);

  CreateHostDatabase(company, p.companyDb);
  RunSqlFile(company, sql("company_schema.sql"));
  CreateGridTables(company);
  SetExceptionsPath(company, p);

  CreateHostDatabase(exceptions, p.exceptionsDb);
  RunSqlFile(exceptions, sql("exceptions_schema.sql"));

  if (options.demoData) {
    RunSqlFile(company, sql("demo_company.sql"));
    RunSqlFile(exceptions, sql("demo_exceptions.sql"));
  }
  if (!WriteIconFile(p.icon)) throw std::runtime_error("cannot write " + p.icon);
  LinkSiblings(options.siblingsFolder, p.root, out);
  // The second customer archive that the Tressil.dll stand-in keeps.
  siblings::tressil::ScriviArchivio(siblings::tressil::FileArchivio(p.root),
                                    siblings::tressil::ArchivioIniziale());

  Summarise(user, p.userDb, out);
  Summarise(company, p.companyDb, out);
  Summarise(exceptions, p.exceptionsDb, out);
  out << p.icon << "\n";
}

}  // namespace host
