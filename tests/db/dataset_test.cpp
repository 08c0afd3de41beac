// Behaviour of the in-memory data-set base: navigation, editing, filters,
// bookmarks, locating and notifications.
#include <gtest/gtest.h>

#include <stdexcept>

#include "common/rowset.h"
#include "db/datasource.h"

namespace {

// ID, NOME; rows fetched two at a time.
struct RowSet : TestRows {
  explicit RowSet(
      Rows rows = {{1, "Alfa"}, {2, "Beta"}, {3, "Gamma"}, {4, "Delta"}, {5, "Epsilon"}})
      : TestRows({{"ID", db::FieldType::Integer}, {"NOME", db::FieldType::String, 30}},
                 std::move(rows), 2) {}
};

std::vector<std::string> Names(db::DataSet& ds) {
  std::vector<std::string> out;
  for (ds.First(); !ds.Eof(); ds.Next()) out.push_back(ds.FieldByName("NOME").AsString());
  return out;
}

TEST(DataSet, NavigationAndEmptySet) {
  // Catches Bof/Eof wrong on an empty set and lazy fetching that stops early.
  RowSet empty(TestRows::Rows{});
  empty.Open();
  EXPECT_TRUE(empty.Bof() && empty.Eof());
  EXPECT_EQ(empty.RecNo(), 0);

  RowSet s;
  s.Open();
  EXPECT_EQ(Names(s), (std::vector<std::string>{"Alfa", "Beta", "Gamma", "Delta", "Epsilon"}));
  s.Last();
  EXPECT_EQ(s.FieldByName("ID").AsInteger(), 5);
  EXPECT_TRUE(s.Eof());
  s.Prior();
  EXPECT_EQ(s.FieldByName("ID").AsInteger(), 4);
  s.SetRecNo(2);
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Beta");
  EXPECT_EQ(s.MoveBy(10), 3);
  EXPECT_TRUE(s.Eof());
  EXPECT_EQ(s.RecordCount(), 5);
}

TEST(DataSet, EditingStatesAndInsertPosition) {
  // Catches writes outside edit mode, insert at the wrong place and a
  // cancelled insert that leaves its row behind.
  RowSet s;
  s.Open();
  EXPECT_THROW(s.FieldByName("NOME").SetAsString("x"), db::DbError);
  s.SetRecNo(3);
  s.Insert();
  s.FieldByName("ID").SetAsInteger(9);
  s.FieldByName("NOME").SetAsString("Nuovo");
  s.Post();
  EXPECT_EQ(s.RecNo(), 3);
  EXPECT_EQ(Names(s),
            (std::vector<std::string>{"Alfa", "Beta", "Nuovo", "Gamma", "Delta", "Epsilon"}));

  s.SetRecNo(2);
  s.Insert();
  s.FieldByName("NOME").SetAsString("Annullato");
  s.Cancel();
  EXPECT_EQ(s.RecNo(), 2);
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Beta");
  EXPECT_EQ(s.RecordCount(), 6);

  s.Append();
  s.FieldByName("NOME").SetAsString("Ultimo");
  s.Post();
  s.Last();
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Ultimo");

  s.First();
  s.Edit();
  s.FieldByName("NOME").SetAsString("Modificato");
  s.Cancel();
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Alfa");
  s.Delete();
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Beta");
  EXPECT_EQ(s.posts, 2);
}

TEST(DataSet, FailedPostStaysInEdit) {
  // Catches a failing write that loses the operator's changes.
  struct Failing : RowSet {
    void InternalPost(db::Row&, const db::Row*) override { throw db::DbError("write refused"); }
  } s;
  s.Open();
  s.Edit();
  s.FieldByName("NOME").SetAsString("Cambiato");
  EXPECT_THROW(s.Post(), db::DbError);
  EXPECT_EQ(s.State(), db::DataSetState::Edit);
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Cambiato");
}

TEST(DataSet, InsertCancelAndDeleteAreScrollsAndAnAbortedInsertIsNone) {
  // Catches an insert, a cancelled insert or a delete that moves the cursor
  // without the scroll events (handlers following the current row miss
  // it), and a BeforeInsert refusal that leaves a half-made row behind.
  RowSet s;
  s.Open();
  std::vector<std::string> events;
  s.BeforeScroll = [&](db::DataSet&) { events.push_back("before"); };
  s.AfterScroll = [&](db::DataSet&) { events.push_back("after"); };
  s.Insert();
  EXPECT_EQ(events, (std::vector<std::string>{"before", "after"}));
  events.clear();
  s.Cancel();
  EXPECT_EQ(events, (std::vector<std::string>{"before", "after"}));
  events.clear();
  s.Edit();
  s.Cancel();
  EXPECT_TRUE(events.empty());
  s.Delete();
  EXPECT_EQ(events, (std::vector<std::string>{"before", "after"}));

  s.BeforeInsert = [](db::DataSet&) { throw std::runtime_error("refused"); };
  events.clear();
  EXPECT_THROW(s.Append(), std::runtime_error);
  EXPECT_EQ(s.State(), db::DataSetState::Browse);
  EXPECT_EQ(s.RecordCount(), 4);
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Beta");
  EXPECT_TRUE(events.empty());
}

TEST(DataSet, BookmarksSurviveScrollingAndInserts) {
  // Catches bookmarks that are row positions instead of record identities.
  RowSet s;
  s.Open();
  s.SetRecNo(4);
  db::Bookmark b = s.GetBookmark();
  s.First();
  s.Insert();
  s.FieldByName("NOME").SetAsString("Primo");
  s.Post();
  s.Last();
  ASSERT_TRUE(s.BookmarkValid(b));
  s.GotoBookmark(b);
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Delta");
  EXPECT_EQ(s.RecNo(), 5);
  s.Delete();
  EXPECT_FALSE(s.BookmarkValid(b));
  EXPECT_EQ(db::DataSet::CompareBookmarks(db::kNoBookmark, db::kNoBookmark), 0);
  EXPECT_EQ(db::DataSet::CompareBookmarks(b, db::kNoBookmark), 1);
}

TEST(DataSet, LocateOptions) {
  // Catches partial and case-insensitive matching done the wrong way round
  // and multi-field keys compared against the wrong values.
  RowSet s({{1, "Perù"}, {2, "PERUGIA"}, {3, "Roma"}, {3, "Rovigo"}});
  s.Open();
  EXPECT_FALSE(s.Locate("NOME", db::Value("perugia")));
  EXPECT_TRUE(s.Locate("NOME", db::Value("perugia"), {true, false}));
  EXPECT_EQ(s.RecNo(), 2);
  EXPECT_TRUE(s.Locate("NOME", db::Value("PERÙ"), {true, false}));
  EXPECT_EQ(s.RecNo(), 1);
  EXPECT_FALSE(s.Locate("NOME", db::Value("Rom"), {}));
  EXPECT_EQ(s.RecNo(), 1);
  EXPECT_TRUE(s.Locate("NOME", db::Value("ro"), {true, true}));
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Roma");
  EXPECT_TRUE(s.Locate("ID;NOME", {db::Value(3), db::Value("Rov")}, {false, true}));
  EXPECT_EQ(s.RecNo(), 4);
  EXPECT_TRUE(s.Locate("ID", db::Value("2")));
  EXPECT_EQ(s.Lookup("ID", {db::Value(3)}, "NOME").AsString(), "Roma");
}

TEST(DataSet, FilterEventSkipsRecords) {
  // Catches refused records that are still visited or counted.
  RowSet s;
  s.Open();
  s.SetOnFilterRecord(
      [](db::DataSet& ds, bool& accept) { accept = ds.FieldByName("ID").AsInteger() % 2 == 1; });
  s.SetFiltered(true);
  EXPECT_EQ(Names(s), (std::vector<std::string>{"Alfa", "Gamma", "Epsilon"}));
  EXPECT_EQ(s.RecordCount(), 3);
  EXPECT_EQ(s.RowValue(1, s.FieldByName("NOME")).AsString(), "Gamma");
  s.Last();
  s.Prior();
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Gamma");
  EXPECT_EQ(s.RecNo(), 2);
  s.SetFiltered(false);
  EXPECT_EQ(s.RecordCount(), 5);
}

TEST(DataSet, FilteredRecNoAndDeleteFollowVisibleRows) {
  // Catches the base taking up a subclass's list counting: queries number
  // the rows the filter accepts and a delete moves on to the next of them.
  RowSet s;
  s.Open();
  s.SetOnFilterRecord(
      [](db::DataSet& ds, bool& accept) { accept = ds.FieldByName("ID").AsInteger() % 2 == 1; });
  s.SetFiltered(true);
  s.SetRecNo(3);
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Epsilon");
  s.SetRecNo(4);  // beyond the visible rows
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Epsilon");
  s.SetRecNo(2);
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Gamma");
  s.Delete();
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Epsilon");
  EXPECT_EQ(s.RecNo(), 2);
  s.Delete();  // nothing accepted after it: back to the one before
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Alfa");
  EXPECT_EQ(s.RecNo(), 1);
}

TEST(DataSet, FilteredWithoutHandlerShowsEveryRow) {
  // Catches a set filtered with no filter handler that looks its rows up in
  // a list of accepted rows nobody built (a read past its end), when moved
  // to a row number, refreshed or drawn row by row.
  RowSet s;
  s.SetFiltered(true);
  s.Open();
  EXPECT_EQ(Names(s), (std::vector<std::string>{"Alfa", "Beta", "Gamma", "Delta", "Epsilon"}));
  s.SetRecNo(2);
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Beta");
  s.Refresh();
  EXPECT_EQ(s.RecNo(), 2);
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Beta");
  EXPECT_EQ(s.RowValue(4, s.FieldByName("NOME")).AsString(), "Epsilon");
  EXPECT_EQ(s.RecordCount(), 5);
  s.SetOnFilterRecord(
      [](db::DataSet& ds, bool& accept) { accept = ds.FieldByName("ID").AsInteger() > 3; });
  s.SetRecNo(2);
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Epsilon");
  s.SetOnFilterRecord(nullptr);
  s.SetRecNo(3);
  EXPECT_EQ(s.FieldByName("NOME").AsString(), "Gamma");
}

TEST(DataSet, MovingFieldPositionReordersList) {
  // Catches a field move that also moves values between columns.
  RowSet s;
  s.Open();
  db::Field& nome = s.FieldByName("NOME");
  nome.SetIndex(0);
  EXPECT_EQ(s.Fields()[1]->FieldName(), "ID");
  EXPECT_EQ(s.Fields()[0]->AsString(), "Alfa");
  EXPECT_EQ(s.Fields()[1]->AsInteger(), 1);
}

struct CountingLink : db::DataLink {
  int changed = 0, scrolled = 0, records = 0, active = 0;
  void DataSetChanged() override { ++changed; }
  void DataSetScrolled(int) override { ++scrolled; }
  void RecordChanged(db::Field*) override { ++records; }
  void ActiveChanged() override { ++active; }
};

TEST(DataSet, DisableControlsSendsOneChange) {
  // Catches notifications leaking while controls are disabled, and a
  // missing refresh when they are enabled again.
  RowSet s;
  db::DataSource src(&s);
  CountingLink link;
  link.SetDataSource(&src);
  s.Open();
  EXPECT_EQ(link.active, 1);
  s.Next();
  EXPECT_EQ(link.scrolled, 1);
  s.DisableControls();
  s.DisableControls();
  s.Next();
  s.Next();
  s.Edit();
  s.FieldByName("NOME").SetAsString("x");
  s.Post();
  s.EnableControls();
  EXPECT_EQ(link.changed, 0);
  s.EnableControls();
  EXPECT_EQ(link.changed, 1);
  EXPECT_EQ(link.scrolled, 1);
  EXPECT_EQ(link.records, 0);
  EXPECT_EQ(link.ActiveRecord(), 3);
  s.Close();
  EXPECT_EQ(link.active, 2);
}

TEST(DataSet, CalculatedFieldsFollowCurrentRecord) {
  // Catches calculated values that go stale after scrolling or posting.
  RowSet s;
  s.CreateField("ID", db::FieldType::Integer);
  s.CreateField("NOME", db::FieldType::String, 30);
  s.CreateField("DOPPIO", db::FieldType::Integer, 0, db::FieldKind::Calculated);
  s.OnCalcFields = [](db::DataSet& ds) {
    ds.FieldByName("DOPPIO").SetAsInteger(ds.FieldByName("ID").AsInteger() * 2);
  };
  s.Open();
  s.Next();
  EXPECT_EQ(s.FieldByName("DOPPIO").AsInteger(), 4);
  EXPECT_EQ(s.RowValue(4, s.FieldByName("DOPPIO")).AsInt64(), 10);
  s.Edit();
  s.FieldByName("ID").SetAsInteger(21);
  s.Post();
  EXPECT_EQ(s.FieldByName("DOPPIO").AsInteger(), 42);
}

}  // namespace
