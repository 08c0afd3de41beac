// Storage of buffered rows: rows in shared blocks, released rows reused,
// kept blocks, and data sets whose rows change width or are edited,
// deleted and added over and over.
#include <gtest/gtest.h>

#include <string>

#include "common/rowset.h"
#include "db/rowstore.h"

namespace {

const std::string kLong(40, 'x');  // too long to sit inside a value

TEST(RowStore, RowsStayPutAndReleasedRowsComeBackNull) {
  // Catches a row moved when the store grows, a released row reused with
  // its old values, and long texts lost or freed twice (the sanitizer
  // build sees those).
  db::RowStore store;
  std::vector<db::Row> rows;
  for (int i = 0; i < 5000; ++i) {
    db::Row r = store.Allocate(3);
    for (const db::Value& v : r) ASSERT_TRUE(v.IsNull());
    r[0].SetInt(i);
    r[1].SetText(kLong + std::to_string(i));
    rows.push_back(r);
  }
  for (int i = 0; i < 5000; ++i) {
    ASSERT_EQ(rows[i][0].AsInt64(), i);
    ASSERT_EQ(rows[i][1].Bytes(), kLong + std::to_string(i));
  }
  store.Release(rows[10]);
  store.Release(store.Allocate(5));  // another width does not serve a row of 3
  db::Row again = store.Allocate(3);
  EXPECT_EQ(again.data(), rows[10].data());
  for (const db::Value& v : again) EXPECT_TRUE(v.IsNull());

  db::Row wider = store.Resize(rows[11], 4);
  ASSERT_EQ(wider.size(), 4u);
  EXPECT_EQ(wider[0].AsInt64(), 11);
  EXPECT_EQ(wider[1].Bytes(), kLong + "11");
  EXPECT_TRUE(wider[3].IsNull());
  db::Row narrower = store.Resize(wider, 1);
  EXPECT_EQ(narrower[0].AsInt64(), 11);
  EXPECT_EQ(store.Allocate(0).size(), 0u);
  store.Clear();
  EXPECT_TRUE(store.Allocate(2)[1].IsNull());
}

TEST(RowStore, LargeBlocksAreKeptUpToALimit) {
  // Catches a kept block handed out for another size, small blocks kept,
  // and a cache that grows without bound.
  namespace lb = db::largeblocks;
  lb::ReleaseKept();
  void* big = lb::Take(lb::kLargeBlock);
  lb::Give(big, lb::kLargeBlock);
  void* other = lb::Take(lb::kLargeBlock * 2);
  EXPECT_NE(other, big);
  EXPECT_EQ(lb::Take(lb::kLargeBlock), big);
  lb::Give(big, lb::kLargeBlock);
  lb::Give(other, lb::kLargeBlock * 2);
  lb::Give(lb::Take(64), 64);
  EXPECT_EQ(lb::ReleaseKept(), lb::kLargeBlock * 3);

  const std::size_t huge = std::size_t{16} << 20;
  std::vector<void*> blocks;
  for (int i = 0; i < 5; ++i) blocks.push_back(lb::Take(huge));
  for (void* b : blocks) lb::Give(b, huge);
  EXPECT_LE(lb::ReleaseKept(), std::size_t{48} << 20);
}

TEST(RowStore, DataSetRowsSurviveEditsDeletesAndReopening) {
  // Catches a record whose values are lost or shared with another after
  // posts, cancelled inserts and deletes, and rows given at open that are
  // shorter than the fields.
  TestRows s({{"ID", db::FieldType::Integer}, {"NOME", db::FieldType::String, 60},
              {"NOTE", db::FieldType::String, 60}},
             {{1, "Alfa"}, {2, kLong}});
  s.Open();
  EXPECT_TRUE(s.FieldByName("NOTE").IsNull());
  for (int round = 0; round < 300; ++round) {
    AppendRow(s, {100 + round, kLong + std::to_string(round), "n"});
    s.Insert();
    s.FieldByName("ID").SetAsInteger(-1);
    s.Cancel();
    s.Edit();
    s.FieldByName("NOTE").SetAsString(kLong);
    s.Post();
    if (round % 2 == 0) s.Delete();
  }
  std::vector<int> ids;
  for (s.First(); !s.Eof(); s.Next()) {
    ids.push_back(s.FieldByName("ID").AsInteger());
    if (ids.back() >= 100) {
      EXPECT_EQ(s.FieldByName("NOME").AsString(), kLong + std::to_string(ids.back() - 100));
      EXPECT_EQ(s.FieldByName("NOTE").AsString(), kLong);
    }
  }
  ASSERT_EQ(ids.size(), 152u);  // two given, 150 of the 300 appended kept
  EXPECT_EQ(ids[0], 1);
  EXPECT_EQ(ids[2], 101);
  EXPECT_EQ(ids.back(), 399);
  s.Close();
  s.Open();
  EXPECT_EQ(s.RecordCount(), 2);
  s.Last();
  EXPECT_EQ(s.FieldByName("NOME").AsString(), kLong);
}

}  // namespace
