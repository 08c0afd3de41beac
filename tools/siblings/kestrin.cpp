// Stand-in for the sibling library "Kestrin.dll": the record search as a
// modal dialog on the module's own search form, and the copy and paste of
// records (not built yet: both entries return at once).
#include "search/kestrin.h"

#include <cstdint>
#include <string>

#include "platform/encoding.h"
#include "search/vuxricerche.h"

extern "C" {

// The request arrives in Windows-1252; the answer goes back as a wide
// string the caller frees. Errors of the request and of the database reach
// the caller, with nothing of the search left open.
__attribute__((visibility("default"))) void ShowVuxRicercheFormY(std::int32_t utente,
                                                                 std::uint32_t handle,
                                                                 const char* richiesta,
                                                                 velmaro::WideString* risposta) {
  const std::u16string testo = velmaro::ApriRicercaDaXML(
      utente, std::int32_t(handle), plat::AnsiToUtf8(richiesta ? richiesta : ""));
  if (risposta) velmaro::WideStringAssign(risposta, testo);
}

__attribute__((visibility("default"))) void CopiaE(std::int32_t utente, const char* documento) {}

__attribute__((visibility("default"))) void IncollaE(std::int32_t utente, const char* documento) {}

}  // extern "C"
