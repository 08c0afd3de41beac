// Field values: conversions, display forms, validation and lookups.
#include "db/field.h"

#include <gtest/gtest.h>

#include "common/rowset.h"
#include "db/params.h"
#include "db/query.h"
#include "platform/format.h"

namespace {

class FieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plat::SetItalianFormats();
    s.CreateField("CODICE", db::FieldType::String, 20);
    s.CreateField("PREZZO", db::FieldType::Currency);
    s.CreateField("DATA", db::FieldType::Date);
    s.CreateField("QTA", db::FieldType::Integer);
    s.CreateField("ATTIVO", db::FieldType::Boolean);
    s.CreateField("NOTE", db::FieldType::Memo);
    s.AddRowValues({db::Value("A1"), db::Value(1234.5),
                    db::Value::FromDateTime(plat::EncodeDate(2024, 2, 29)), db::Value(7),
                    db::Value(true), db::Value("testo")});
    s.AddRowValues(
        {db::Value("B2"), db::Value(), db::Value(), db::Value(), db::Value(), db::Value()});
    s.Open();
  }
  TestRows s;
};

TEST_F(FieldTest, TextFormsFollowFormatSettings) {
  // Catches numbers and dates shown with the invariant "." and ISO dates
  // where the program's Italian settings are expected.
  EXPECT_EQ(s.FieldByName("PREZZO").AsString(), "1234,5");
  EXPECT_EQ(s.FieldByName("DATA").AsString(), "29/02/2024");
  EXPECT_EQ(s.FieldByName("ATTIVO").AsString(), "True");
  s.FieldByName("PREZZO").DisplayFormat = "#,##0.00";
  EXPECT_EQ(s.FieldByName("PREZZO").DisplayText(), "1.234,50");
  EXPECT_EQ(s.FieldByName("PREZZO").Text(), "1.234,50");
  s.FieldByName("PREZZO").EditFormat = "0.000";
  EXPECT_EQ(s.FieldByName("PREZZO").Text(), "1234,500");
  s.FieldByName("DATA").DisplayFormat = "yyyy-mm-dd";
  EXPECT_EQ(s.FieldByName("DATA").DisplayText(), "2024-02-29");
  EXPECT_EQ(s.FieldByName("NOTE").DisplayText(), "(MEMO)");
  s.FieldByName("CODICE").OnGetText = [](db::Field& f, std::string& t, bool) {
    t = "<" + f.AsString() + ">";
  };
  EXPECT_EQ(s.FieldByName("CODICE").DisplayText(), "<A1>");
  s.Next();
  EXPECT_EQ(s.FieldByName("PREZZO").DisplayText(), "");
  EXPECT_EQ(s.FieldByName("NOTE").DisplayText(), "(Memo)");
  EXPECT_EQ(s.FieldByName("QTA").AsInteger(), 0);
}

TEST_F(FieldTest, SettingTextConvertsToTheFieldType) {
  // Catches typed texts stored as text in numeric fields, empty texts that
  // become 0 instead of null, and bad input accepted silently.
  s.Edit();
  s.FieldByName("PREZZO").SetAsString("12,75");
  EXPECT_EQ(s.FieldByName("PREZZO").GetValue().Kind(), db::ValueKind::Float);
  EXPECT_DOUBLE_EQ(s.FieldByName("PREZZO").AsFloat(), 12.75);
  s.FieldByName("QTA").SetAsString("");
  EXPECT_TRUE(s.FieldByName("QTA").IsNull());
  EXPECT_THROW(s.FieldByName("QTA").SetAsString("dodici"), db::DbError);
  s.FieldByName("DATA").SetAsString("01/03/2024");
  EXPECT_DOUBLE_EQ(s.FieldByName("DATA").AsDateTime(), plat::EncodeDate(2024, 3, 1));
  s.FieldByName("DATA").SetAsDateTime(plat::EncodeDate(2024, 3, 2) + 0.75);
  EXPECT_DOUBLE_EQ(s.FieldByName("DATA").AsDateTime(), plat::EncodeDate(2024, 3, 2))
      << "a date keeps no time";
  s.FieldByName("QTA").SetAsFloat(2.6);
  EXPECT_EQ(s.FieldByName("QTA").AsInteger(), 3);
  s.FieldByName("ATTIVO").SetAsString("False");
  EXPECT_FALSE(s.FieldByName("ATTIVO").AsBoolean());
  s.Post();
}

