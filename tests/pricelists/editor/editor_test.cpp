// The price-list editor window: its start-up, a band row leading to its
// list, the lists page's reload, the keys of the row grids and the
// embedded search's objects.
#include <gtest/gtest.h>

#include <algorithm>

#include "context/tabxform.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/rvuxgrid.h"
#include "grid/vuxgrid.h"
#include "platform/format.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor_fixture.h"
#include "pricelists/listini/listini.h"
#include "search/vuxricerche.h"
#include "ui/dbedit.h"
#include "ui/extctrls.h"
#include "ui/pages.h"
#include "ui/stdctrls.h"

namespace velmaro::testing {
namespace {

std::vector<std::string> Colonna(db::Query& q, const char* campo) {
  std::vector<std::string> out;
  const db::Bookmark b = q.GetBookmark();
  for (q.First(); !q.Eof(); q.Next()) out.push_back(q.FieldByName(campo).AsString());
  q.GotoBookmark(b);
  return out;
}

TEST_F(EditorTest, StartUpRunsItsStepsInOrder) {
  // Catches: the band grid loaded before the band table is upgraded (its
  // statement names the added columns), grids set up with wrong keys,
  // dates other than today.
  Esegui("ALTER TABLE FASCESC DROP LISTINOSCONTISPEC2");
  Esegui("ALTER TABLE FASCESC DROP LISTINOSCONTISPEC3");
  Operator op;
  TLisFasEditForm& w = Apri();
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME='FASCESC'"
                   " AND RDB$FIELD_NAME IN ('LISTINOSCONTISPEC2', 'LISTINOSCONTISPEC3')"),
            "2");
  db::Query& fasce = *w.FrameFasce1->QueryFasce;
  ASSERT_TRUE(fasce.Active());
  EXPECT_EQ(Colonna(fasce, "ID"), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
  EXPECT_NE(fasce.FindField("LISTINOSCONTISPEC3"), nullptr);
  EXPECT_EQ(w.IDFasciaCorrente, "1");
  EXPECT_TRUE(w.FrameFasce1->QueryFasceDett->Active());
  for (ui::DateTimePicker* d :
       {w.DataInizioDef, w.DataFineDef, w.FrameListiniEdit11->DataInizioDef,
        w.FrameListiniEdit11->DataFineDef, w.FrameDettScontoEdit11->DataInizioDef,
        w.FrameDettScontoEdit11->DataFineDef})
    EXPECT_EQ(d->Date(), plat::Date()) << d->Name();

  // The grids' keys, in the data module's codes.
  const std::tuple<TVuxGrid*, const char*, int> griglie[] = {
      {w.FrameDettSconti1->GridListSconti, "LISTSCDTSCO", 2},
      {w.FrameDettNetti1->GridListNetti, "LISTSCDTNET", 3},
      {w.FrameListini1->GridListini, "LISTSC", 11},
      {w.FrameFasce1->GridFasce, "FASCESC", 12},
      {w.FrameFasce1->GridDettFasce, "FASCESCDT", 13}};
  for (const auto& [g, tabella, situazione] : griglie) {
    EXPECT_EQ(g->NomeTabella, tabella);
    EXPECT_EQ(g->Situazione(), situazione) << tabella;
    EXPECT_EQ(g->CodiceProgetto, 501);
    EXPECT_EQ(g->Utente, 2);
    EXPECT_TRUE(g->TabellaPiccola);
  }
  // The window's own no-wait transaction for the checks before deletions.
  EXPECT_TRUE(w.Transazione2->Active());
  EXPECT_EQ(w.Transazione2->Params,
            (std::vector<std::string>{"isc_tpb_concurrency", "isc_tpb_nowait"}));
  EXPECT_EQ(w.QueryAux2->GetTransaction(), w.Transazione2);
  // The customer search lives on its page.
  ASSERT_NE(w.RicercaClienti, nullptr);
  EXPECT_EQ(w.RicercaClienti->Parent(), w.TabSheetClienti);
  EXPECT_EQ(w.RicercaClienti->Align(), ui::Align::Client);
}

TEST_F(EditorTest, BandRowLeadsToItsListAndFilterRulesHold) {
  // Catches: the band row's list not selected on the lists page, a partial
  // key landing on list 10 for list 1, a band without lists showing none,
  // the cancel-filter and refresh commands using the wrong band.
  Esegui("INSERT INTO LISTSC (ID, NOME, TIPO) VALUES (10, 'Dieci', 'N')");
  Esegui("INSERT INTO FASCESCDT (IDFASCIA, NRIGA, IDLISTINO) VALUES (1, 2, 10)");
  Esegui("INSERT INTO FASCESC (ID, NOME) VALUES (6, 'Senza listini')");
  Operator op;
  TLisFasEditForm& w = Apri();
  w.FrameFasce1->QueryFasceDett->Last();  // band 1, row 2: list 10
  w.FrameFasce1GridDettFasceDblClick();
  EXPECT_EQ(w.PageControlMain->ActivePage(), w.TabSheetListini);
  EXPECT_EQ(w.FrameListini1->QueryListini->FieldByName("ID").AsString(), "10");
  w.ButtonFasce->Click();
  w.FrameFasce1GridDettFasceDblClick();  // band 1, row 1: list 1, not 10
  EXPECT_EQ(w.FrameListini1->QueryListini->FieldByName("ID").AsString(), "1");
  EXPECT_EQ(Colonna(*w.FrameListini1->QueryListini, "ID"), (std::vector<std::string>{"1", "10"}));

  w.ButtonFasce->Click();
  w.FrameFasce1->QueryFasce->Locate("ID", db::Value(6));
  w.ButtonListini->Click();
  EXPECT_EQ(w.FrameListini1->LabelListCorr->Caption(), "Listini fascia corrente: Senza listini");
  EXPECT_EQ(Colonna(*w.FrameListini1->QueryListini, "ID").size(), 10u);

  w.ButtonAggiornaClick();
  EXPECT_EQ(w.FrameListini1->LabelListCorr->Caption(), "Listini fascia corrente: Senza listini");
  w.FrameListini1->ButtonAnnullaFiltro->Click();
  EXPECT_EQ(IDFasciaSelezionata, "");
  EXPECT_EQ(w.FrameListini1->LabelListCorr->Caption(), "Elenco listini");
  EXPECT_TRUE(op.Texts().empty());
}

TEST_F(EditorTest, ReloadAfterASearchKeepsOneSearchCondition) {
  // Catches: the list page's open handler copying a searched statement as
  // the grid's base (the next search or reload then stacks a second
  // condition), or a reload dropping the running search.
  Operator op;
  TLisFasEditForm& w = Apri();
  w.ButtonListini->Click();
  w.FrameListini1ButtonAnnullaFiltroClick();
  TVuxGrid& g = *w.FrameListini1->GridListini;
  db::Query& q = *w.FrameListini1->QueryListini;
  g.SetFocus();
  g.SetSelectedField(q.FindField("NOME"));
  op.Then([](ui::Form& f) {
    auto& d = dynamic_cast<TRVuxGridForm&>(f);
    d.EditStringa->SetText("SCONTI");
    ui::App().AdvanceClock(1000);
    d.Close();
  });
  g.RicercaCampoCorrente();
  auto condizioni = [&q] {
    int n = 0;
    for (const std::string& riga : q.SQL) n += riga.find("'SCONTI'") != std::string::npos;
    return n;
  };
  ASSERT_EQ(condizioni(), 1);
  auto ordinati = [](std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
  };
  const std::vector<std::string> trovati = ordinati(Colonna(q, "ID"));
  EXPECT_LT(trovati.size(), 9u);
  w.ButtonAggiornaClick();
  EXPECT_EQ(condizioni(), 1);
  EXPECT_EQ(ordinati(Colonna(q, "ID")), trovati);
  EXPECT_EQ(g.SQLIniziale.lines, listini::RigheElencoListini(""));
}

TEST_F(EditorTest, FunctionKeysOnARowGridRunTheirCommandOnce) {
  // Catches: F9 on the net grid halving the column twice (once by the grid,
  // once by the window), and the window handling keys of the lists grid.
  Operator op;
  TLisFasEditForm& w = Apri();
  w.ButtonListini->Click();
  w.ButtonGesNet->Click();
  TVuxGrid& netti = *w.FrameDettNetti1->GridListNetti;
  netti.SetFocus();
  netti.SetSelectedIndex(1);
  const int larghezza = netti.Columns()[1]->Width();
  ui::Word f9 = ui::VK_F9;
  w.KeyDownFrom(&netti, f9, 0);
  f9 = ui::VK_F9;
  w.KeyUpFrom(&netti, f9, 0);
  EXPECT_EQ(netti.Columns()[1]->Width(), larghezza / 2);
  // F7 gets nothing from the window.
  ui::Word f7 = ui::VK_F7;
  w.KeyUpFrom(&netti, f7, 0);
  EXPECT_EQ(netti.Columns()[1]->Width(), larghezza / 2);
  EXPECT_TRUE(op.Texts().empty());
}

TEST_F(EditorTest, ClosingFreesTheSearchBeforeTheContext) {
  // Catches: the embedded search left behind (or freed after the context
  // object whose database its queries use) when the window closes.
  Operator op;
  Apri();
  Chiudi();
  int ricerche = 0, contesti = 0;
  for (ui::Form* f : ui::App().Forms()) {
    ricerche += f->ClassName() == "TVuxRicercheForm";
    contesti += f->ClassName() == "TTabXForm";
  }
  EXPECT_EQ(ricerche, 0);
  EXPECT_EQ(contesti, 0);
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM STOPOS1 WHERE CODICEPROGETTO=501 AND CODICESITUAZIONE=1"
                   " AND CODICEUTENTE=2"),
            "1");
}

}  // namespace
}  // namespace velmaro::testing
