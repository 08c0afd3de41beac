// The driver's menus, answers to modal things, the clock and listings.
#include "ui/dialogs.h"
#include "ui/driver.h"
#include "ui/form.h"
#include "ui/menus.h"
#include "ui/strings.h"

namespace ui {

void Driver::PopupItem(const std::string& path, const std::function<MenuItem*(MenuItem*)>& pick) {
  Act([&] {
    Component& found = Find(path);
    PopupMenu* menu = dynamic_cast<PopupMenu*>(&found);
    Control* from = nullptr;
    if (!menu) {
      from = &Reachable(path);
      menu = from->PopupMenu();
      if (!menu) throw DriverError("\"" + path + "\" has no popup menu");
      FocusForClick(*from);
    }
    menu->Popup(from);
    MenuItem* item = pick(menu->Items());
    if (!item->Visible || !item->Enabled)
      throw DriverError("menu item \"" + StripHotkey(item->Caption) + "\" is hidden or disabled");
    item->Click();
  });
}

void Driver::PopupClick(const std::string& path, int position) {
  PopupItem(path, [&](MenuItem* root) {
    if (position < 0 || position >= root->Count())
      throw DriverError("the menu has no item " + std::to_string(position));
    return root->Items(position);
  });
}

void Driver::PopupClick(const std::string& path, const std::string& caption) {
  PopupItem(path, [&](MenuItem* root) {
    MenuItem* i = root->Find(caption);
    if (!i) throw DriverError("the menu has no item \"" + caption + "\"");
    return i;
  });
}

void Driver::Answer(const std::string& button) {
  Act([&] {
    const auto& modal = App().ModalStack();
    if (modal.empty()) throw DriverError("no message box or dialog is waiting");
    const ModalEntry& top = modal.back();
    if (top.dialog) {
      if (SameText(button, "Cancel")) return top.dialog->CancelDialog();
      auto* file = dynamic_cast<OpenDialog*>(top.dialog);
      if (file && SameText(button, "OK") && !file->FileName.empty())
        return file->Confirm(file->FileName);  // accepts the name the program proposed
      if (SameText(button, "OK"))
        throw DriverError("answer the dialog with a file name or a colour");
      return AnswerFile(button);
    }
    if (!top.box) throw DriverError("no message box is waiting (" + App().DescribeModal(top) + ")");
    static const std::pair<MsgDlgButtons, ModalResult> map[] = {
        {mbYes, mrYes},     {mbNo, mrNo},       {mbOK, mrOk},         {mbCancel, mrCancel},
        {mbAbort, mrAbort}, {mbRetry, mrRetry}, {mbIgnore, mrIgnore}, {mbAll, mrAll}};
    for (auto [b, r] : map)
      if ((top.box->Buttons & b) && SameText(ButtonName(b), button)) {
        top.box->Result = r;
        return;
      }
    throw DriverError("the box has no button \"" + button + "\": " + DescribeMessageBox(*top.box));
  });
}

void Driver::AnswerFile(const std::string& fileName) {
  Act([&] {
    const auto& modal = App().ModalStack();
    if (modal.empty() || !modal.back().dialog) throw DriverError("no dialog is waiting");
    try {
      modal.back().dialog->Confirm(fileName);
    } catch (const Error& e) {
      throw DriverError(e.what());
    }
  });
}

void Driver::Wait(std::int64_t ms) {
  Act([&] { App().AdvanceClock(ms); });
}

void Driver::CloseWindow(const std::string& ref) {
  Act([&] {
    Form& f = Window(ref);
    if (!f.Visible()) throw DriverError("window \"" + ref + "\" is not open");
    const auto& modal = App().ModalStack();
    if (!modal.empty() && modal.back().form != &f)
      throw DriverError("answer first: " + App().DescribeModal(modal.back()));
    f.Close();
  });
}

std::string Driver::Render(const std::string& ref, int maxRows) const {
  return Render(Window(ref), maxRows);
}

std::string Driver::ListWindows() const {
  std::string out;
  for (Form* f : App().Windows())
    out += std::to_string(f->Handle()) + " " + f->ClassName() + " \"" + f->Caption() + "\"" +
           (f->InModal() ? " [modal]" : "") + "\n";
  return out;
}

std::string Driver::Pending() const {
  const auto& modal = App().ModalStack();
  return modal.empty() ? std::string() : App().DescribeModal(modal.back());
}

}  // namespace ui
