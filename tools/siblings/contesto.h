#pragma once
// The operator's own context on the company database, for the stand-ins
// that read or write it: the context object of the operator number, the
// parameter "Archivio" kept in memory, the company connection opened from it.
#include <cstdint>
#include <string>

#include "context/tabxform.h"
#include "db/database.h"
#include "platform/format.h"
#include "ui/application.h"
#include "ui/make.h"

namespace siblings {

inline ui::Owned<velmaro::TTabXForm> ContestoOperatore(std::int32_t utente) {
  auto ctx = ui::MakeOwned<velmaro::TTabXForm>(&ui::App(), 0);
  ctx->SetUserPerNum(utente);
  std::string archivio;
  ctx->CaricaParametro("Archivio", archivio);
  ctx->Inserisci("BVN", "Archivio", "", archivio, "", "", "", "", plat::IntToStr(utente));
  ctx->IBDatabase1->Close();
  ctx->ConnettiDatabase1("Archivio");
  return ctx;
}

}  // namespace siblings