TEST_F(FieldTest, ReadOnlyRequiredAndValidation) {
  // Catches read-only fields that accept values, missing required values
  // that get posted, and a refused value that stays in the record.
  s.FieldByName("CODICE").ReadOnly = true;
  s.Edit();
  EXPECT_THROW(s.FieldByName("CODICE").SetAsString("X"), db::DbError);
  s.FieldByName("QTA").OnValidate = [](db::Field& f) {
    if (f.AsInteger() < 0) throw db::DbError("quantità negativa");
  };
  EXPECT_THROW(s.FieldByName("QTA").SetAsInteger(-1), db::DbError);
  EXPECT_EQ(s.FieldByName("QTA").AsInteger(), 7);
  s.FieldByName("PREZZO").Required = true;
  s.FieldByName("PREZZO").Clear();
  EXPECT_THROW(s.Post(), db::DbError);
  EXPECT_EQ(s.State(), db::DataSetState::Edit);
  s.Cancel();
  EXPECT_DOUBLE_EQ(s.FieldByName("PREZZO").AsFloat(), 1234.5);
}

TEST_F(FieldTest, LookupFieldReadsOtherDataSet) {
  // Catches lookup values taken from the wrong row or left stale after the
  // key changes.
  TestRows articoli;
  articoli.CreateField("COD", db::FieldType::String, 20);
  articoli.CreateField("DESCR", db::FieldType::String, 40);
  articoli.AddRowValues({db::Value("A1"), db::Value("Vite")});
  articoli.AddRowValues({db::Value("B2"), db::Value("Bullone")});
  articoli.Open();
  s.Close();
  db::Field* l = s.CreateField("DESCRIZIONE", db::FieldType::String, 40, db::FieldKind::Lookup);
  l->KeyFields = "CODICE";
  l->LookupDataSet = &articoli;
  l->LookupKeyFields = "COD";
  l->LookupResultField = "DESCR";
  s.Open();
  EXPECT_EQ(s.FieldByName("DESCRIZIONE").AsString(), "Vite");
  s.Next();
  EXPECT_EQ(s.FieldByName("DESCRIZIONE").AsString(), "Bullone");
  s.Edit();
  s.FieldByName("CODICE").SetAsString("A1");
  EXPECT_EQ(s.FieldByName("DESCRIZIONE").AsString(), "Vite");
  EXPECT_EQ(articoli.RecNo(), 1) << "lookups do not move the other set";
}

TEST(Params, NamesOutsideQuotesAndComments) {
  // Catches ":" inside literals, identifiers or comments taken for
  // parameters, and repeated names that become separate parameters.
  db::Query q;
  q.SQL.Add("SELECT 'a:b', \"X:Y\" FROM T -- :COMMENTO");
  q.SQL.Add("WHERE A = :A AND B = :b /* :C */ AND D = :A AND E = 'it''s :no' AND F = :\"Quoted\"");
  ASSERT_EQ(q.Params().Count(), 3);
  EXPECT_EQ(q.Params()[0].Name(), "A");
  EXPECT_EQ(q.Params()[1].Name(), "b");
  EXPECT_EQ(q.Params()[2].Name(), "Quoted");
  q.ParamByName("B").SetAsInteger(5);
  q.SQL.Add("AND G = :G");
  EXPECT_EQ(q.Params().Count(), 4);
  EXPECT_EQ(q.ParamByName("b").AsInteger(), 5) << "values survive an SQL change";
  q.ParamCheck = false;
  q.SQL.Add(" ");
  EXPECT_EQ(q.Params().Count(), 0);
}

