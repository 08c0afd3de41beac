#include "ui/driver.h"

#include <cctype>
#include <charconv>

#include "db/dataset.h"
#include "ui/dbgrid.h"
#include "ui/dialogs.h"
#include "ui/extctrls.h"
#include "ui/form.h"
#include "ui/keystate.h"
#include "ui/lists.h"
#include "ui/menus.h"
#include "ui/pages.h"
#include "ui/stdctrls.h"
#include "ui/utf8.h"

namespace ui {

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : path) {
    if (c == '.')
      parts.push_back(cur), cur.clear();
    else
      cur += c;
  }
  parts.push_back(cur);
  return parts;
}

bool IsNumber(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// "#n" gives n; anything else -1. A position too large for any list is
// the script's mistake, told as such rather than as a failed conversion.
int Position(const std::string& s) {
  if (s.size() < 2 || s[0] != '#' || !IsNumber(s.substr(1))) return -1;
  int n = 0;
  const auto [end, ec] = std::from_chars(s.data() + 1, s.data() + s.size(), n);
  if (ec != std::errc() || end != s.data() + s.size())
    throw DriverError("position \"" + s + "\" is out of range");
  return n;
}

Word KeyForChar(char c, ShiftState& shift) {
  shift = 0;
  if (c >= 'a' && c <= 'z') return Word(c - 32);
  if (c >= 'A' && c <= 'Z') return shift = ssShift, Word(c);
  if (c >= '0' && c <= '9') return Word(c);
  switch (c) {
    case '\b':
      return VK_BACK;
    case '\r':
    case '\n':
      return VK_RETURN;
    case '\t':
      return VK_TAB;
    case 27:
      return VK_ESCAPE;
    case ' ':
      return VK_SPACE;
    // The punctuation keys of the main keyboard (VK_OEM_*): a key-up of
    // their own, which controls that complete text as it is typed rely on.
    case ',':
      return 0xBC;
    case '-':
      return 0xBD;
    case '.':
      return 0xBE;
    case '/':
      return 0xBF;
    default:
      return 0;  // other punctuation: no key code of its own
  }
}

char CharForKey(Word key, ShiftState shift) {
  if (shift & (ssCtrl | ssAlt)) return 0;
  if (key >= 'A' && key <= 'Z') return char((shift & ssShift) ? key : key + 32);
  if (key >= '0' && key <= '9') return char(key);
  switch (key) {
    case VK_RETURN:
      return '\r';
    case VK_ESCAPE:
      return 27;
    case VK_BACK:
      return '\b';
    case VK_SPACE:
      return ' ';
    case VK_TAB:
      return '\t';
    default:
      return 0;
  }
}

// Counts the driver's actions in progress, also when one ends in an error.
class Nesting {
 public:
  explicit Nesting(int& depth) : depth_(depth) { ++depth_; }
  ~Nesting() { --depth_; }
  Nesting(const Nesting&) = delete;
  Nesting& operator=(const Nesting&) = delete;

 private:
  int& depth_;
};

}  // namespace

Driver::Driver() {
  previous_ = App().SetInputSource([this] { return RunNext(); });
}

Driver::~Driver() { App().SetInputSource(std::move(previous_)); }

// Every action from outside runs here, as the application runs an event:
// its exception display gets what no handler caught, also for an action
// taken inside a modal loop, whose caller (a script runner, a test's source)
// must only ever see the driver's own failures. An error recorded in a
// nested loop fails the outermost action; RunNext records the failures of
// nested ones.
void Driver::Act(const std::function<void()>& f) {
  if (depth_ > 0) return App().Dispatch(f);
  failed_ = false;
  std::string error;
  try {
    Nesting outer(depth_);
    App().Dispatch(f);
  } catch (const InputError& e) {
    error = e.what();
  }
  failed_ = false;
  auto errors = App().TakeErrors();
  if (error.empty() && !errors.empty()) error = errors.front();
  if (!error.empty()) throw DriverError(error);
}

