#include "pricelists/fasce/tressil.h"

#include <algorithm>

#include "platform/encoding.h"

namespace velmaro::tressil {

int DimensioneCampo(const std::string& campo) {
  if (campo == "RagSoc") return kRagSoc;
  if (campo == "PI") return kPI;
  if (campo == "CF") return kCF;
  return 0;
}

std::string TestoRisultato(const char* buffer, std::int32_t n, int dimensione) {
  if (!buffer || n <= 0) return {};
  const int quanti = std::min<std::int32_t>(n, dimensione);
  const char* fine = std::find(buffer, buffer + quanti, '\0');
  return plat::AnsiToUtf8(std::string(buffer, fine));
}

}  // namespace velmaro::tressil
