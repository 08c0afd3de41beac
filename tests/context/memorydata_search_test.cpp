// The in-memory table's searches: sorting by fields and locating rows.
#include <gtest/gtest.h>

#include <stdexcept>

#include "context/memorydata.h"
#include "context/memorydata_collate.h"
#include "memorydata_tables.h"

namespace {

using db::FieldType;
using db::Value;
using velmaro::TRxMemoryData;
using namespace velmaro::testing;  // the shared tables and readers

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
  for (int i = 0; i < 5; ++i) AppendRow(t, {i, values[i], 45000.0 - i});
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
  AppendRow(t, {"BVN", "Archivio", 1, "one"});
  AppendRow(t, {"TBX", "Archivio", 1, "two"});
  AppendRow(t, {"BVN", "Archivio", 2, "three"});
  AppendRow(t, {"BVN", "Directory", 1, ""});
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
  t.SetOnFilterRecord(
      [](db::DataSet& ds, bool& accept) { accept = ds.FieldByName("N").AsInteger() > 4; });
  t.SetFiltered(true);
  EXPECT_EQ(t.FieldByName("N").AsInteger(), 5);
  EXPECT_EQ(t.RecordCount(), 6);
  EXPECT_FALSE(t.Locate("N", Value(2)));
  EXPECT_TRUE(t.Locate("S", Value("even")));
  EXPECT_EQ(t.FieldByName("N").AsInteger(), 6);
  t.SetOnFilterRecord(
      [](db::DataSet& ds, bool& accept) { accept = ds.FieldByName("N").AsInteger() < 3; });
  EXPECT_EQ(t.FieldByName("N").AsInteger(), 1);
  // An exception in the event leaves the record accepted.
  t.SetOnFilterRecord([](db::DataSet& ds, bool&) { throw std::runtime_error("boom"); });
  EXPECT_EQ(Column(t, "N"), "1,2,3,4,5,6");
}

}  // namespace
