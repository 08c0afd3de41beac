// The page helpers on the editor's own objects: the one road of its
// deletions.
#include "pricelists/editor/pagina.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>

#include "db/query.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor_fixture.h"
#include "pricelists/presalistino.h"

namespace velmaro::testing {
namespace {

TEST_F(EditorTest, RowDeletionAsksFirstAndGivesTheRowNumberBack) {
  // Catches: the hold taken or the row written before the operator said
  // Yes, a refused hold still deleting, the way back run (or a row number
  // given) for a deletion that did not happen, the statements run instead
  // of the command's own writer.
  TLisFasEditForm& w = Apri();
  db::Query& q = *w.FrameFasce1->QueryFasceDett;
  ASSERT_EQ(w.IDFasciaCorrente, "1");
  ASSERT_FALSE(q.IsEmpty());
  q.Last();
  const int ultima = q.RecNo();
  const std::string dove = " WHERE IDFASCIA=1 AND NRIGA=" + q.FieldByName("NRIGA").AsString();
  const std::string conta = "SELECT COUNT(*) FROM FASCESCDT" + dove;
  ASSERT_EQ(Valore(conta), "1");

  int prese = 0, ritorni = 0, tornata = 0;
  pagina::Eliminazione e{
      .cerca = {"SELECT * FROM FASCESCDT" + dove},
      .prendi =
          [&](PresaTestata::Rinnovo) {
            ++prese;
            return PresaTestata::Esiti(nullptr, PresaTestata::Esito::InUso);
          },
      .statementi = {{"DELETE FROM NESSUNA_TABELLA"}},
      .scrivi = [&] { pagina::EseguiRighe(*w.QueryAux1, {"DELETE FROM FASCESCDT" + dove}); },
      .torna =
          [&](int riga) {
            ++ritorni;
            tornata = riga;
          }};
  const auto elimina = [&] {
    return pagina::EliminaRigaCorrente(q, *w.QueryAux1, *w.QueryAux2, *w.Transazione2, e);
  };
  {
    Operator op({ui::mrNo});
    EXPECT_EQ(elimina(), std::nullopt);
    EXPECT_EQ(op.Texts(), std::vector<std::string>{"Eliminare il record selezionato?"});
  }
  EXPECT_EQ(prese, 0);
  {
    Operator op({ui::mrYes});
    EXPECT_EQ(elimina(), std::nullopt);
  }
  EXPECT_EQ(prese, 1);
  EXPECT_EQ(Valore(conta), "1");
  EXPECT_EQ(ritorni, 0);

  e.prendi = nullptr;
  {
    Operator op({ui::mrYes});
    EXPECT_EQ(elimina(), std::optional<int>(ultima));
    EXPECT_EQ(op.Texts(), std::vector<std::string>{"Eliminare il record selezionato?"});
  }
  EXPECT_EQ(Valore(conta), "0");
  EXPECT_EQ(ritorni, 1);
  EXPECT_EQ(tornata, ultima);
}

TEST_F(EditorTest, AFailureAfterTheCommitIsNotToldAsTheWrites) {
  // Catches: a reload (or layout save) failing after the commit reported
  // with the write's own error box, a stored row told as not stored.
  TLisFasEditForm& w = Apri();
  const std::string conta = "SELECT COUNT(*) FROM FASCESCDT WHERE IDFASCIA=1 AND NRIGA=99";
  Operator op;
  EXPECT_TRUE(pagina::Scrivi(
      *w.QueryAux1, {{"INSERT INTO FASCESCDT(IDFASCIA,NRIGA,IDLISTINO) VALUES(1,99,1)"}},
      [] { throw std::runtime_error("ricarica fallita"); },
      "Errore interno: impossibile inserire un nuovo record"));
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"ricarica fallita."});
  EXPECT_EQ(Valore(conta), "1");
}

}  // namespace
}  // namespace velmaro::testing