// Runs the operator's next action for a modal loop. A failed step cancels
// every modal thing still open around it, so a script or test stops there.
// Errors of the program's own go on to the application, which shows them.
bool Driver::RunNext() {
  if (failed_ && App().ModalSession() != failedSession_) failed_ = false;
  if (failed_) return false;
  Nesting nested(depth_);
  try {
    if (!queue_.empty()) {
      Action a = std::move(queue_.front());
      queue_.pop_front();
      a(*this);
      return true;
    }
    return source_ && source_(*this);
  } catch (const InputError& e) {
    App().ReportError(e.what());
    failed_ = true;
    failedSession_ = App().ModalSession();
    queue_.clear();
    return false;
  }
}

void Driver::EnqueueAnswer(const std::string& button) {
  Enqueue([button](Driver& d) { d.Answer(button); });
}

void Driver::EnqueueFile(const std::string& fileName) {
  Enqueue([fileName](Driver& d) { d.AnswerFile(fileName); });
}

// ---- finding ----

Form& Driver::Window(const std::string& ref) const {
  if (IsNumber(ref)) {
    if (Form* f = App().FindWindow(std::uint32_t(std::stoul(ref)))) return *f;
    throw DriverError("no window with handle " + ref);
  }
  // Open windows first (topmost first), then hidden ones.
  std::vector<Form*> all = App().Windows();
  for (Form* f : App().Forms())
    if (!f->Visible()) all.push_back(f);
  for (Form* f : all)
    if (f->ClassName() == ref) return *f;
  for (Form* f : all)
    if (SameText(f->Name(), ref)) return *f;
  throw DriverError("no window \"" + ref + "\"");
}

Component& Driver::Find(const std::string& path) const {
  auto parts = SplitPath(path);
  Component* c = &Window(parts[0]);
  for (size_t i = 1; i < parts.size(); ++i) {
    Component* next = FindDescendant(c, parts[i]);
    if (!next) throw DriverError("no \"" + parts[i] + "\" in \"" + path + "\"");
    c = next;
  }
  return *c;
}

Control& Driver::Reachable(const std::string& path) const {
  auto* c = dynamic_cast<Control*>(&Find(path));
  if (!c) throw DriverError("\"" + path + "\" is not a control");
  const auto& modal = App().ModalStack();
  if (!modal.empty()) {
    const ModalEntry& top = modal.back();
    if (!top.form) throw DriverError("answer first: " + App().DescribeModal(top));
    if (c->ParentForm() != top.form)
      throw DriverError("\"" + path + "\" is behind " + App().DescribeModal(top));
  }
  Form* f = c->ParentForm();
  if (!f || !f->Visible()) throw DriverError("the window of \"" + path + "\" is not open");
  if (auto* sheet = dynamic_cast<TabSheet*>(c)) {
    // A sheet's tab shows while its page control does, whichever page is up.
    Control* pc = sheet->PageControl();
    if (!sheet->TabVisible || !pc || !pc->Showing())
      throw DriverError("the tab of \"" + path + "\" is not visible");
    if (!pc->EffectivelyEnabled()) throw DriverError("\"" + path + "\" is disabled");
    return *c;
  }
  if (!c->Showing()) throw DriverError("\"" + path + "\" is not visible");
  if (!c->EffectivelyEnabled()) throw DriverError("\"" + path + "\" is disabled");
  return *c;
}

DBGrid& Driver::Grid(const std::string& path) const {
  auto* g = dynamic_cast<DBGrid*>(&Reachable(path));
  if (!g) throw DriverError("\"" + path + "\" is not a grid");
  return *g;
}

