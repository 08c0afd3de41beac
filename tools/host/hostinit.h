#pragma once
// Making a host folder: the databases and files the host program keeps and
// the module expects to find.

#include <ostream>
#include <stdexcept>
#include <string>

namespace host {

struct HostPaths {
  std::string root;          // absolute, ending in "/"
  std::string userDb;        // root + "user/user.fdb"
  std::string companyDb;     // root + "dati/archivio.fdb"
  std::string exceptionsDb;  // root + "dati/eccezioni.fdb"
  std::string icon;          // root + "Grafica/ZAREVUZI.ICO"
};
HostPaths PathsOf(const std::string& dir);

// The company of the host's two operators.
inline const char* const kCompany = "DEMO";

// Folder holding the schema and sample SQL files: "sql" beside the program
// when present, else the source tree's.
std::string SqlFolder(const std::string& programFolder);

struct InitOptions {
  bool demoData = false;
  bool force = false;
  // Folder of the sibling-library stand-ins; each is linked into the host
  // folder, where the module loads its siblings from. Empty: none.
  std::string siblingsFolder{};
};

// Thrown when the folder already holds a user database and force is off.
struct AlreadyInitialised : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Makes the host folder (see hostinit.cpp for its contents) and writes a
// summary (databases, tables, row counts) to `out`. Throws on failure.
void InitHostFolder(const std::string& dir, const std::string& sqlFolder,
                    const InitOptions& options, std::ostream& out);

}  // namespace host
