// Stored values, generators and the services of the operator context.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/fixture.h"
#include "context/memorydata.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/table.h"
#include "db/transaction.h"
#include "ui/stdctrls.h"

namespace velmaro {
namespace {

using testing::HostFolder;
using testing::Operator;
using Names = std::vector<std::string>;
using Righe = std::vector<std::vector<std::string>>;
const char* const kNull = testing::kNull;
const std::string kAccento = "\xC2\xB4";

// Two operators of one company, with the company database made.
struct Ambiente : testing::Company {
  Ambiente() { AddUser(2, "Bianchi", "", "Ditta Uno"); }
  TTabXForm* Contesto(int utente) { return &Context(utente)->Riferimento(); }
  Righe Tabx(const std::string& nome) {
    return Rows(CompanyDatabasePath(),
                "SELECT TESTO, UTENTE FROM TABX WHERE NOME='" + nome + "' ORDER BY CODICE");
  }
  std::string Archivio() const { return CompanyDatabasePath(); }
};

// ... with a table ARTICOLI of two rows.
struct ConArticoli : Ambiente {
  ConArticoli() {
    ExecAll(Archivio(),
            {"CREATE TABLE ARTICOLI (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(20))",
             "INSERT INTO ARTICOLI VALUES (1, 'uno')", "INSERT INTO ARTICOLI VALUES (2, 'due')"});
  }
};

// Operator 1's context, with an operator who has seen no box yet.
template <class A>
struct Contesto : ::testing::Test {
  A amb;
  Operator op;
  TTabXForm* rossi = amb.Contesto(1);
};
using ValoriTabX = Contesto<Ambiente>;
using Generatori = Contesto<Ambiente>;
using ParametriTabX = Contesto<Ambiente>;
using ScriptForm = Contesto<Ambiente>;
using PulsanteSalva = Contesto<ConArticoli>;

TEST_F(ValoriTabX, SharedAndPerOperatorValues) {
  // Fault: apostrophes stored as typed (breaking every reader that composes
  // SQL from them), NULL lost on insert, a private value leaking to another
  // operator, or an update touching one row when the name is shared.
  auto bianchi = amb.Contesto(2);
  EXPECT_TRUE(rossi->SettaValoreTabX("Nota", "L'olio dell'anno", false));
  EXPECT_EQ(amb.Tabx("Nota"), (Righe{{"L" + kAccento + "olio dell" + kAccento + "anno", kNull}}));
  std::string v;
  EXPECT_TRUE(rossi->SettaValoreTabX("Vuoto", "", false));
  EXPECT_EQ(amb.Tabx("Vuoto"), (Righe{{kNull, kNull}}));
  EXPECT_TRUE(rossi->SettaValoreTabX("Vuoto", "", false));
  EXPECT_EQ(amb.Tabx("Vuoto"), (Righe{{"", kNull}}));

  EXPECT_TRUE(rossi->SettaValoreTabX("Mio", "rosso", true));
  EXPECT_EQ(amb.Tabx("Mio"), (Righe{{"rosso", "1"}}));
  bianchi->ValoreTabX("Mio", true, v);
  EXPECT_EQ(v, "");
  // Another operator's later context sees the row without PerUtente.
  amb.Contesto(2)->ValoreTabX("Mio", false, v);
  EXPECT_EQ(v, "rosso");

  // Without PerUtente every row of the name is updated, shared and private.
  EXPECT_TRUE(amb.Contesto(2)->SettaValoreTabX("Mio", "blu", true));
  EXPECT_TRUE(amb.Contesto(1)->SettaValoreTabX("Mio", "verde", false));
  EXPECT_EQ(amb.Tabx("Mio"), (Righe{{"verde", "1"}, {"verde", "2"}}));

  // A name holding an apostrophe still makes a valid statement.
  EXPECT_TRUE(rossi->SettaValoreTabX("D'Amico", "x", false));
  rossi->ValoreTabX("D'Amico", false, v);
  EXPECT_EQ(v, "x");

  // The memo twins work on MEMO and leave TESTO alone.
  EXPECT_TRUE(rossi->SettaValoreMTabX("Lungo", "riga 1\nriga 'due'", true));
  rossi->ValoreMTabX("Lungo", true, v);
  EXPECT_EQ(v, "riga 1\nriga " + kAccento + "due" + kAccento);
  EXPECT_EQ(amb.Tabx("Lungo"), (Righe{{kNull, "1"}}));
  EXPECT_TRUE(op.Texts().empty());
}

TEST_F(ValoriTabX, WriteFailureIsReportedByResultOnly) {
  // Fault: a failed write reported as success, or shown to the operator.
  HostFolder::Exec(amb.Archivio(), "DROP SEQUENCE CODICETABXCOUNTER");
  EXPECT_FALSE(rossi->SettaValoreTabX("Nuovo", "x", false));
  EXPECT_TRUE(op.Texts().empty());
  // Reads raise to the caller when the company database is not there.
  TTabXForm senza(nullptr, 0);
  std::string v;
  EXPECT_THROW(senza.ValoreTabX("Nuovo", false, v), std::exception);
}

TEST_F(ValoriTabX, StoreWithoutCommitLeavesTheCommitToTheCaller) {
  // Fault: the bare store committing on its own (a caller that rolls back
  // after a refused row version could not take its write back), or a
  // failure swallowed instead of reaching the caller.
  ASSERT_TRUE(rossi->SettaValoreTabX("Colore", "rosso", false));
  db::Query q(rossi->IBDatabase1, rossi->IBTransaction1);
  TTabXForm::ScriviValoreTabXSenzaConferma(q, 1, "TESTO", "Colore", "blu", false);
  TTabXForm::ScriviValoreTabXSenzaConferma(q, 1, "TESTO", "Altro", "x", false);
  EXPECT_EQ(amb.Tabx("Colore"), (Righe{{"rosso", kNull}}));
  rossi->IBTransaction1->RollbackRetaining();
  EXPECT_EQ(amb.Tabx("Colore"), (Righe{{"rosso", kNull}}));
  EXPECT_EQ(amb.Tabx("Altro"), Righe{});
  EXPECT_THROW(TTabXForm::ScriviValoreTabXSenzaConferma(q, 1, "TESTO", "Colore",
                                                        std::string(200, 'x'), false),
               db::DbError);
  TTabXForm::ScriviValoreTabXSenzaConferma(q, 1, "TESTO", "Colore", "verde", false);
  rossi->IBTransaction1->CommitRetaining();
  EXPECT_EQ(amb.Tabx("Colore"), (Righe{{"verde", kNull}}));
  EXPECT_TRUE(op.Texts().empty());
}

TEST_F(ValoriTabX, UserCheckGenCopiesTheSharedValueToTheOperator) {
  // Fault: the shared value not copied to the operator, so a later change of
  // the shared value would leak into operators who already had theirs.
  ASSERT_TRUE(rossi->SettaValoreTabX("Stampante", "Sala d'attesa", false));
  std::string v;
  rossi->ValoreTabXUserCheckGen("Stampante", v);
  EXPECT_EQ(v, "Sala d" + kAccento + "attesa");
  EXPECT_EQ(amb.Tabx("Stampante"), (Righe{{v, kNull}, {v, "1"}}));
  ASSERT_TRUE(rossi->SettaValoreTabX("Stampante", "Ufficio", false));
  rossi->ValoreTabXUserCheckGen("Stampante", v);
  EXPECT_EQ(v, "Ufficio");  // the update without PerUtente reached both rows
  HostFolder::Exec(amb.Archivio(), "UPDATE TABX SET TESTO='Magazzino' WHERE UTENTE IS NULL");
  auto nuovo = amb.Contesto(1);
  nuovo->ValoreTabXUserCheckGen("Stampante", v);
  EXPECT_EQ(v, "Ufficio");
  // No value anywhere: the operator gets a row with NULL.
  nuovo->ValoreTabXUserCheckGen("Niente", v);
  EXPECT_EQ(v, "");
  EXPECT_EQ(amb.Tabx("Niente"), (Righe{{kNull, "1"}}));
}

TEST_F(Generatori, ValuesAndCatalogue) {
  // Fault: a generator read that does not advance, or a catalogue test that
  // misses an existing generator.
  std::string a, b;
  rossi->ValoreGeneratore("CODICETABXCOUNTER", a);
  rossi->ValoreGeneratore("CODICETABXCOUNTER", b);
  EXPECT_EQ(std::stoll(b), std::stoll(a) + 1);
  EXPECT_TRUE(rossi->CheckGeneratore("CODICETABXCOUNTER"));
  EXPECT_FALSE(rossi->CheckGeneratore("NESSUNO"));
  rossi->CreaGeneratore("PROVA_GEN");
  EXPECT_TRUE(rossi->CheckGeneratore("PROVA_GEN"));
  rossi->SetGeneratore("PROVA_GEN", 41);
  rossi->ValoreGeneratore("PROVA_GEN", a);
  EXPECT_EQ(a, "42");
  EXPECT_THROW(rossi->ValoreGeneratore("NESSUNO", a), db::DbError);
}

TEST_F(ParametriTabX, AddWriteAndLoadByProjectAndSituation) {
  // Fault: a parameter added twice, written to another operator's row, not
  // brought back into the in-memory table, or a write that fails in silence.
  EXPECT_FALSE(rossi->VerificaEsistenzaInTabX(501, 7, "Colonne"));
  rossi->AggiungiParametroInTabX(501, 7, "Colonne", "3", "a'b", "15/03/2024", "memo", "1", "");
  rossi->AggiungiParametroInTabX(501, 7, "Colonne", "9", "doppio", "", "", "", "");
  EXPECT_TRUE(rossi->VerificaEsistenzaInTabX(501, 7, "Colonne"));
  EXPECT_EQ(HostFolder::Rows(amb.Archivio(),
                             "SELECT CODPROGETTO, CODSITUAZIONE, TIPO, NUMERO, TESTO, "
                             "EXTRACT(MONTH FROM DATA), LIVELLO1, LIVELLO2, UTENTE FROM TABX"),
            (Righe{{"501", "7", "TBX", "3", "a'b", "3", "1", kNull, "1"}}));
  EXPECT_FALSE(amb.Contesto(2)->VerificaEsistenzaInTabX(501, 7, "Colonne"));

  rossi->ScriviParametroInTabX(501, 7, "Colonne", "", "nuovo", "", "lungo");
  EXPECT_EQ(HostFolder::Rows(amb.Archivio(), "SELECT NUMERO, TESTO, DATA, MEMO FROM TABX"),
            (Righe{{kNull, "nuovo", kNull, "lungo"}}));
  rossi->Inserisci("BVN", "Colonne", "", "", "", "", "", "", "1");
  rossi->CaricaParametroDaTabX(501, 7, "Colonne");
  EXPECT_EQ(rossi->GetV("Colonne"), "nuovo");
  EXPECT_EQ(rossi->GetM("Colonne"), "lungo");
  EXPECT_TRUE(op.Texts().empty());

  rossi->AggiungiParametroInTabX(501, 1, "Larghezza", "non un numero", "", "", "", "", "");
  rossi->ScriviParametroInTabX(501, 7, "Colonne", "sette", "", "", "");
  EXPECT_EQ(op.Texts(),
            (Names{"Errore interno di INSERT: impossibile aggiungere il parametro Larghezza",
                   "Errore interno di UPDATE: impossibile settare il parametro Colonne"}));
}

TEST_F(ScriptForm, InsertThenReplaceOnlyWhenForcedOrEmpty) {
  // Fault: the replacement rewriting every script of the table instead of
  // the operator's own row, or replacing a script without being forced.
  auto bianchi = amb.Contesto(2);
  rossi->IniScriptForm("501", "LISTINI", "1", "uno", "0");
  bianchi->IniScriptForm("501", "LISTINI", "1", "di Bianchi", "0");
  rossi->IniScriptForm("501", "LISTINI", "1", "due", "0");
  const std::string sel = "SELECT UTENTE, SCRIPT FROM TABSCRIPT ORDER BY UTENTE";
  EXPECT_EQ(HostFolder::Rows(amb.UserDatabasePath(), sel),
            (Righe{{"1", "uno"}, {"2", "di Bianchi"}}));
  rossi->IniScriptForm("501", "LISTINI", "1", "l'ultimo", "1");
  EXPECT_EQ(HostFolder::Rows(amb.UserDatabasePath(), sel),
            (Righe{{"1", "l'ultimo"}, {"2", "di Bianchi"}}));
  EXPECT_NE(HostFolder::Scalar(amb.UserDatabasePath(),
                               "SELECT DATAULTIMAMODIFICA FROM TABSCRIPT WHERE UTENTE='1'"),
            kNull);
}

TEST(Librerie, PrintLibraryGetsTheDataSetAndTitlesAndMissingLibrariesAreHarmless) {
  // Fault: a missing print library crashing instead of telling the operator,
  // a missing library of AvviaFunzXDll calling through a null pointer, the
  // print title and report name not reaching the in-memory rows the print
  // library reads, or the wrong export chosen for the data set.
  Ambiente amb;
  Operator op;
  auto rossi = amb.Contesto(1);
  rossi->Inserisci("BVN", "TitoloStampa", "", "", "", "", "", "", "1");
  rossi->Inserisci("BVN", "NomeReport", "", "", "", "", "", "", "1");
  rossi->LanciaStampaConDll(*rossi->MemTabX, "Titolo", "Report");
  EXPECT_EQ(op.Texts(), Names{"Errore nell'accesso alla DLL Pelk delle stampe"});
  rossi->AvviaFunzXDll("NonCe.dll", "Funzione", 3);
  EXPECT_EQ(op.Texts().size(), 1u);

  std::filesystem::create_symlink(std::string(VELMARO_SIBLINGS_DIR) + "/Pelk.dll",
                                  amb.Folder() + "Pelk.dll");
  const std::string log = amb.Folder() + "sibling.log";
  setenv("VELMARO_SIBLING_LOG", log.c_str(), 1);
  rossi->LanciaStampaConDll(*rossi->MemTabX, "Listino d'estate", "LISTINI.LST");
  unsetenv("VELMARO_SIBLING_LOG");
  EXPECT_EQ(op.Texts().size(), 1u);
  EXPECT_EQ(rossi->GetV("TitoloStampa"), "Listino d'estate");
  EXPECT_EQ(rossi->GetV("NomeReport"), "LISTINI.LST");
  std::ifstream in(log);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "ShowPelk11MemFormD TRxMemoryData rows=2 cell=yes\n");
}

// A table with two rows shown through an editable query of the context.
struct Tabella {
  explicit Tabella(TTabXForm& ctx) {
    upd.ModifySQL.Add("UPDATE ARTICOLI SET NOME=:NOME WHERE ID=:OLD_ID");
    upd.InsertSQL.Add("INSERT INTO ARTICOLI (ID, NOME) VALUES (:ID, :NOME)");
    upd.DeleteSQL.Add("DELETE FROM ARTICOLI WHERE ID=:OLD_ID");
    q.SetDatabase(ctx.IBDatabase1);
    q.SetTransaction(ctx.IBTransaction1);
    q.SQL.Add("SELECT ID, NOME FROM ARTICOLI ORDER BY ID");
    q.UpdateObject = &upd;
    q.Open();
  }
  db::UpdateSQL upd;
  db::Query q;
  ui::BitBtn bottone;
  int numRecord = 0;
  bool eraAttivo = false;
};

TEST_F(PulsanteSalva, LockProbeTurnsTheButtonRedOrRefusesTheEdit) {
  // Fault: an edit allowed on a row another connection holds, or the
  // button left green while changes are pending.
  auto bianchi = amb.Contesto(2);
  Tabella a(*rossi), b(*bianchi);
  EXPECT_TRUE(rossi->EventoBeforeEditDataSet(a.q, a.bottone, "ARTICOLI"));
  EXPECT_EQ(a.bottone.Tag, 1);
  b.q.Edit();
  EXPECT_FALSE(bianchi->EventoBeforeEditDataSet(b.q, b.bottone, "ARTICOLI"));
  EXPECT_EQ(b.bottone.Tag, 0);
  EXPECT_EQ(b.q.State(), db::DataSetState::Browse);
  ASSERT_EQ(op.Texts().size(), 1u);
  EXPECT_EQ(op.Texts()[0].rfind("Attenzione: altri utenti stanno lavorando su questo record.", 0),
            0u);

  // Saving posts, commits and turns the button green again.
  a.q.Edit();
  a.q.FieldByName("NOME").SetAsString("UNO");
  rossi->ChiudiTransEAggiorna(a.q, a.numRecord, a.bottone, a.eraAttivo);
  EXPECT_EQ(a.bottone.Tag, 0);
  EXPECT_EQ(HostFolder::Scalar(amb.Archivio(), "SELECT NOME FROM ARTICOLI WHERE ID=1"), "UNO");
}

TEST_F(PulsanteSalva, CancelRefreshAndCloseFollowTheOperatorsAnswers) {
  // Fault: pending changes discarded without asking, or kept after "No".
  Tabella a(*rossi);
  {
    Operator r({ui::mrNo});
    ASSERT_TRUE(rossi->EventoBeforeEditDataSet(a.q, a.bottone, "ARTICOLI"));
    a.q.Edit();
    a.q.FieldByName("NOME").SetAsString("cambiato");
    a.q.Post();
    rossi->Annulla(a.q, a.numRecord, a.bottone);
    EXPECT_EQ(a.bottone.Tag, 1);
    EXPECT_EQ(r.Texts(), Names{"Conferma l'annullamento delle modifiche apportate?"});
  }
  {
    Operator r({ui::mrNo});
    rossi->AggiornamentoDaPulsante(a.q, a.numRecord, a.bottone, a.eraAttivo);
    EXPECT_EQ(a.bottone.Tag, 0);
    ASSERT_EQ(r.Texts().size(), 1u);
    EXPECT_EQ(r.Texts()[0].rfind("Attenzione: sono state fatte delle modifiche", 0), 0u);
  }
  EXPECT_EQ(HostFolder::Scalar(amb.Archivio(), "SELECT NOME FROM ARTICOLI WHERE ID=1"), "uno");
  a.q.First();
  EXPECT_EQ(a.q.FieldByName("NOME").AsString(), "uno");
  {
    Operator r({ui::mrNo});
    a.bottone.Tag = 1;
    a.q.Edit();
    a.q.FieldByName("NOME").SetAsString("perso");
    a.q.Post();
    rossi->Chiudi(a.q, a.bottone);
    EXPECT_EQ(r.Texts(), Names{"Salvare le modifiche apportate?"});
  }
  // Had the changes survived, this commit would write them.
  if (rossi->IBTransaction1->Active()) rossi->IBTransaction1->Commit();
  EXPECT_EQ(HostFolder::Scalar(amb.Archivio(), "SELECT NOME FROM ARTICOLI WHERE ID=1"), "uno");
}

TEST_F(PulsanteSalva, RefreshPutsATableBackInItsFirstIndexOrder) {
  // Fault: a refreshed table left in the order it was given meanwhile, or a
  // query (which has no indexes of its own) reordered.
  HostFolder::Exec(amb.Archivio(), "CREATE INDEX ARTICOLI_NOME ON ARTICOLI (NOME)");
  rossi = amb.Contesto(1);  // a connection that knows the index
  db::Table t(rossi->IBDatabase1, rossi->IBTransaction1);
  t.TableName = "ARTICOLI";
  t.IndexFieldNames = "ID";
  t.Open();
  EXPECT_EQ(t.FieldByName("NOME").AsString(), "uno");
  rossi->AggiornaTabella(t, 1, true);
  EXPECT_EQ(t.IndexName, "ARTICOLI_NOME");
  EXPECT_EQ(t.RecNo(), 1);
  EXPECT_EQ(t.FieldByName("NOME").AsString(), "due");
  Tabella a(*rossi);
  rossi->AggiornaTabella(a.q, 1, true);
  EXPECT_EQ(a.q.FieldByName("NOME").AsString(), "uno");
}

TEST_F(PulsanteSalva, DeleteAndEmptyTable) {
  // Fault: a deletion without confirmation, a deletion left uncommitted, or
  // an emptied table whose failure goes unreported.
  Tabella a(*rossi);
  {
    Operator r({ui::mrNo});
    rossi->Elimina(a.q, a.numRecord, a.bottone, a.eraAttivo);
    EXPECT_EQ(r.Texts(), Names{"Conferma la cacellazione del record?"});
    EXPECT_EQ(HostFolder::Scalar(amb.Archivio(), "SELECT COUNT(*) FROM ARTICOLI"), "2");
  }
  {
    Operator r({ui::mrYes});
    a.q.Last();
    rossi->Elimina(a.q, a.numRecord, a.bottone, a.eraAttivo);
    EXPECT_EQ(HostFolder::Rows(amb.Archivio(), "SELECT ID FROM ARTICOLI"), (Righe{{"1"}}));
  }
  {
    Operator r({ui::mrYes, ui::mrOk, ui::mrYes});
    rossi->Azzera(a.q, "ARTICOLI");
    EXPECT_EQ(HostFolder::Scalar(amb.Archivio(), "SELECT COUNT(*) FROM ARTICOLI"), "0");
    EXPECT_TRUE(a.q.IsEmpty());
    rossi->Elimina(a.q, a.numRecord, a.bottone, a.eraAttivo);
    rossi->Azzera(a.q, "NON_ESISTE");
    EXPECT_EQ(r.Texts(), (Names{"Confermare l'azzeramento della tabella?", "La tabella è vuota",
                                "Confermare l'azzeramento della tabella?",
                                "Impossibile azzerare la tabella!"}));
  }
}

TEST_F(PulsanteSalva, NewKeysFromMaximumLastRowAndGenerator) {
  // Fault: a new key repeating an existing one, or the new row not saved.
  Tabella a(*rossi);
  rossi->NuovoIntSuMax(a.q, "ARTICOLI", a.numRecord, a.bottone, a.eraAttivo);
  rossi->NuovoIntSuLast(a.q, a.numRecord, a.bottone, a.eraAttivo);
  rossi->CreaGeneratore("GEN_ARTICOLI");
  rossi->SetGeneratore("GEN_ARTICOLI", 9);
  rossi->NuovoIntSuGenSQL("GEN_ARTICOLI", "INTO ARTICOLI (ID, NOME) ", ", 'dal generatore')");
  rossi->NuovoIntSuGeneratore(a.q, "GEN_ARTICOLI");
  EXPECT_EQ(a.q.FieldByName("ID").AsInteger(), 11);
  a.q.Post();
  rossi->IBTransaction1->Commit();
  EXPECT_EQ(HostFolder::Rows(amb.Archivio(), "SELECT ID, NOME FROM ARTICOLI ORDER BY ID"),
            (Righe{{"1", "uno"},
                   {"2", "due"},
                   {"3", kNull},
                   {"4", kNull},
                   {"10", "dal generatore"},
                   {"11", kNull}}));
  EXPECT_TRUE(op.Texts().empty());
}

}  // namespace
}  // namespace velmaro
