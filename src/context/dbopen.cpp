#include "context/dbopen.h"

#include "context/qelin.h"
#include "db/database.h"
#include "db/error.h"
#include "platform/hostfolder.h"
#include "platform/ini.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/make.h"

namespace velmaro {

namespace {

const char* const kFileIni = "dati.ini";
const char* const kSezione = "CONFIG";

const char* const kMsgCreazione = "Effettuata creazione data base";
const char* const kMsgPercorsoRete =
    "Errore: nonostante le configurazioni, il particolare percorso di rete sta rendendo "
    "impossibile l'attivazione del database";
const char* const kMsgNonRiuscita = "Apertura / creazione del database non riuscita!";
const char* const kMsgNonTrovato = "Non trovato dati.ini";

std::string LeggiConfig(const std::string& fileIni, const char* chiave) {
  return plat::ReadString(fileIni, kSezione, chiave, "");
}

void Avviso(const std::string& testo) { ui::App().ShowMessage(testo); }

// A database name in Windows network form, \\server\share\file, names a
// file on that server: the client here reaches it as server:share/file.
// Handed over as it stands, the embedded engine would take it for a local
// file in the working folder and create it there. The server ends at the
// first backslash, so a "Nome Server" in the client's host/port form
// (srv/3051) keeps its port; a name written //server/share/file ends its
// server at the first slash. False when the name holds no server or no
// path: such a name reaches nothing.
bool NomeDelServer(const std::string& nome, std::string& perIlClient) {
  const std::string resto = nome.substr(2);
  const size_t barra = resto.find(nome[0] == '/' ? '/' : '\\');
  if (barra == 0 || barra == std::string::npos || barra + 1 >= resto.size()) return false;
  perIlClient = resto.substr(0, barra) + ":" + plat::NativePath(resto.substr(barra + 1));
  return true;
}

}  // namespace

bool AvvisaCondivisioneNome(const std::string& cartella, const std::string& percorsoInRete,
                            std::string& percorso, bool& condivisioneConNome) {
  std::string resto = cartella.size() > 2 ? cartella.substr(2) : std::string();
  auto taglio = [](const std::string& s) {
    for (size_t i = 0; i < s.size(); ++i)
      if (plat::IsPathDelimiter(s[i])) return i;
    return std::string::npos;
  };
  size_t p = taglio(resto);
  const std::string server = resto.substr(0, p);
  resto = p == std::string::npos ? std::string() : resto.substr(p + 1);
  const std::string condivisione = resto.substr(0, taglio(resto));

  if (condivisione.size() <= 1) {
    // The server's disk shared under its own letter: \\srv\D\dati\ is srv:D:\dati\.
    percorso = server + ":" + resto;
    size_t barra = taglio(percorso);
    if (barra != std::string::npos) percorso.insert(barra, ":");
    return false;
  }
  condivisioneConNome = true;
  if (!percorsoInRete.empty()) {
    percorso = server + ":" + percorsoInRete;
    return false;
  }
  Avviso("Attenzione: il disco con gli archivi è stato condiviso in rete con un nome - " +
         condivisione +
         " - e non con la lettera che lo identifica. Si consiglia di correggere la "
         "condivisione oppure di correggere manualmente la sezione Percorso Nel Server nel "
         "file Dati.ini accanto al database");
  return true;
}

bool ImpostaLoginDatabase(db::Database& database, const std::string& percorso,
                          const std::string& server, const std::string& lettera,
                          const std::string& utente, const std::string& password,
                          ui::Component* /*owner*/) {
  const std::string nomeUtente = utente.empty() ? UtenteDatabaseDefault : utente;
  const std::string parola = password.empty() ? PasswordDatabaseDefault : password;

  database.SetConnected(false);
  database.LoginPrompt = false;
  database.Params.clear();
  database.Params.push_back("user_name=" + nomeUtente);
  database.Params.push_back("password=" + parola);

  std::string nome = percorso;
  if (!server.empty()) {
    if (!lettera.empty() && !nome.empty()) nome.replace(0, 1, lettera);
    nome = server + ":" + nome;
  }
  if (plat::IsNetworkName(nome) && !NomeDelServer(nome, nome)) return false;
  database.DatabaseName = nome;
  try {
    database.SetConnected(true);
    return true;
  } catch (const std::exception&) {
    // Any failure to connect (missing file, server down, wrong password)
    // leads to an attempt to create the database at the same place.
  }
  database.Params.clear();
  database.Params.push_back("USER \"" + nomeUtente + "\"");
  database.Params.push_back("PASSWORD \"" + parola + "\"");
  database.Params.push_back("PAGE_SIZE 4096");
  database.SQLDialect = 3;
  try {
    database.CreateDatabase();
  } catch (const std::exception&) {
    return false;
  }
  Avviso(kMsgCreazione);
  return true;
}

std::string ChiediServerDatabase(std::string& server, std::string& lettera,
                                 const std::string& cartella, ui::Component* owner) {
  const std::string fileIni = cartella + kFileIni;
  server = LeggiConfig(fileIni, "Nome Server");
  lettera = LeggiConfig(fileIni, "Lettera Disco Server");
  if (!server.empty()) return server;

  Avviso(kMsgNonTrovato);
  auto dialogo = ui::MakeOwned<TQelIn2Form>(owner);
  dialogo->SetCaption(kMsgNonTrovato);
  dialogo->Label1->SetCaption(
      "Inserire il nome del computer e la lettera della sua\r\n"
      "unità disco dove risulta ospitato (o sarà ospitato) il database");
  dialogo->Font.Name = "Arial";
  dialogo->Font.Size = 8;
  dialogo->Font.Style = 0;
  dialogo->Label1->SetTop(dialogo->Label1->Top() - 10);
  dialogo->Edit1->SetText("");
  dialogo->ShowModal();
  if (dialogo->Esito == 1) {
    server = dialogo->Edit1->Text();
    lettera = dialogo->Edit2->Text();
    try {
      plat::WriteString(fileIni, kSezione, "Nome Server", server);
      if (!lettera.empty()) plat::WriteString(fileIni, kSezione, "Lettera Disco Server", lettera);
    } catch (const plat::IniError&) {
      // An unwritable folder only means the question comes back next time.
    }
  }
  return server;
}

bool ApriCreaDatabase(db::Database& database, const std::string& cartella,
                      const std::string& nomeFile, const std::string& utente,
                      const std::string& password, ui::Component* owner) {
  const std::string file = nomeFile.empty() ? NomeFileDatabaseDefault : nomeFile;
  bool risultato = false;
  std::string percorso = cartella;
  bool condivisioneConNome = false;
  bool rinuncia = false;

  const std::string fileIni = cartella + kFileIni;
  std::string server = LeggiConfig(fileIni, "Nome Server");
  const std::string alias = LeggiConfig(fileIni, "Alias");

  if (!server.empty() && !alias.empty()) {
    if (ImpostaLoginDatabase(database, server + ":" + alias, "", "", utente, password, owner))
      return true;
  }

  const std::string percorsoDatabase = LeggiConfig(fileIni, "PercorsoDatabase");
  if (!percorsoDatabase.empty()) {
    percorso = "\\\\" + server + "\\" + percorsoDatabase;
    if (!plat::IsPathDelimiter(percorso.back())) percorso += "\\";
    return ImpostaLoginDatabase(database, percorso + file, "", "", utente, password, owner);
  }

  if (cartella.find("\\\\") != std::string::npos) {
    const std::string percorsoInRete = LeggiConfig(fileIni, "Percorso Nel Server");
    rinuncia = AvvisaCondivisioneNome(cartella, percorsoInRete, percorso, condivisioneConNome);
  }
  if (!rinuncia)
    risultato = ImpostaLoginDatabase(database, percorso + file, "", "", utente, password, owner);
  if (!rinuncia && condivisioneConNome && !risultato) {
    rinuncia = true;
    Avviso(kMsgPercorsoRete);
  }
  if (!risultato && !rinuncia) {
    std::string lettera;
    ChiediServerDatabase(server, lettera, cartella, owner);
    if (!server.empty())
      risultato =
          ImpostaLoginDatabase(database, percorso + file, server, lettera, utente, password, owner);
    else
      Avviso(kMsgNonRiuscita);
  }
  return risultato;
}

}  // namespace velmaro
