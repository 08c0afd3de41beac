#pragma once
// The operator context of one open window: who the operator is, the user
// database and the company connections, and the operator's parameters held
// in memory. An invisible form that is never shown; it owns its components
// and closes its connections when freed.
#include <cstdint>
#include <string>
#include <vector>

#include "ui/form.h"

namespace db {
class Database;
class Transaction;
class Query;
class DataSet;
}  // namespace db

namespace ui {
class BitBtn;
}  // namespace ui

namespace velmaro {

class TRxMemoryData;

class TTabXForm : public ui::Form {
 public:
  // Every caller passes mode 0 (operators and parameters in the user
  // database); no other mode is built.
  TTabXForm(ui::Component* owner, std::uint8_t mode);
  TTabXForm(const TTabXForm&) = delete;
  TTabXForm& operator=(const TTabXForm&) = delete;

  std::string ClassName() const override { return "TTabXForm"; }

  // Components, owned by this object (ui::Make): each connection is made
  // before its transaction, the data sets last; freed in the reverse order.
  TRxMemoryData* MemTabX = nullptr;
  db::Database* IBDatabase1 = nullptr;
  db::Transaction* IBTransaction1 = nullptr;
  db::Database* IBDatabase2 = nullptr;
  db::Database* IBDatabase3 = nullptr;
  db::Database* IBDatabase4 = nullptr;
  db::Transaction* IBTransaction2 = nullptr;
  db::Transaction* IBTransaction3 = nullptr;
  db::Transaction* IBTransaction4 = nullptr;
  db::Database* IBDatabaseUser = nullptr;
  db::Query* QueryBrivane = nullptr;
  db::Transaction* TransazioneUser = nullptr;
  db::Database* IBDatabase5 = nullptr;
  db::Transaction* IBTransaction5 = nullptr;

  // Operator and user database.
  void SetUserPerNum(std::int32_t numUser);
  void SetUserPerNome(const std::string& nomeUser);
  std::int32_t GetNumUser() const { return NumUser; }
  std::string GetNomeUser() const { return NomeUser; }
  std::string GetDitta() const { return Ditta; }
  std::string LeggiNomeUser(std::int32_t numUser);
  std::int32_t LeggiCodiceUser(const std::string& nomeUser);
  std::string LeggiPasswordUser(const std::string& nomeUser);
  std::string LeggiDittaUser(const std::string& nomeUser);
  std::string DecodificaNomeUser(std::int32_t numUser);
  std::int32_t ProfiloSicurezzaUtente();
  void CaricaUser(std::vector<std::string>& lista);
  bool VerificaPasswordUser(const std::string& nomeUser, const std::string& password);

  // Company connections: 0 takes a path, 1..5 the name of an in-memory
  // parameter holding the path.
  void ConnettiDatabase0(const std::string& percorso);
  void ConnettiDatabase1(const std::string& nomeParametro);
  void ConnettiDatabase2(const std::string& nomeParametro);
  void ConnettiDatabase3(const std::string& nomeParametro);
  void ConnettiDatabase4(const std::string& nomeParametro);
  void ConnettiDatabase5(const std::string& nomeParametro);

  bool ScritturaHandleDiApertura(std::int32_t idApertura, std::int32_t handle);

  // Operator parameters (MemTabX and TABBRIVANE).
  void Inserisci(const std::string& tipo, const std::string& nome, const std::string& numero,
                 const std::string& testo, const std::string& data, const std::string& memo,
                 const std::string& livello1, const std::string& livello2,
                 const std::string& utente);
  std::string GetV(const std::string& nome);
  std::string GetM(const std::string& nome);
  bool SetV(const std::string& nome, const std::string& testo);
  bool SetM(const std::string& nome, const std::string& testo);
  void CaricaParametro(const std::string& nomeParametro, std::string& valore);
  void ScriviParametroBrivane(const std::string& sezione, const std::string& nomeParametro,
                              const std::string& valore);
  void SettaParametro(const std::string& nomeParametro, const std::string& valore);
  void ScriviBrivane(std::int32_t numUser);
  void CaricaBrivane(std::int32_t numUser);
  void AggiornaParametriTabX();

  // Fields of the object.
  std::int32_t NumUser = 0;
  std::string NomeUser;
  std::string Password;
  std::uint8_t Modo = 0;
  std::string Ditta;         // the company: section of the operator's parameters
  std::string FileVerde;     // green bitmap of the save buttons
  std::string FileRosso;     // red bitmap of the save buttons
  std::string CartellaHost;  // host folder, ending in a delimiter

  // ---- stored values, generators and services (tabxform_services.cpp), the
  // save button (tabxform_buttons.cpp)
  // Stored values of TABX: kept for this operator (perUtente) or shared.
  // Each runs through a query of its own on IBDatabase1/IBTransaction1.
  void ValoreTabX(const std::string& nome, bool perUtente, std::string& valore);
  bool SettaValoreTabX(const std::string& nome, const std::string& valore, bool perUtente);
  void ValoreMTabX(const std::string& nome, bool perUtente, std::string& valore);
  bool SettaValoreMTabX(const std::string& nome, const std::string& valore, bool perUtente);
  // The operator's own value, else the shared one, copied to the operator.
  void ValoreTabXUserCheckGen(const std::string& nome, std::string& valore);
  // Consumes and gives the generator's next value.
  void ValoreGeneratore(const std::string& generatore, std::string& valore);

