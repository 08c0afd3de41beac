// The row pages of the editor on the sample company: writes refused by
// another operator's lock on the rows, and writes made from a view older
// than another operator's write to the list.
#include <gtest/gtest.h>

#include "db/query.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor_fixture.h"
#include "pricelists/righe/dialogo_netto.h"
#include "pricelists/righe/dialogo_sconto.h"
#include "ui/extctrls.h"
#include "ui/stdctrls.h"

namespace velmaro::testing {
namespace {

TEST_F(EditorTest, WritesOnRowsAnotherOperatorHoldsAreRefused) {
  // Catches: a lock conflict escaping the command (or reported as done, or
  // as an internal error rather than a row in use), a row changed or lost
  // by the refused write, a window that cannot write again once the other
  // operator let go.
  Operator op;
  TLisFasEditForm& w = Apri();
  w.ButtonListiniClick();
  w.FrameListini1ButtonAnnullaFiltroClick();
  ASSERT_TRUE(w.FrameListini1->QueryListini->Locate("ID", db::Value("2")));
  w.FrameListini1GridListiniDblClick();
  db::Query& q = *w.FrameDettNetti1->QueryDettNetti;

  AltraSessione altro(
      Archivio(),
      "UPDATE LISTSCDTNET SET PREZZO=PREZZO WHERE IDLISTSC=2 AND CODICEARTICOLO='VTL001'");

  auto modifica = [&op] {
    op.Then([](ui::Form& f) {
      auto& d = dynamic_cast<TListiniNuovoForm&>(f);
      d.EditPrezzo->SetText("9,99");
      d.ButtonOKClick();
    });
  };
  ASSERT_TRUE(q.Locate("CODICEARTICOLO;QUANTITASCAGLIONE", {db::Value("VTL001"), db::Value(0.0)}));
  modifica();
  w.FrameListiniEdit11ButtonEditClick();
  const std::string inUso = "Il listino è in uso da un altro utente: riprovare più tardi";
  EXPECT_EQ(op.Texts(), std::vector<std::string>{inUso});
  ASSERT_TRUE(q.Locate("CODICEARTICOLO;QUANTITASCAGLIONE", {db::Value("VTL001"), db::Value(10.0)}));
  ui::App().ClearMessages();
  w.FrameListiniEdit11ButtonEliminaClick();
  EXPECT_EQ(op.Texts(), (std::vector<std::string>{"Eliminare il record selezionato?", inUso}));
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM LISTSCDTNET WHERE IDLISTSC=2 AND CODICEARTICOLO='VTL001'"),
            "3");

