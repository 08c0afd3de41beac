// Operator parameters: the in-memory table MemTabX, the table TABBRIVANE
// of the user database and its packed copy in UTENTI.BRIVANE.
#include <memory>

#include "context/helpers.h"
#include "context/memorydata.h"
#include "context/tabxform.h"
#include "context/tabxform_internal.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/transaction.h"
#include "platform/format.h"
#include "ui/application.h"

namespace velmaro {

namespace {

using tabx::ErroreOk;
using tabx::Numero;

bool CampoIntero(db::FieldType t) {
  return t == db::FieldType::Smallint || t == db::FieldType::Integer ||
         t == db::FieldType::Largeint || t == db::FieldType::AutoInc;
}

// The value a text argument gives in a field of MemTabX: empty is null,
// numbers and dates are read under the module's format settings.
db::Value ValoreDaTesto(const db::Field& campo, const std::string& testo) {
  if (testo.empty()) return db::Value();
  if (CampoIntero(campo.DataType())) return db::Value(plat::StrToInt64(testo));
  if (campo.DataType() == db::FieldType::Date)
    return db::Value::FromDateTime(plat::StrToDate(testo));
  return db::Value(testo);
}

void Imposta(db::DataSet& ds, const char* nome, const std::string& testo) {
  db::Field& campo = ds.FieldByName(nome);
  campo.SetValue(ValoreDaTesto(campo, testo));
}

// A column of TABX as the text MemTabX takes.
std::string TestoColonna(const db::Field& campo) {
  if (campo.IsNull()) return "";
  if (campo.DataType() == db::FieldType::Date || campo.DataType() == db::FieldType::DateTime)
    return plat::DateToStr(campo.AsDateTime());
  return campo.AsString();
}

// Reads by name take the first row with that name. Locate alone would
// settle on the current row when it matches, so a later row of the same
// name (another type or operator) could answer instead; when no row has
// the name the cursor stays where it was, as new rows go in before it.
bool PrimaRigaConNome(TRxMemoryData& m, const std::string& nome) {
  if (m.IsEmpty()) return false;
  const db::Bookmark segno = m.GetBookmark();
  m.First();
  if (m.Locate("Nome", db::Value(nome))) return true;
  if (m.BookmarkValid(segno)) m.GotoBookmark(segno);
  return false;
}

}  // namespace

void TTabXForm::Inserisci(const std::string& tipo, const std::string& nome,
                          const std::string& numero, const std::string& testo,
                          const std::string& data, const std::string& memo,
                          const std::string& livello1, const std::string& livello2,
                          const std::string& utente) {
  if (!MemTabX->Active()) MemTabX->Open();
  const std::vector<db::Value> chiave = {ValoreDaTesto(MemTabX->FieldByName("Tipo"), tipo),
                                         ValoreDaTesto(MemTabX->FieldByName("Nome"), nome),
                                         ValoreDaTesto(MemTabX->FieldByName("Utente"), utente)};
  if (MemTabX->Locate("Tipo;Nome;Utente", chiave)) {
    MemTabX->Edit();
  } else {
    MemTabX->Insert();
    Imposta(*MemTabX, "Tipo", tipo);
    Imposta(*MemTabX, "Nome", nome);
    Imposta(*MemTabX, "Utente", utente);
  }
  Imposta(*MemTabX, "Numero", numero);
  Imposta(*MemTabX, "Testo", testo);
  Imposta(*MemTabX, "Data", data);
  Imposta(*MemTabX, "Memo", memo);
  Imposta(*MemTabX, "Livello1", livello1);
  Imposta(*MemTabX, "Livello2", livello2);
  MemTabX->Post();
}

std::string TTabXForm::GetV(const std::string& nome) {
  if (!PrimaRigaConNome(*MemTabX, nome)) return "";
  return MemTabX->FieldByName("Testo").AsString();
}

std::string TTabXForm::GetM(const std::string& nome) {
  if (!PrimaRigaConNome(*MemTabX, nome)) return "";
  return MemTabX->FieldByName("Memo").AsString();
}

bool TTabXForm::SetV(const std::string& nome, const std::string& testo) {
  if (!PrimaRigaConNome(*MemTabX, nome)) return false;
  MemTabX->Edit();
  Imposta(*MemTabX, "Testo", testo);
  MemTabX->Post();
  return true;
}

bool TTabXForm::SetM(const std::string& nome, const std::string& testo) {
  if (!PrimaRigaConNome(*MemTabX, nome)) return false;
  MemTabX->Edit();
  Imposta(*MemTabX, "Memo", testo);
  MemTabX->Post();
  return true;
}

void TTabXForm::CaricaParametro(const std::string& nomeParametro, std::string& valore) {
  valore.clear();
  PrimoValore(
      {"SELECT VALORE FROM TABBRIVANE WHERE", "(UTENTE='" + Numero(NumUser) + "')AND",
       "(INTESTAZIONE='" + Apici(Ditta) + "')AND", "(PARAMETRO='" + Apici(nomeParametro) + "')"},
      valore);
}

void TTabXForm::CaricaBrivane(std::int32_t /*numUser*/) {
  // The packed copy in UTENTI.BRIVANE is written for the host program;
  // the parameters themselves are always read from TABBRIVANE.
}

void TTabXForm::ScriviParametroBrivane(const std::string& sezione, const std::string& nomeParametro,
                                       const std::string& valore) {
  CaricaBrivane(NumUser);
  auto query = std::make_unique<db::Query>();
  query->SetDatabase(IBDatabaseUser);
  query->SetTransaction(TransazioneUser);
  RiavviaTransazioneUser();

  const std::string utente = "(UTENTE='" + Numero(NumUser) + "')AND";
  const std::string intestazione = "(INTESTAZIONE='" + Apici(sezione) + "')AND";
  const std::string parametro = "(PARAMETRO='" + Apici(nomeParametro) + "')";
  query->SQL.Add("SELECT * FROM TABBRIVANE WHERE");
  query->SQL.Add(utente);
  query->SQL.Add(intestazione);
  query->SQL.Add(parametro);
  query->Open();
  const bool esiste = !query->IsEmpty();
  query->Close();
  query->SQL.Clear();

  if (esiste) {
    query->SQL.Add("UPDATE TABBRIVANE SET");
    query->SQL.Add(valore.empty() ? "VALORE=NULL" : "VALORE='" + Apici(valore) + "'");
    query->SQL.Add("WHERE " + utente);
    query->SQL.Add(intestazione);
    query->SQL.Add(parametro);
  } else {
    query->SQL.Add("SELECT MAX(PROGRESSIVO) FROM TABBRIVANE");
    query->SQL.Add("WHERE (UTENTE='" + Numero(NumUser) + "')");
    query->Open();
    std::int64_t prossimo = 1;
    if (!query->IsEmpty() && !query->Fields().at(0)->IsNull())
      prossimo = query->Fields().at(0)->AsLargeInt() + 1;
    query->Close();
    query->SQL.Clear();
    query->SQL.Add("INSERT INTO TABBRIVANE (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,");
    query->SQL.Add("PROGRESSIVO) VALUES(");
    query->SQL.Add("'" + Numero(NumUser) + "',");
    query->SQL.Add("'" + Apici(sezione) + "',");
    query->SQL.Add("'" + Apici(nomeParametro) + "',");
    query->SQL.Add(valore.empty() ? "NULL," : "'" + Apici(valore) + "',");
    query->SQL.Add("'" + Numero(prossimo) + "')");
  }
  try {
    query->ExecSQL();
    TransazioneUser->Commit();
  } catch (const db::DbError&) {
    ErroreOk(esiste ? "Errore interno di UPDATE: impossibile aggiornare la tabella dei parametri"
                    : "Errore interno di INSERT: impossibile aggiornare la tabella dei parametri");
  }
  query.reset();
  ScriviBrivane(NumUser);
}

void TTabXForm::SettaParametro(const std::string& nomeParametro, const std::string& valore) {
  ScriviParametroBrivane(Ditta, nomeParametro, valore);
  ScriviBrivane(NumUser);
}

void TTabXForm::ScriviBrivane(std::int32_t numUser) {
  std::string impaccato;
  std::string sezione;
  QueryBrivane->Close();
  QueryBrivane->SQL.Clear();
  QueryBrivane->SQL.Add("SELECT * FROM TABBRIVANE WHERE");
  QueryBrivane->SQL.Add("(UTENTE='" + Numero(numUser) + "')AND");
  QueryBrivane->SQL.Add("(INTESTAZIONE IS NOT NULL)");
  QueryBrivane->SQL.Add("ORDER BY INTESTAZIONE,PROGRESSIVO,UTENTE");
  QueryBrivane->Open();
  QueryBrivane->FetchAll();
  for (QueryBrivane->First(); !QueryBrivane->Eof(); QueryBrivane->Next()) {
    const std::string intestazione = QueryBrivane->FieldByName("INTESTAZIONE").AsString();
    // A row without a section has no place in INI text: it is left out,
    // also when no section came before it.
    if (intestazione.empty()) continue;
    std::string riga;
    if (intestazione != sezione) {
      riga = "[" + intestazione + "]\n";
      sezione = intestazione;
    }
    const std::string parametro = QueryBrivane->FieldByName("PARAMETRO").AsString();
    if (!parametro.empty())
      riga += parametro + "=" + QueryBrivane->FieldByName("VALORE").AsString();
    impaccato += riga + "\n";
  }
  QueryBrivane->Close();
  QueryBrivane->SQL.Clear();
  QueryBrivane->SQL.Add(impaccato.empty()
                            ? "UPDATE UTENTI SET BRIVANE=NULL WHERE"
                            : "UPDATE UTENTI SET BRIVANE='" + Apici(impaccato) + "' WHERE");
  QueryBrivane->SQL.Add("CODICE='" + Numero(numUser) + "'");
  try {
    QueryBrivane->ExecSQL();
    TransazioneUser->Commit();
  } catch (const db::DbError&) {
    ErroreOk("Errore interno di UPDATE: impossibile aggiornare i parametri brivane dell'utente");
  }
}

void TTabXForm::AggiornaParametriTabX() {
  auto query = std::make_unique<db::Query>();
  query->SetDatabase(IBDatabase1);
  query->SetTransaction(IBTransaction1);
  query->SQL.Add("SELECT * FROM TABX WHERE");
  query->SQL.Add("(UTENTE='" + Numero(NumUser) + "')AND");
  query->SQL.Add("(TIPO='TBX')");
  query->Open();
  query->FetchAll();
  const char* const valori[] = {"NUMERO", "TESTO", "DATA", "MEMO"};
  const char* const campi[] = {"Numero", "Testo", "Data", "Memo"};
  for (query->First(); !query->Eof(); query->Next()) {
    const std::string nome = query->FieldByName("NOME").AsString();
    if (!MemTabX->Locate("Tipo;Nome", {db::Value("TBX"), db::Value(nome)})) {
      Inserisci(
          "TBX", nome, TestoColonna(query->FieldByName("NUMERO")),
          TestoColonna(query->FieldByName("TESTO")), TestoColonna(query->FieldByName("DATA")),
          TestoColonna(query->FieldByName("MEMO")), TestoColonna(query->FieldByName("LIVELLO1")),
          TestoColonna(query->FieldByName("LIVELLO2")), TestoColonna(query->FieldByName("UTENTE")));
      continue;
    }
    MemTabX->Edit();
    bool tuttiVuoti = true;
    for (int i = 0; i < 4; ++i) {
      const std::string testo = TestoColonna(query->FieldByName(valori[i]));
      if (testo.empty()) continue;
      tuttiVuoti = false;
      Imposta(*MemTabX, campi[i], testo);
    }
    if (tuttiVuoti)
      for (const char* campo : campi) MemTabX->FieldByName(campo).Clear();
    MemTabX->Post();
  }
}

}  // namespace velmaro
