#include "search/kestrin.h"

#include <exception>
#include <functional>
#include <vector>

#include "platform/encoding.h"
#include "platform/library.h"
#include "ui/application.h"

namespace velmaro {
namespace {

const char* const ErroreAccesso = "Errore nell'accesso alla DLL Kestrin";

// The one road of every call: load, look up, call, free. `chiama` gets the
// entry's address; the library is freed before this returns, whatever
// happened. An error raised in the call is told by `spiega` when it can,
// else by the error box.
EsitoKestrin ChiamaKestrin(const char* funzione, ChiamanteKestrin chiamante, bool conMessaggio,
                           const std::function<void(void*)>& chiama,
                           const SpiegaErroreKestrin& spiega = {}) {
  const bool silenzioso = chiamante == ChiamanteKestrin::Listini;
  plat::Library libreria = plat::Library::Load(kestrin::NomeLibreria);
  if (!libreria) {
    if (!silenzioso)
      ui::MessageDlg("Non trovato \"Kestrin.dll\"", ui::MsgDlgType::Warning, ui::mbOK);
    return EsitoKestrin::LibreriaAssente;
  }
  void* entrata = libreria.Symbol(funzione);
  if (!entrata) {
    libreria.Free();
    if (!silenzioso)
      ui::MessageDlg("Non trovata funzione \"" + std::string(funzione) + "\" in \"Kestrin.dll\"",
                     ui::MsgDlgType::Warning, ui::mbOK);
    return EsitoKestrin::EntrataAssente;
  }
  std::string errore;
  bool riuscita = false;
  try {
    chiama(entrata);
    riuscita = true;
  } catch (const std::exception& e) {
    errore = conMessaggio ? std::string(ErroreAccesso) + ":\r" + e.what() : ErroreAccesso;
  } catch (...) {
    // Nothing but the bare text can be told of an object that is no error.
    errore = ErroreAccesso;
  }
  // The box waits for the operator: the library goes first.
  libreria.Free();
  if (riuscita) return EsitoKestrin::Riuscita;
  bool spiegato = false;
  try {
    spiegato = spiega && spiega();
  } catch (...) {
    // What could not be found out leaves the library's own box.
  }
  if (!spiegato) ui::MessageDlg(errore, ui::MsgDlgType::Error, ui::mbOK);
  return EsitoKestrin::Errore;
}

EsitoKestrin CopiaOIncolla(const char* funzione, std::int32_t utente, const std::string& documento,
                           ChiamanteKestrin chiamante, bool conMessaggio,
                           const SpiegaErroreKestrin& spiega = {}) {
  // A buffer of the document's length plus one: the text and its NUL.
  const std::string ansi = plat::Utf8ToAnsi(documento);
  std::vector<char> buffer(ansi.begin(), ansi.end());
  buffer.push_back('\0');
  return ChiamaKestrin(
      funzione, chiamante, conMessaggio,
      [&](void* entrata) {
        reinterpret_cast<kestrin::CopiaIncollaE>(entrata)(utente, buffer.data());
      },
      spiega);
}

}  // namespace

std::string RicercaKestrin(std::int32_t utente, std::uint32_t handle,
                           const std::string& richiestaXml, ChiamanteKestrin chiamante,
                           bool conMessaggio) {
  // Characters outside Windows-1252 become "?" and the search goes on.
  const std::string richiesta = plat::Utf8ToAnsi(richiestaXml);
  WideString risposta = nullptr;
  const EsitoKestrin esito =
      ChiamaKestrin("ShowVuxRicercheFormY", chiamante, conMessaggio, [&](void* entrata) {
        reinterpret_cast<kestrin::ShowVuxRicercheFormY>(entrata)(utente, handle, richiesta.c_str(),
                                                                 &risposta);
      });
  // The library is gone by now; the answer was never part of it.
  const std::u16string testo = WideStringRead(risposta);
  WideStringFree(risposta);
  return esito == EsitoKestrin::Riuscita ? plat::Utf16ToUtf8(testo) : std::string();
}

EsitoKestrin CopiaKestrin(std::int32_t utente, const std::string& documento,
                          ChiamanteKestrin chiamante, bool conMessaggio) {
  return CopiaOIncolla("CopiaE", utente, documento, chiamante, conMessaggio);
}

EsitoKestrin IncollaKestrin(std::int32_t utente, const std::string& documento,
                            ChiamanteKestrin chiamante, bool conMessaggio,
                            const SpiegaErroreKestrin& spiega) {
  return CopiaOIncolla("IncollaE", utente, documento, chiamante, conMessaggio, spiega);
}

}  // namespace velmaro
