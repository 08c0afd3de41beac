// Containers and the other controls: panels, group boxes, bevels, splitters,
// progress and status bars, pictures and date pickers.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/graphics.h"

namespace ui {

enum class BevelCut { None, Lowered, Raised, Space };

class Panel : public Control {
 public:
  explicit Panel(Component* owner = nullptr) : Control(owner) {}
  std::string ClassName() const override { return "TPanel"; }
  bool IsWinControl() const override { return true; }
  BevelCut BevelOuter = BevelCut::Raised, BevelInner = BevelCut::None;
  ui::Alignment Alignment = ui::Alignment::Center;
  bool BorderNone = false;
};

class GroupBox : public Control {
 public:
  explicit GroupBox(Component* owner = nullptr) : Control(owner) {}
  std::string ClassName() const override { return "TGroupBox"; }
  bool IsWinControl() const override { return true; }
};

class Bevel : public Control {
 public:
  explicit Bevel(Component* owner = nullptr) : Control(owner) {}
  std::string ClassName() const override { return "TBevel"; }
  enum class ShapeKind {
    Box,
    Frame,
    TopLine,
    BottomLine,
    LeftLine,
    RightLine,
    Spacer
  } Shape = ShapeKind::Box;
  bool Raised = false;
};

class Splitter : public Control {
 public:
  explicit Splitter(Component* owner = nullptr) : Control(owner) {}
  std::string ClassName() const override { return "TSplitter"; }
  int MinSize = 30;
};

class ProgressBar : public Control {
 public:
  explicit ProgressBar(Component* owner = nullptr) : Control(owner) {}
  std::string ClassName() const override { return "TProgressBar"; }
  bool IsWinControl() const override { return true; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetMin(int v);
  void SetMax(int v);
  void SetPosition(int v);  // kept within Min..Max
  void StepIt() { SetPosition(position_ + Step); }
  void StepBy(int n) { SetPosition(position_ + n); }
  int Step = 10;

 private:
  int min_ = 0, max_ = 100, position_ = 0;
};

struct StatusPanel {
  std::string Text;
  int Width = 50;
};

class StatusBar : public Control {
 public:
  explicit StatusBar(Component* owner = nullptr) : Control(owner) { SetAlign(ui::Align::Bottom); }
  std::string ClassName() const override { return "TStatusBar"; }
  std::vector<StatusPanel> Panels;
  bool SimplePanel = false;
  std::string SimpleText;
};

class Image : public Control {
 public:
  explicit Image(Component* owner = nullptr) : Control(owner) {}
  std::string ClassName() const override { return "TImage"; }
  ui::Picture Picture;
  bool Stretch = false, Proportional = false, Center = false, Transparent = false;
};

// Dates are days since 30 December 1899, the fraction the time of day;
// the conversions are the platform layer's.
using DateTime = double;
DateTime EncodeDate(int year, int month, int day);  // throws plat::ConvertError
void DecodeDate(DateTime d, int& year, int& month, int& day);
DateTime Today();
std::string FormatDate(DateTime d);  // dd/mm/yyyy; "" for a value that names no day
// Reads a date in the short date form (dd/mm/yyyy, dd/mm/yy, or dd/mm in
// the current year); false when the text is no valid date.
bool ParseDate(const std::string& text, DateTime& out);

enum class DateTimeKind { Date, Time };

class DateTimePicker : public Control {
 public:
  explicit DateTimePicker(Component* owner = nullptr);
  std::string ClassName() const override { return "TDateTimePicker"; }
  bool IsWinControl() const override { return true; }
  DateTime Date() const { return std::trunc(dateTime_); }
  DateTime DateTimeValue() const { return dateTime_; }
  // The program's changes raise no event; the operator's raise OnChange.
  void SetDate(DateTime d);
  void SetDateTime(DateTime d) { dateTime_ = d; }
  std::string Text() const override { return FormatDate(dateTime_); }
  bool Checked() const { return checked_; }
  void SetChecked(bool c) { checked_ = c; }
  bool ShowCheckbox = false;
  DateTimeKind Kind = DateTimeKind::Date;
  // The operator types a date (dd/mm/yyyy) or ticks the box.
  void OperatorType(const std::string& text) override;
  void OperatorCheck(bool c);

 private:
  DateTime dateTime_;
  bool checked_ = true;
};

}  // namespace ui
