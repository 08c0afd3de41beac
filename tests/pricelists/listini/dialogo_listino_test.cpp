// The list header dialog on the sample company: the controls each list
// type shows.
#include "pricelists/listini/dialogo_listino.h"

#include <gtest/gtest.h>

#include "pricelists/editor/frames.h"
#include "pricelists/editor_fixture.h"
#include "ui/extctrls.h"
#include "ui/lists.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro::testing {
namespace {

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

}  // namespace
}  // namespace velmaro::testing
