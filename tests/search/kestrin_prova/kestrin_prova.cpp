// A test library under the name "Kestrin.dll". Built twice: with its entries,
// which behave as the environment variable KESTRIN_PROVA asks, and (with
// SENZA_ENTRATE) without any.
//   KESTRIN_PROVA unset     the answer echoes the arguments: "utente|handle|request"
//   "eccezione:<text>"      raises std::runtime_error(<text>)
//   "oggetto"               raises an int, which is no error class
// CopiaE and IncollaE append "<entry>|utente|document" to the file KESTRIN_PROVA_LOG.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "search/widestring.h"

#ifndef SENZA_ENTRATE
namespace {

void Comportamento() {
  const char* modo = std::getenv("KESTRIN_PROVA");
  if (!modo) return;
  const std::string m = modo;
  if (m.rfind("eccezione:", 0) == 0) throw std::runtime_error(m.substr(10));
  if (m == "oggetto") throw 42;
}

std::u16string Ampio(const std::string& ansi) {
  // Windows-1252 bytes kept as their code units: enough for the checks.
  std::u16string out;
  for (unsigned char c : ansi) out += char16_t(c);
  return out;
}

void Registra(const char* entrata, std::int32_t utente, const char* documento) {
  const char* file = std::getenv("KESTRIN_PROVA_LOG");
  if (!file) return;
  if (std::FILE* f = std::fopen(file, "a")) {
    std::fprintf(f, "%s|%d|%s\n", entrata, int(utente), documento);
    std::fclose(f);
  }
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) void ShowVuxRicercheFormY(std::int32_t utente,
                                                                 std::uint32_t handle,
                                                                 const char* richiesta,
                                                                 velmaro::WideString* risposta) {
  Comportamento();
  velmaro::WideStringAssign(
      risposta, Ampio(std::to_string(utente) + "|" + std::to_string(handle) + "|" + richiesta));
}

__attribute__((visibility("default"))) void CopiaE(std::int32_t utente, const char* documento) {
  Comportamento();
  Registra("CopiaE", utente, documento);
}

__attribute__((visibility("default"))) void IncollaE(std::int32_t utente, const char* documento) {
  Comportamento();
  Registra("IncollaE", utente, documento);
}

}  // extern "C"
#else
extern "C" __attribute__((visibility("default"))) int AltroNome() { return 0; }
#endif
