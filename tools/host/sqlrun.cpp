#include "sqlrun.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/transaction.h"
#include "filedump.h"
#include "sqlscript.h"
#include "ui/utf8.h"

namespace host {
namespace {

const char* const kUser = "SYSDBA";
const char* const kPassword = "pinecrane";

void Prepare(db::Database& d, const std::string& path) {
  if (d.Connected()) d.Close();
  d.DatabaseName = path;
  d.SQLDialect = 3;
  d.LoginPrompt = false;
}

bool ReturnsRows(const std::string& statement) {
  std::istringstream in(statement);
  std::string w;
  in >> w;
  std::transform(w.begin(), w.end(), w.begin(),
                 [](unsigned char c) { return char(std::toupper(c)); });
  return w == "SELECT" || w == "WITH";
}

}  // namespace

void CreateHostDatabase(db::Database& d, const std::string& path) {
  Prepare(d, path);
  d.Params = {std::string("USER \"") + kUser + "\"", std::string("PASSWORD \"") + kPassword + "\"",
              "PAGE_SIZE 4096"};
  d.CreateDatabase();
  // Later attachments of this object use the ordinary login lines.
  d.Params = {std::string("user_name=") + kUser, std::string("password=") + kPassword,
              "lc_ctype=UTF8"};
}

void OpenHostDatabase(db::Database& d, const std::string& path) {
  Prepare(d, path);
  d.Params = {std::string("user_name=") + kUser, std::string("password=") + kPassword,
              "lc_ctype=UTF8"};
  d.Open();
}

void RunSqlScript(db::Database& d, const std::string& script, const std::string& fileName) {
  auto statements = SplitSqlScript(script);
  db::Transaction tr(&d);
  db::Query q(&d, &tr);
  q.ParamCheck = false;  // ":NAME" in PSQL bodies are variables, not parameters
  for (const auto& s : statements) {
    try {
      if (IsCommit(s.text)) {
        if (tr.InTransaction()) tr.Commit();
        continue;
      }
      q.Close();
      q.SQL.SetText(s.text);
      q.ExecSQL();
      if (IsDefinition(s.text)) tr.Commit();
    } catch (const db::DbError& e) {
      throw std::runtime_error(fileName + ":" + std::to_string(s.line) + ": " + e.what());
    }
  }
  if (tr.InTransaction()) tr.Commit();
}

void RunSqlFile(db::Database& d, const std::string& path) {
  RunSqlScript(d, ReadWholeFile(path), path);
}

SqlResult RunSql(db::Database& d, const std::string& statement) {
  SqlResult r;
  db::Transaction tr(&d);
  db::Query q(&d, &tr);
  q.ParamCheck = false;
  q.SQL.SetText(statement);
  if (!ReturnsRows(statement)) {
    q.ExecSQL();
    r.rowsAffected = q.RowsAffected();
    tr.Commit();
    return r;
  }
  q.Open();
  for (db::Field* f : q.Fields()) r.columns.push_back(f->FieldName());
  for (q.First(); !q.Eof(); q.Next()) {
    std::vector<std::string> row;
    for (db::Field* f : q.Fields()) row.push_back(f->IsNull() ? "<null>" : f->AsString());
    r.rows.push_back(std::move(row));
  }
  q.Close();
  tr.Commit();
  return r;
}

std::vector<std::string> FormatSqlResult(const SqlResult& r) {
  if (r.columns.empty())
    return {r.rowsAffected >= 0 ? std::to_string(r.rowsAffected) + " row(s) affected" : "done"};
  // Columns are as wide as their widest text in characters, not bytes.
  std::vector<int> width;
  for (const auto& c : r.columns) width.push_back(ui::utf8::Length(c));
  for (const auto& row : r.rows)
    for (std::size_t i = 0; i < row.size(); ++i)
      width[i] = std::max(width[i], ui::utf8::Length(row[i]));
  auto line = [&](const std::vector<std::string>& cells) {
    std::string s;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i) s += " | ";
      s += cells[i];
      if (i + 1 < cells.size()) s.append(width[i] - ui::utf8::Length(cells[i]), ' ');
    }
    return s;
  };
  std::vector<std::string> out{line(r.columns)};
  std::string rule;
  for (std::size_t i = 0; i < width.size(); ++i)
    rule += (i ? "-+-" : "") + std::string(width[i], '-');
  out.push_back(rule);
  for (const auto& row : r.rows) out.push_back(line(row));
  out.push_back("(" + std::to_string(r.rows.size()) + " row(s))");
  return out;
}

std::vector<std::pair<std::string, long long>> TableRowCounts(db::Database& d) {
  SqlResult names =
      RunSql(d,
             "SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS "
             "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$VIEW_BLR IS NULL ORDER BY 1");
  std::vector<std::pair<std::string, long long>> out;
  for (const auto& row : names.rows) {
    SqlResult c = RunSql(d, "SELECT COUNT(*) FROM \"" + row[0] + "\"");
    out.emplace_back(row[0], std::stoll(c.rows.at(0).at(0)));
  }
  return out;
}

}  // namespace host