int Driver::ColumnIndex(DBGrid& g, const std::string& column) const {
  if (int p = Position(column); p >= 0) {
    if (p < g.Columns().Count()) return p;
  } else {
    for (int i = 0; i < g.Columns().Count(); ++i)
      if (g.Columns()[i]->Visible && SameText(g.Columns()[i]->TitleText(), column)) return i;
    for (int i = 0; i < g.Columns().Count(); ++i)
      if (g.Columns()[i]->Visible && SameText(g.Columns()[i]->FieldName, column)) return i;
  }
  throw DriverError("the grid has no column \"" + column + "\"");
}

// ---- actions ----

// The operator's click moves the focus first, as a mouse press does.
void Driver::FocusForClick(Control& c) {
  if (c.CanFocus() && c.TabStop && !c.Focused()) c.SetFocus();
}

void Driver::Click(const std::string& path) {
  Act([&] {
    if (auto* item = dynamic_cast<MenuItem*>(&Find(path))) {
      if (!item->Visible || !item->Enabled)
        throw DriverError("menu item \"" + path + "\" is hidden or disabled");
      item->Click();
      return;
    }
    Control& c = Reachable(path);
    auto ref = c.Ref();
    FocusForClick(c);
    if (ref) c.OperatorClick();
  });
}

void Driver::DblClick(const std::string& path) {
  Act([&] {
    Control& c = Reachable(path);
    if (auto* g = dynamic_cast<DBGrid*>(&c)) {
      db::DataSet* ds = g->DataSet();
      int row = ds && ds->Active() ? std::max(0, ds->CurrentRow()) : 0;
      return g->OperatorDblClickCell(row, g->SelectedIndex());
    }
    auto ref = c.Ref();
    FocusForClick(c);
    if (ref) c.OperatorClick();
    if (ref) c.DblClick();
  });
}

void Driver::Type(const std::string& path, const std::string& text) {
  Act([&] {
    Control& c = Reachable(path);
    FocusForClick(c);
    try {
      c.OperatorType(text);
    } catch (const Error& e) {
      throw DriverError(e.what());
    }
  });
}

void Driver::TypeKeys(const std::string& path, const std::string& text) {
  Act([&] {
    Control& c = Reachable(path);
    auto ref = c.Ref();
    if (!c.Focused()) c.SetFocus();
    Form* f = c.ParentForm();
    auto fref = f->Ref();
    for (const std::string& ch : utf8::Split(text)) {
      if (!ref || !fref) throw DriverError("\"" + path + "\" went away while typing");
      ShiftState shift = 0;
      Word key = ch.size() == 1 ? KeyForChar(ch[0], shift) : 0;
      Word down = key;
      bool consumed = key && f->KeyDownFrom(&c, down, shift);
      if (!ref || !fref) return;
      if (!consumed) {
        if (ch.size() == 1) {
          char k = ch[0] == '\n' ? '\r' : ch[0];
          f->KeyPressFrom(&c, k);
        } else if (auto* e = dynamic_cast<Edit*>(&c)) {
          e->InsertTyped(ch);  // characters beyond ASCII have no key press of their own
        }
      }
      if (!ref || !fref) return;
      Word up = key;
      if (key) f->KeyUpFrom(&c, up, shift);
    }
  });
}

void Driver::Check(const std::string& path, bool checked) {
  Act([&] {
    Control& c = Reachable(path);
    FocusForClick(c);
    if (auto* cb = dynamic_cast<CheckBox*>(&c)) {
      if (cb->Checked() != checked) cb->SetChecked(checked);
    } else if (auto* rb = dynamic_cast<RadioButton*>(&c)) {
      if (!checked) throw DriverError("a radio button is cleared by checking another");
      rb->SetChecked(true);
    } else if (auto* dt = dynamic_cast<DateTimePicker*>(&c)) {
      if (!dt->ShowCheckbox) throw DriverError("\"" + path + "\" has no check box");
      dt->OperatorCheck(checked);
    } else {
      throw DriverError("\"" + path + "\" has nothing to tick");
    }
  });
}

