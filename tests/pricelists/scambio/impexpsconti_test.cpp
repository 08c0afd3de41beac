// The discount exchange window on the demo company: values with
// apostrophes, a file imported twice, files that cannot be used or that
// change while imported, and the export's view.
#include "pricelists/scambio/impexpsconti.h"

#include <gtest/gtest.h>

#include "pricelists/scambio/impexp_fixture.h"
#include "ui/stdctrls.h"

namespace velmaro::testing {
namespace {

class ImpExpSconti : public FinestraSuDemo<TImpExpLisScontiForm> {
 protected:
  Righe Sconti(const std::string& id) {
    return amb->Righe(
        "SELECT DESCRIZIONE, SCONTO1, SCONTO2, VALORESEL1 FROM LISTSCDTSCO WHERE IDLISTSC=" + id +
        " ORDER BY DESCRIZIONE");
  }
};

TEST_F(ImpExpSconti, ApostrophesImportAndASecondImportAppends) {
  // Catches a typed apostrophe ending the statement's literal (the row
  // refused, or worse, the statement extended), and a second import that
  // replaces instead of appending as the keyless table does.
  const std::string id = amb->NuovoListino("S");
  const std::string file = amb->File("apici.csv");
  AmbienteDemo::Scrivi(file, {"TESTA;", "Sconto dell'anno;01/01/2025;;0;10;;;D'Amico;;;;",
                              "Sconto \xB4"
                              "x;01/01/2025;;0;5;2,5;;A;;;;"});
  auto f = Finestra(id);
  f->EditDirImp->SetText(file);
  Operator op;
  f->ButtonImp->Click();
  f->ButtonImp->Click();
  EXPECT_EQ(Sconti(id), (Righe{{"Sconto dell'anno", "10", kNull, "D'Amico"},
                               {"Sconto dell'anno", "10", kNull, "D'Amico"},
                               {"Sconto \xC2\xB4x", "5", "2,5", "A"},
                               {"Sconto \xC2\xB4x", "5", "2,5", "A"}}));
  // The log is not cleared between imports.
  const std::string log = TestoLog(*f);
  EXPECT_NE(log.find("Sconti importati: 2\nSconti falliti: 0\nInizio importazione file\n"),
            std::string::npos);
}

TEST_F(ImpExpSconti, FilesThatCannotBeUsedWriteNothing) {
  // Catches a missing import file read as an empty one (a success told),
  // and an export into a missing folder reported as done.
  const std::string id = amb->NuovoListino("S");
  auto f = Finestra(id);
  f->EditDirImp->SetText(amb->File("manca.csv"));
  f->EditDirExp->SetText(amb->File("cartella/che/manca.csv"));
  Operator op;
  f->ButtonImp->Click();
  f->ButtonExp->Click();
  EXPECT_EQ(op.Texts(),
            (std::vector<std::string>{
                "Impossibile aprire il file \"" + amb->File("manca.csv") + "\"",
                "Impossibile creare il file \"" + amb->File("cartella/che/manca.csv") + "\""}));
  EXPECT_TRUE(Sconti(id).empty());
  EXPECT_EQ(f->MemoLog->Lines.Count(), 1);  // "Inizio esportazione file"
}

TEST_F(ImpExpSconti, FileRewrittenInPlaceWritesNothing) {
  // Catches lines of a file written in place after the count, or after
  // some of its rows were written, imported (and committed) all the same.
  const std::string id = amb->NuovoListino("S");
  const std::string file = amb->File("sul_posto.csv");
  const std::vector<std::string> righe = {"TESTA;", "Sconto;01/01/2025;;0;10;;;;;;;",
                                          "Rotto;31/02/2025;;0;5;;;;;;;"};
  const std::string errore = "Errore di lettura del file \"" + file + "\"";
  auto f = Finestra(id);
  f->EditDirImp->SetText(file);
  for (const char* quando :
       {"Inizio importazione file", "Errore interno durante l'importazione dell'articolo Rotto"}) {
    AmbienteDemo::Scrivi(file, righe);
    f->MemoLog->Lines.Clear();
    Operator op;
    AlLog(*f, quando, [&] {
      AmbienteDemo::Scrivi(file, {"TESTA;", "Altro;01/01/2025;;0;1;;;;;;;"});
    });
    f->ButtonImp->Click();
    EXPECT_EQ(op.Texts(), std::vector<std::string>{errore}) << quando;
    EXPECT_EQ(TestoLog(*f).find("Sconti importati"), std::string::npos) << quando;
  }
  f->QueryAux1->GetTransaction()->CommitRetaining();
  EXPECT_TRUE(Sconti(id).empty());
}

TEST_F(ImpExpSconti, FileRewrittenToTheSameSizeWritesNothing) {
  // Catches a file written in place told by its size alone: a rewrite of
  // the same length, dated otherwise, imported all the same.
  const std::string id = amb->NuovoListino("S");
  const std::string file = amb->File("stessa_misura.csv");
  AmbienteDemo::Scrivi(file, {"TESTA;", "Sconto;01/01/2025;;0;10;;;;;;;"});
  auto f = Finestra(id);
  f->EditDirImp->SetText(file);
  Operator op;
  AlLog(*f, "Inizio importazione file", [&] {
    AmbienteDemo::RiscriviStessaMisura(file, {"TESTA;", "Altro!;01/01/2025;;0;10;;;;;;;"});
  });
  f->ButtonImp->Click();
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"Errore di lettura del file \"" + file + "\""});
  EXPECT_EQ(TestoLog(*f).find("Sconti importati"), std::string::npos);
  f->QueryAux1->GetTransaction()->CommitRetaining();
  EXPECT_TRUE(Sconti(id).empty());
}

TEST_F(ImpExpSconti, ExportReadsWhatIsCommittedWhenItStarts) {
  // Catches an export that reads the editor's old view: a row another
  // session committed since is left out.
  const std::string id = amb->NuovoListino("S");
  const std::string file = amb->File("sconti_esportati.csv");
  auto f = Finestra(id);
  f->EditDirExp->SetText(file);
  Operator op;
  f->ButtonExp->Click();
  amb->Sql(
      "INSERT INTO LISTSCDTSCO (IDLISTSC, DESCRIZIONE, DATAINIZIOVALIDITA, QUANTITASCAGLIONE, "
      "SCONTO1) VALUES (" +
      id + ", 'Nuovo', '01/01/2025', 0, 10)");
  f->ButtonExp->Click();
  EXPECT_NE(AmbienteDemo::Leggi(file).find("\r\nNuovo;01/01/2025;;0;10;"), std::string::npos);
  EXPECT_NE(TestoLog(*f).find("Sconti esportati: 0\nInizio esportazione file\nSconti esportati: 1"),
            std::string::npos);
}

}  // namespace
}  // namespace velmaro::testing
