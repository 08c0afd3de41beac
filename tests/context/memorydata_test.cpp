// The in-memory table: identities, editing, copying, blob streams,
// calculated fields and notifications.
#include "context/memorydata.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "db/datasource.h"
#include "memorydata_tables.h"

namespace {

using db::FieldType;
using db::Value;
using velmaro::TRxMemoryData;
using namespace velmaro::testing;  // the shared tables and readers

int N(db::DataSet& t) { return t.FieldByName("N").AsInteger(); }

// An open simple table holding N=1..n, S="r1".."rn".
void Fill(TRxMemoryData& t, int n) {
  DefineSimple(t);
  t.Open();
  for (int i = 1; i <= n; ++i) Add(t, i, "r" + std::to_string(i));
}

TEST(MemoryData, RecordIdsStartOverWhenTheTableEmpties) {
  // Fault: IDs that keep growing after the last delete, or that do not start
  // at -2147483647, break bookmark comparisons callers keep.
  TRxMemoryData t;
  Fill(t, 2);
  EXPECT_EQ(t.GetBookmark(), -2147483646);
  t.First();
  db::Bookmark first = t.GetBookmark();
  EXPECT_EQ(first, -2147483647);
  t.Delete();
  t.Delete();
  EXPECT_FALSE(t.BookmarkValid(first));
  const auto added = [&] {
    Add(t, 9, "");
    return t.GetBookmark();
  };
  EXPECT_EQ(added(), -2147483647);
  t.ClearRecords();
  EXPECT_EQ(added(), -2147483647);
  t.Close();
  t.Open();
  EXPECT_EQ(added(), -2147483647);
}

TEST(MemoryData, AutoIncrementFillsEveryAutoFieldOnInsert) {
  // Fault: each auto field drawing its own number, the counter growing per
  // field, or a typed value surviving the post of an insert.
  TRxMemoryData t;
  t.CreateField("A", FieldType::AutoInc);
  t.CreateField("B", FieldType::AutoInc);
  t.CreateField("S", FieldType::String, 5);
  t.Open();
  const auto a = [&] { return t.FieldByName("A").AsInteger(); };
  const auto appended = [&] {
    t.Append();
    t.Post();
    return a();
  };
  t.Append();
  t.FieldByName("A").SetAsInteger(99);
  t.Post();
  EXPECT_EQ(a(), 1);
  EXPECT_EQ(t.FieldByName("B").AsInteger(), 1);
  t.Insert();
  t.Post();
  EXPECT_EQ(a(), 2);
  t.Edit();
  t.FieldByName("S").SetAsString("x");
  t.Post();
  EXPECT_EQ(a(), 2);
  t.ClearRecords();
  EXPECT_EQ(appended(), 3);
  t.Close();
  t.Open();
  EXPECT_EQ(appended(), 1);
}

TEST(MemoryData, InsertGoesBeforeTheCurrentRecord) {
  // Fault: Insert landing at the end, or the pending row counted as a record.
  TRxMemoryData t;
  DefineSimple(t);
  t.Open();
  t.Insert();  // into an empty table
  t.FieldByName("N").SetAsInteger(2);
  t.Post();
  Add(t, 4, "");
  t.First();
  t.Insert();
  EXPECT_EQ(t.RecordCount(), 2);
  t.FieldByName("N").SetAsInteger(1);
  t.Post();
  EXPECT_EQ(t.RecNo(), 1);
  t.Last();
  t.Insert();
  t.FieldByName("N").SetAsInteger(3);
  t.Post();
  EXPECT_EQ(Column(t, "N"), "1,2,3,4");
  t.First();
  t.Insert();
  t.Cancel();
  EXPECT_EQ(Column(t, "N"), "1,2,3,4");
}

// Accepts the records whose N is in the set.
void FilterOn(TRxMemoryData& t, std::vector<int> accepted) {
  t.SetOnFilterRecord([accepted](db::DataSet& ds, bool& accept) {
    int n = ds.FieldByName("N").AsInteger();
    accept = std::find(accepted.begin(), accepted.end(), n) != accepted.end();
  });
  t.SetFiltered(true);
}

TEST(MemoryData, RecNoIsTheListPositionUnderAFilter) {
  // Fault: RecNo numbering only the accepted records (so a saved number
  // lands on another record once SetRecNo reads it as a list position),
  // SetRecNo leaving the cursor on a refused record, or out-of-range
  // numbers moving it.
  TRxMemoryData t;
  Fill(t, 6);
  FilterOn(t, {2, 4, 6});
  EXPECT_EQ(t.RecNo(), 2);
  t.Next();
  EXPECT_EQ(t.RecNo(), 4);
  t.SetRecNo(6);
  EXPECT_EQ(N(t), 6);
  // A refused position gives way to the next accepted record, or with none
  // after it to the one before.
  t.SetRecNo(5);
  EXPECT_EQ(N(t), 6);
  t.SetRecNo(1);
  EXPECT_EQ(N(t), 2);
  FilterOn(t, {1, 2});
  t.SetRecNo(5);
  EXPECT_EQ(N(t), 2);
  for (int ignored : {0, -1, 7, 100}) {
    t.SetRecNo(ignored);
    EXPECT_EQ(t.RecNo(), 2) << ignored;
  }
  // A filter refusing everything: no current record, cursor before the first.
  FilterOn(t, {});
  EXPECT_TRUE(t.IsEmpty());
  EXPECT_EQ(t.RecordCount(), 6);
  EXPECT_EQ(t.RecNo(), 1);
  t.SetRecNo(3);
  EXPECT_TRUE(t.IsEmpty());

  // Unfiltered, with a pending row: it stands where it will be stored.
  t.SetFiltered(false);
  t.SetRecNo(3);
  EXPECT_EQ(N(t), 3);
  t.Insert();
  EXPECT_EQ(t.RecNo(), 3);
  t.Cancel();
  t.Append();
  EXPECT_EQ(t.RecNo(), 7);
  // SetRecNo posts the pending row first, then counts it.
  t.FieldByName("N").SetAsInteger(7);
  t.SetRecNo(7);
  EXPECT_EQ(t.RecordCount(), 7);
  EXPECT_EQ(N(t), 7);
  t.ClearRecords();
  EXPECT_EQ(t.RecNo(), 0);
  t.Insert();
  EXPECT_EQ(t.RecNo(), 0);  // the pending row is no record yet
  t.Cancel();
  t.Close();
  EXPECT_EQ(t.RecNo(), 0);
  t.SetRecNo(1);  // a closed table has no positions to go to
}

TEST(MemoryData, DeleteUnderAFilterBacksUpToAnAcceptedRecord) {
  // Fault: a delete moving on to the next accepted record (the cursor must
  // back up from the freed place), the cursor left on a refused record, or
  // the IDs not starting over when the filtered delete empties the table.
  TRxMemoryData t;
  Fill(t, 6);
  FilterOn(t, {1, 3, 4, 6});
  ASSERT_TRUE(t.Locate("N", Value(4)));
  t.Delete();  // record 5 slid into the place, refused: back to 3
  EXPECT_EQ(N(t), 3);
  EXPECT_EQ(t.RecNo(), 3);
  t.Last();
  t.Delete();  // the last went: the one before it, refused, then back to 3
  EXPECT_EQ(N(t), 3);
  t.First();
  t.Delete();  // nothing accepted before: the first accepted there is
  EXPECT_EQ(N(t), 3);
  t.Delete();  // the last accepted one: none left to show
  EXPECT_TRUE(t.IsEmpty());
  t.SetFiltered(false);
  EXPECT_EQ(Column(t, "N"), "2,5");
  // Unfiltered the record that slid into the place follows.
  t.First();
  t.Delete();
  EXPECT_EQ(N(t), 5);
  FilterOn(t, {5});
  t.Delete();
  Add(t, 5, "again");
  EXPECT_EQ(t.GetBookmark(), -2147483647);
}

TEST(MemoryData, APendingInsertHasNoBookmark) {
  // Fault: the pending row handing out its "no ID" as a bookmark, which a
  // caller would keep, compare as a record older than all others, or jump to.
  TRxMemoryData t;
  Fill(t, 1);
  db::Bookmark first = t.GetBookmark();
  t.Insert();
  db::Bookmark pending = t.GetBookmark();
  EXPECT_EQ(pending, db::kNoBookmark);
  EXPECT_EQ(db::DataSet::CompareBookmarks(pending, first), -1);
  EXPECT_FALSE(t.BookmarkValid(pending));
  EXPECT_FALSE(t.BookmarkValid(TRxMemoryData::kNoRecordId));
  t.Cancel();
  Add(t, 2, "b");
  t.GotoBookmark(TRxMemoryData::kNoRecordId);
  EXPECT_EQ(N(t), 2);
  t.GotoBookmark(first);
  EXPECT_EQ(N(t), 1);
}

TEST(MemoryData, CopyFromDataSetCountsFromTheSourceCurrentRecord) {
  // Fault: a counted copy starting at the source's first record, the copy
  // not stopping at the count, or copying a table into itself.
  TRxMemoryData src;
  Fill(src, 9);
  src.SetRecNo(5);
  TRxMemoryData dst;
  EXPECT_EQ(dst.CopyFromDataSet(&src, 3, 0), 3);
  EXPECT_EQ(Column(dst, "N"), "5,6,7");
  EXPECT_EQ(src.CopyFromDataSet(&src, 0, 0), 0);
  EXPECT_EQ(src.RecordCount(), 9);
  // Mode 1 appends to what is there; a count of 0 copies all from the first.
  src.SetRecNo(8);
  EXPECT_EQ(dst.CopyFromDataSet(&src, 0, 1), 9);
  EXPECT_EQ(dst.RecordCount(), 12);
  // Running past the end copies what there is.
  src.SetRecNo(8);
  EXPECT_EQ(dst.CopyFromDataSet(&src, 5, 0), 2);
  EXPECT_EQ(Column(dst, "S"), "r8,r9");
}

TEST(MemoryData, CopyFromDataSetStructureAndFlags) {
  // Fault: a closed source left open, read-only flags lost or blocking the
  // copy, fields the table lacks breaking the copy, or the filter kept on.
  TRxMemoryData odd;
  odd.CreateField("Odd", FieldType::Unknown);
  try {
    odd.Open();
    ADD_FAILURE() << "a field of unknown type opened";
  } catch (const db::DbError& e) {
    EXPECT_STREQ(e.what(), "Field 'Odd' is of an unknown type");
  }
  TRxMemoryData src;
  src.CreateField("N", FieldType::Integer);
  src.CreateField("Extra", FieldType::String, 4);
  src.Open();
  src.Append();
  src.Post();
  src.Close();  // its records go with it

  TRxMemoryData dst;
  dst.CreateField("N", FieldType::Integer)->ReadOnly = true;
  dst.CreateField("Own", FieldType::String, 4);
  dst.Open();
  dst.SetOnFilterRecord([](db::DataSet&, bool& accept) { accept = false; });
  dst.SetFiltered(true);
  EXPECT_EQ(dst.CopyFromDataSet(&src, 0, 1), 0);  // the source is empty once reopened
  EXPECT_FALSE(src.Active());
  EXPECT_FALSE(dst.Filtered());

  TRxMemoryData mid;
  Fill(mid, 1);
  EXPECT_EQ(dst.CopyFromDataSet(&mid, 0, 1), 1);
  EXPECT_EQ(N(dst), 1);
  EXPECT_TRUE(dst.FieldByName("N").ReadOnly);
  // Mode 0 takes the source's structure.
  EXPECT_EQ(dst.CopyFromDataSet(&mid, 0, 0), 1);
  ASSERT_NE(dst.FindField("S"), nullptr);
  EXPECT_EQ(dst.FindField("Own"), nullptr);
  EXPECT_EQ(dst.FieldByName("S").AsString(), "r1");
  EXPECT_FALSE(dst.FieldByName("N").ReadOnly);
}

TEST(MemoryData, AssignStructureAndCopyRecordFields) {
  // Fault: structure copied onto an open table, unsupported definitions
  // kept, or field values copied outside an edit.
  TRxMemoryData src;
  src.FieldDefs().push_back({"A", FieldType::Integer});
  src.FieldDefs().push_back({"X", FieldType::Unknown});
  src.FieldDefs().push_back({"B", FieldType::String, 8});
  TRxMemoryData t;
  t.AssignStructure(&src);
  ASSERT_EQ(t.FieldCount(), 2);
  EXPECT_EQ(t.Fields()[1]->Size(), 8);
  t.Open();
  EXPECT_THROW(t.AssignStructure(&src), db::DbError);
  src.DestroyFields();
  src.FieldDefs().erase(src.FieldDefs().begin() + 1);
  src.Open();
  src.Append();
  src.FieldByName("A").SetAsInteger(5);
  src.Post();
  EXPECT_THROW(TRxMemoryData::CopyRecordFields(src, t, true), db::DbError);
  t.Append();
  TRxMemoryData::CopyRecordFields(src, t, false);
  t.Post();
  EXPECT_EQ(t.FieldByName("A").AsInteger(), 5);
  t.Close();
  t.AssignStructure(nullptr);
  EXPECT_EQ(t.FieldCount(), 0);
}

TEST(MemoryData, BlobStreamNeedsAnEditAndMarksTheField) {
  // Fault: a blob written in browse state changing the stored record
  // silently, a read-only field written, or the change never notified.
  TRxMemoryData t;
  t.CreateField("B", FieldType::Blob);
  t.CreateField("R", FieldType::Memo)->ReadOnly = true;
  t.Open();
  t.Append();
  t.Post();
  db::Field& b = t.FieldByName("B");
  EXPECT_THROW(t.CreateBlobStream(b, velmaro::BlobStreamMode::Write), db::DbError);
  t.Edit();
  EXPECT_THROW(t.CreateBlobStream(t.FieldByName("R"), velmaro::BlobStreamMode::ReadWrite),
               db::DbError);
  int changes = 0;
  b.OnChange = [&](db::Field&) { ++changes; };
  {
    auto s = t.CreateBlobStream(b, velmaro::BlobStreamMode::Write);
    EXPECT_EQ(s->Write("hello world", 11), 11u);
    s->Seek(-5, velmaro::SeekOrigin::End);
    EXPECT_EQ(s->Write("there", 5), 5u);
    EXPECT_EQ(changes, 0);
  }
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(b.Modified());
  t.Post();  // still Modified: a writing stream still needs a new edit
  EXPECT_THROW(t.CreateBlobStream(b, velmaro::BlobStreamMode::ReadWrite), db::DbError);
  EXPECT_EQ(b.AsBlob(), "hello there");
  {
    auto s = t.CreateBlobStream(b, velmaro::BlobStreamMode::Read);
    char buf[6] = {};
    s->Seek(6, velmaro::SeekOrigin::Begin);
    EXPECT_EQ(s->Read(buf, 10), 5u);
    EXPECT_STREQ(buf, "there");
    EXPECT_EQ(s->Write("x", 1), 0u);
  }
  // Write mode empties the blob; Cancel restores it and disarms the stream.
  t.Edit();
  {
    auto s = t.CreateBlobStream(b, velmaro::BlobStreamMode::Write);
    EXPECT_TRUE(b.IsNull());
    t.Cancel();
    EXPECT_EQ(s->Write("x", 1), 0u);
  }
  EXPECT_EQ(b.AsBlob(), "hello there");
}

TEST(MemoryData, CalculatedAndLookupFields) {
  // Fault: calculated values stale after an edit, or lookup fields not
  // following the key into the other table.
  TRxMemoryData names;
  Fill(names, 2);  // S: r1, r2
  TRxMemoryData t;
  t.CreateField("K", FieldType::Integer);
  t.CreateField("Twice", FieldType::Integer, 0, db::FieldKind::Calculated);
  db::Field* name = t.CreateField("Name", FieldType::String, 20, db::FieldKind::Lookup);
  name->KeyFields = "K";
  name->LookupDataSet = &names;
  name->LookupKeyFields = "N";
  name->LookupResultField = "S";
  t.OnCalcFields = [](db::DataSet& ds) {
    ds.FieldByName("Twice").SetAsInteger(ds.FieldByName("K").AsInteger() * 2);
  };
  t.Open();
  t.Append();
  t.FieldByName("K").SetAsInteger(2);
  t.Post();
  EXPECT_EQ(t.FieldByName("Twice").AsInteger(), 4);
  EXPECT_EQ(t.FieldByName("Name").AsString(), "r2");
  t.Edit();
  t.FieldByName("K").SetAsInteger(1);
  t.Post();
  EXPECT_EQ(t.FieldByName("Twice").AsInteger(), 2);
  EXPECT_EQ(t.FieldByName("Name").AsString(), "r1");
}

struct Watcher : db::DataLink {
  int changed = 0, scrolled = 0, records = 0;
  void DataSetChanged() override { ++changed; }
  void DataSetScrolled(int) override { ++scrolled; }
  void RecordChanged(db::Field*) override { ++records; }
};

TEST(MemoryData, DataLinkSeesScrollsAndChanges) {
  // Fault: a grid bound to the table never told of scrolls, sorts, clears
  // or typed values, so it shows stale rows.
  TRxMemoryData t;
  DefineSimple(t);
  db::DataSource src(&t);
  Watcher w;
  w.SetDataSource(&src);
  t.Open();
  Add(t, 2, "b");
  Add(t, 1, "a");
  t.First();
  w.changed = w.scrolled = w.records = 0;
  t.Next();
  EXPECT_EQ(w.scrolled, 1);
  t.SortByFields("N");
  EXPECT_EQ(w.changed, 1);
  t.Edit();
  t.FieldByName("S").SetAsString("z");
  EXPECT_GE(w.records, 1);
  t.Post();
  int before = w.changed;
  t.Locate("N", Value(2));
  EXPECT_GT(w.changed, before);
  before = w.changed;
  t.ClearRecords();
  EXPECT_GT(w.changed, before);
}

}  // namespace
