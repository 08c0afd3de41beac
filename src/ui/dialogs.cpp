#include "ui/dialogs.h"

#include <cstdlib>

#include "ui/application.h"

namespace ui {

bool CommonDialog::Execute() {
  if (executing_) throw Error("Dialog is already open");
  executing_ = true;
  answered_ = confirmed_ = false;
  auto self = Ref();
  App().PushModal(ModalEntry{nullptr, nullptr, this});
  bool ok = App().RunUntil([&] { return !self || answered_; });
  App().PopModal();
  if (!self) return false;
  executing_ = false;
  return ok && confirmed_;
}

void OpenDialog::Confirm(const std::string& fileName) {
  std::string name = fileName;
  bool absolute =
      !name.empty() && (name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':'));
  if (!absolute && !InitialDir.empty()) {
    char last = InitialDir.back();
    name = InitialDir + (last == '/' || last == '\\' ? "" : "/") + name;
  }
  size_t slash = name.find_last_of("/\\");
  size_t dot = name.find_last_of('.');
  bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  if (!hasExt && !DefaultExt.empty()) name += "." + DefaultExt;
  FileName = name;
  Files = {name};
  Answered(true);
}

std::string OpenDialog::Describe() const {
  return "[" + std::string(ClassName() == "TSaveDialog" ? "Save" : "Open") + "] " + Title + " (" +
         Filter + ")";
}

void ColorDialog::Confirm(const std::string& color) {
  std::string s = color;
  int base = 10;
  if (s.rfind("$", 0) == 0)
    s = s.substr(1), base = 16;
  else if (s.rfind("0x", 0) == 0 || s.rfind("0X", 0) == 0)
    s = s.substr(2), base = 16;
  char* end = nullptr;
  unsigned long v = std::strtoul(s.c_str(), &end, base);
  if (s.empty() || *end) throw Error("\"" + color + "\" is not a colour");
  Color = ui::Color(v);
  Answered(true);
}

std::string ColorDialog::Describe() const { return "[Color] " + std::to_string(Color); }

}  // namespace ui
