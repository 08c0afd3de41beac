// The data grid: following its data set, columns, the mouse and drawing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "db/datasource.h"
#include "platform/format.h"
#include "ui/driver.h"
#include "ui/ui.h"
#include "ui_fixture.h"

namespace {

class GridForm : public ui::Form {
 public:
  explicit GridForm(db::DataSource* src) : Form(&ui::App()) {
    SetName("G");
    Grid = ui::Make<ui::DBGrid>(this, "Grid");
    Grid->SetBounds(0, 0, 400, 300);
    Grid->SetDataSource(src);
    DoCreate();
  }
  ui::DBGrid* Grid;
};

class DBGridTest : public UiTest {
 protected:
  void SetUp() override {
    set.reset(MakeBands());
    src = std::make_unique<db::DataSource>(set.get());
  }
  void TearDown() override {
    UiTest::TearDown();
    src.reset();
    set.reset();
  }
  std::unique_ptr<TestRows> set;
  std::unique_ptr<db::DataSource> src;
};

TEST_F(DBGridTest, GridAndDataSetFollowEachOther) {
  // Catches a grid whose current row lags the data set, a row click that
  // leaves the data set where it was, and default columns not rebuilt
  // from the visible fields when the set opens.
  ui::Driver d;
  auto* f = new GridForm(src.get());
  EXPECT_EQ(f->Grid->Columns().Count(), 0);
  set->Open();
  ASSERT_EQ(f->Grid->Columns().Count(), 2);
  EXPECT_EQ(f->Grid->Columns()[1]->TitleText(), "NOME");
  f->Show();
  int scrolls = 0;
  set->AfterScroll = [&](db::DataSet&) { ++scrolls; };
  d.SelectRow("G.Grid", 3);
  EXPECT_EQ(set->FieldByName("NOME").AsString(), "Ingrosso");
  EXPECT_EQ(scrolls, 1);
  set->First();
  EXPECT_EQ(f->Grid->Render().CurrentRow, 0);
  d.PressKey("G.Grid", ui::VK_DOWN);
  EXPECT_EQ(set->RecNo(), 2);
  EXPECT_THROW(d.SelectRow("G.Grid", 4), ui::DriverError);

  set->Close();
  set->Open();
  EXPECT_EQ(f->Grid->Columns().Count(), 2);
}

TEST_F(DBGridTest, CustomColumnsAndTitleHits) {
  // Catches customised columns replaced by defaults at the next open, and
  // a double click whose title/column information is wrong (the sort by
  // title double click depends on it).
  ui::Driver d;
  auto* f = new GridForm(src.get());
  auto* c = f->Grid->Columns().Add();
  c->FieldName = "NOME";
  c->Title.Caption = "Nome fascia";
  set->Open();
  ASSERT_EQ(f->Grid->Columns().Count(), 1);
  std::vector<std::string> hits;
  f->Grid->OnDblClick = [&](ui::Component*) {
    ui::GridHit h = f->Grid->LastHit();
    hits.push_back((h.isTitle ? "title " : "row " + std::to_string(h.row) + " ") +
                   std::to_string(h.column));
  };
  f->Show();
  d.DblClickTitle("G.Grid", "Nome fascia");
  d.DblClickRow("G.Grid", 2);
  EXPECT_EQ(hits, (std::vector<std::string>{"title 0", "row 1 0"}));
  EXPECT_EQ(set->RecNo(), 2);
  ui::GridCoord onIndicator = f->Grid->MouseCoord(3, 5);
  EXPECT_TRUE(onIndicator.X == 0 && onIndicator.Y == 0);
}

TEST_F(DBGridTest, DrawHandlersSeeTheRowBeingDrawn) {
  // Catches draw handlers that read the current row's fields for every row
  // (row colouring would follow the cursor), and colours not kept.
  auto* f = new GridForm(src.get());
  set->Open();
  set->Last();
  f->Grid->OnDrawColumnCell = [&](ui::Component*, const ui::Rect&, int, ui::Column* col,
                                  ui::GridDrawState) {
    if (set->FieldByName("ID").AsInteger() == 2) f->Grid->Canvas.Brush.Color = ui::clYellow;
    if (col->FieldName == "NOME") f->Grid->Canvas.Font.Style = ui::fsBold;
  };
  ui::RenderedGrid r = f->Grid->Render();
  ASSERT_EQ(r.Rows.size(), 3u);
  EXPECT_EQ(r.Rows[1][0].BrushColor, ui::clYellow);
  EXPECT_NE(r.Rows[0][0].BrushColor, ui::clYellow);
  EXPECT_EQ(r.Rows[2][1].Style, ui::fsBold);
  EXPECT_EQ(r.Rows[2][1].Text, "Ingrosso");
  EXPECT_EQ(set->RecNo(), 3);  // drawing moved nothing
  EXPECT_EQ(set->State(), db::DataSetState::Browse);
}

TEST_F(DBGridTest, RepeatedValuesKeepTheirRowsFormat) {
  // Catches a row drawn with the text of the row above because the value
  // is the same, although a draw handler changed the field's display
  // format in between, and a changed value drawn with the old text.
  plat::SetItalianFormats();
  const double data = plat::EncodeDate(2024, 1, 31);
  TestRows rows({{"DATA", db::FieldType::Date}, {"IMPORTO", db::FieldType::Float}},
                {{db::Value::FromDateTime(data), 2.5},
                 {db::Value::FromDateTime(data), 2.5},
                 {db::Value::FromDateTime(data + 1), 2.5},
                 {db::Value::FromDateTime(data + 1), 0.0},
                 {db::Value::FromDateTime(data + 1), 0.0}});
  db::DataSource source(&rows);
  auto* f = new GridForm(&source);
  rows.Open();
  db::Field& importo = rows.FieldByName("IMPORTO");
  int drawn = 0;
  f->Grid->OnDrawDataCell = [&](ui::Component*, const ui::Rect&, db::Field* field,
                                ui::GridDrawState) {
    if (field == &importo && ++drawn == 2) importo.DisplayFormat = "0.000";
  };
  ui::RenderedGrid g = f->Grid->Render();
  ASSERT_EQ(g.Rows.size(), 5u);
  std::vector<std::string> date, importi;
  for (const auto& r : g.Rows) date.push_back(r[0].Text), importi.push_back(r[1].Text);
  EXPECT_EQ(date, (std::vector<std::string>{"31/01/2024", "31/01/2024", "01/02/2024", "01/02/2024",
                                            "01/02/2024"}));
  EXPECT_EQ(importi, (std::vector<std::string>{"2,5", "2,5", "2,500", "0,000", "0,000"}));
}

TEST_F(DBGridTest, KeptTextsFollowSettingsFieldsAndValues) {
  // Catches a grid that draws a text kept from an earlier drawing after the
  // format settings changed, after its column came to show another field
  // (of another data set, or of the same one with another type), or for a
  // value that changed in between.
  plat::SetItalianFormats();
  TestRows rows({{"IMPORTO", db::FieldType::Float}}, {{2.5}, {1000.25}});
  db::DataSource source(&rows);
  auto* f = new GridForm(&source);
  rows.Open();
  auto texts = [&] {
    std::vector<std::string> out;
    for (const auto& r : f->Grid->Render().Rows) out.push_back(r[0].Text);
    return out;
  };
  EXPECT_EQ(texts(), (std::vector<std::string>{"2,5", "1000,25"}));
  plat::Formats().DecimalSeparator = '.';
  EXPECT_EQ(texts(), (std::vector<std::string>{"2.5", "1000.25"}));
  plat::SetItalianFormats();
  rows.Edit();
  rows.FieldByName("IMPORTO").SetAsFloat(3.75);
  rows.Post();
  EXPECT_EQ(texts(), (std::vector<std::string>{"3,75", "1000,25"}));

  TestRows dates({{"IMPORTO", db::FieldType::Date}},
                 {{db::Value::FromDateTime(2.5)}, {db::Value::FromDateTime(1000.25)}});
  source.SetDataSet(&dates);
  dates.Open();
  EXPECT_EQ(texts(), (std::vector<std::string>{"01/01/1900", "26/09/1902"}));

  // The same value, in the same data set, first as a date and then as a
  // date and time: its text as a date does not stand for the other.
  TestRows giorno({{"DATA", db::FieldType::Date}},
                  {{db::Value::FromDateTime(plat::EncodeDate(2024, 1, 31) + 0.5)}});
  source.SetDataSet(&giorno);
  giorno.Open();
  EXPECT_EQ(texts(), (std::vector<std::string>{"31/01/2024"}));
  giorno.Close();
  giorno.FieldDefs()[0].type = db::FieldType::DateTime;
  giorno.Open();
  EXPECT_EQ(texts(), (std::vector<std::string>{"31/01/2024 12:00:00"}));
}

TEST_F(DBGridTest, ACellTakesNoMoreCharactersThanItsTextField) {
  // Catches a cell that takes any length for a text field of 20 characters
  // (the database then refuses the post with its truncation error), and
  // one that counts bytes instead of characters.
  ui::Driver d;
  auto* f = new GridForm(src.get());
  set->Open();
  f->Show();
  d.SelectRow("G.Grid", 2);
  d.SelectColumn("G.Grid", "NOME");
  d.Type("G.Grid", "Rivenditori all'ingrosso del nord");
  EXPECT_EQ(set->FieldByName("NOME").AsString(), "Rivenditori all'ingr");
  d.Type("G.Grid", "Società più è già però così");
  EXPECT_EQ(set->FieldByName("NOME").AsString(), "Società più è già pe");
  d.Type("G.Grid", "Esattamente venti ch");
  EXPECT_EQ(set->FieldByName("NOME").AsString(), "Esattamente venti ch");
  d.SelectColumn("G.Grid", "ID");
  d.Type("G.Grid", "123456789");
  EXPECT_EQ(set->FieldByName("ID").AsString(), "123456789") << "a number is no text to cut";
  set->Cancel();
}

}  // namespace
