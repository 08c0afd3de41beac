// Stand-in for the sibling library "Kestrin.dll": the record search as a
// modal dialog, and the copy and paste of records (not built yet: both
// entries return at once).
#include <cstdint>

#include "search/kestrin.h"

extern "C" {

__attribute__((visibility("default"))) void ShowVuxRicercheFormY(std::int32_t utente,
                                                                  std::uint32_t handle,
                                                                  const char* richiesta,
                                                                  velmaro::WideString* risposta) {
  if (risposta) velmaro::WideStringAssign(risposta, u"");
}

__attribute__((visibility("default"))) void CopiaE(std::int32_t utente, const char* documento) {}

__attribute__((visibility("default"))) void IncollaE(std::int32_t utente, const char* documento) {}

}  // extern "C"
