// Frames: a reusable panel of controls that a window places on itself.
// A frame owns its controls, so driver paths read
// "Window.Frame.Control" ("TLisFasEditForm.FrameListini1.GridListini").
#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

class Frame : public Control {
 public:
  // A frame subclass creates its controls in its constructor with the frame
  // as owner and parent (ui::Make(this, ...)).
  explicit Frame(Component* owner = nullptr) : Control(owner) { TabStop = true; }
  std::string ClassName() const override { return "TFrame"; }
  bool IsWinControl() const override { return true; }
};

}  // namespace ui
