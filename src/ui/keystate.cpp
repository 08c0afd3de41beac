#include "ui/keystate.h"

namespace ui {

namespace {
ShiftState held = 0;
}

ShiftState HeldShift() { return held; }

HoldShift::HoldShift(ShiftState shift) : previous_(held) { held = shift; }
HoldShift::~HoldShift() { held = previous_; }

}  // namespace ui
