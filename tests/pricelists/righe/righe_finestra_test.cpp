// The row pages of the editor on the sample company: the two row dialogs'
// checks, the classification pickers, the new period's rollback, and
// writes refused by another operator's lock.
#include <gtest/gtest.h>

#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "pricelists/editor_fixture.h"
#include "platform/format.h"
#include "pricelists/editor/frames.h"
#include "pricelists/righe/dialogo_netto.h"
#include "pricelists/righe/dialogo_sconto.h"
#include "ui/extctrls.h"
#include "ui/lists.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro::testing {
namespace {

// A function, not a global: the date conversion is another library's global.
plat::DateTime PrimoGennaio2025() { return plat::EncodeDate(2025, 1, 1); }

struct CasoNetto {
  const char* codice;
  const char* prezzo;
  const char* scaglione;
  bool modifica;
  const char* messaggio;  // "" when the dialog closes with OK
};

TEST_F(EditorTest, NetDialogChecksInTheirOrder) {
  // Catches: a check skipped or run out of order, a price with a point
  // refused, the duplicate check reading a decimal tier otherwise than as
  // 0, or made in an edit that keeps the row's identity; an edit onto
  // another row's article, start and tier let through.
  Operator op;
  TLisFasEditForm& w = Apri();
  // List 2 holds VTL001 from 1 January 2025 with the tiers 0, 10 and 50.
  const netti::RigaNetto vtl001{"VTL001", "0", PrimoGennaio2025(), false, 0};
  const CasoNetto casi[] = {
      {"", "x", "", false, "Specificare un codice articolo"},
      {"VTL001", "12x", "", false, "Specificare un prezzo"},
      {"VTL001", "1.234,5", "", false, "Specificare un prezzo"},
      {"VTL001", "12.5", "10", false, "Attenzione: l'articolo inserito è già in uso"},
      {"VTL001", "12,5", "7,5", false, "Attenzione: l'articolo inserito è già in uso"},
      {"VTL001", "12,5", "7", false, ""},
      {"VTL001", "12,5", "0", true, ""},
      {"VTL001", "12,5", "10", true, "Attenzione: l'articolo inserito è già in uso"},
      {"VTL001", "12,5", "7", true, ""},
  };
  for (const CasoNetto& c : casi) {
    SCOPED_TRACE(std::string(c.codice) + " " + c.prezzo + " " + c.scaglione);
    auto d = ui::MakeOwned<TListiniNuovoForm>(&w, w.TabX());
    d->ModoEdit = c.modifica;
    if (c.modifica) d->RigaOriginale = vtl001;
    d->IDListino = "2";
    d->EditCodArt->SetText(c.codice);
    d->EditPrezzo->SetText(c.prezzo);
    d->EditQntSca->SetText(c.scaglione);
    d->DataInizioVal->SetDate(PrimoGennaio2025());
    ui::App().ClearMessages();
    d->ButtonOKClick();
    EXPECT_EQ(op.Texts(),
              *c.messaggio ? std::vector<std::string>{c.messaggio} : std::vector<std::string>{});
    EXPECT_EQ(d->ModalResult(), *c.messaggio ? ui::mrNone : ui::mrOk);
  }
}

TEST_F(EditorTest, DiscountDialogChecksAndPickers) {
  // Catches: the first selection required in an edit or on a list of
  // another type, the duplicate check missing a row whose selection values
  // differ, the warning for no discount not setting SCONTO1 to 0, a picked
  // item stored as its text or split at " - ", a typed text replaced.
  Esegui("INSERT INTO CLASSIFICAZIONE1 VALUES (10, 'A - B', 'C - D')");
  Operator op;
  TLisFasEditForm& w = Apri();
  auto dialogo = [&w](const char* lista, bool modifica) {
    auto d = ui::MakeOwned<TScontiNuovoForm>(&w, w.DM());
    d->QueryAux->SetDatabase(w.QueryAux1->GetDatabase());
    d->QueryAux->SetTransaction(w.QueryAux1->GetTransaction());
    d->ModoEdit = modifica;
    d->IDListino = lista;
    d->PreparaSelezioni();
    d->DataInizioVal->SetDate(PrimoGennaio2025());
    ui::App().ClearMessages();
    return d;
  };
  // List 3: type S on CLASSIFICAZIONE1, a row "VIT" from 1 January 2025.
  auto d = dialogo("3", false);
  EXPECT_EQ(d->TipoListino, "S");
  EXPECT_EQ(d->LabelValoreSel1->Caption(), "Classificazione1");
  ASSERT_EQ(d->ComboBoxValoreSel1->Items.Count(), 10);
  EXPECT_EQ(d->ComboBoxValoreSel1->Items[0], "A - B - C - D");
  d->EditDesc->SetText("VIT");
  d->ButtonOKClick();
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"Specificare una valore sel 1"});
  d->ComboBoxValoreSel1->OperatorSelect(0);
  d->EditQntSca->SetText("2,5");
  ui::App().ClearMessages();
  d->ButtonOKClick();
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"Attenzione: lo sconto inserito è già in uso"});
  d->EditQntSca->SetText("5");
  ui::App().ClearMessages();
  d->ButtonOKClick();
  EXPECT_EQ(op.Texts(),
            std::vector<std::string>{
                "Nessun sconto specificato! Lo sconto1 verrà impostato a 0 in automatico"});
  EXPECT_EQ(d->EditSconto1->Text(), "0");
  EXPECT_EQ(d->ModalResult(), ui::mrOk);
  EXPECT_EQ(d->Campi().valore1, "A - B");
  d->ComboBoxValoreSel1->OperatorType("A - B scritto");
  EXPECT_EQ(d->Campi().valore1, "A - B scritto");

  // The same row through Edit, and a list of type P: no first selection needed.
  for (auto [lista, modifica] : {std::pair{"3", true}, std::pair{"6", false}}) {
    auto e = dialogo(lista, modifica);
    e->EditDesc->SetText("Nuova");
    e->EditSconto2->SetText("3");
    e->ButtonOKClick();
    EXPECT_TRUE(op.Texts().empty()) << lista;
    EXPECT_EQ(e->ModalResult(), ui::mrOk) << lista;
  }
}