  altro.Rilascia();
  ASSERT_TRUE(q.Locate("CODICEARTICOLO;QUANTITASCAGLIONE", {db::Value("VTL001"), db::Value(0.0)}));
  ui::App().ClearMessages();
  modifica();
  w.FrameListiniEdit11ButtonEditClick();
  EXPECT_TRUE(op.Texts().empty());
  EXPECT_EQ(Valore("SELECT PREZZO FROM LISTSCDTNET WHERE IDLISTSC=2 AND CODICEARTICOLO='VTL001' "
                   "AND QUANTITASCAGLIONE=0"),
            "9,99");
}

// The rows page of list `id` on screen, opened from the lists page.
void ApriRighe(TLisFasEditForm& w, const std::string& id) {
  w.ButtonListiniClick();
  w.FrameListini1ButtonAnnullaFiltroClick();
  ASSERT_TRUE(w.FrameListini1->QueryListini->Locate("ID", db::Value(id)));
  w.FrameListini1GridListiniDblClick();
}

// Another operator's write to list `lista`, committed as the editor commits
// it: the header's new version the hold leaves, then the statement.
std::vector<std::string> ScritturaAltrui(const std::string& lista, const std::string& sql) {
  return {"UPDATE LISTSC SET ID=ID WHERE ID=" + lista, sql};
}

TEST_F(EditorTest, EveryExtensionInterruptedByAnotherWriteIsWrittenOnce) {
  // Catches: the renewed view running the whole command again (the
  // extensions already committed written twice), or dropping the extension
  // refused for the old view, or every extension after it.
  const char* const errore = "Errore interno: impossibile inserire un nuovo record";
  for (const char* e : {"0", "1", "2"})
    Esegui(std::string("INSERT INTO ANAMAG (CODICE, ESTENSIONE) VALUES ('EST001', '") + e + "')");
  Esegui("CREATE EXCEPTION ESTENSIONE_RIFIUTATA 'rifiutata'");
  Esegui(
      "CREATE TRIGGER RIFIUTA_1 FOR LISTSCDTNET BEFORE INSERT AS BEGIN "
      "IF (NEW.ESTCODICE = '1') THEN EXCEPTION ESTENSIONE_RIFIUTATA; END");
  Operator op;
  TLisFasEditForm& w = Apri();
  ApriRighe(w, "2");
  // While the loop waits on the box of extension 1, the other operator writes.
  ui::App().OnMessageShown = [&](const ui::MessageBoxInfo& m) {
    if (m.Text != errore) return;
    HostFolder::ExecAll(Archivio(), ScritturaAltrui("2",
                                                    "INSERT INTO LISTSCDTNET (IDLISTSC, "
                                                    "CODICEARTICOLO, ESTCODICE, PREZZO, "
                                                    "DATAINIZIOVALIDITA, QUANTITASCAGLIONE) "
                                                    "VALUES (2, 'VTL001', '0', 1, "
                                                    "'01/01/2025', 5)"));
  };
  op.Then([](ui::Form& f) {
    auto& d = dynamic_cast<TListiniNuovoForm&>(f);
    d.EditCodArt->SetText("EST001");
    d.EditPrezzo->SetText("15");
    d.CheckBoxEstensioni->SetChecked(true);
    d.ButtonOKClick();
  });
  w.FrameListiniEdit11ButtonNuovoClick();
  ui::App().OnMessageShown = nullptr;
  EXPECT_EQ(op.Texts(), std::vector<std::string>{errore});
  EXPECT_EQ(HostFolder::Rows(Archivio(),
                             "SELECT ESTCODICE, COUNT(*) FROM LISTSCDTNET WHERE "
                             "CODICEARTICOLO='EST001' GROUP BY 1 ORDER BY 1"),
            (std::vector<std::vector<std::string>>{{"0", "1"}, {"2", "1"}}));
  EXPECT_TRUE(w.FrameDettNetti1->QueryDettNetti->Locate("CODICEARTICOLO;QUANTITASCAGLIONE",
                                                        {db::Value("VTL001"), db::Value(5.0)}));
}

TEST_F(EditorTest, RowStoredByAnotherOperatorAfterTheDialogsCheckIsRefusedUnderTheHold) {
  // Catches: a row written again after renewing without the dialog's
  // duplicate check, or with it on the old view, so that the other
  // operator's row gets a twin.
  Operator op;
  TLisFasEditForm& w = Apri();
  ApriRighe(w, "2");
  op.Then([this](ui::Form& f) {
    auto& d = dynamic_cast<TListiniNuovoForm&>(f);
    d.EditCodArt->SetText("VTL001");
    d.EditPrezzo->SetText("2");
    d.EditQntSca->SetText("5");
    d.ButtonOKClick();
    HostFolder::ExecAll(Archivio(), ScritturaAltrui("2",
                                                    "INSERT INTO LISTSCDTNET (IDLISTSC, "
                                                    "CODICEARTICOLO, ESTCODICE, PREZZO, "
                                                    "DATAINIZIOVALIDITA, QUANTITASCAGLIONE) "
                                                    "SELECT 2, 'VTL001', '0', 1, "
                                                    "DATAINIZIOVALIDITA, 5 FROM LISTSC "
                                                    "WHERE ID=2"));
  });
  w.DataInizioDef->SetDate(plat::EncodeDate(2025, 1, 1));
  w.FrameListiniEdit11ButtonNuovoClick();
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"Attenzione: l'articolo inserito è già in uso"});
  EXPECT_EQ(HostFolder::Rows(Archivio(),
                             "SELECT PREZZO FROM LISTSCDTNET WHERE IDLISTSC=2 AND "
                             "CODICEARTICOLO='VTL001' AND QUANTITASCAGLIONE=5"),
            (std::vector<std::vector<std::string>>{{"1"}}));
}

TEST_F(EditorTest, DiscountEditsFromAnOldViewKeepWhatAnotherOperatorChanged) {
  // Catches: the discount page's edit run again over a row the other
  // operator changed (its discount lost) or refused for a row it did not
  // touch.
  const char* const errore = "Errore interno: impossibile aggiornare il record corrente";
  Operator op;
  TLisFasEditForm& w = Apri();
  ApriRighe(w, "3");
  db::Query& q = *w.FrameDettSconti1->QueryDettSconti;
  auto modifica = [&op](const char* sconto) {
    op.Then([sconto](ui::Form& f) {
      auto& d = dynamic_cast<TScontiNuovoForm&>(f);
      d.EditSconto1->SetText(sconto);
      d.ButtonOKClick();
    });
  };
  HostFolder::ExecAll(Archivio(),
                      ScritturaAltrui("3",
                                      "UPDATE LISTSCDTSCO SET SCONTO1=31 WHERE IDLISTSC=3 "
                                      "AND DESCRIZIONE='VIT'"));
  ASSERT_TRUE(q.Locate("DESCRIZIONE", db::Value("VIT")));
  modifica("40");
  w.FrameDettScontoEdit11ButtonEditClick();
  EXPECT_EQ(op.Texts(), std::vector<std::string>{errore});
  EXPECT_EQ(HostFolder::Scalar(Archivio(),
                               "SELECT SCONTO1 FROM LISTSCDTSCO WHERE IDLISTSC=3 AND "
                               "DESCRIZIONE='VIT'"),
            "31");

  ui::App().ClearMessages();
  HostFolder::ExecAll(Archivio(),
                      ScritturaAltrui("3",
                                      "UPDATE LISTSCDTSCO SET SCONTO1=21 WHERE IDLISTSC=3 "
                                      "AND DESCRIZIONE='ELE'"));
  ASSERT_TRUE(q.Locate("DESCRIZIONE", db::Value("FIS")));
  modifica("26");
  w.FrameDettScontoEdit11ButtonEditClick();
  EXPECT_TRUE(op.Texts().empty());
  EXPECT_EQ(HostFolder::Rows(Archivio(),
                             "SELECT DESCRIZIONE, SCONTO1 FROM LISTSCDTSCO WHERE "
                             "IDLISTSC=3 AND DESCRIZIONE IN ('ELE', 'FIS') ORDER BY 1"),
            (std::vector<std::vector<std::string>>{{"ELE", "21"}, {"FIS", "26"}}));
}

}  // namespace
}  // namespace velmaro::testing
