// The query window opened from the grid's "Query" command: a modal window
// showing one table of the company database on a connection and a
// transaction of its own. The caller's data set and database stay as they
// were; everything the window made is freed when it closes.
#pragma once

#include <cstdint>
#include <string>

namespace db {
class Database;
class Table;
}  // namespace db

namespace velmaro {

// Opens the window for the table named by dataSet.TableName, copying
// database's name and parameters and dataSet's transaction parameters.
// An empty binDir or workDir is read from Brivane.ini (section `section`,
// keys "Directory bin" and "Directory di lavoro"; iniFile, when given, names
// another settings file). Errors (a table that
// cannot be opened) reach the caller.
void ShowIBLQueryForm(db::Table& dataSet, db::Database& database, const std::string& binDir,
                      const std::string& workDir, const std::string& section, std::uint8_t flag,
                      const std::string& iniFile);
// The same for operator userNumber (0: none), whose parameters the window
// takes from an operator context of its own.
void ShowIBLQueryForm(db::Table& dataSet, db::Database& database, const std::string& binDir,
                      const std::string& workDir, const std::string& section, std::uint8_t flag,
                      const std::string& iniFile, std::int32_t userNumber);

// Where Brivane.ini is kept: the host folder when it holds a folder
// "ini_log_err", else the Windows folder.
std::string PercorsoBrivaneIni();

}  // namespace velmaro
