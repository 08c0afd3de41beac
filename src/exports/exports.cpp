// The five functions the host calls. Each sets the library's number and
// date formats, runs its launcher and returns 0: nothing the launcher meets
// travels back into the host, whose code cannot take our exceptions.
#include <cstdint>
#include <exception>

#include "platform/format.h"
#include "pricelists/filecliente/generafileclienti.h"
#include "pricelists/eccezioni/importecc.h"
#include "pricelists/editor/lisfasedit.h"
#include "pricelists/impostazioni/lisfasimpost.h"
#include "promotions/promoveloci.h"
#include "ui/application.h"

#define VELMARO_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using Launcher = void (*)(std::int32_t, std::int32_t);

std::int32_t Esegui(Launcher lancia, std::int32_t utente, std::int32_t idApertura) {
  plat::SetItalianFormats();
  try {
    lancia(utente, idApertura);
  } catch (const std::exception& e) {
    // The launch road shows its own errors; this only guards the boundary.
    ui::App().ShowException(e);
  } catch (...) {
  }
  return 0;
}

}  // namespace

VELMARO_EXPORT std::int32_t ShowLisFasEditFormX(std::int32_t utente, std::int32_t idApertura) {
  return Esegui(velmaro::ApriLisFasEditForm, utente, idApertura);
}

VELMARO_EXPORT std::int32_t ShowImportEccFormX(std::int32_t utente, std::int32_t idApertura) {
  return Esegui(velmaro::ApriImportEccForm, utente, idApertura);
}

VELMARO_EXPORT std::int32_t ShowImpostazFormX(std::int32_t utente, std::int32_t idApertura) {
  return Esegui(velmaro::ApriLisFasImpostForm, utente, idApertura);
}

VELMARO_EXPORT std::int32_t ShowGeneraFileClientiFormX(std::int32_t utente,
                                                       std::int32_t idApertura) {
  return Esegui(velmaro::ApriGeneraFileClientiForm, utente, idApertura);
}

VELMARO_EXPORT std::int32_t ShowPromoVelociFormX(std::int32_t utente, std::int32_t idApertura) {
  return Esegui(velmaro::ApriPromoVelociForm, utente, idApertura);
}
