#include "ui/dbgrid.h"

#include <algorithm>

#include "db/datasource.h"
#include "ui/celltexts.h"
#include "ui/dbedit.h"
#include "ui/strings.h"
#include "ui/utf8.h"

namespace ui {

void Canvas::Reset(const ui::Font& f, ui::Color brush) {
  if (!(Font == f)) Font = f;  // mostly the same font, cell after cell
  Brush.Color = brush;
  text_.clear();
  drawn_ = filled_ = false;
}

// ---- columns ----

int Column::Width() const {
  if (width_ >= 0) return width_;
  db::Field* f = Field();
  return f ? std::max(f->DisplayWidth(), int(TitleText().size())) * 6 + 4 : 64;
}

std::string Column::TitleText() const {
  if (!Title.Caption.empty()) return Title.Caption;
  if (db::Field* f = Field()) return f->DisplayLabel();
  return FieldName;
}

db::Field* Column::Field() const {
  db::DataSet* ds = grid_->DataSet();
  return ds && !FieldName.empty() ? ds->FindField(FieldName) : nullptr;
}

int Column::Index() const { return grid_->Columns().IndexOf(this); }

Column* DBGridColumns::Items(int i) const {
  if (i < 0 || i >= Count()) throw Error("Grid index out of range (" + std::to_string(i) + ")");
  return cols_[size_t(i)].get();
}

Column* DBGridColumns::Add() {
  if (state_ == ColumnsState::Default) {
    cols_.clear();
    state_ = ColumnsState::Customized;
  }
  cols_.push_back(std::make_unique<Column>(grid_));
  return cols_.back().get();
}

void DBGridColumns::Delete(int i) {
  (void)Items(i);
  cols_.erase(cols_.begin() + i);
  grid_->SetSelectedIndex(std::min(grid_->SelectedIndex(), std::max(0, Count() - 1)));
}

void DBGridColumns::Move(int from, int to) {
  (void)Items(from);
  (void)Items(to);
  auto c = std::move(cols_[size_t(from)]);
  cols_.erase(cols_.begin() + from);
  cols_.insert(cols_.begin() + to, std::move(c));
}

void DBGridColumns::Clear() {
  cols_.clear();
  state_ = ColumnsState::Default;
  RebuildDefault();
}

void DBGridColumns::SetState(ColumnsState s) {
  state_ = s;
  if (s == ColumnsState::Default) RebuildDefault();
}

void DBGridColumns::RebuildDefault() {
  if (state_ != ColumnsState::Default) return;
  cols_.clear();
  db::DataSet* ds = grid_->DataSet();
  if (!ds || !ds->Active()) return;
  for (db::Field* f : ds->Fields()) {
    if (!f->Visible) continue;
    cols_.push_back(std::make_unique<Column>(grid_));
    cols_.back()->FieldName = f->FieldName();
  }
  if (grid_->selectedIndex_ >= Count()) grid_->selectedIndex_ = 0;
}

int DBGridColumns::IndexOf(const Column* c) const {
  for (int i = 0; i < Count(); ++i)
    if (cols_[size_t(i)].get() == c) return i;
  return -1;
}

// ---- the link to the data set ----

class DBGrid::Link : public db::DataLink {
 public:
  explicit Link(DBGrid* g) : grid_(g) {}

 protected:
  void ActiveChanged() override { grid_->LinkActive(); }
  void LayoutChanged() override { grid_->LinkActive(); }

