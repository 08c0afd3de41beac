#pragma once
// Text helpers of the record search (internal to this folder).
#include <string>

namespace velmaro::ricerca {

// "´" (U+00B4), which stored filters and typed search values carry in
// place of an apostrophe.
inline constexpr const char* Acuto = "\xC2\xB4";

// Every occurrence of `da` replaced by `a`, left to right.
inline std::string Sostituisci(std::string testo, const std::string& da, const std::string& a) {
  for (size_t pos = testo.find(da); pos != std::string::npos; pos = testo.find(da, pos + a.size()))
    testo.replace(pos, da.size(), a);
  return testo;
}

}  // namespace velmaro::ricerca
