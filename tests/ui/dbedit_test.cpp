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

TEST_F(DBEditTest, TypingStopsAtTheSizeOfTheTextField) {
  // Catches a box that takes any length for a field that holds 20
  // characters (the database then refuses the post with its truncation
  // error), one that counts bytes instead of characters, and a MaxLength
  // of the box that the field's size overrides.
  std::unique_ptr<TestRows> set(MakeBands());
  db::DataSource src(set.get());
  ui::Driver d;
  auto* f = new ui::Form(&ui::App());
  f->SetName("F");
  auto* e = ui::Make<ui::DBEdit>(f, "EditNome");
  e->SetDataSource(&src);
  e->SetDataField("NOME");
  ui::Make<ui::Edit>(f, "Other");
  set->Open();
  f->Show();
  d.Type("F.EditNome", "Rivenditori all'ingrosso del nord");
  EXPECT_EQ(e->Text(), "Rivenditori all'ingr");
  d.TypeKeys("F.EditNome", "xyz");
  EXPECT_EQ(e->Text(), "Rivenditori all'ingr") << "no key adds past the size";
  d.Type("F.EditNome", "Società più è già però così");
  EXPECT_EQ(e->Text(), "Società più è già pe");
  d.Focus("F.Other");
  EXPECT_EQ(set->FieldByName("NOME").AsString(), "Società più è già pe");
  e->MaxLength = 5;
  d.Type("F.EditNome", "Dettaglio");
  EXPECT_EQ(e->Text(), "Detta");
  set->Cancel();
  ui::Free(f);
}

}  // namespace
