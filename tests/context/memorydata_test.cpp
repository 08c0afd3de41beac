// The in-memory table: identities, editing, sorting, locating, copying,
// blob streams and notifications.
#include <gtest/gtest.h>

#include "context/memorydata.h"
#include "context/memorydata_collate.h"
#include "db/datasource.h"

namespace {

using db::FieldType;
using db::Value;
using velmaro::TRxMemoryData;

// A table shaped like the context's parameter table.
void DefineParams(TRxMemoryData& t) {
  t.CreateField("Codice", FieldType::AutoInc);
  t.CreateField("Tipo", FieldType::String, 10);
  t.CreateField("Nome", FieldType::String, 64);
  t.CreateField("Numero", FieldType::Largeint);
  t.CreateField("Testo", FieldType::String, 128);
  t.CreateField("Data", FieldType::Date);
  t.CreateField("Memo", FieldType::Memo);
  t.CreateField("Livello1", FieldType::Smallint);
  t.CreateField("Livello2", FieldType::Smallint);
  t.CreateField("Utente", FieldType::Smallint);
}

void DefineSimple(TRxMemoryData& t) {
  t.FieldDefs().push_back({"N", FieldType::Integer});
  t.FieldDefs().push_back({"S", FieldType::String, 20});
}

void Add(TRxMemoryData& t, Value n, Value s) {
  t.Append();
  t.FieldByName("N").SetValue(n);
  t.FieldByName("S").SetValue(s);
  t.Post();
}

std::string Column(db::DataSet& ds, const std::string& field) {
  std::string out;
  for (ds.First(); !ds.Eof(); ds.Next()) {
    if (!out.empty()) out += ",";
    db::Field& f = ds.FieldByName(field);
    out += f.IsNull() ? "null" : f.AsString();
  }
  return out;
}

TEST(MemoryData, RecordIdsStartOverWhenTheTableEmpties) {
  // Fault: IDs that keep growing after the last delete, or that do not start
  // at -2147483647, break bookmark comparisons callers keep.
  TRxMemoryData t;
  DefineSimple(t);
  t.Open();
  EXPECT_EQ(t.RecNo(), 0);
  Add(t, 1, "a");
  EXPECT_EQ(t.GetBookmark(), -2147483647);
  Add(t, 2, "b");
  EXPECT_EQ(t.GetBookmark(), -2147483646);
  t.First();
  EXPECT_EQ(t.RecNo(), 1);
  db::Bookmark first = t.GetBookmark();
  t.Delete();
  t.Delete();
  EXPECT_TRUE(t.IsEmpty());
  EXPECT_FALSE(t.BookmarkValid(first));
  Add(t, 3, "c");
  EXPECT_EQ(t.GetBookmark(), -2147483647);
  t.ClearRecords();
  EXPECT_EQ(t.RecordCount(), 0);
  Add(t, 4, "d");
  EXPECT_EQ(t.GetBookmark(), -2147483647);
  // Closing frees every record too.
  t.Close();
  t.Open();
  Add(t, 5, "e");
  EXPECT_EQ(t.GetBookmark(), -2147483647);
}

TEST(MemoryData, AutoIncrementFillsEveryAutoFieldOnInsert) {
  // Fault: each auto field drawing its own number, the counter growing per
  // field, or a typed value surviving the post of an insert.
  TRxMemoryData t;
  t.CreateField("A", FieldType::AutoInc);
  t.CreateField("B", FieldType::AutoInc);
  t.CreateField("S", FieldType::String, 5);
  t.Open();
  t.Append();
  t.FieldByName("A").SetAsInteger(99);
  t.Post();
  EXPECT_EQ(t.FieldByName("A").AsInteger(), 1);
  EXPECT_EQ(t.FieldByName("B").AsInteger(), 1);
  t.Insert();
  t.Post();
  EXPECT_EQ(t.FieldByName("A").AsInteger(), 2);
  // Editing keeps the number; clearing the records does not reset it.
  t.Edit();
  t.FieldByName("S").SetAsString("x");
  t.Post();
  EXPECT_EQ(t.FieldByName("A").AsInteger(), 2);
  t.ClearRecords();
  t.Append();
  t.Post();
  EXPECT_EQ(t.FieldByName("A").AsInteger(), 3);
  t.Close();
  t.Open();
  t.Append();
  t.Post();
  EXPECT_EQ(t.FieldByName("A").AsInteger(), 1);
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
  EXPECT_EQ(t.RecordCount(), 4);
}

TEST(MemoryData, EmptyTextReadsAsNull) {
  // Fault: an empty text or blob reported as a present value (sorting and
  // required checks then treat it as data).
  TRxMemoryData t;
  t.CreateField("S", FieldType::String, 10);
  t.CreateField("M", FieldType::Memo);
  t.Open();
  t.Append();
  t.FieldByName("S").SetAsString("");
  t.FieldByName("M").SetAsString("");
  EXPECT_TRUE(t.FieldByName("S").IsNull());
  t.Post();
  EXPECT_TRUE(t.FieldByName("S").IsNull());
  EXPECT_TRUE(t.FieldByName("M").IsNull());
  EXPECT_TRUE(t.FieldByName("S").GetValue().IsNull());
}

TEST(MemoryData, SortKeepsCreationOrderForEqualKeys) {
  // Fault: an unstable sort scrambling equal keys, descending not reversing
  // them, or nulls sorting above values.
  TRxMemoryData t;
  DefineSimple(t);
  t.Open();
  Add(t, 2, "first");
  Add(t, Value(), "nullA");
  Add(t, 1, "one");
  Add(t, 2, "second");
  Add(t, Value(), "nullB");
  Add(t, 2, "third");
  t.SortByFields("N");
  EXPECT_EQ(Column(t, "S"), "nullA,nullB,one,first,second,third");
  t.SortByFields("N", false, true);
  EXPECT_EQ(Column(t, "S"), "third,second,first,one,nullB,nullA");
  // Back to creation order by a key everyone shares.
  t.SortByFields("N;S");
  EXPECT_EQ(Column(t, "S"), "nullA,nullB,one,first,second,third");
}

TEST(MemoryData, SortOrdersTextsLinguistically) {
  // Fault: byte order ("B" before "a"), case-insensitive sorts separating
  // "abc" from "ABC", or empty texts not sorting as absent.
  TRxMemoryData t;
  DefineSimple(t);
  t.Open();
  int n = 0;
  for (const char* s : {"b", "B", "à", "a", "", "A", "10", "!x", "abcdefghij", "abcdefghi"})
    Add(t, ++n, s);
  t.SortByFields("S");
  EXPECT_EQ(Column(t, "S"), "null,!x,10,a,A,à,abcdefghi,abcdefghij,b,B");
  t.SortByFields("S;", true);  // a trailing ";" names no field
  EXPECT_EQ(Column(t, "S"), "null,!x,10,a,A,à,abcdefghi,abcdefghij,b,B");
  t.SortByFields("S", true, true);
  EXPECT_EQ(Column(t, "S"), "B,b,abcdefghij,abcdefghi,à,A,a,10,!x,null");
  EXPECT_EQ(velmaro::collate::Compare("Zebra", "zebra", false), 1);
  EXPECT_EQ(velmaro::collate::Compare("Zebra", "zebra", true), 0);
  EXPECT_EQ(velmaro::collate::Compare("perché", "perche", false), 1);
}

TEST(MemoryData, SortKeepsTheCursorAndRefusesUnsortableFields) {
  // Fault: the cursor left on whatever record landed at its index, or a
  // blob/calculated sort field accepted (and the failed list kept).
  TRxMemoryData t;
  t.CreateField("N", FieldType::Integer);
  t.CreateField("F", FieldType::Float);
  t.CreateField("D", FieldType::Date);
  t.CreateField("M", FieldType::Memo);
  t.CreateField("C", FieldType::Integer, 0, db::FieldKind::Calculated);
  t.Open();
  const double values[] = {2.5, -1.0, 0.0, -3.5, 7.0};
  for (int i = 0; i < 5; ++i) {
    t.Append();
    t.FieldByName("N").SetAsInteger(i);
    t.FieldByName("F").SetAsFloat(values[i]);
    t.FieldByName("D").SetAsDateTime(45000 - i);
    t.Post();
  }
  t.Locate("N", Value(1));
  t.SortByFields("F");
  EXPECT_EQ(Column(t, "N"), "3,1,2,0,4");
  t.Locate("N", Value(2));
  t.SortByFields("D;N");
  EXPECT_EQ(t.FieldByName("N").AsInteger(), 2);
  EXPECT_EQ(t.RecNo(), 3);
  EXPECT_TRUE(t.IsIndexField(t.FieldByName("D")));
  EXPECT_FALSE(t.IsIndexField(t.FieldByName("F")));
  EXPECT_THROW(t.SortByFields("N;M"), db::DbError);
  EXPECT_FALSE(t.IsIndexField(t.FieldByName("N")));
  EXPECT_THROW(t.SortByFields("C"), db::DbError);
  EXPECT_THROW(t.SortByFields("Missing"), db::DbError);
  // Five keys take the general comparison; it must agree with the fast one.
  t.SortByFields("D;F;N;N;N", false, true);
  EXPECT_EQ(Column(t, "N"), "0,1,2,3,4");
}

TEST(MemoryData, LocateComparesCurrentFirstAndRestoresOnMiss) {
  // Fault: Locate moving off a matching current record, moving on a miss,
  // or comparing texts of a several-field key against the wrong element.
  TRxMemoryData t;
  DefineParams(t);
  t.Open();
  auto put = [&](const char* tipo, const char* nome, int utente, const char* testo) {
    t.Append();
    t.FieldByName("Tipo").SetAsString(tipo);
    t.FieldByName("Nome").SetAsString(nome);
    t.FieldByName("Utente").SetAsInteger(utente);
    t.FieldByName("Testo").SetAsString(testo);
    t.Post();
  };
  put("BVN", "Archivio", 1, "one");
  put("TBX", "Archivio", 1, "two");
  put("BVN", "Archivio", 2, "three");
  put("BVN", "Directory", 1, "");
  int scrolls = 0;
  t.AfterScroll = [&](db::DataSet&) { ++scrolls; };
  t.First();
  scrolls = 0;
  EXPECT_TRUE(t.Locate("Tipo;Nome;Utente", {Value("BVN"), Value("Archivio"), Value("2")}));
  EXPECT_EQ(t.FieldByName("Testo").AsString(), "three");
  EXPECT_EQ(scrolls, 1);
  EXPECT_TRUE(t.Locate("Nome", Value("Archivio")));  // the current one matches
  EXPECT_EQ(t.FieldByName("Testo").AsString(), "three");
  EXPECT_EQ(scrolls, 1);
  EXPECT_FALSE(t.Locate("Tipo;Nome", {Value("bvn"), Value("Archivio")}));
  EXPECT_EQ(t.FieldByName("Testo").AsString(), "three");
  EXPECT_TRUE(t.Locate("Tipo;Nome", {Value("tbx"), Value("ARCH")}, {true, true}));
  EXPECT_EQ(t.FieldByName("Testo").AsString(), "two");
  EXPECT_FALSE(t.Locate("Nome", Value("Arch")));
  EXPECT_TRUE(t.Locate("Nome", Value("Arch"), {false, true}));
  // An empty text key finds the absent text; a null key an absent number.
  EXPECT_TRUE(t.Locate("Testo", Value("")));
  EXPECT_EQ(t.FieldByName("Nome").AsString(), "Directory");
  EXPECT_TRUE(t.Locate("Numero", Value()));
  EXPECT_FALSE(t.Locate("Utente", Value("not a number")));
  EXPECT_EQ(t.Lookup("Tipo;Utente", {Value("TBX"), Value(1)}, "Testo").AsString(), "two");
  EXPECT_TRUE(t.Lookup("Nome", {Value("Nobody")}, "Testo").IsNull());
  EXPECT_THROW(t.Locate("Tipo;Nome", Value("BVN")), db::DbError);
}

TEST(MemoryData, RepeatedLocateSeesEveryChange) {
  // Fault: the key hashes kept for repeated searches of a large table going
  // stale after an edit, insert, delete, cancel, sort or clear.
  TRxMemoryData t;
  DefineSimple(t);
  t.Open();
  for (int i = 0; i < 200; ++i) Add(t, i, "k" + std::to_string(i));
  auto find = [&](const char* key, db::LocateOptions o = {}) {
    // The second and third scans of one field between changes use the hashes.
    for (int pass = 0; pass < 2; ++pass) {
      t.First();
      t.Locate("S", Value(key), o);
    }
    t.First();
    return t.Locate("S", Value(key), o) ? t.FieldByName("N").AsInteger() : -1;
  };
  EXPECT_EQ(find("k150"), 150);
  EXPECT_EQ(find("missing"), -1);
  t.Locate("N", Value(10));
  t.Edit();
  t.FieldByName("S").SetAsString("Città");
  t.Post();
  EXPECT_EQ(find("Città"), 10);
  EXPECT_EQ(find("CITTÀ", {true, false}), 10);
  EXPECT_EQ(find("CITTA", {true, false}), -1);  // accents still count
  EXPECT_EQ(find("k10"), -1);
  t.Locate("N", Value(20));
  t.Insert();
  t.FieldByName("N").SetAsInteger(500);
  t.FieldByName("S").SetAsString("new");
  t.Post();
  EXPECT_EQ(find("new"), 500);
  EXPECT_EQ(t.RecNo(), 21);
  t.Delete();
  EXPECT_EQ(find("new"), -1);
  EXPECT_EQ(find("k20"), 20);
  t.Insert();
  t.Cancel();
  EXPECT_EQ(find("k21"), 21);
  t.Edit();
  t.FieldByName("S").SetAsString("");
  t.Post();
  EXPECT_EQ(find(""), 21);  // an emptied text is found by an empty key
  t.SortByFields("N", false, true);
  EXPECT_EQ(find("k199"), 199);
  EXPECT_EQ(t.RecNo(), 1);
  EXPECT_EQ(find("k0"), 0);
  EXPECT_EQ(t.RecNo(), 200);
  t.ClearRecords();
  EXPECT_EQ(find("k0"), -1);
}

TEST(MemoryData, LocateAndRecordCountUnderAFilter) {
  // Fault: Locate landing on a refused record, RecordCount shrinking with the
  // filter, or a new filter event leaving the cursor on a refused record.
  TRxMemoryData t;
  DefineSimple(t);
  t.Open();
  for (int i = 1; i <= 6; ++i) Add(t, i, i % 2 ? "odd" : "even");
  t.Locate("N", Value(3));
  t.SetOnFilterRecord([](db::DataSet& ds, bool& accept) { accept = ds.FieldByName("N").AsInteger() > 4; });
  t.SetFiltered(true);
  EXPECT_EQ(t.FieldByName("N").AsInteger(), 5);
  EXPECT_EQ(t.RecordCount(), 6);
  EXPECT_FALSE(t.Locate("N", Value(2)));
  EXPECT_TRUE(t.Locate("S", Value("even")));
  EXPECT_EQ(t.FieldByName("N").AsInteger(), 6);
  t.SetOnFilterRecord([](db::DataSet& ds, bool& accept) { accept = ds.FieldByName("N").AsInteger() < 3; });
  EXPECT_EQ(t.FieldByName("N").AsInteger(), 1);
  // An exception in the event leaves the record accepted.
  t.SetOnFilterRecord([](db::DataSet& ds, bool&) { throw std::runtime_error("boom"); });
  EXPECT_EQ(Column(t, "N"), "1,2,3,4,5,6");
}

TEST(MemoryData, CopyFromDataSetCountsFromTheSourceCurrentRecord) {
  // Fault: a counted copy starting at the source's first record, the copy
  // not stopping at the count, or copying a table into itself.
  TRxMemoryData src;
  DefineSimple(src);
  src.Open();
  for (int i = 1; i <= 9; ++i) Add(src, i, "r" + std::to_string(i));
  src.SetRecNo(5);
  TRxMemoryData dst;
  EXPECT_EQ(dst.CopyFromDataSet(&src, 3, 0), 3);
  EXPECT_EQ(dst.RecNo(), 1);
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
  TRxMemoryData src;
  src.CreateField("N", FieldType::Integer);
  src.CreateField("Extra", FieldType::String, 4);
  src.CreateField("Odd", FieldType::Unknown);
  EXPECT_THROW(src.Open(), db::DbError);
  try {
    src.Open();
  } catch (const db::DbError& e) {
    EXPECT_STREQ(e.what(), "Field 'Odd' is of an unknown type");
  }
  src.DestroyFields();
  src.CreateField("N", FieldType::Integer);
  src.CreateField("Extra", FieldType::String, 4);
  src.Open();
  for (int i = 1; i <= 3; ++i) {
    src.Append();
    src.FieldByName("N").SetAsInteger(i);
    src.FieldByName("Extra").SetAsString("e");
    src.Post();
  }
  src.Close();  // its records go with it
  src.Open();
  src.Append();
  src.FieldByName("N").SetAsInteger(7);
  src.Post();
  src.Close();

  TRxMemoryData dst;
  dst.CreateField("N", FieldType::Integer)->ReadOnly = true;
  dst.CreateField("Own", FieldType::String, 4);
  dst.Open();
  dst.SetOnFilterRecord([](db::DataSet&, bool& accept) { accept = false; });
  dst.SetFiltered(true);
  EXPECT_EQ(dst.CopyFromDataSet(&src, 0, 1), 0);  // the source is empty once reopened
  EXPECT_FALSE(src.Active());
  EXPECT_FALSE(dst.Filtered());
  EXPECT_TRUE(dst.FieldByName("N").ReadOnly);

  TRxMemoryData mid;
  DefineSimple(mid);
  mid.Open();
  Add(mid, 4, "x");
  EXPECT_EQ(dst.CopyFromDataSet(&mid, 0, 1), 1);
  EXPECT_EQ(dst.FieldByName("N").AsInteger(), 4);
  EXPECT_TRUE(dst.FieldByName("Own").IsNull());
  EXPECT_TRUE(dst.FieldByName("N").ReadOnly);
  // Mode 0 takes the source's structure.
  EXPECT_EQ(dst.CopyFromDataSet(&mid, 0, 0), 1);
  ASSERT_NE(dst.FindField("S"), nullptr);
  EXPECT_EQ(dst.FindField("Own"), nullptr);
  EXPECT_EQ(dst.FieldByName("S").AsString(), "x");
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
  EXPECT_THROW(t.CreateBlobStream(t.FieldByName("R"), velmaro::BlobStreamMode::ReadWrite), db::DbError);
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
  t.Post();
  {
    auto s = t.CreateBlobStream(b, velmaro::BlobStreamMode::Read);
    char buf[6] = {};
    s->Seek(6, velmaro::SeekOrigin::Begin);
    EXPECT_EQ(s->Read(buf, 10), 5u);
    EXPECT_STREQ(buf, "there");
    EXPECT_EQ(s->Write("x", 1), 0u);
  }
  // Write mode empties the blob at once; Cancel gives the stored one back,
  // and a stream kept past the edit no longer writes.
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
  DefineSimple(names);
  names.Open();
  Add(names, 1, "uno");
  Add(names, 2, "due");
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
  EXPECT_EQ(t.FieldByName("Name").AsString(), "due");
  t.Edit();
  t.FieldByName("K").SetAsInteger(1);
  t.Post();
  EXPECT_EQ(t.FieldByName("Twice").AsInteger(), 2);
  EXPECT_EQ(t.FieldByName("Name").AsString(), "uno");
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
