#pragma once
// Small pieces the context object's source files share; not for callers.
#include <cstdint>
#include <string>

#include "platform/format.h"
#include "ui/application.h"

namespace velmaro::tabx {

// The context object's error boxes: an error with the OK button.
inline void ErroreOk(const std::string& testo) {
  ui::App().MessageDlg(testo, ui::MsgDlgType::Error, ui::mbOK);
}

// A number as the statements write it.
inline std::string Numero(std::int64_t n) { return plat::IntToStr(n); }

}  // namespace velmaro::tabx
