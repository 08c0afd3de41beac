#pragma once
// Running SQL script files and single statements on a database of the host.

#include <string>
#include <vector>

namespace db {
class Database;
}

namespace host {

// Runs every statement of the script in one transaction; a definition is
// committed at once (later statements see it) and "COMMIT;" commits. The
// transaction is committed at the end. Throws std::runtime_error naming the
// file and line of a failing statement.
void RunSqlScript(db::Database& database, const std::string& script, const std::string& fileName);
void RunSqlFile(db::Database& database, const std::string& path);

// A statement's result as text: column titles, then rows (NULL as "<null>").
struct SqlResult {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
  long long rowsAffected = -1;  // statements that return no rows
};
// Runs one statement in a transaction of its own and commits it.
SqlResult RunSql(db::Database& database, const std::string& statement);
// Lines of a result laid out in columns, for printing.
std::vector<std::string> FormatSqlResult(const SqlResult& result);

// The user tables of a database and their row counts, in name order.
std::vector<std::pair<std::string, long long>> TableRowCounts(db::Database& database);

// Creates (overwriting nothing: the file must not exist) or opens a database
// of the host: embedded, UTF8, page size 4096, dialect 3.
void CreateHostDatabase(db::Database& database, const std::string& path);
void OpenHostDatabase(db::Database& database, const std::string& path);

}  // namespace host
