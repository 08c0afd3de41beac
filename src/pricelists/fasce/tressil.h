#pragma once
// The sibling library "Tressil.dll": a second customer archive outside the
// company database, from which the customers page can choose a customer
// and copy a missing one in. Loaded by name for one operation and freed
// on every path.
#include <cstdint>
#include <string>

namespace velmaro::tressil {

inline constexpr const char* NomeLibreria = "Tressil.dll";

// The entries as they are called.
using RicercaClienteE = std::int32_t (*)(std::int32_t utente, char* codice);
using DecodificaCampoClienteE = std::int32_t (*)(std::int32_t utente, const char* codice,
                                                 char* buffer);
using SincroTipoPrezzoDaFBaPXE = std::int32_t (*)(std::int32_t utente);

// Buffer sizes, in bytes: the code of RicercaClienteE and the three fields
// of DecodificaCampoClienteE.
inline constexpr int kCodice = 11;
inline constexpr int kRagSoc = 65;
inline constexpr int kPI = 12;
inline constexpr int kCF = 17;
// The buffer size of a field name ("RagSoc", "PI", "CF"); 0 for another.
int DimensioneCampo(const std::string& campo);

// The text an entry wrote: `n` characters of its buffer of `dimensione`
// bytes, never past the buffer nor past a terminator, from Windows-1252
// into UTF-8. A result of 0 or less gives "".
std::string TestoRisultato(const char* buffer, std::int32_t n, int dimensione);

}  // namespace velmaro::tressil
