// Data sources and links: what bound controls are told and when.
#include "db/datasource.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/rowset.h"

namespace {

// A bound edit box: keeps a pending text and writes it when asked.
struct EditLink : db::DataLink {
  std::string pending;
  int editing = 0, records = 0, updates = 0;
  void EditingChanged() override { ++editing; }
  void RecordChanged(db::Field*) override { ++records; }
  void UpdateData() override {
    ++updates;
    if (!pending.empty()) GetDataSet()->FieldByName("NOME").SetAsString(pending);
  }
};

void Fill(TestRows& s) {
  s.CreateField("NOME", db::FieldType::String, 20);
  s.AddRowValues({db::Value("uno")});
  s.AddRowValues({db::Value("due")});
}

TEST(DataSource, PostCollectsPendingEditsAndStates) {
  // Catches a post that forgets the text still held by an edit control,
  // and state changes that never reach the source.
  TestRows s;
  Fill(s);
  db::DataSource src(&s);
  std::vector<db::DataSetState> states;
  src.OnStateChange = [&](db::DataSource& d) { states.push_back(d.State()); };
  EditLink edit;
  edit.SetDataSource(&src);
  s.Open();
  ASSERT_TRUE(edit.Edit());
  EXPECT_EQ(edit.editing, 1);
  edit.pending = "UNO";
  s.Post();
  EXPECT_EQ(edit.updates, 1);
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "UNO");
  EXPECT_EQ(edit.editing, 2);
  EXPECT_EQ(states, (std::vector<db::DataSetState>{db::DataSetState::Browse, db::DataSetState::Edit,
                                                   db::DataSetState::Browse}));
  edit.ReadOnly = true;
  EXPECT_FALSE(edit.Edit());
  src.SetEnabled(false);
  s.Next();
  EXPECT_FALSE(edit.Active());
}

TEST(DataSource, LifetimesInAnyOrder) {
  // Catches links and sources that keep pointing at freed objects.
  auto s = std::make_unique<TestRows>();
  Fill(*s);
  auto src = std::make_unique<db::DataSource>(s.get());
  EditLink a;
  auto b = std::make_unique<EditLink>();
  a.SetDataSource(src.get());
  b->SetDataSource(src.get());
  s->Open();
  b.reset();
  EXPECT_EQ(src->Links().size(), 1u);
  s->Next();
  s.reset();
  EXPECT_EQ(src->GetDataSet(), nullptr);
  EXPECT_FALSE(a.Active());
  src.reset();
  EXPECT_EQ(a.GetDataSource(), nullptr);
}

TEST(DataSource, GridReadsRowsWithoutMovingCursor) {
  // Catches row reads that move the cursor or miss the pending edit.
  TestRows s;
  Fill(s);
  s.Open();
  db::Field& nome = s.FieldByName("NOME");
  s.Edit();
  nome.SetAsString("modificato");
  EXPECT_EQ(s.RowValue(0, nome).AsString(), "modificato");
  EXPECT_EQ(s.RowValue(1, nome).AsString(), "due");
  EXPECT_TRUE(s.RowValue(5, nome).IsNull());
  EXPECT_EQ(s.CurrentRow(), 0);
  EXPECT_EQ(s.State(), db::DataSetState::Edit);
}

}  // namespace