TEST(Value, ConversionsAndEquality) {
  // Catches texts in either decimal form refused, and equality that
  // separates 2 from 2.0.
  plat::SetItalianFormats();
  EXPECT_DOUBLE_EQ(db::Value("2,5").AsDouble(), 2.5);
  EXPECT_DOUBLE_EQ(db::Value("2.5").AsDouble(), 2.5);
  EXPECT_EQ(db::Value("42").AsInt64(), 42);
  EXPECT_THROW(db::Value("abc").AsInt64(), db::DbError);
  EXPECT_TRUE(db::Value(2) == db::Value(2.0));
  EXPECT_FALSE(db::Value() == db::Value(0));
  EXPECT_EQ(db::Value("2024-01-31").AsDateTime(), plat::EncodeDate(2024, 1, 31));
  EXPECT_EQ(db::Value(1.5).AsString(), "1,5");
  db::Value big(std::string(100, 'x'));
  db::Value copy = big;
  EXPECT_EQ(copy.Bytes().size(), 100u);
}

TEST(Value, InPlaceSetters) {
  // Catches a setter that leaves the earlier text or kind of the slot
  // behind the new value.
  db::Value slot("testo lungo abbastanza da stare fuori dal valore");
  slot.SetInt(7);
  EXPECT_EQ(slot.Kind(), db::ValueKind::Int);
  EXPECT_TRUE(slot.Bytes().empty());
  EXPECT_EQ(slot.AsInt64(), 7);
  slot.SetText("di nuovo");
  EXPECT_EQ(slot.Kind(), db::ValueKind::Text);
  EXPECT_EQ(slot.Bytes(), "di nuovo");
  slot.SetDateTime(45000.25);
  EXPECT_EQ(slot.Kind(), db::ValueKind::DateTime);
  EXPECT_TRUE(slot.Bytes().empty());
  EXPECT_EQ(slot.AsDateTime(), 45000.25);
}

TEST(Value, TextIsOwnedByOneValue) {
  // Catches a text shared between a value and its copy (a change to one
  // showing in the other, or freed twice), a moved-from value still
  // holding the text, and a value assigned to itself losing it.
  db::Value a(std::string("prima riga del listino"));
  db::Value b = a;
  b.SetText("altro");
  EXPECT_EQ(a.Bytes(), "prima riga del listino");
  db::Value c = std::move(a);
  EXPECT_TRUE(a.IsNull());
  EXPECT_TRUE(a.Bytes().empty());
  EXPECT_EQ(c.Bytes(), "prima riga del listino");
  std::vector<db::Value> row{c, db::Value(3), db::Value::FromBlob("\x01\x02")};
  row.reserve(100);  // the values move with their texts
  EXPECT_EQ(row[0].Bytes(), "prima riga del listino");
  EXPECT_EQ(row[2].Bytes(), "\x01\x02");
  db::Value& self = c;
  c = self;
  c = std::move(self);
  EXPECT_EQ(c.Bytes(), "prima riga del listino");
  c = 12.5;
  EXPECT_TRUE(c.Bytes().empty());
  EXPECT_EQ(row[2].Kind(), db::ValueKind::Blob);
  row[2] = row[0];
  EXPECT_EQ(row[2].Kind(), db::ValueKind::Text);
  EXPECT_EQ(row[2].Bytes(), "prima riga del listino");
}

TEST(Value, TextsInPlaceAndOnTheHeap) {
  // Catches a text cut or garbled where a value passes from holding it in
  // place to holding it on the heap and back (22 and 23 bytes), a text set
  // from a view of its own value, and a long text reusing a buffer too
  // small for it.
  const std::string in22(22, 'a'), on23 = std::string(22, 'b') + "c";
  db::Value v(in22);
  EXPECT_EQ(v.Bytes(), in22);
  v.SetText(on23);
  EXPECT_EQ(v.Bytes(), on23);
  v.SetText(v.Bytes().substr(1));  // from its own heap text into place
  EXPECT_EQ(v.Bytes(), on23.substr(1));
  v.SetText(std::string(40, 'x'));
  v.SetText(v.Bytes().substr(5));  // within its own buffer
  EXPECT_EQ(v.Bytes(), std::string(35, 'x'));
  v.SetText(std::string(300, 'y'));
  EXPECT_EQ(v.Bytes(), std::string(300, 'y'));
  db::Value blob = db::Value::FromBlob(std::string(50, '\0'));
  v = blob;
  EXPECT_EQ(v.Kind(), db::ValueKind::Blob);
  EXPECT_EQ(v.Bytes(), std::string(50, '\0'));
  v.SetText("");
  EXPECT_TRUE(v.Bytes().empty());
  EXPECT_FALSE(v.IsNull());
}

}  // namespace
