// The exceptions import: the class links its bands step clears, where it
// stops, a database that does not open, and the steps that meet rows
// another operator holds.
#include "pricelists/eccezioni/importecc.h"

#include <gtest/gtest.h>

#include <memory>

#include "context/dbutility.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "exports/exports_fixture.h"
#include "pricelists/eccezioni/importecc_fixture.h"
#include "pricelists/presalistino.h"
#include "ui/stdctrls.h"

namespace velmaro {
namespace {

using testing::AmbienteEccezioni;
using testing::Operator;
using Righe = std::vector<std::vector<std::string>>;

std::string UltimaRiga(const TImportEccForm& f) {
  return f.Memo1->Lines.Count() ? f.Memo1->Lines[f.Memo1->Lines.Count() - 1] : "";
}

TEST(TImportEccForm, BandsStepClearsEveryClassLinkAndNoOtherText) {
  // Fault: the list of a class no customer has keeping its class code (a
  // later run's bands pick it up), or another list losing the operator's
  // own text in that column.
  AmbienteEccezioni amb;
  AmbienteEccezioni::ExecAll(
      amb.Eccezioni(),
      {"INSERT INTO CLASSECC VALUES ('A''1', 'Con clienti')",
       "INSERT INTO CLASSECC VALUES ('B''2', 'Senza clienti')",
       "INSERT INTO ECCEZIONI (ID, CLASSECC, ARTICOLO, NETTO) VALUES (1, 'A''1', 'X1', 1)",
       "INSERT INTO ECCEZIONI (ID, CLASSECC, ARTICOLO, NETTO) VALUES (2, 'B''2', 'X2', 2)",
       "INSERT INTO CLIECCCLASS VALUES ('000001', 'A''1')"});
  const std::string db = amb.CompanyDatabasePath();
  AmbienteEccezioni::Exec(
      db, "INSERT INTO LISTSC (ID, NOME, CLASSIFICAZIONE1, TIPO) VALUES (2, 'Mio', 'Libero', 'N')");
  Operator op;
  TImportEccForm& f = amb.Finestra();
  f.Button1Click();
  f.Button4Click();
  EXPECT_EQ(UltimaRiga(f), "Creazione fasce completata");
  EXPECT_EQ(AmbienteEccezioni::Rows(
                db, "SELECT ID, CLASSIFICAZIONE1 FROM LISTSC WHERE CLASSIFICAZIONE1 IS NOT NULL"),
            (Righe{{"2", "Libero"}}));
  EXPECT_TRUE(op.Texts().empty());
}

TEST(TImportEccForm, FirstFailureStopsTheStepAndKeepsWhatCameBefore) {
  // Fault: a failure rolling back the lists of the classes before it, the
  // loop going on after it, the log not naming the statement, or the count
  // not counting the class that failed.
  AmbienteEccezioni amb;
  AmbienteEccezioni::ExecAll(
      amb.Eccezioni(),
      {"INSERT INTO CLASSECC VALUES ('A', 'Prima')", "INSERT INTO CLASSECC VALUES ('B', 'Seconda')",
       "INSERT INTO CLASSECC VALUES ('C', 'Terza')",
       "INSERT INTO ECCEZIONI (ID, CLASSECC, ARTICOLO, NETTO) VALUES (1, 'A', 'X1', 1)",
       "INSERT INTO ECCEZIONI (ID, CLASSECC, ARTICOLO, NETTO) VALUES (2, 'B', 'X2', 2)",
       "INSERT INTO ECCEZIONI (ID, CLASSECC, ARTICOLO, NETTO) VALUES (3, 'C', 'X3', 3)"});
  AmbienteEccezioni::Exec(amb.CompanyDatabasePath(),
                          "INSERT INTO LISTSC (ID, NOME, TIPO) VALUES (7, 'Occupato', 'N')");
  Operator op;
  TImportEccForm& f = amb.Finestra();
  f.Button1Click();
  ASSERT_GE(f.Memo1->Lines.Count(), 2);
  EXPECT_EQ(
      f.Memo1->Lines[f.Memo1->Lines.Count() - 2],
      "ERRORE: INSERT INTO LISTSC(ID,NOME,CLASSIFICAZIONE1,TIPO) VALUES(7,'N Seconda','B','N')");
  EXPECT_EQ(UltimaRiga(f), "IMPORTATI 6 listini");
  EXPECT_EQ(AmbienteEccezioni::Rows(amb.CompanyDatabasePath(),
                                    "SELECT IDLISTSC, CODICEARTICOLO FROM LISTSCDTNET"),
            (Righe{{"4", "X1"}}));
  EXPECT_TRUE(op.Texts().empty());
}

TEST(TImportEccForm, ADatabaseThatDoesNotOpenLeavesNothingOpen) {
  // Fault: the window opening without its database (every step would then
  // fail), the error not shown, or the road's objects left behind.
  testing::AmbienteExport amb;
  AmbienteEccezioni::Exec(
      amb.CompanyDatabasePath(),
      "UPDATE TABX SET TESTO='/nessuna/cartella/ecc.fdb' WHERE NOME='ImpDirEccDB'");
  Operator op;
  ApriImportEccForm(1, 77);
  EXPECT_EQ(amb.Finestra(77), nullptr);
  for (const char* classe : {"TImportEccForm", "TDataModuleVelmaro", "TTabXForm"})
    EXPECT_EQ(testing::Quanti(classe), 0) << classe;
  ASSERT_EQ(op.Texts().size(), 1u);
  EXPECT_NE(op.Texts()[0].find("/nessuna/cartella/ecc.fdb"), std::string::npos) << op.Texts()[0];
}

// Another operator at work on the company: a transaction of a connection of
// its own that holds the rows it writes until it ends.
class AltroOperatore {
 public:
  explicit AltroOperatore(const std::string& archivio) {
    testing::HostFolder::Attach(db_, archivio);
    t_ = CreateLockTransaction(db_);
  }
  ~AltroOperatore() { Finisce(); }
  db::Transaction& Transazione() { return *t_; }
  // A write held until Finisce.
  void Scrive(const std::string& sql) {
    db::Query q(&db_, t_.get());
    q.SQL.Add(sql);
    q.ExecSQL();
  }
  // Its work rolled back: every row it held is free.
  void Finisce() {
    if (t_ && t_->InTransaction()) t_->Rollback();
  }

