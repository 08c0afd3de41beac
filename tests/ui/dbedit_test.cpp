// The data-aware edit box.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "db/datasource.h"
#include "ui/driver.h"
#include "ui/ui.h"
#include "ui_fixture.h"

namespace {

using DBEditTest = UiTest;

TEST_F(DBEditTest, FollowsTheCursorAndWritesTypedText) {
  // Catches a box that misses cursor moves (the band tracking of the
  // editor hangs on its OnChange), raises OnChange without a change, or
  // loses typed text at the post.
  std::unique_ptr<TestRows> set(MakeBands());
  db::DataSource src(set.get());
  ui::Driver d;
  auto* f = new ui::Form(&ui::App());
  f->SetName("F");
  auto* e = ui::Make<ui::DBEdit>(f, "EditNome");
  e->SetDataSource(&src);
  e->SetDataField("NOME");
  ui::Make<ui::Edit>(f, "Other");
  std::vector<std::string> changes;
  e->OnChange = [&](ui::Component*) { changes.push_back(e->Text()); };
  set->Open();
  set->Next();
  set->First();
  set->Next();  // back to the same text through another row
  set->Close();
  EXPECT_EQ(changes, (std::vector<std::string>{"Base", "Rivenditori", "Base", "Rivenditori", ""}));
  set->Open();
  f->Show();
  d.Type("F.EditNome", "Dettaglio");
  EXPECT_EQ(set->State(), db::DataSetState::Edit);
  d.Focus("F.Other");  // leaving the box writes the field
  EXPECT_EQ(set->FieldByName("NOME").AsString(), "Dettaglio");
  set->Post();
  set->Next();
  set->First();
  EXPECT_EQ(e->Text(), "Dettaglio");
  set->ReadOnly = true;
  EXPECT_THROW(d.Type("F.EditNome", "x"), ui::DriverError);
  ui::Free(f);
}

}  // namespace