TEST_F(EditorTest, NewPeriodThatCannotBeInsertedLeavesTheRunningOneOpen) {
  // Catches: the closing update kept when the insert fails (the article
  // then has no running price), a failure that leaves the window unable to
  // add the period once the cause is gone.
  Esegui("CREATE EXCEPTION BLOCCATO 'bloccato'");
  Esegui(
      "CREATE TRIGGER BLOCCA FOR LISTSCDTNET BEFORE INSERT AS BEGIN "
      "IF (NEW.CODICEARTICOLO = 'VTL002') THEN EXCEPTION BLOCCATO; END");
  Operator op;
  TLisFasEditForm& w = Apri();
  w.IDListinoCorrente = "2";
  w.CaricaListaDettNetti();
  db::Query& q = *w.FrameDettNetti1->QueryDettNetti;
  ASSERT_TRUE(q.Locate("CODICEARTICOLO;QUANTITASCAGLIONE", {db::Value("VTL002"), db::Value(0.0)}));
  w.FrameListiniEdit11->DataInizioDef->SetDate(plat::EncodeDate(2025, 3, 1));
  w.FrameListiniEdit11ButtonNuovoDataClick();
  EXPECT_EQ(op.Texts(),
            std::vector<std::string>{"Errore interno: impossibile inserire un nuovo record"});
  // The page's refresh commits whatever the transaction still holds.
  w.FrameListiniEdit11ButtonAggiornaClick();
  const std::string aperte =
      "SELECT COUNT(*) FROM LISTSCDTNET WHERE IDLISTSC=2 AND CODICEARTICOLO='VTL002' "
      "AND DATAFINEVALIDITA IS NULL";
  EXPECT_EQ(Valore(aperte), "3");

  Esegui("DROP TRIGGER BLOCCA");
  ASSERT_TRUE(q.Locate("CODICEARTICOLO;QUANTITASCAGLIONE", {db::Value("VTL002"), db::Value(0.0)}));
  ui::App().ClearMessages();
  w.FrameListiniEdit11ButtonNuovoDataClick();
  EXPECT_TRUE(op.Texts().empty());
  EXPECT_EQ(Valore(aperte), "1");
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM LISTSCDTNET WHERE IDLISTSC=2 AND CODICEARTICOLO='VTL002' "
                   "AND DATAFINEVALIDITA='2025-02-28'"),
            "3");
}

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
