// The data-aware grid: columns bound to the fields of a data source's data
// set; the current row follows the data set and the data set follows the
// row the operator picks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"

namespace db {
class DataSet;
class DataSource;
class Field;
}  // namespace db

namespace ui {

class CellTexts;
class DBGrid;

struct Rect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// What a draw handler paints with; the grid keeps what the handler leaves.
class Canvas {
 public:
  ui::Font Font;
  struct {
    ui::Color Color = clWindow;
  } Brush;
  void FillRect(const Rect&) { filled_ = true; }
  void TextOut(int, int, const std::string& text) { text_ = text, drawn_ = true; }
  void TextRect(const Rect&, int, int, const std::string& text) { text_ = text, drawn_ = true; }
  // Used by the grid while it renders a cell.
  void Reset(const ui::Font& f, ui::Color brush);
  bool TextDrawn() const { return drawn_; }
  const std::string& DrawnText() const { return text_; }

 private:
  std::string text_;
  bool drawn_ = false, filled_ = false;
};

struct ColumnTitle {
  std::string Caption;  // empty: the field's display label
  ui::Color Color = clBtnFace;
  ui::Font Font;
  ui::Alignment Alignment = ui::Alignment::LeftJustify;
};

class Column {
 public:
  explicit Column(DBGrid* grid) : grid_(grid) {}
  std::string FieldName;
  ColumnTitle Title;
  ui::Color Color = clWindow;
  ui::Font Font;
  bool Visible = true, ReadOnly = false;
  ui::Alignment Alignment = ui::Alignment::LeftJustify;
  // Width in pixels; until set, derived from the field's display width.
  int Width() const;
  void SetWidth(int w) { width_ = w; }
  std::string TitleText() const;
  db::Field* Field() const;  // the field of that name in the grid's data set, or null
  int Index() const;
  DBGrid* Grid() const { return grid_; }

 private:
  DBGrid* grid_;
  int width_ = -1;
};

enum class ColumnsState { Default, Customized };

// The grid's columns. While Default they are rebuilt from the data set's
// visible fields at each open; adding a column makes them Customized.
class DBGridColumns {
 public:
  explicit DBGridColumns(DBGrid* grid) : grid_(grid) {}
  int Count() const { return int(cols_.size()); }
  Column* Items(int i) const;
  Column* operator[](int i) const { return Items(i); }
  Column* Add();
  void Delete(int i);
  void Move(int from, int to);
  void Clear();  // back to Default columns
  ColumnsState State() const { return state_; }
  // Customized keeps the present columns as they are; Default rebuilds them.
  void SetState(ColumnsState s);
  void RebuildDefault();
  int IndexOf(const Column* c) const;

 private:
  DBGrid* grid_;
  std::vector<std::unique_ptr<Column>> cols_;
  ColumnsState state_ = ColumnsState::Default;
};

using GridOptions = std::uint32_t;
constexpr GridOptions dgEditing = 1, dgAlwaysShowEditor = 2, dgTitles = 4, dgIndicator = 8,
                      dgColumnResize = 16, dgColLines = 32, dgRowLines = 64, dgTabs = 128,
                      dgRowSelect = 256, dgAlwaysShowSelection = 512, dgConfirmDelete = 1024,
                      dgCancelOnExit = 2048, dgMultiSelect = 4096;
using GridDrawState = std::uint8_t;
constexpr GridDrawState gdSelected = 1, gdFocused = 2, gdFixed = 4;

// A cell under a point: X counts the indicator column, Y the title row.
struct GridCoord {
  int X = -1, Y = -1;
};
// The last mouse press, in grid terms.
struct GridHit {
  bool isTitle = false, isIndicator = false;
  int row = -1;     // data row from 0 (-1 on the title row)
  int column = -1;  // column index from 0 (-1 on the indicator)
};

struct RenderedCell {
  std::string Text;
  ui::Color FontColor = clWindowText, BrushColor = clWindow;
  FontStyles Style = 0;
};
struct RenderedGrid {
  std::vector<std::string> Titles;  // visible columns
  std::vector<ui::Color> TitleColors;
  std::vector<std::vector<RenderedCell>> Rows;
  int CurrentRow = -1;
  int TotalRows = 0;  // rows fetched, also those beyond the rendered ones
};

class DBGrid : public Control {
 public:
  explicit DBGrid(Component* owner = nullptr);
  ~DBGrid() override;
  std::string ClassName() const override { return "TDBGrid"; }
  bool IsWinControl() const override { return true; }
  bool WantsKey(Word key) const override { return key == VK_TAB && (Options & dgTabs); }