 private:
  DBGrid* grid_;
};

DBGrid::DBGrid(Component* owner)
    : Control(owner),
      columns_(this),
      link_(std::make_unique<Link>(this)),
      texts_(std::make_unique<CellTexts>()) {
  TabStop = true;
  Color = clWindow;
}

DBGrid::~DBGrid() { link_.reset(); }

db::DataSource* DBGrid::DataSource() const { return link_->GetDataSource(); }

void DBGrid::SetDataSource(db::DataSource* s) {
  link_->SetDataSource(s);
  LinkActive();
}

db::DataSet* DBGrid::DataSet() const { return link_->GetDataSet(); }

void DBGrid::LinkActive() { columns_.RebuildDefault(); }

void DBGrid::SetSelectedIndex(int i) {
  if (columns_.Count() == 0) {
    selectedIndex_ = 0;
    return;
  }
  i = std::clamp(i, 0, columns_.Count() - 1);
  if (i == selectedIndex_) return;
  if (OnColExit) OnColExit(this);
  selectedIndex_ = i;
  if (OnColEnter) OnColEnter(this);
}

db::Field* DBGrid::SelectedField() const {
  if (selectedIndex_ < 0 || selectedIndex_ >= columns_.Count()) return nullptr;
  return columns_[selectedIndex_]->Field();
}

void DBGrid::SetSelectedField(db::Field* f) {
  for (int i = 0; f && i < columns_.Count(); ++i)
    if (SameText(columns_[i]->FieldName, f->FieldName())) return SetSelectedIndex(i);
}

// ---- geometry and the mouse ----

void DBGrid::ColumnSpan(int column, Rect& r) const {
  r.Left = IndicatorWidth();
  for (int i = 0; i < column && i < columns_.Count(); ++i)
    if (columns_[i]->Visible) r.Left += columns_[i]->Width() + 1;
  r.Right = r.Left + (column >= 0 && column < columns_.Count() ? columns_[column]->Width() : 11);
  if (column < 0) r.Left = 0, r.Right = IndicatorWidth();
}

void DBGrid::RowSpan(int row, Rect& r) const {
  r.Top = row < 0 ? 0 : TitleHeight() + row * (DefaultRowHeight + 1);
  r.Bottom = r.Top + (row < 0 ? TitleHeight() : DefaultRowHeight);
}

Rect DBGrid::CellRect(int row, int column) const {
  Rect r;
  ColumnSpan(column, r);
  RowSpan(row, r);
  return r;
}

void DBGrid::CellPoint(int row, int column, int& x, int& y) const {
  Rect r = CellRect(row, column);
  x = (r.Left + r.Right) / 2;
  y = (r.Top + r.Bottom) / 2;
}

// Rows below the grid's height are still addressed: nothing scrolls here.
GridCoord DBGrid::MouseCoord(int x, int y) const {
  GridCoord c;
  if (x < 0 || y < 0) return c;
  int col = -1;
  if (x >= IndicatorWidth()) {
    int left = IndicatorWidth();
    for (int i = 0; i < columns_.Count(); ++i) {
      if (!columns_[i]->Visible) continue;
      if (x < left + columns_[i]->Width() + 1) {
        col = i;
        break;
      }
      left += columns_[i]->Width() + 1;
    }
    if (col < 0) return c;
  }
  c.X = col + ((Options & dgIndicator) ? 1 : 0);
  if (y < TitleHeight())
    c.Y = 0;
  else
    c.Y = (y - TitleHeight()) / (DefaultRowHeight + 1) + ((Options & dgTitles) ? 1 : 0);
  return c;
}

void DBGrid::MouseDown(int x, int y, ShiftState) {
  mouseX_ = x;
  mouseY_ = y;
}

GridHit DBGrid::LastHit() const {
  GridHit h;
  GridCoord c = MouseCoord(mouseX_, mouseY_);
  if (c.X < 0 || c.Y < 0) return h;
  int indicator = (Options & dgIndicator) ? 1 : 0, titles = (Options & dgTitles) ? 1 : 0;
  h.isTitle = titles && c.Y == 0;
  h.isIndicator = indicator && c.X == 0;
  h.row = h.isTitle ? -1 : c.Y - titles;
  h.column = h.isIndicator ? -1 : c.X - indicator;
  return h;
}

// ---- the operator ----

void DBGrid::MoveToRow(int row) {
  db::DataSet* ds = DataSet();
  if (!ds || !ds->Active()) throw Error("The grid has no open data set");
  if (row < 0 || !ds->FetchTo(row)) throw Error("The grid has no row " + std::to_string(row + 1));
  int cur = ds->CurrentRow();
  if (cur != row) ds->MoveBy(row - cur);
}

void DBGrid::OperatorClickCell(int row, int column) {
  int x, y;
  CellPoint(row, column, x, y);
  MouseDown(x, y, 0);
  MoveToRow(row);
  if (column >= 0) SetSelectedIndex(column);
  if (OnCellClick)
    OnCellClick(this, column >= 0 && column < columns_.Count() ? columns_[column] : nullptr);
  Click();
}

void DBGrid::OperatorDblClickCell(int row, int column) {
  auto self = Ref();
  OperatorClickCell(row, column);
  if (self) DblClick();
}

void DBGrid::OperatorClickTitle(int column) {
  int x, y;
  CellPoint(-1, column, x, y);
  MouseDown(x, y, 0);
  if (OnTitleClick && column >= 0 && column < columns_.Count())
    OnTitleClick(this, columns_[column]);
}

void DBGrid::OperatorDblClickTitle(int column) {
  auto self = Ref();
  OperatorClickTitle(column);
  if (self) DblClick();
}

void DBGrid::OperatorType(const std::string& text) {
  db::DataSet* ds = DataSet();
  db::Field* f = SelectedField();
  Column* c = columns_.Count() ? columns_[selectedIndex_] : nullptr;
  if (!ds || !f || !(Options & dgEditing) || ReadOnly || (c && c->ReadOnly) || !ds->CanModify())
    throw Error("The grid cannot be edited here");
  if (ds->State() != db::DataSetState::Edit && ds->State() != db::DataSetState::Insert) ds->Edit();
  // The cell takes no more characters than its text field holds.
  const int limite = FieldTypingLimit(f);
  f->SetAsString(limite > 0 && utf8::Length(text) > limite ? utf8::Sub(text, 0, limite) : text);
}

void DBGrid::KeyDown(Word& key, ShiftState shift) {
  Control::KeyDown(key, shift);
  db::DataSet* ds = DataSet();
  if (!key || !ds || !ds->Active()) return;
  switch (key) {
    case VK_UP:
      ds->Prior();
      break;
    case VK_DOWN:
      ds->Next();
      break;
    case VK_PRIOR:
      ds->MoveBy(-std::max(1, Height() / (DefaultRowHeight + 1)));
      break;
    case VK_NEXT:
      ds->MoveBy(std::max(1, Height() / (DefaultRowHeight + 1)));
      break;
    case VK_HOME:
      (shift & ssCtrl) ? ds->First() : SetSelectedIndex(0);
      break;
    case VK_END:
      (shift & ssCtrl) ? ds->Last() : SetSelectedIndex(columns_.Count() - 1);
      break;
    case VK_LEFT:
      SetSelectedIndex(selectedIndex_ - 1);
      break;
    case VK_RIGHT:
      SetSelectedIndex(selectedIndex_ + 1);
      break;
    case VK_ESCAPE:
      if (ds->State() == db::DataSetState::Edit || ds->State() == db::DataSetState::Insert)
        ds->Cancel();
      break;
    default:
      return;
  }
}

// ---- drawing ----

void DBGrid::DefaultDrawColumnCell(const Rect& rect, int, Column* column, GridDrawState state) {
  DefaultDrawDataCell(rect, column ? column->Field() : nullptr, state);
}

void DBGrid::DefaultDrawDataCell(const Rect& rect, db::Field* field, GridDrawState) {
  Canvas.FillRect(rect);
  Canvas.TextRect(rect, rect.Left + 2, rect.Top + 2, field ? field->DisplayText() : std::string());
}

// What every row of a render shares for one visible column: its field,
// span and kept texts, looked up once.
struct DBGrid::RenderColumn {
  int dataCol = 0, index = 0;
  Column* column = nullptr;
  db::Field* field = nullptr;
  CellTexts::Column* texts = nullptr;
  Rect span;
};

void DBGrid::RenderCell(db::DataSet& ds, int row, RenderColumn& col, bool current,
                        RenderedCell& cell) {
  Column* c = col.column;
  db::Field* f = col.field;
  GridDrawState st = 0;
  if (current && ((Options & dgRowSelect) || col.index == selectedIndex_))
    st |= gdSelected | (Focused() ? gdFocused : 0);
  Canvas.Reset(c->Font, c->Color);
  if (st & gdSelected) Canvas.Font.Color = clHighlightText, Canvas.Brush.Color = clHighlight;
  Rect r = col.span;
  RowSpan(row, r);
  if (f) {
    const db::Value& v = ds.RowValue(row, *f);
    if (v.Kind() == db::ValueKind::Text || v.Kind() == db::ValueKind::Blob)
      cell.Text = f->FormatValue(v);  // a text is copied as it stands: nothing to keep
    else
      cell.Text = col.texts->Text(*f, v);
  }
  const bool handled = OnDrawDataCell || OnDrawColumnCell;
  if (handled) {
    if (OnDrawDataCell) OnDrawDataCell(this, r, f, st);
    if (OnDrawColumnCell) OnDrawColumnCell(this, r, col.dataCol, c, st);
    if (Canvas.TextDrawn())
      cell.Text = Canvas.DrawnText();
    else if (!DefaultDrawing)
      cell.Text.clear();  // the handler chose to paint nothing
  }
  cell.FontColor = Canvas.Font.Color;
  cell.BrushColor = Canvas.Brush.Color;
  cell.Style = Canvas.Font.Style;
}

RenderedGrid DBGrid::Render(int maxRows) {
  RenderedGrid out;
  std::vector<RenderColumn> cols;
  for (int i = 0; i < columns_.Count(); ++i)
    if (columns_[i]->Visible) {
      out.Titles.push_back(columns_[i]->TitleText());
      out.TitleColors.push_back(columns_[i]->Title.Color);
      RenderColumn& col = cols.emplace_back();
      col.dataCol = int(cols.size()) - 1;
      col.index = i;
      col.column = columns_[i];
    }
  db::DataSet* ds = DataSet();
  if (!ds || !ds->Active()) return out;
  texts_->Begin(int(cols.size()));
  for (RenderColumn& col : cols) {
    col.field = col.column->Field();
    if (col.field) col.texts = &texts_->For(col.dataCol, *col.field);
    ColumnSpan(col.index, col.span);
  }
  out.CurrentRow = ds->CurrentRow();
  // The rows of the screen are fetched before any is drawn: the engine's
  // work stays together instead of alternating with the drawing.
  if (maxRows > 0) ds->FetchTo(maxRows - 1);
  out.Rows.reserve(size_t(std::clamp(ds->VisibleCount(), 0, std::max(maxRows, 0))));
  bool handlers = OnDrawColumnCell || OnDrawDataCell;
  for (int row = 0; row < maxRows && ds->FetchTo(row); ++row) {
    // Draw handlers read the fields of the row being drawn.
    struct RowView {
      db::DataSet* ds;
      bool on;
      ~RowView() {
        if (on) ds->EndRowView();
      }
    } view{ds, handlers && row != out.CurrentRow && ds->BeginRowView(row)};
    std::vector<RenderedCell>& cells = out.Rows.emplace_back();
    cells.resize(cols.size());
    for (size_t i = 0; i < cols.size(); ++i)
      RenderCell(*ds, row, cols[i], row == out.CurrentRow, cells[i]);
  }
  out.TotalRows = ds->VisibleCount();
  return out;
}

}  // namespace ui
