// The operator's hand: finds windows and controls by path, acts on them,
// answers message boxes and dialogs, and renders windows as text.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "ui/application.h"
#include "ui/types.h"

namespace ui {

class Form;
class Control;
class DBGrid;
class MenuItem;

// A step the operator cannot take: no such window or control, a disabled
// target, a box with no such button, nothing left to answer a modal thing.
class DriverError : public InputError {
 public:
  using InputError::InputError;
};

// While a driver lives it is the application's input source: every modal
// loop (ShowModal, message boxes, dialogs) takes the operator's next action
// from its queue, or else from its source callback (the host's script runner).
// When neither has one, the modal thing ends as cancelled and the action that
// led to it fails with DriverError "nothing to answer: ...".
//
// Paths: "Window.Child.Grandchild". The window is a handle in decimal, a
// form class name ("TLisFasEditForm") or a form name; each further part is
// the Name of a component below it, through owners and parents alike.
class Driver {
 public:
  using Action = std::function<void(Driver&)>;
  Driver();
  ~Driver();
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  void Enqueue(Action a) { queue_.push_back(std::move(a)); }
  // Convenience for the commonest queued steps.
  void EnqueueAnswer(const std::string& button);
  void EnqueueFile(const std::string& fileName);
  // Called when the queue is empty; runs one action and returns true, or false when none is left.
  void SetSource(std::function<bool(Driver&)> source) { source_ = std::move(source); }
  size_t Queued() const { return queue_.size(); }

  Form& Window(const std::string& ref) const;
  Component& Find(const std::string& path) const;
  template <class T>
  T& Get(const std::string& path) const {
    auto* t = dynamic_cast<T*>(&Find(path));
    if (!t) throw DriverError("\"" + path + "\" is not of the expected kind");
    return *t;
  }

  // Clicks a control (a button, a check box, a radio button, a tab sheet, a
  // speed button, ...) or a menu item named by path.
  void Click(const std::string& path);
  void DblClick(const std::string& path);
  // Types a whole text (edit, memo, combo, date picker, data-aware edit, grid cell).
  void Type(const std::string& path, const std::string& text);
  // Types key by key: KeyDown, KeyPress, KeyUp for each character ("\b" Backspace, "\r" Enter).
  void TypeKeys(const std::string& path, const std::string& text);
  void Check(const std::string& path, bool checked);
  // Picks an item of a combo box, radio group, list box or page control by its
  // text; "#n" picks by position from 0.
  void Select(const std::string& path, const std::string& item);
  // Grids: rows count from 1; columns are a title, a field name or "#n" from 0.
  void SelectRow(const std::string& path, int row);
  void DblClickRow(const std::string& path, int row);
  void ClickTitle(const std::string& path, const std::string& column);
  void DblClickTitle(const std::string& path, const std::string& column);
  // The same with modifier keys held (Ctrl: a sort on several keys).
  void DblClickTitle(const std::string& path, const std::string& column, ShiftState shift);
  void SelectColumn(const std::string& path, const std::string& column);
  // Keys go to the control of the path (a window: its focused control).
  void PressKey(const std::string& path, Word key, ShiftState shift = 0);
  void Focus(const std::string& path);
  // Opens the popup menu of a control (OnPopup runs) and clicks the item at
  // `position` (every item counts, hidden ones too; a hidden or disabled one
  // cannot be clicked) or with that caption.
  void PopupClick(const std::string& path, int position);
  void PopupClick(const std::string& path, const std::string& caption);
  // Answers the pending message box ("OK", "Cancel", "Yes", "No", ...) or
  // dialog ("Cancel"); a file name or colour for the pending file/colour dialog.
  void Answer(const std::string& button);
  void AnswerFile(const std::string& fileName);
  void Wait(std::int64_t ms);
  // Closes a window as its close box does (a modal one returns mrCancel).
  void CloseWindow(const std::string& ref);

  std::string Render(const std::string& ref, int maxRows = 100) const;
  static std::string Render(Form& form, int maxRows = 100);
  // "handle class "caption"" for each open window, topmost first.
  std::string ListWindows() const;
  // The pending modal thing, as a line; empty when none.
  std::string Pending() const;

 private:
  void Act(const std::function<void()>& f);
  static void FocusForClick(Control& c);
  bool RunNext();
  Control& Reachable(const std::string& path) const;
  DBGrid& Grid(const std::string& path) const;
  int ColumnIndex(DBGrid& g, const std::string& column) const;
  void PopupItem(const std::string& path, const std::function<MenuItem*(MenuItem*)>& pick);

  std::deque<Action> queue_;
  std::function<bool(Driver&)> source_;
  Application::InputSource previous_;
  int depth_ = 0;
  bool failed_ = false;
  std::uint64_t failedSession_ = 0;
};

}  // namespace ui
