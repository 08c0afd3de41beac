// The lists page of the editor on the sample company: the header edit
// held as the rows' writers hold the list.
#include <gtest/gtest.h>

#include "db/query.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor_fixture.h"
#include "pricelists/listini/dialogo_listino.h"
#include "ui/stdctrls.h"

namespace velmaro::testing {
namespace {

TEST_F(EditorTest, HeaderEditIsHeldAsTheRowsAre) {
  // Catches: a list another session is writing renamed under it, or told
  // as an internal error; a real failure of the statement told as in use,
  // or leaving the list held.
  Operator op;
  TLisFasEditForm& w = Apri();
  w.ButtonListiniClick();
  w.FrameListini1ButtonAnnullaFiltroClick();
  db::Query& q = *w.FrameListini1->QueryListini;
  auto rinomina = [&op](const std::string& nome) {
    op.Then([nome](ui::Form& f) {
      auto& d = dynamic_cast<TListinoNuovoForm&>(f);
      d.EditNomeListino->SetText(nome);
      d.ButtonOKClick();
    });
  };
  const char* const blocca = "UPDATE LISTSC SET ID=ID WHERE ID=2";
  AltraSessione altro(Archivio(), blocca);
  ASSERT_TRUE(q.Locate("ID", db::Value("2")));
  rinomina("Rinominato");
  w.ButtonEditClick();
  EXPECT_EQ(op.Texts(), std::vector<std::string>{
                            "Il listino è in uso da un altro utente: riprovare più tardi"});
  altro.Rilascia();

  ui::App().ClearMessages();
  ASSERT_TRUE(q.Locate("ID", db::Value("2")));
  rinomina(std::string(61, 'x'));
  w.ButtonEditClick();
  EXPECT_EQ(op.Texts(),
            std::vector<std::string>{"Errore interno: impossibile inserire un nuovo record"});
  EXPECT_EQ(Valore("SELECT NOME FROM LISTSC WHERE ID=2"), "Listino rivenditori");
  EXPECT_NO_THROW(AltraSessione(Archivio(), blocca).Rilascia());
}

}  // namespace
}  // namespace velmaro::testing