  // Parameters of kind "TBX" keyed by project, situation and operator.
  // Values are texts; dates in the short date form.
  bool VerificaEsistenzaInTabX(std::int32_t progetto, std::int32_t situazione,
                               const std::string& nome);
  void CaricaParametroDaTabX(std::int32_t progetto, std::int32_t situazione,
                             const std::string& nome);
  void ScriviParametroInTabX(std::int32_t progetto, std::int32_t situazione,
                             const std::string& nome, const std::string& numero,
                             const std::string& testo, const std::string& data,
                             const std::string& memo);
  void AggiungiParametroInTabX(std::int32_t progetto, std::int32_t situazione,
                               const std::string& nome, const std::string& numero,
                               const std::string& testo, const std::string& data,
                               const std::string& memo, const std::string& livello1,
                               const std::string& livello2);

  // Generators.
  void NuovoIntSuGeneratore(db::Query& dataSet, const std::string& generatore);
  // Runs "INSERT " + testaInsert + "VALUES (" + next value + codaValori.
  void NuovoIntSuGenSQL(const std::string& generatore, const std::string& testaInsert,
                        const std::string& codaValori);
  void CreaGeneratore(const std::string& generatore);
  void SetGeneratore(const std::string& generatore, std::int64_t valore);
  bool CheckGeneratore(const std::string& generatore);
  void NuovoIntSuLast(db::Query& dataSet, int& numRecord, ui::BitBtn& bottone, bool& eraAttivo);
  void NuovoIntSuMax(db::Query& dataSet, const std::string& tabella, int& numRecord,
                     ui::BitBtn& bottone, bool& eraAttivo);

  // Save-button protocol: the button's Tag is 1 (red glyph) while the data
  // set has unsaved changes, 0 (green glyph) otherwise.
  void ChiudiTransazione(db::Query& dataSet, int& numRecord, ui::BitBtn& bottone, bool& eraAttivo);
  void AggiornaTabella(db::Query& dataSet, int numRecord, bool ripristina);
  void ChiudiTransEAggiorna(db::Query& dataSet, int& numRecord, ui::BitBtn& bottone,
                            bool& eraAttivo);
  // Record-lock probe before an edit; false (and the edit cancelled) when
  // another connection holds the row.
  bool EventoBeforeEditDataSet(db::Query& dataSet, ui::BitBtn& bottone, const std::string& tabella);
  void Annulla(db::Query& dataSet, int& numRecord, ui::BitBtn& bottone);
  void Chiudi(db::Query& dataSet, ui::BitBtn& bottone);
  void AggiornamentoDaPulsante(db::Query& dataSet, int& numRecord, ui::BitBtn& bottone,
                               bool& eraAttivo);
  void Elimina(db::Query& dataSet, int& numRecord, ui::BitBtn& bottone, bool& eraAttivo);
  void Azzera(db::Query& dataSet, const std::string& tabella);
  void SetRosso(const std::string& file) { FileRosso = file; }
  void SetVerde(const std::string& file) { FileVerde = file; }

  // The operator's row of TABSCRIPT; forza "1" replaces a script already there.
  void IniScriptForm(const std::string& progetto, const std::string& scriptForm,
                     const std::string& contesto, const std::string& script,
                     const std::string& forza);
  void LanciaStampaConDll(db::DataSet& dataSet, const std::string& titolo,
                          const std::string& nomeReport);
  void AvviaFunzXDll(const std::string& libreria, const std::string& funzione,
                     std::int32_t argomento);

  // One implementation of the stored-value pair for the context object and
  // the data module: the statements run through `query` (its database and
  // transaction) for operator `numUser`; `colonna` is "TESTO" or "MEMO".
  static void LeggiValoreTabX(db::Query& query, std::int32_t numUser, const std::string& colonna,
                              const std::string& nome, bool perUtente, std::string& valore);
  static bool ScriviValoreTabX(db::Query& query, std::int32_t numUser, const std::string& colonna,
                               const std::string& nome, const std::string& valore, bool perUtente);
  // The statements of ScriviValoreTabX alone: whether the value has a row
  // is read in the query's transaction, as it sees the table, and the row
  // is updated or inserted there; nothing is committed and a failure is
  // thrown, for a caller that commits, or renews and writes again, itself.
  static void ScriviValoreTabXSenzaConferma(db::Query& query, std::int32_t numUser,
                                            const std::string& colonna, const std::string& nome,
                                            const std::string& valore, bool perUtente);

 private:
  void CreaComponenti();
  void ApriDatabaseUtenti();
  void CreaTabScriptSeManca();
  bool TabScriptEsiste();
  bool TabScriptFattaDaAltri();
  void Connetti(db::Database& database, const std::string& percorso);
  void RiavviaTransazioneUser();
  // Runs the lines on QueryBrivane and gives the first column of the first
  // row as text; false when no row came back.
  bool PrimoValore(const std::vector<std::string>& righe, std::string& valore);
};

}  // namespace velmaro
