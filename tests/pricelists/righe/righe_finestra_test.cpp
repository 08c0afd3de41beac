// The row pages of the editor on the sample company: writes refused by
// another operator's lock on the rows.
#include <gtest/gtest.h>

#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor_fixture.h"
#include "pricelists/righe/dialogo_netto.h"
#include "ui/stdctrls.h"

namespace velmaro::testing {
namespace {

TEST_F(EditorTest, WritesOnRowsAnotherOperatorHoldsAreRefused) {
  // Catches: a lock conflict escaping the command (or reported as done), a
  // row changed or lost by the refused write, a window that cannot write
  // again once the other operator let go.
  Operator op;
  TLisFasEditForm& w = Apri();
  w.IDListinoCorrente = "2";
  w.CaricaListaDettNetti();
  db::Query& q = *w.FrameDettNetti1->QueryDettNetti;

  db::Database altro;
  HostFolder::Attach(altro, Archivio());
  db::Transaction tAltro(&altro);
  tAltro.Params = {"isc_tpb_concurrency", "isc_tpb_nowait"};
  tAltro.StartTransaction();
  db::Query blocco(&altro, &tAltro);
  blocco.SQL.Add(
      "UPDATE LISTSCDTNET SET PREZZO=PREZZO WHERE IDLISTSC=2 AND CODICEARTICOLO='VTL001'");
  blocco.ExecSQL();

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
  EXPECT_EQ(op.Texts(),
            std::vector<std::string>{"Errore interno: impossibile aggiornare il record"});
  ASSERT_TRUE(q.Locate("CODICEARTICOLO;QUANTITASCAGLIONE", {db::Value("VTL001"), db::Value(10.0)}));
  ui::App().ClearMessages();
  w.FrameListiniEdit11ButtonEliminaClick();
  EXPECT_EQ(op.Texts(), (std::vector<std::string>{
                            "Eliminare il record selezionato?",
                            "Errore interno: impossibile eliminare il record selezionato"}));
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM LISTSCDTNET WHERE IDLISTSC=2 AND CODICEARTICOLO='VTL001'"),
            "3");

  tAltro.Rollback();
  ASSERT_TRUE(q.Locate("CODICEARTICOLO;QUANTITASCAGLIONE", {db::Value("VTL001"), db::Value(0.0)}));
  ui::App().ClearMessages();
  modifica();
  w.FrameListiniEdit11ButtonEditClick();
  EXPECT_TRUE(op.Texts().empty());
  EXPECT_EQ(Valore("SELECT PREZZO FROM LISTSCDTNET WHERE IDLISTSC=2 AND CODICEARTICOLO='VTL001' "
                   "AND QUANTITASCAGLIONE=0"),
            "9,99");
}

}  // namespace
}  // namespace velmaro::testing