  db::DataSource* DataSource() const;
  void SetDataSource(db::DataSource* s);
  db::DataSet* DataSet() const;  // null when unbound

  DBGridColumns& Columns() { return columns_; }
  const DBGridColumns& Columns() const { return columns_; }
  int SelectedIndex() const { return selectedIndex_; }
  void SetSelectedIndex(int i);
  db::Field* SelectedField() const;
  void SetSelectedField(db::Field* f);

  GridOptions Options = dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines |
                        dgRowLines | dgTabs | dgConfirmDelete | dgCancelOnExit;
  bool ReadOnly = false;
  bool DefaultDrawing = true;
  ui::Font TitleFont;
  ui::Canvas Canvas;
  int DefaultRowHeight = 17;

  std::function<void(Component*sender, Column*column)> OnTitleClick, OnCellClick;
  std::function<void(Component* sender, const Rect& rect, int dataCol, Column* column,
                     GridDrawState state)>
      OnDrawColumnCell;
  std::function<void(Component* sender, const Rect& rect, db::Field* field, GridDrawState state)>
      OnDrawDataCell;
  NotifyEvent OnColEnter, OnColExit;

  // Draw handlers call these to paint a cell the standard way.
  void DefaultDrawColumnCell(const Rect& rect, int dataCol, Column* column, GridDrawState state);
  void DefaultDrawDataCell(const Rect& rect, db::Field* field, GridDrawState state);

  // Mouse: the cell under a point, the last press, and the press itself.
  GridCoord MouseCoord(int x, int y) const;
  virtual void MouseDown(int x, int y, ShiftState shift);
  GridHit LastHit() const;
  int LastMouseX() const { return mouseX_; }
  int LastMouseY() const { return mouseY_; }
  // Centre of a cell: row from 0 (-1 the title row), column index from 0.
  void CellPoint(int row, int column, int& x, int& y) const;

  // The operator's hand: the grid is pressed at the cell first, then acts.
  void OperatorClickCell(int row, int column);  // moves the data set to the row
  void OperatorDblClickCell(int row, int column);
  void OperatorClickTitle(int column);
  void OperatorDblClickTitle(int column);
  // Typing into the selected cell of the current row (dgEditing, not read-only).
  void OperatorType(const std::string& text) override;

  void KeyDown(Word& key, ShiftState shift) override;

  // Renders up to maxRows rows, running the draw handlers for each visible cell.
  RenderedGrid Render(int maxRows = 100);

 private:
  class Link;
  friend class Link;
  friend class DBGridColumns;
  void LinkActive();
  int IndicatorWidth() const { return (Options & dgIndicator) ? 11 : 0; }
  int TitleHeight() const { return (Options & dgTitles) ? 18 : 0; }
  Rect CellRect(int row, int column) const;
  // The two halves of CellRect: a column's left and right, a row's top and bottom.
  void ColumnSpan(int column, Rect& r) const;
  void RowSpan(int row, Rect& r) const;
  void MoveToRow(int row);
  struct RenderColumn;
  // Draws one cell of visible row `row` into `cell`.
  void RenderCell(db::DataSet& ds, int row, RenderColumn& col, bool current, RenderedCell& cell);
  DBGridColumns columns_;
  std::unique_ptr<Link> link_;
  std::unique_ptr<CellTexts> texts_;  // of the numbers and dates drawn
  int selectedIndex_ = 0;
  int mouseX_ = -1, mouseY_ = -1;
};

}  // namespace ui
