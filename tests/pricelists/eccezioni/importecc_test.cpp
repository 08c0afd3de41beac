// The exceptions import: the class links its bands step clears, where it
// stops, and a database that does not open.
#include "pricelists/eccezioni/importecc.h"

#include <gtest/gtest.h>

#include "exports/exports_fixture.h"
#include "pricelists/eccezioni/importecc_fixture.h"
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

}  // namespace
}  // namespace velmaro
