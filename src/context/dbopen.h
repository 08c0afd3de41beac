#pragma once
// Opening (and, failing that, creating) a database by the rules of the
// "dati.ini" beside it: alias on a server, share path, UNC folder, and a
// server asked for once on the first run.
#include <string>

namespace db {
class Database;
}

namespace ui {
class Component;
}

namespace velmaro {

inline constexpr const char* NomeFileDatabaseDefault = "archivio.fdb";
inline constexpr const char* UtenteDatabaseDefault = "SYSDBA";
inline constexpr const char* PasswordDatabaseDefault = "pinecrane";

// True when the database is connected at return (opened or created).
// Folder ends in a delimiter; an empty file name means "archivio.fdb";
// empty user or password take the defaults. Owner owns the first-run dialog.
bool ApriCreaDatabase(db::Database& database, const std::string& cartella,
                      const std::string& nomeFile, const std::string& utente,
                      const std::string& password, ui::Component* owner);

// Sets login and database name and connects; creates the database when
// connecting fails. With a server the name is server + ":" + path, the
// path's first character replaced by a non-empty letter.
bool ImpostaLoginDatabase(db::Database& database, const std::string& percorso,
                          const std::string& server, const std::string& lettera,
                          const std::string& utente, const std::string& password,
                          ui::Component* owner);

// Server name and disk letter from "dati.ini" in the folder; asks the
// operator when the server name is missing and stores the answer.
std::string ChiediServerDatabase(std::string& server, std::string& lettera,
                                 const std::string& cartella, ui::Component* owner);

// Turns a UNC folder into a server connection path. True means the operator
// was warned and no connection is to be tried.
bool AvvisaCondivisioneNome(const std::string& cartella, const std::string& percorsoInRete,
                            std::string& percorso, bool& condivisioneConNome);

}  // namespace velmaro
