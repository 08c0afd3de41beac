// The settings window: the shared values it shows and saves, and the
// price types it refreshes from the bands.
#include <gtest/gtest.h>

#include "pricelists/importecc_fixture.h"
#include "pricelists/impostazioni/lisfasimpost.h"
#include "pricelists/tipipr.h"
#include "ui/stdctrls.h"

namespace velmaro {
namespace {

using testing::AmbienteEccezioni;
using testing::Operator;
using Righe = std::vector<std::vector<std::string>>;

TEST(TLisFasImpostForm, OnlyOneTicksTheBoxAndSavingWritesOneOrZero) {
  // Fault: any non-empty value (such as "true") read as ticked, the box
  // saved as "true"/"false" or per operator, or an emptied database name
  // not stored.
  AmbienteEccezioni amb;
  const std::string db = amb.CompanyDatabasePath();
  AmbienteEccezioni::Exec(db,
                          "INSERT INTO TABX (CODICE, NOME, TESTO) VALUES "
                          "(GEN_ID(CODICETABXCOUNTER, 1), 'ModalitaPXAssCli', 'true')");
  Operator op;
  TLisFasImpostForm& f = amb.Finestra<TLisFasImpostForm>();
  EXPECT_EQ(f.EditDirEcc->Text(), amb.Eccezioni());
  EXPECT_EQ(f.EditListNettDef->Text(), "");
  EXPECT_FALSE(f.CheckBoxAssClientiPX->Checked());
  f.EditDirEcc->SetText("");
  f.EditListNettDef->SetText("3");
  f.ButtonSalvaClick();
  EXPECT_EQ(op.Texts(), (std::vector<std::string>{"Impostazioni salvate"}));
  EXPECT_EQ(AmbienteEccezioni::Rows(db,
                                    "SELECT NOME, COALESCE(TESTO, '<vuoto>'), "
                                    "COALESCE(UTENTE, -1) FROM TABX ORDER BY NOME"),
            (Righe{{"ImpDirEccDB", "", "-1"},
                   {"ListinoNettiDefPerSconti", "3", "-1"},
                   {"ModalitaPXAssCli", "0", "-1"}}));

  f.CheckBoxAssClientiPX->SetChecked(true);
  f.ButtonSalvaClick();
  EXPECT_EQ(AmbienteEccezioni::Scalar(db, "SELECT TESTO FROM TABX WHERE NOME='ModalitaPXAssCli'"),
            "1");
}

TEST(TLisFasImpostForm, PriceTypesCutByCharactersThenQuoted) {
  // Fault: names cut after doubling their apostrophes (a lone quote ends
  // the literal), cut by bytes (an accented letter split), or the refresh
  // left uncommitted.
  EXPECT_EQ(DescrizioneTipoPrezzo("Imprese edili dell'Abruzzo"), "Imprese edili dell''");
  EXPECT_EQ(DescrizioneTipoPrezzo("Città più già così'y"), "Città più già così''");
  EXPECT_EQ(DescrizioneTipoPrezzo("Corta"), "Corta");

  AmbienteEccezioni amb;
  const std::string db = amb.CompanyDatabasePath();
  AmbienteEccezioni::ExecAll(
      db, {"INSERT INTO FASCESC (ID, NOME) VALUES (1, 'Imprese edili dell''Abruzzo')",
           "INSERT INTO FASCESC (ID, NOME) VALUES (2, 'Perché è così già là, più')",
           "INSERT INTO TIPIPR VALUES (9, 'Vecchia')"});
  Operator op;
  TLisFasImpostForm& f = amb.Finestra<TLisFasImpostForm>();
  f.ButtonAggTipiPRClick();
  EXPECT_EQ(op.Texts(), (std::vector<std::string>{"Aggiornamento TIPIPR completato"}));
  EXPECT_EQ(AmbienteEccezioni::Rows(db, "SELECT CODICE, DESCRIZIONE FROM TIPIPR ORDER BY CODICE"),
            (Righe{{"1", "Imprese edili dell'"}, {"2", "Perché è così già l"}, {"9", "Vecchia"}}));
}

}  // namespace
}  // namespace velmaro
