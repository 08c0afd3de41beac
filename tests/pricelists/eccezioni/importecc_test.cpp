// The exceptions import: the lists and bands it writes, where it stops,
// and what closing keeps.
#include "pricelists/eccezioni/importecc.h"

#include <gtest/gtest.h>

#include "exports/exports_fixture.h"
#include "pricelists/importecc_fixture.h"
#include "ui/stdctrls.h"

namespace velmaro {
namespace {

using testing::AmbienteEccezioni;
using testing::Operator;
using Righe = std::vector<std::vector<std::string>>;

std::string UltimaRiga(const TImportEccForm& f) {
  return f.Memo1->Lines.Count() ? f.Memo1->Lines[f.Memo1->Lines.Count() - 1] : "";
}

TEST(TImportEccForm, ListsAndBandsCarryTheValuesAsTheyStand) {
  // Fault: apostrophes of codes, names and articles ending a literal (the
  // insert fails, or step 2 no longer finds the class's lists); prices with
  // a decimal comma or a thousands separator in the statement; IDs off the
  // counter+2 / counter+3 rule; a customer code of fewer than six
  // characters cut or padded.
  AmbienteEccezioni amb;
  AmbienteEccezioni::ExecAll(
      amb.Eccezioni(),
      {"INSERT INTO CLASSECC VALUES ('D''A', 'Ditta d''Arco')",
       "INSERT INTO CLASSECC VALUES ('ZZ', 'Zeta')",
       "INSERT INTO ECCEZIONI (ID, CLASSECC, ARTICOLO, NETTO, NETTO2, QUANTITA2) "
       "VALUES (1, 'D''A', 'AB''1', 1234567.25, 3.5, 2.5)",
       "INSERT INTO ECCEZIONI (ID, CLASSECC, ARTICOLO, PERCENTUALESCONTO, PERCENTUALESCONTO2) "
       "VALUES (2, 'D''A', 'AB''1', 12.5, NULL)",
       "INSERT INTO ECCEZIONI (ID, CLASSECC, CATEGORIAART, PERCENTUALESCONTO, PERCENTUALESCONTO2) "
       "VALUES (3, 'ZZ', 'VIT', 10, 2)",
       "INSERT INTO CLIECCCLASS VALUES ('42', 'D''A')",
       "INSERT INTO CLIECCCLASS VALUES ('XY000042', 'ZZ')"});
  AmbienteEccezioni::Exec(amb.CompanyDatabasePath(), "INSERT INTO CLIENTI VALUES ('42', NULL)");
  Operator op;
  TImportEccForm& f = amb.Finestra();
  f.EditIDlistIniz->SetText("10");
  f.Button1Click();
  EXPECT_EQ(UltimaRiga(f), "IMPORTATI 6 listini");
  const std::string db = amb.CompanyDatabasePath();
  EXPECT_EQ(AmbienteEccezioni::Rows(db,
                                    "SELECT ID, NOME, CLASSIFICAZIONE1, TIPO, "
                                    "COALESCE(CAMPOSEL1, '-') FROM LISTSC ORDER BY ID"),
            (Righe{{"1", "Base", testing::kNull, "N", "-"},
                   {"12", "N Ditta d'Arco", "D'A", "N", "-"},
                   {"13", "S Ditta d'Arco", "D'A", "S", "CODICE"},
                   {"16", "S Zeta", "ZZ", "S", "CLASSIFICAZIONE1"}}));
  EXPECT_EQ(AmbienteEccezioni::Rows(db,
                                    "SELECT CODICEARTICOLO, CAST(PREZZO AS VARCHAR(20)), "
                                    "CAST(QUANTITASCAGLIONE AS VARCHAR(20)) FROM LISTSCDTNET "
                                    "ORDER BY QUANTITASCAGLIONE"),
            (Righe{{"AB'1", "1234567.2500", "0.000"}, {"AB'1", "3.5000", "2.500"}}));
  EXPECT_EQ(AmbienteEccezioni::Rows(db,
                                    "SELECT IDLISTSC, DESCRIZIONE, CAST(SCONTO1 AS VARCHAR(20)), "
                                    "CAST(SCONTO2 AS VARCHAR(20)), VALORESEL1 FROM LISTSCDTSCO "
                                    "ORDER BY IDLISTSC"),
            (Righe{{"13", "*SAAB'1", "12.5000", "0.0000", "AB'1"},
                   {"16", "VIT", "10.0000", "2.0000", "VIT"}}));

  f.Button4Click();
  EXPECT_EQ(UltimaRiga(f), "Creazione fasce completata");
  EXPECT_EQ(AmbienteEccezioni::Rows(db, "SELECT ID, NOME FROM FASCESC ORDER BY ID"),
            (Righe{{"3", "ECC42"}, {"4", "ECC000042"}}));
  EXPECT_EQ(AmbienteEccezioni::Rows(db,
                                    "SELECT IDFASCIA, NRIGA, IDLISTINO FROM FASCESCDT "
                                    "ORDER BY IDFASCIA, NRIGA"),
            (Righe{{"3", "1", "12"}, {"3", "2", "13"}, {"4", "1", "16"}}));
  EXPECT_EQ(AmbienteEccezioni::Scalar(db, "SELECT TIPOPREZZO FROM CLIENTI WHERE CODICE='42'"), "3");
  EXPECT_EQ(AmbienteEccezioni::Scalar(db,
                                      "SELECT COUNT(*) FROM LISTSC WHERE CLASSIFICAZIONE1 "
                                      "IS NOT NULL"),
            "0");
  EXPECT_TRUE(op.Texts().empty());
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

TEST(TImportEccForm, ClosingKeepsPendingPriceTypesOnlyWhenNothingFailed) {
  // Fault: the price types of "Aggiorna TIPIPR" lost at close, or the half
  // of a failed "Svuota fasce" made permanent along with them.
  AmbienteEccezioni amb;
  const std::string db = amb.CompanyDatabasePath();
  AmbienteEccezioni::Exec(db, "INSERT INTO FASCESC (ID, NOME) VALUES (5, 'Cinque')");
  Operator op;
  {
    TImportEccForm& f = amb.Finestra();
    f.Button5Click();
    EXPECT_EQ(AmbienteEccezioni::Scalar(db, "SELECT COUNT(*) FROM TIPIPR"), "0");
    f.Close();
    EXPECT_EQ(AmbienteEccezioni::Scalar(db, "SELECT DESCRIZIONE FROM TIPIPR"), "Cinque");
  }
  AmbienteEccezioni seconda;
  const std::string db2 = seconda.CompanyDatabasePath();
  AmbienteEccezioni::ExecAll(
      db2, {"INSERT INTO FASCESC (ID, NOME) VALUES (6, 'Sei')", "DROP TABLE FASCESCDT"});
  TImportEccForm& g = seconda.Finestra();
  g.Button5Click();
  EXPECT_ANY_THROW(g.Button3Click());
  g.Close();
  EXPECT_EQ(AmbienteEccezioni::Scalar(db2, "SELECT COUNT(*) FROM TIPIPR"), "0");
  EXPECT_EQ(AmbienteEccezioni::Scalar(db2, "SELECT COUNT(*) FROM FASCESC"), "1");
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
