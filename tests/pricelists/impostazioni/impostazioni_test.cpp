// The settings window's "Salva" against another session's write that is
// still running: the row it holds is told in use, the other values are
// stored, and nothing is inserted a second time.
#include "pricelists/impostazioni/lisfasimpost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "pricelists/eccezioni/importecc_fixture.h"
#include "ui/stdctrls.h"

namespace velmaro {
namespace {

using testing::AmbienteEccezioni;
using testing::Operator;
using Righe = std::vector<std::vector<std::string>>;

const char* const kValori =
    "SELECT NOME, TESTO FROM TABX WHERE NOME IN ('ListinoNettiDefPerSconti', "
    "'ModalitaPXAssCli') ORDER BY NOME, CODICE";

// Another session's write of a stored value, left running until Rilascia.
class ScritturaInCorso {
 public:
  ScritturaInCorso(const std::string& archivio, const std::string& sql) : t_(&d_) {
    AmbienteEccezioni::Attach(d_, archivio);
    t_.StartTransaction();
    db::Query q(&d_, &t_);
    q.SQL.Add(sql);
    q.ExecSQL();
  }
  ~ScritturaInCorso() { Rilascia(); }
  void Rilascia() {
    if (t_.InTransaction()) t_.Rollback();
  }

 private:
  db::Database d_;
  db::Transaction t_;
};

TEST(TLisFasImpostForm, ValueHeldByARunningWriteIsInUseAndTheOthersAreStored) {
  // Fault: the held value told as not saved for good (or inserted again as
  // a second row), the other values not stored with it, a failure of
  // another value lost in the box, or the next save still refused once the
  // other session is done.
  AmbienteEccezioni amb;
  const std::string db = amb.CompanyDatabasePath();
  AmbienteEccezioni::Exec(db,
                          "INSERT INTO TABX (CODICE, NOME, TESTO) VALUES "
                          "(GEN_ID(CODICETABXCOUNTER, 1), 'ListinoNettiDefPerSconti', '2')");
  Operator op;
  TLisFasImpostForm& f = amb.Finestra<TLisFasImpostForm>();
  ScritturaInCorso altro(db, "UPDATE TABX SET TESTO='5' WHERE NOME='ListinoNettiDefPerSconti'");

  f.EditDirEcc->SetText(std::string(200, 'x'));  // longer than TESTO keeps
  f.EditListNettDef->SetText("3");
  f.CheckBoxAssClientiPX->SetChecked(true);
  f.ButtonSalvaClick();
  ASSERT_EQ(op.Texts().size(), 1u);
  EXPECT_EQ(op.Texts()[0],
            "Impostazioni non salvate: \"Database ecc\"\n"
            "L'impostazione \"Listino netti default per sconti\" è in uso da un altro utente: "
            "riprovare più tardi");
  EXPECT_EQ(ui::App().Messages().back().Type, ui::MsgDlgType::Warning);
  EXPECT_EQ(AmbienteEccezioni::Rows(db, kValori),
            (Righe{{"ListinoNettiDefPerSconti", "2"}, {"ModalitaPXAssCli", "1"}}));

  // The other session gives its write up: the same press stores every
  // value, each in its one row.
  altro.Rilascia();
  f.EditDirEcc->SetText("/dati/ecc.fdb");
  f.ButtonSalvaClick();
  ASSERT_EQ(op.Texts().size(), 2u);
  EXPECT_EQ(op.Texts()[1], "Impostazioni salvate");
  EXPECT_EQ(AmbienteEccezioni::Rows(db, kValori),
            (Righe{{"ListinoNettiDefPerSconti", "3"}, {"ModalitaPXAssCli", "1"}}));
  EXPECT_EQ(AmbienteEccezioni::Scalar(db, "SELECT TESTO FROM TABX WHERE NOME='ImpDirEccDB'"),
            "/dati/ecc.fdb");
}

TEST(TLisFasImpostForm, TwoValuesInUseAreNamedTogether) {
  // Fault: only the first value held named, or each told in a box of its own.
  AmbienteEccezioni amb;
  const std::string db = amb.CompanyDatabasePath();
  AmbienteEccezioni::Exec(db,
                          "INSERT INTO TABX (CODICE, NOME, TESTO) VALUES "
                          "(GEN_ID(CODICETABXCOUNTER, 1), 'ModalitaPXAssCli', '1')");
  Operator op;
  TLisFasImpostForm& f = amb.Finestra<TLisFasImpostForm>();
  ScritturaInCorso altro(db, "UPDATE TABX SET TESTO=TESTO WHERE NOME IN ('ImpDirEccDB', "
                             "'ModalitaPXAssCli')");
  f.ButtonSalvaClick();
  ASSERT_EQ(op.Texts().size(), 1u);
  EXPECT_EQ(op.Texts()[0],
            "Le impostazioni \"Database ecc\", \"Modalità PX associa clienti\" sono in uso da un "
            "altro utente: riprovare più tardi");
  EXPECT_EQ(AmbienteEccezioni::Scalar(
                db, "SELECT COUNT(*) FROM TABX WHERE NOME IN ('ImpDirEccDB', 'ModalitaPXAssCli')"),
            "2");
}

}  // namespace
}  // namespace velmaro
