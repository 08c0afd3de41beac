#include "context/tabxform.h"

#include "context/dbopen.h"
#include "context/helpers.h"
#include "context/memorydata.h"
#include "context/tabxform_internal.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/transaction.h"
#include "platform/format.h"
#include "platform/hostfolder.h"
#include "ui/application.h"
#include "ui/make.h"

namespace velmaro {

namespace {

const char* const kTabScript[] = {
    "CREATE TABLE TABSCRIPT(",
    "PROGETTO VARCHAR(15) NOT NULL,",
    "SCRIPTFORM VARCHAR(15) NOT NULL,",
    "CONTESTO SMALLINT NOT NULL,",
    "UTENTE VARCHAR(15) NOT NULL,",
    "DESCRIZIONESITUAZIONE BLOB,",
    "SCRIPT BLOB,",
    "MODIFICATODAUTENTE SMALLINT,",
    "DATAULTIMAMODIFICA DATE,",
    "STATUS SMALLINT,",
    "CONSTRAINT QELTAB_CHIAVEPRIMARIA PRIMARY KEY (PROGETTO,SCRIPTFORM,CONTESTO,UTENTE));",
};

using tabx::ErroreOk;
using tabx::Numero;

}  // namespace

TTabXForm::TTabXForm(ui::Component* owner, std::uint8_t mode) : ui::Form(owner), Modo(mode) {
  CreaComponenti();
  CartellaHost = plat::IncludeTrailingPathDelimiter(plat::HostFolder());
  FileVerde = CartellaHost + "Grafica/Verde.bmp";
  FileRosso = CartellaHost + "Grafica/Rosso.bmp";
  if (!plat::DirectoryExists(CartellaHost + "user")) plat::CreateDir(CartellaHost + "user");
  ApriDatabaseUtenti();
  CreaTabScriptSeManca();
  MemTabX->Open();
  DoCreate();
}

void TTabXForm::CreaComponenti() {
  auto connessione = [this](db::Database*& d, const char* nome, db::Transaction*& t,
                            const char* nomeTransazione) {
    d = ui::Make<db::Database>(this, nome);
    d->SQLDialect = 3;
    t = ui::Make<db::Transaction>(this, nomeTransazione, d);
    d->DefaultTransaction = t;
  };
  connessione(IBDatabase1, "IBDatabase1", IBTransaction1, "IBTransaction1");
  IBTransaction1->Params = {"isc_tpb_concurrency", "isc_tpb_nowait"};
  connessione(IBDatabase2, "IBDatabase2", IBTransaction2, "IBTransaction2");
  connessione(IBDatabase3, "IBDatabase3", IBTransaction3, "IBTransaction3");
  connessione(IBDatabase4, "IBDatabase4", IBTransaction4, "IBTransaction4");
  connessione(IBDatabaseUser, "IBDatabaseUser", TransazioneUser, "TransazioneUser");
  connessione(IBDatabase5, "IBDatabase5", IBTransaction5, "IBTransaction5");

  MemTabX = ui::Make<TRxMemoryData>(this, "MemTabX");
  MemTabX->CreateField("Codice", db::FieldType::AutoInc);
  MemTabX->CreateField("Tipo", db::FieldType::String, 10);
  MemTabX->CreateField("Nome", db::FieldType::String, 64);
  MemTabX->CreateField("Numero", db::FieldType::Largeint);
  MemTabX->CreateField("Testo", db::FieldType::String, 128);
  MemTabX->CreateField("Data", db::FieldType::Date);
  MemTabX->CreateField("Memo", db::FieldType::Memo);
  MemTabX->CreateField("Livello1", db::FieldType::Smallint);
  MemTabX->CreateField("Livello2", db::FieldType::Smallint);
  MemTabX->CreateField("Utente", db::FieldType::Smallint);

  QueryBrivane = ui::Make<db::Query>(this, "QueryBrivane", IBDatabaseUser, TransazioneUser);
}

void TTabXForm::ApriDatabaseUtenti() {
  if (!ApriCreaDatabase(*IBDatabaseUser, CartellaHost + "user/", "user.fdb", "", "", this))
    ErroreOk("Errore inizializzazione database utenti");
}

void TTabXForm::CreaTabScriptSeManca() {
  // Without a user database every statement fails; the operator has
  // already been told, and the object must still come to life.
  if (!IBDatabaseUser->Connected()) return;
  try {
    if (TabScriptEsiste()) return;
    QueryBrivane->Close();
    QueryBrivane->SQL.Clear();
    for (const char* riga : kTabScript) QueryBrivane->SQL.Add(riga);
    QueryBrivane->ExecSQL();
    TransazioneUser->Commit();
  } catch (const db::DbError&) {
    // Two operators starting at once on a new host folder both find the
    // table missing; the one whose creation fails finds it made by the
    // other, in a transaction that sees the other's commit.
    if (TabScriptFattaDaAltri()) return;
    ErroreOk("Errore interno di CREATE: impossibile creare la tabella TABSCRIPT");
  }
}

bool TTabXForm::TabScriptEsiste() {
  QueryBrivane->Close();
  QueryBrivane->SQL.Clear();
  QueryBrivane->SQL.Add("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS");
  QueryBrivane->SQL.Add("WHERE RDB$RELATION_NAME='TABSCRIPT'");
  QueryBrivane->Open();
  return !QueryBrivane->IsEmpty();
}

bool TTabXForm::TabScriptFattaDaAltri() {
  try {
    QueryBrivane->Close();
    if (TransazioneUser->InTransaction()) TransazioneUser->Rollback();
    const bool esiste = TabScriptEsiste();
    QueryBrivane->Close();
    TransazioneUser->Commit();
    return esiste;
  } catch (const db::DbError&) {
    return false;
  }
}

void TTabXForm::RiavviaTransazioneUser() {
  TransazioneUser->SetActive(false);
  TransazioneUser->SetActive(true);
}

bool TTabXForm::PrimoValore(const std::vector<std::string>& righe, std::string& valore) {
  QueryBrivane->Close();
  QueryBrivane->SQL.Clear();
  for (const std::string& riga : righe) QueryBrivane->SQL.Add(riga);
  QueryBrivane->Open();
  if (QueryBrivane->IsEmpty()) return false;
  valore = QueryBrivane->Fields().at(0)->AsString();
  return true;
}

std::string TTabXForm::LeggiNomeUser(std::int32_t numUser) {
  std::string nome;
  PrimoValore({"SELECT NOMEUTENTE FROM UTENTI", "WHERE (CODICE='" + Numero(numUser) + "')"}, nome);
  return nome;
}

std::string TTabXForm::LeggiPasswordUser(const std::string& nomeUser) {
  std::string valore;
  PrimoValore({"SELECT PWDUTENTE FROM UTENTI", "WHERE (NOMEUTENTE='" + Apici(nomeUser) + "')"},
              valore);
  return valore;
}

std::string TTabXForm::LeggiDittaUser(const std::string& nomeUser) {
  std::string valore;
  PrimoValore({"SELECT DITTA FROM UTENTI", "WHERE (NOMEUTENTE='" + Apici(nomeUser) + "')"}, valore);
  return valore;
}

std::int32_t TTabXForm::LeggiCodiceUser(const std::string& nomeUser) {
  std::string valore;
  PrimoValore({"SELECT CODICE FROM UTENTI", "WHERE (NOMEUTENTE='" + Apici(nomeUser) + "')"},
              valore);
  return valore.empty() ? 0 : plat::StrToInt(valore);
}

std::string TTabXForm::DecodificaNomeUser(std::int32_t numUser) {
  db::Query query;
  query.SetDatabase(IBDatabaseUser);
  query.SetTransaction(TransazioneUser);
  query.SQL.Add("SELECT NOMEUTENTE");
  query.SQL.Add("FROM UTENTI");
  query.SQL.Add("WHERE CODICE=" + Numero(numUser));
  query.Open();
  if (query.IsEmpty()) return "";
  return query.FieldByName("NOMEUTENTE").AsString();
}

std::int32_t TTabXForm::ProfiloSicurezzaUtente() {
  RiavviaTransazioneUser();
  std::string valore;
  if (!PrimoValore(
          {"SELECT PROFILOSICUREZZA", "FROM UTENTI", "WHERE CODICE='" + Numero(NumUser) + "'"},
          valore))
    return 0;
  return valore.empty() ? 0 : plat::StrToInt(valore);
}

void TTabXForm::CaricaUser(std::vector<std::string>& lista) {
  QueryBrivane->Close();
  QueryBrivane->SQL.Clear();
  QueryBrivane->SQL.Add("SELECT NOMEUTENTE FROM UTENTI");
  QueryBrivane->SQL.Add("ORDER BY CODICE");
  QueryBrivane->Open();
  for (QueryBrivane->First(); !QueryBrivane->Eof(); QueryBrivane->Next())
    lista.push_back(QueryBrivane->Fields().at(0)->AsString());
}

bool TTabXForm::VerificaPasswordUser(const std::string& nomeUser, const std::string& password) {
  std::string memorizzata;
  if (!PrimoValore({"SELECT PWDUTENTE FROM UTENTI", "WHERE (NOMEUTENTE='" + Apici(nomeUser) + "')"},
                   memorizzata))
    return false;
  return memorizzata.empty() || memorizzata == password;
}

void TTabXForm::SetUserPerNum(std::int32_t numUser) {
  NumUser = numUser;
  NomeUser = LeggiNomeUser(numUser);
  Password = LeggiPasswordUser(NomeUser);
  Ditta = LeggiDittaUser(LeggiNomeUser(numUser));
  CaricaBrivane(numUser);
}

void TTabXForm::SetUserPerNome(const std::string& nomeUser) {
  SetUserPerNum(LeggiCodiceUser(nomeUser));
}

void TTabXForm::Connetti(db::Database& database, const std::string& percorso) {
  size_t fine = percorso.find_last_of("/\\");
  const std::string cartella = fine == std::string::npos ? "" : percorso.substr(0, fine + 1);
  const std::string file = fine == std::string::npos ? percorso : percorso.substr(fine + 1);
  if (!ApriCreaDatabase(database, cartella, file, "", "", this))
    ErroreOk("Errore apertura archivio");
}

void TTabXForm::ConnettiDatabase0(const std::string& percorso) { Connetti(*IBDatabase1, percorso); }
void TTabXForm::ConnettiDatabase1(const std::string& nome) { Connetti(*IBDatabase1, GetV(nome)); }
void TTabXForm::ConnettiDatabase2(const std::string& nome) { Connetti(*IBDatabase2, GetV(nome)); }
void TTabXForm::ConnettiDatabase3(const std::string& nome) { Connetti(*IBDatabase3, GetV(nome)); }
void TTabXForm::ConnettiDatabase4(const std::string& nome) { Connetti(*IBDatabase4, GetV(nome)); }
void TTabXForm::ConnettiDatabase5(const std::string& nome) { Connetti(*IBDatabase5, GetV(nome)); }

bool TTabXForm::ScritturaHandleDiApertura(std::int32_t idApertura, std::int32_t handle) {
  try {
    RiavviaTransazioneUser();
    QueryBrivane->Close();
    QueryBrivane->SQL.Clear();
    QueryBrivane->SQL.Add("UPDATE VORLOLOGFUNZ SET HANDLEFINESTRA='" + Numero(handle) + "'");
    QueryBrivane->SQL.Add("WHERE IDFINESTRA='" + Numero(idApertura) + "'");
    QueryBrivane->ExecSQL();
    TransazioneUser->CommitRetaining();
  } catch (const db::DbError&) {
    return false;
  }
  return true;
}

}  // namespace velmaro
