// The discount exchange window on the demo company: values with
// apostrophes, a file imported twice, and files that cannot be used.
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

}  // namespace
}  // namespace velmaro::testing
