#include "ui/stdctrls.h"

#include <algorithm>

#include "ui/form.h"
#include "ui/utf8.h"

namespace ui {

void Button::Click() {
  if (ModalResult != mrNone)
    if (Form* f = ParentForm()) f->SetModalResult(ModalResult);
  Control::Click();
}

void BitBtn::SetKind(BitBtnKind k) {
  kind_ = k;
  struct Std {
    const char* caption;
    ui::ModalResult result;
  };
  static const Std kinds[] = {{"", mrNone},          {"OK", mrOk},       {"Cancel", mrCancel},
                              {"&Help", mrNone},     {"&Yes", mrYes},    {"&No", mrNo},
                              {"&Close", mrNone},    {"Abort", mrAbort}, {"&Retry", mrRetry},
                              {"&Ignore", mrIgnore}, {"&All", mrAll}};
  if (k == BitBtnKind::Custom) return;
  const Std& s = kinds[int(k)];
  SetCaption(s.caption);
  ModalResult = s.result;
  if (k == BitBtnKind::OK || k == BitBtnKind::Yes) Default = true;
  if (k == BitBtnKind::Cancel || k == BitBtnKind::No) Cancel = true;
}

void BitBtn::Click() {
  if (kind_ == BitBtnKind::Close) {
    Form* f = ParentForm();
    auto self = Ref();
    if (f) f->Close();
    if (!self) return;  // the close freed us
  }
  Button::Click();
}

bool BitBtn::LoadGlyph(const std::string& path) {
  glyphFile_ = path;
  try {
    Glyph.LoadFromFile(path);
    return true;
  } catch (const Error&) {
    return false;
  }
}

void SpeedButton::SetDown(bool d) {
  if (d == down_) return;
  down_ = d;
  if (!d || GroupIndex == 0 || !Parent()) return;
  for (Control* c : Parent()->Controls())
    if (auto* sb = dynamic_cast<SpeedButton*>(c); sb && sb != this && sb->GroupIndex == GroupIndex)
      sb->down_ = false;
}

void SpeedButton::OperatorClick() {
  if (GroupIndex != 0) SetDown(down_ && AllowAllUp ? false : true);
  Click();
}

// ---- Edit ----

int Edit::Length() const { return utf8::Length(text_); }

std::string Edit::ApplyCase(const std::string& s) const {
  switch (CharCase) {
    case EditCharCase::UpperCase:
      return UpperCase(s);
    case EditCharCase::LowerCase:
      return LowerCase(s);
    case EditCharCase::Normal:
      break;
  }
  return s;
}

void Edit::SetText(std::string s) {
  s = ApplyCase(s);
  selLength_ = 0;
  if (s == text_) return;
  text_ = std::move(s);
  selStart_ = std::min(selStart_, Length());
  Change();
}

void Edit::SetSelStart(int v) {
  selStart_ = std::clamp(v, 0, Length());
  selLength_ = 0;
}

void Edit::SetSelLength(int v) { selLength_ = std::clamp(v, 0, Length() - selStart_); }

std::string Edit::SelText() const { return utf8::Sub(text_, selStart_, selLength_); }

void Edit::SelectAll() {
  selStart_ = 0;
  selLength_ = Length();
}

void Edit::DeleteRange(int from, int count) {
  size_t a = utf8::Offset(text_, from), b = utf8::Offset(text_, from + count);
  std::string s = text_.substr(0, a) + text_.substr(b);
  selStart_ = from;
  selLength_ = 0;
  if (s == text_) return;
  text_ = std::move(s);
  Change();
}

void Edit::InsertTyped(const std::string& utf8text) {
  if (ReadOnly) return;
  std::string add = ApplyCase(utf8text);
  const int limit = TypingLimit();
  int room = limit > 0 ? limit - (Length() - selLength_) : 1 << 30;
  if (room <= 0) return;
  if (utf8::Length(add) > room) add = utf8::Sub(add, 0, room);
  size_t a = utf8::Offset(text_, selStart_), b = utf8::Offset(text_, selStart_ + selLength_);
  text_ = text_.substr(0, a) + add + text_.substr(b);
  selStart_ += utf8::Length(add);
  selLength_ = 0;
  Change();
}

void Edit::OperatorType(const std::string& text) {
  if (ReadOnly) throw Error("\"" + Name() + "\" is read-only");
  SelectAll();
  InsertTyped(text);
}

void Edit::KeyDown(Word& key, ShiftState shift) {
  Control::KeyDown(key, shift);
  if (key) HandleKey(key);
}

void Edit::HandleKey(Word key) {
  switch (key) {
    case VK_LEFT:
      SetSelStart(selStart_ - 1);
      break;
    case VK_RIGHT:
      SetSelStart(selStart_ + selLength_ + (selLength_ ? 0 : 1));
      break;
    case VK_HOME:
      SetSelStart(0);
      break;
    case VK_END:
      SetSelStart(Length());
      break;
    case VK_DELETE:
      if (ReadOnly) break;
      if (selLength_)
        DeleteRange(selStart_, selLength_);
      else if (selStart_ < Length())
        DeleteRange(selStart_, 1);
      break;
    default:
      break;
  }
}

void Edit::KeyPress(char& key) {
  Control::KeyPress(key);
  if (key) HandleChar(key);
}

void Edit::HandleChar(char key) {
  if (ReadOnly) return;
  if (key == '\b') {
    if (selLength_)
      DeleteRange(selStart_, selLength_);
    else if (selStart_ > 0)
      DeleteRange(selStart_ - 1, 1);
    return;
  }
  if (static_cast<unsigned char>(key) >= 32) InsertTyped(std::string(1, key));
}

// ---- Memo ----

Memo::Memo(Component* owner) : Control(owner) {
  TabStop = true;
  Color = clWindow;
  Lines.OnChange = [this] { Change(); };
}

void Memo::OperatorType(const std::string& text) {
  if (ReadOnly) throw Error("\"" + Name() + "\" is read-only");
  Lines.SetText(text);
}

std::string Memo::Text() const {
  std::string out;
  for (int i = 0; i < Lines.Count(); ++i) out += (i ? "\n" : "") + Lines[i];
  return out;
}

// ---- check and radio buttons ----

void CheckBox::SetState(CheckBoxState s) {
  if (s == state_) return;
  state_ = s;
  Click();
}

void CheckBox::OperatorClick() {
  switch (state_) {
    case CheckBoxState::Unchecked:
      SetState(CheckBoxState::Checked);
      break;
    case CheckBoxState::Checked:
      SetState(AllowGrayed ? CheckBoxState::Grayed : CheckBoxState::Unchecked);
      break;
    case CheckBoxState::Grayed:
      SetState(CheckBoxState::Unchecked);
      break;
  }
}

void RadioButton::SetChecked(bool c) {
  if (c == checked_) return;
  checked_ = c;
  if (!c) return;
  if (Parent())
    for (Control* sib : Parent()->Controls())
      if (auto* rb = dynamic_cast<RadioButton*>(sib); rb && rb != this) rb->checked_ = false;
  Click();
}

}  // namespace ui
