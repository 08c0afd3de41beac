#pragma once
// The customer archive of the Tressil.dll stand-in: a text file in the host
// folder, "Tressil/clienti.txt", one customer a line as
// CODICE;RAGSOC;PI;CF;TIPOPREZZO (UTF-8). `velmaro-host init` makes it with
// a few customers, some of them missing from the company's CLIENTI.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/safefile.h"

namespace siblings::tressil {

struct Cliente {
  std::string codice, ragsoc, pi, cf, tipoprezzo;
};

inline std::string FileArchivio(const std::string& cartellaHost) {
  return cartellaHost + "Tressil/clienti.txt";
}

inline std::vector<Cliente> LeggiArchivio(const std::string& percorso) {
  std::vector<Cliente> out;
  std::ifstream in(percorso, std::ios::binary);
  std::string riga;
  while (std::getline(in, riga)) {
    if (!riga.empty() && riga.back() == '\r') riga.pop_back();
    if (riga.empty()) continue;
    std::vector<std::string> parti;
    std::stringstream s(riga);
    for (std::string p; std::getline(s, p, ';');) parti.push_back(p);
    parti.resize(5);
    out.push_back({parti[0], parti[1], parti[2], parti[3], parti[4]});
  }
  return out;
}

// Replaces the archive only once the new one is complete.
inline void ScriviArchivio(const std::string& percorso, const std::vector<Cliente>& clienti) {
  namespace fs = std::filesystem;
  fs::create_directories(fs::path(percorso).parent_path());
  std::ostringstream out;
  for (const Cliente& c : clienti)
    out << c.codice << ';' << c.ragsoc << ';' << c.pi << ';' << c.cf << ';' << c.tipoprezzo << '\n';
  if (!plat::WriteFileSafely(percorso, out.str()))
    throw std::runtime_error("cannot write " + percorso);
}

// The archive `init` makes: the first customer is also in the demo
// company; the others are not (one with an apostrophe, one whose name
// takes the whole 60 characters of the company's column).
inline std::vector<Cliente> ArchivioIniziale() {
  return {{"000101", "Edilnord Costruzioni S.r.l.", "08123440961", "08123440961", ""},
          {"PX0001", "L'Ancora S.r.l.", "09876543210", "09876543210", ""},
          {"PX0002", "Idraulica Bianchi di Bianchi Mario", "11122233344", "BNCMRA70A01F205X", ""},
          {"PX0003", "Società Cooperativa Edile Commercio Materiali Nord Est a r.l", "55566677788",
           "55566677788", ""}};
}

}  // namespace siblings::tressil