void Driver::Select(const std::string& path, const std::string& item) {
  Act([&] {
    Control& c = Reachable(path);
    FocusForClick(c);
    auto pick = [&](const Strings& items) {
      int p = Position(item);
      if (p >= 0 && p < items.Count()) return p;
      int i = items.IndexOf(item);
      if (i < 0) throw DriverError("\"" + path + "\" has no item \"" + item + "\"");
      return i;
    };
    if (auto* cb = dynamic_cast<ComboBox*>(&c)) return cb->OperatorSelect(pick(cb->Items));
    if (auto* rg = dynamic_cast<RadioGroup*>(&c)) return rg->OperatorSelect(pick(rg->Items));
    if (auto* lb = dynamic_cast<ListBox*>(&c)) return lb->OperatorSelect(pick(lb->Items));
    if (auto* pc = dynamic_cast<PageControl*>(&c)) {
      for (int i = 0; i < pc->PageCount(); ++i) {
        TabSheet* p = pc->Pages(i);
        if (i == Position(item) || SameText(StripHotkey(p->Caption()), item) ||
            SameText(p->Name(), item))
          return pc->SelectTab(p);
      }
      throw DriverError("\"" + path + "\" has no page \"" + item + "\"");
    }
    throw DriverError("\"" + path + "\" has no items to select");
  });
}

void Driver::SelectRow(const std::string& path, int row) {
  Act([&] {
    DBGrid& g = Grid(path);
    FocusForClick(g);
    g.OperatorClickCell(row - 1, g.SelectedIndex());
  });
}

void Driver::DblClickRow(const std::string& path, int row) {
  Act([&] {
    DBGrid& g = Grid(path);
    FocusForClick(g);
    g.OperatorDblClickCell(row - 1, g.SelectedIndex());
  });
}

void Driver::ClickTitle(const std::string& path, const std::string& column) {
  Act([&] {
    DBGrid& g = Grid(path);
    FocusForClick(g);
    g.OperatorClickTitle(ColumnIndex(g, column));
  });
}

void Driver::DblClickTitle(const std::string& path, const std::string& column) {
  Act([&] {
    DBGrid& g = Grid(path);
    FocusForClick(g);
    g.OperatorDblClickTitle(ColumnIndex(g, column));
  });
}

void Driver::DblClickTitle(const std::string& path, const std::string& column, ShiftState shift) {
  HoldShift held(shift);
  DblClickTitle(path, column);
}

void Driver::SelectColumn(const std::string& path, const std::string& column) {
  Act([&] {
    DBGrid& g = Grid(path);
    FocusForClick(g);
    g.SetSelectedIndex(ColumnIndex(g, column));
  });
}

void Driver::PressKey(const std::string& path, Word key, ShiftState shift) {
  Act([&] {
    Component& found = Find(path);
    Control* target = nullptr;
    Form* f = dynamic_cast<Form*>(&found);
    if (f) {
      if (!App().ModalStack().empty() && App().ModalStack().back().form != f)
        throw DriverError("answer first: " + App().DescribeModal(App().ModalStack().back()));
      target = f->ActiveControl();
    } else {
      target = &Reachable(path);
      f = target->ParentForm();
      if (!target->Focused() && target->CanFocus()) target->SetFocus();
    }
    auto fref = f->Ref();
    Word down = key;
    bool consumed = f->KeyDownFrom(target, down, shift);
    if (!fref) return;
    if (char ch = CharForKey(key, shift); ch && !consumed) f->KeyPressFrom(target, ch);
    if (!fref) return;
    Word up = key;
    f->KeyUpFrom(target, up, shift);
  });
}

void Driver::Focus(const std::string& path) {
  Act([&] {
    Control& c = Reachable(path);
    if (!c.CanFocus()) throw DriverError("\"" + path + "\" cannot take the focus");
    c.SetFocus();
  });
}

}  // namespace ui
