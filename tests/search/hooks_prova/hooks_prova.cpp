// A test library with an export of every signature the outside-call hooks
// use. Environment:
//   HOOK_RISPOSTA   text copied (without NUL) to the start of the buffer
//   HOOK_N          the count returned (default: the length of HOOK_RISPOSTA)
//   HOOK_ECCEZIONE  "oggetto" raises an int, any other text a std::runtime_error
//   HOOK_LOG        file receiving one line per call: entry|user|arguments|buffer as received
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

std::string Env(const char* nome) {
  const char* v = std::getenv(nome);
  return v ? v : "";
}

std::int32_t Rispondi(const std::string& riga, char* buffer) {
  if (const char* file = std::getenv("HOOK_LOG"))
    if (std::FILE* f = std::fopen(file, "a")) {
      std::fprintf(f, "%s\n", riga.c_str());
      std::fclose(f);
    }
  const std::string eccezione = Env("HOOK_ECCEZIONE");
  if (eccezione == "oggetto") throw 7;
  if (!eccezione.empty()) throw std::runtime_error(eccezione);
  const std::string risposta = Env("HOOK_RISPOSTA");
  if (buffer) std::memcpy(buffer, risposta.data(), risposta.size());
  const std::string n = Env("HOOK_N");
  return n.empty() ? std::int32_t(risposta.size()) : std::int32_t(std::stol(n));
}

std::string U(std::int32_t u) { return std::to_string(u); }

}  // namespace

#define ESPORTA extern "C" __attribute__((visibility("default"))) std::int32_t

ESPORTA Buffer(std::int32_t u, char* b) { return Rispondi("Buffer|" + U(u) + "|" + b, b); }
ESPORTA CodiceBuffer(std::int32_t u, const char* c, char* b) {
  return Rispondi("CodiceBuffer|" + U(u) + "|" + c + "|" + b, b);
}
ESPORTA BufferTestoLettera(std::int32_t u, char* b, const char* t, const char* l) {
  return Rispondi("BufferTestoLettera|" + U(u) + "|" + b + "|" + t + "|" + l, b);
}
ESPORTA BufferLettera(std::int32_t u, char* b, const char* l) {
  return Rispondi("BufferLettera|" + U(u) + "|" + b + "|" + l, b);
}
ESPORTA RiceviNumeroRateE(std::int32_t u, const char* t1, const char* t2) {
  return Rispondi("RiceviNumeroRateE|" + U(u) + "|" + t1 + "|" + t2, nullptr);
}
ESPORTA RiceviDataScadenzaE(std::int32_t u, const char* t1, const char* t2, std::int32_t n,
                            char* b) {
  return Rispondi("RiceviDataScadenzaE|" + U(u) + "|" + t1 + "|" + t2 + "|" + U(n) + "|" + b, b);
}
ESPORTA RiceviImportoScadenzaE(std::int32_t u, const char* t1, const char* t2, std::int32_t n,
                               char* b) {
  return Rispondi("RiceviImportoScadenzaE|" + U(u) + "|" + t1 + "|" + t2 + "|" + U(n) + "|" + b, b);
}
ESPORTA RiceviImportoTotScadenzeE(std::int32_t u, const char* t1, const char* t2, char* b) {
  return Rispondi("RiceviImportoTotScadenzeE|" + U(u) + "|" + t1 + "|" + t2 + "|" + b, b);
}
