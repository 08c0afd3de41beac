// Common dialogs: open and save file dialogs, the colour dialog. Each is
// modal and answered by the operator through the application's input source.
#pragma once

#include <string>
#include <vector>

#include "ui/component.h"

namespace ui {

class CommonDialog : public Component {
 public:
  explicit CommonDialog(Component* owner = nullptr) : Component(owner) {}
  // Waits for the operator; true when confirmed. No answer left: false.
  bool Execute();
  // The operator's answers.
  virtual void Confirm(const std::string& answer) = 0;
  void CancelDialog() { answered_ = true, confirmed_ = false; }
  // Title and kind for the driver's listing.
  virtual std::string Describe() const = 0;

 protected:
  void Answered(bool ok) { answered_ = true, confirmed_ = ok; }

 private:
  bool executing_ = false, answered_ = false, confirmed_ = false;
};

using OpenOptions = std::uint32_t;
constexpr OpenOptions ofReadOnly = 1, ofOverwritePrompt = 2, ofHideReadOnly = 4, ofNoChangeDir = 8,
                      ofAllowMultiSelect = 0x200, ofPathMustExist = 0x800, ofFileMustExist = 0x1000,
                      ofEnableSizing = 0x800000;

class OpenDialog : public CommonDialog {
 public:
  explicit OpenDialog(Component* owner = nullptr) : CommonDialog(owner) {}
  std::string ClassName() const override { return "TOpenDialog"; }
  std::string Title, Filter, DefaultExt, InitialDir, FileName;
  int FilterIndex = 1;
  OpenOptions Options = ofHideReadOnly | ofEnableSizing;
  std::vector<std::string> Files;
  // A relative name is taken in InitialDir; a name without extension gets DefaultExt.
  void Confirm(const std::string& fileName) override;
  std::string Describe() const override;
};

class SaveDialog : public OpenDialog {
 public:
  explicit SaveDialog(Component* owner = nullptr) : OpenDialog(owner) {}
  std::string ClassName() const override { return "TSaveDialog"; }
};

class ColorDialog : public CommonDialog {
 public:
  explicit ColorDialog(Component* owner = nullptr) : CommonDialog(owner) {}
  std::string ClassName() const override { return "TColorDialog"; }
  ui::Color Color = clBlack;
  // The answer is a number: decimal, or hexadecimal after "$" or "0x".
  void Confirm(const std::string& color) override;
  std::string Describe() const override;
};

}  // namespace ui
