#pragma once
// The module's side of every call into the sibling library "Kestrin.dll":
// the record search as a modal dialog and the copy and paste of records.
// Each call loads the library by name, looks its entry up, calls it and
// frees the library again on every path; the messages depend on the caller.
#include <cstdint>
#include <functional>
#include <string>

#include "search/widestring.h"

namespace velmaro {

// Who calls: the windows of the price lists stay silent when the library or its entry is missing.
enum class ChiamanteKestrin { Listini, Altro };

// Loads Kestrin.dll, calls ShowVuxRicercheFormY(utente, handle, request as Windows-1252, &answer),
// frees the library on every path; returns the answer as UTF-8 ("" = cancelled or the call could
// not be made). `conMessaggio`: an error raised in the call shows "Errore nell'accesso alla DLL
// Kestrin:" + CR + message instead of the bare "Errore nell'accesso alla DLL Kestrin".
std::string RicercaKestrin(std::int32_t utente, std::uint32_t handle,
                           const std::string& richiestaXml, ChiamanteKestrin chiamante,
                           bool conMessaggio = false);

// How a call into the library ended: the library could not be loaded, it
// lacks the entry, the entry raised an error (told to the operator), or the
// entry returned normally.
enum class EsitoKestrin { LibreriaAssente, EntrataAssente, Errore, Riuscita };

// Run when the entry raised an error, once the library is freed and before
// the error box: true when it told the operator what went wrong itself, and
// the box is not shown.
using SpiegaErroreKestrin = std::function<bool()>;

// CopiaE / IncollaE with a copy or paste document (UTF-8 here, Windows-1252
// on the way in).
EsitoKestrin CopiaKestrin(std::int32_t utente, const std::string& documento,
                          ChiamanteKestrin chiamante, bool conMessaggio = false);
EsitoKestrin IncollaKestrin(std::int32_t utente, const std::string& documento,
                            ChiamanteKestrin chiamante, bool conMessaggio = false,
                            const SpiegaErroreKestrin& spiega = {});

// The library's entries as they are called (the platform's standard
// calling convention is the only one here).
namespace kestrin {
inline constexpr const char* NomeLibreria = "Kestrin.dll";
using ShowVuxRicercheFormY = void (*)(std::int32_t utente, std::uint32_t handle,
                                      const char* richiesta, WideString* risposta);
using CopiaIncollaE = void (*)(std::int32_t utente, const char* documento);
}  // namespace kestrin

}  // namespace velmaro
