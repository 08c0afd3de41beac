// Stand-in for the sibling library "Kestrin.dll": the record search as a
// modal dialog on the module's own search form, and the copy and paste of
// records.
#include "search/kestrin.h"

#include <cstdint>
#include <string>

#include "kestrin_copia.h"
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

// The documents arrive in Windows-1252; errors reach the caller, with
// nothing of a failed paste left behind (kestrin_copia.cpp).
__attribute__((visibility("default"))) void CopiaE(std::int32_t utente, const char* documento) {
  siblings::Copia(utente, plat::AnsiToUtf8(documento ? documento : ""));
}

__attribute__((visibility("default"))) void IncollaE(std::int32_t utente, const char* documento) {
  siblings::Incolla(utente, plat::AnsiToUtf8(documento ? documento : ""));
}

}  // extern "C"
