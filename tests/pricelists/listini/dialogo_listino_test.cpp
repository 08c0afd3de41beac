// The list header dialog and the lists page's writes on the sample company.
#include <gtest/gtest.h>

#include "db/query.h"
#include "pricelists/editor_fixture.h"
#include "pricelists/editor/frames.h"
#include "pricelists/listini/dialogo_listino.h"
#include "ui/extctrls.h"
#include "ui/lists.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro::testing {
namespace {

struct Caso {
  const char* codice;
  const char* tipo;
  const char* sel1;
  bool modifica;
  const char* messaggio;  // "" when the dialog closes with OK
};

TEST_F(EditorTest, HeaderDialogChecksInTheirOrder) {
  // Catches: a check skipped or run out of order (each case fails the
  // checks after its own too), the duplicate test made while editing or
  // missed for a new list, a dialog closing with OK after a warning.
  Operator op;
  TLisFasEditForm& w = Apri();
  const Caso casi[] = {
      {"", "qualcosa", "", false, "Specificare un codice"},
      {"1a", "", "", false, "Specificare un codice articolo"},
      {"1.5", "", "", false, "Specificare un codice articolo"},
      {"40", "qualcosa", "", false, "Specificare il tipo di listino"},
      {"3", "SCONTO", "", false, "Specificare un campo sel 1"},
      {"3", "SCONTO", "Marca", false, "Attenzione: il listino inserito è già in uso"},
      {"3", "NETTO", "", false, "Attenzione: il listino inserito è già in uso"},
      {"3", "SCONTO", "Marca", true, ""},
      {"40", "SCONTISPECIALI", "", false, ""},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(std::string(c.codice) + " " + c.tipo);
    auto d = ui::MakeOwned<TListinoNuovoForm>(&w, w.CellaDM);
    d->ModoEdit = c.modifica;
    d->EditCodListino->SetText(c.codice);
    d->ComboBoxTipoListino->SetText(c.tipo);
    d->ComboBoxCampoSel1->SetText(c.sel1);
    ui::App().ClearMessages();
    d->ButtonOKClick();
    const std::vector<std::string> attesi =
        *c.messaggio ? std::vector<std::string>{c.messaggio} : std::vector<std::string>{};
    EXPECT_EQ(op.Texts(), attesi);
    EXPECT_EQ(d->ModalResult(), *c.messaggio ? ui::mrNone : ui::mrOk);
  }
}

TEST_F(EditorTest, HeaderDialogShowsWhatTheTypeNeeds) {
  // Catches: reference controls shown for other types than SCONTO, the
  // selection boxes hidden for special-discount lists, the two special
  // labels not following each other, a "Nessuna" box not driving its date.
  Operator op;
  TLisFasEditForm& w = Apri();
  auto d = ui::MakeOwned<TListinoNuovoForm>(&w, w.CellaDM);
  EXPECT_EQ(d->EditCodListino->Text(), "10");
  EXPECT_EQ(d->ComboBoxCampoSel1->Items.Count(), 8);
  EXPECT_EQ(d->ComboBoxCampoSel3->Items[0], "Categoria sconto");
  const std::tuple<int, bool, bool> tipi[] = {
      {0, false, false}, {1, true, true}, {2, false, true}, {3, false, true}, {4, false, true}};
  for (const auto& [indice, riferimento, selezioni] : tipi) {
    d->ComboBoxTipoListino->OperatorSelect(indice);
    EXPECT_EQ(d->EditListRif->Visible(), riferimento) << indice;
    EXPECT_EQ(d->ButtonCercaList->Visible(), riferimento) << indice;
    EXPECT_EQ(d->ComboBoxCampoSel3->Visible(), selezioni) << indice;
  }
  d->ComboBoxCampoSel1->OperatorSelect(0);
  EXPECT_EQ(d->ComboBoxCampoSel2->Text(), "ESTENSIONE CODICE");
  d->ComboBoxCampoSel1->OperatorSelect(3);
  d->ComboBoxCampoSel2->OperatorSelect(0);
  EXPECT_EQ(d->ComboBoxCampoSel1->Text(), "CODICE ARTICOLO");
  d->CheckBoxNessunaDataInizioVal->OperatorClick();
  EXPECT_FALSE(d->DataInizioVal->Enabled());
  d->CheckBoxNessunaDataInizioVal->OperatorClick();
  EXPECT_TRUE(d->DataInizioVal->Enabled());
}

TEST_F(EditorTest, DeletingAListIsAllOrNothing) {
  // Catches: rows of a deleted list left behind, and a failure between the
  // statements leaving the header gone while its rows stay (or the reverse).
  Esegui("CREATE EXCEPTION RIGHE_BLOCCATE 'righe bloccate'");
  Esegui(
      "CREATE TRIGGER BLOCCA FOR LISTSCDTSCO BEFORE DELETE AS BEGIN"
      " IF (OLD.IDLISTSC = 4) THEN EXCEPTION RIGHE_BLOCCATE; END");
  Operator op({ui::mrYes, ui::mrOk, ui::mrYes, ui::mrOk});
  TLisFasEditForm& w = Apri();
  w.FrameListini1ButtonAnnullaFiltroClick();
  db::Query& q = *w.FrameListini1->QueryListini;
  ASSERT_TRUE(q.Locate("ID", db::Value(4)));
  w.ButtonEliminaClick();
  EXPECT_EQ(op.Texts(), (std::vector<std::string>{
                            "Eliminare il record selezionato?",
                            "Errore interno: impossibile eliminare il record selezionato"}));
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM LISTSC WHERE ID=4"), "1");
  EXPECT_NE(Valore("SELECT COUNT(*) FROM LISTSCDTSCO WHERE IDLISTSC=4"), "0");

  // List 1 has net rows: header and rows go together.
  ASSERT_NE(Valore("SELECT COUNT(*) FROM LISTSCDTNET WHERE IDLISTSC=1"), "0");
  w.FrameListini1ButtonAnnullaFiltroClick();
  ASSERT_TRUE(q.Locate("ID", db::Value(1)));
  w.ButtonEliminaClick();
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM LISTSC WHERE ID=1"), "0");
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM LISTSCDTNET WHERE IDLISTSC=1"), "0");
  // Deleted meanwhile by someone else: the check on a fresh transaction says so.
  w.FrameListini1ButtonAnnullaFiltroClick();
  ASSERT_TRUE(q.Locate("ID", db::Value(2)));
  Esegui("DELETE FROM LISTSC WHERE ID=2");
  ui::App().ClearMessages();
  w.ButtonEliminaClick();
  EXPECT_EQ(op.Texts(), std::vector<std::string>{
                            "Il record selezionato è già stato cancellato da un altro utente"});
}

}  // namespace
}  // namespace velmaro::testing
