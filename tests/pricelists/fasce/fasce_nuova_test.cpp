// A new band whose number another session takes while the operator's
// dialog is open: after the dialog's check, in the instant before the
// insert.
#include <gtest/gtest.h>

#include "pricelists/editor/frames.h"
#include "pricelists/editor_fixture.h"
#include "pricelists/fasce/dialogo_fascia.h"
#include "ui/dbedit.h"
#include "ui/stdctrls.h"

namespace velmaro::testing {
namespace {

class FasciaNuovaTest : public EditorTest {};

TEST_F(FasciaNuovaTest, NumberTakenAfterTheCheckFailsOnceAndTheNextPressProposesPastIt) {
  // Catches: a failed insert that repeats at every press because the
  // proposal is read on the window's old view, a failed insert left
  // pending, the dialog's check passing a number another session took.
  TLisFasEditForm& w = Apri();
  {
    Operator op;
    op.Then([this](ui::Form& f) {
      auto& d = dynamic_cast<TNuovaFasciaForm&>(f);
      EXPECT_EQ(d.EditID->Text(), "6");
      d.EditNome->SetText("Di A");
      d.ButtonOkClick();  // the check passes: 6 is free
      // Another session takes 6 before the insert.
      Esegui("INSERT INTO FASCESC(ID,NOME) VALUES(6,'Di B')");
    });
    w.ButtonFascNuovoClick();
    EXPECT_EQ(op.Texts(),
              std::vector<std::string>{"Errore interno: impossibile inserire un nuovo record"});
  }
  EXPECT_EQ(Valore("SELECT NOME FROM FASCESC WHERE ID=6"), "Di B");
  EXPECT_TRUE(w.FrameFasce1->QueryFasce->Active());

  // The next press: 7 proposed; 6 typed is refused by the dialog, which
  // stays open; 7 goes in.
  Operator op;
  op.Then([](ui::Form& f) {
    auto& d = dynamic_cast<TNuovaFasciaForm&>(f);
    EXPECT_EQ(d.EditID->Text(), "7");
    d.EditID->SetText("6");
    d.EditNome->SetText("Di A");
    d.ButtonOkClick();
    EXPECT_EQ(d.ModalResult(), ui::mrNone);
    d.EditID->SetText("7");
    d.ButtonOkClick();
  });
  w.ButtonFascNuovoClick();
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"Attenzione: l'ID inserito è già in uso"});
  EXPECT_EQ(Valore("SELECT LIST(ID || ':' || NOME, ' ') FROM (SELECT ID, NOME FROM FASCESC "
                   "WHERE ID>5 ORDER BY ID)"),
            "6:Di B 7:Di A");
  EXPECT_EQ(w.FrameFasce1->DBEditIDFascia->Text(), "7");
}

}  // namespace
}  // namespace velmaro::testing