 private:
  db::Database db_;
  std::unique_ptr<db::Transaction> t_;
};

void FasceConRighe(const std::string& archivio) {
  AmbienteEccezioni::ExecAll(
      archivio, {"INSERT INTO FASCESC (ID, NOME) VALUES (1, 'Base')",
                 "INSERT INTO FASCESC (ID, NOME) VALUES (2, 'Seconda')",
                 "INSERT INTO FASCESC (ID, NOME) VALUES (3, 'Terza')",
                 "INSERT INTO FASCESCDT VALUES (1, 1, 1)", "INSERT INTO FASCESCDT VALUES (2, 1, 1)",
                 "INSERT INTO FASCESCDT VALUES (3, 1, 1)"});
}

const char* const kContaFasce =
    "SELECT (SELECT COUNT(*) FROM FASCESC) || '/' || (SELECT COUNT(*) FROM FASCESCDT) FROM "
    "RDB$DATABASE";

TEST(TImportEccForm, EmptyingBandsMeetingARowHeldElsewhereSaysInUseAndLeavesNoBandDeleted) {
  // Fault: the bands deleted before the statement that met the held row
  // kept pending, so the next step's commit leaves their rows behind with
  // no band; the held row told with the engine's text, or as done; the
  // refusal repeating once the row is free.
  AmbienteEccezioni amb;
  const std::string db = amb.CompanyDatabasePath();
  FasceConRighe(db);
  Operator op;
  TImportEccForm& f = amb.Finestra();
  AltroOperatore altro(db);
  altro.Scrive("UPDATE FASCESCDT SET IDLISTINO=IDLISTINO WHERE IDFASCIA=3");
  f.Button3Click();
  EXPECT_EQ(
      op.Texts(),
      (std::vector<std::string>{"La fascia è in uso da un altro utente: riprovare più tardi"}));
  altro.Finisce();
  f.Button1Click();  // a step that commits
  EXPECT_EQ(UltimaRiga(f), "IMPORTATI 0 listini");
  EXPECT_EQ(AmbienteEccezioni::Scalar(db, kContaFasce), "3/3");

  f.Button3Click();
  EXPECT_EQ(op.Texts().back(), "Operazione completata");
  EXPECT_EQ(AmbienteEccezioni::Scalar(db, kContaFasce), "1/1");
}

TEST(TImportEccForm, EmptyingBandsWhileAnEditorHoldsOneWritesNothingUntilItIsFree) {
  // Fault: a band an editor holds while writing its rows told with the
  // engine's text or as done, or the other bands deleted without it.
  AmbienteEccezioni amb;
  const std::string db = amb.CompanyDatabasePath();
  FasceConRighe(db);
  Operator op;
  TImportEccForm& f = amb.Finestra();
  AltroOperatore altro(db);
  auto presa = std::make_unique<PresaFascia>(altro.Transazione(), "3");
  ASSERT_TRUE(presa->Presa());
  f.Button3Click();
  EXPECT_EQ(
      op.Texts(),
      (std::vector<std::string>{"La fascia è in uso da un altro utente: riprovare più tardi"}));
  EXPECT_EQ(AmbienteEccezioni::Scalar(db, kContaFasce), "3/3");
  presa->Annulla();
  f.Button3Click();
  EXPECT_EQ(op.Texts().back(), "Operazione completata");
  EXPECT_EQ(AmbienteEccezioni::Scalar(db, kContaFasce), "1/1");
}

TEST(TImportEccForm, EmptyingListsMeetingAListHeldElsewhereKeepsItsRows) {
  // Fault: the net rows deleted before the held list kept pending for the
  // next step's commit (a list left without rows by a command that
  // failed), or the held list told with the engine's text.
  AmbienteEccezioni amb;
  const std::string db = amb.CompanyDatabasePath();
  AmbienteEccezioni::ExecAll(
      db, {"INSERT INTO LISTSC (ID, NOME, TIPO) VALUES (2, 'Rivenditori', 'N')",
           "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, PREZZO) VALUES (2, 'A1', 3)"});
  Operator op;
  TImportEccForm& f = amb.Finestra();
  AltroOperatore altro(db);
  auto presa = std::make_unique<PresaListino>(altro.Transazione(), "2");
  ASSERT_TRUE(presa->Presa());
  f.Button2Click();
  EXPECT_EQ(
      op.Texts(),
      (std::vector<std::string>{"Il listino è in uso da un altro utente: riprovare più tardi"}));
  presa->Annulla();
  f.Button1Click();
  EXPECT_EQ(AmbienteEccezioni::Rows(db, "SELECT IDLISTSC, CODICEARTICOLO FROM LISTSCDTNET"),
            (Righe{{"2", "A1"}}));
}

TEST(TImportEccForm, PriceTypesRefreshMeetingATypeHeldElsewhereLeavesNonePending) {
  // Fault: the price types written before the held one left pending (the
  // next step commits half a refresh), the refresh logged as done, or the
  // held row told with the engine's text.
  AmbienteEccezioni amb;
  const std::string db = amb.CompanyDatabasePath();
  FasceConRighe(db);
  AmbienteEccezioni::ExecAll(db, {"INSERT INTO TIPIPR VALUES (1, 'Vecchia 1')",
                                  "INSERT INTO TIPIPR VALUES (2, 'Vecchia 2')",
                                  "INSERT INTO TIPIPR VALUES (3, 'Vecchia 3')"});
  Operator op;
  TImportEccForm& f = amb.Finestra();
  AltroOperatore altro(db);
  altro.Scrive("UPDATE TIPIPR SET DESCRIZIONE=DESCRIZIONE WHERE CODICE=3");
  f.Button5Click();
  EXPECT_EQ(op.Texts(), (std::vector<std::string>{kRecordInUso}));
  EXPECT_EQ(f.Memo1->Lines.Count(), 0);
  altro.Finisce();
  f.Button1Click();
  EXPECT_EQ(AmbienteEccezioni::Rows(db, "SELECT DESCRIZIONE FROM TIPIPR ORDER BY CODICE"),
            (Righe{{"Vecchia 1"}, {"Vecchia 2"}, {"Vecchia 3"}}));

  // Free, the refresh stays pending until the next step commits it.
  f.Button5Click();
  EXPECT_EQ(UltimaRiga(f), "Aggiornamento TIPIPR completato");
  EXPECT_EQ(AmbienteEccezioni::Scalar(db, "SELECT DESCRIZIONE FROM TIPIPR WHERE CODICE=3"),
            "Vecchia 3");
  f.Button3Click();
  EXPECT_EQ(AmbienteEccezioni::Rows(db, "SELECT DESCRIZIONE FROM TIPIPR ORDER BY CODICE"),
            (Righe{{"Base"}, {"Seconda"}, {"Terza"}}));
}

}  // namespace
}  // namespace velmaro
