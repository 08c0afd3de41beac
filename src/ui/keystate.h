// The modifier keys the operator holds down now (the keyboard state a
// control reads during a mouse action). Scripts and tests hold them for the
// length of one action with HoldShift.
#pragma once

#include "ui/types.h"

namespace ui {

ShiftState HeldShift();
inline bool CtrlHeld() { return (HeldShift() & ssCtrl) != 0; }

class HoldShift {
 public:
  explicit HoldShift(ShiftState shift);
  ~HoldShift();
  HoldShift(const HoldShift&) = delete;
  HoldShift& operator=(const HoldShift&) = delete;

 private:
  ShiftState previous_;
};

}  // namespace ui
