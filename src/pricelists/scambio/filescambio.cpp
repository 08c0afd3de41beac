#include "pricelists/scambio/filescambio.h"

#include <filesystem>

#include "platform/encoding.h"
#include "platform/format.h"
#include "platform/safefile.h"

namespace velmaro {

// ---- texts

namespace {

// Appends the value as the files write it.
void AggiungiPerFile(std::string& out, const std::string& testo) {
  for (size_t i = 0; i < testo.size(); ++i) {
    if (testo[i] == '\'') {
      out += "\xC2\xB4";
    } else if (testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') {
      out += ' ';
      ++i;
    } else {
      out += testo[i];
    }
  }
}

bool SoloAscii(const std::string& testo) {
  for (char c : testo)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

// ---- reading

bool FileDaLeggere(const std::string& nomeFile) {
  std::error_code ec;
  return !plat::IsForeignFileName(nomeFile) &&
         std::filesystem::is_regular_file(std::filesystem::path(nomeFile), ec);
}

LettoreRighe::LettoreRighe(const std::string& nomeFile) : nome_(nomeFile) {
  if (!FileDaLeggere(nomeFile)) throw ErroreFile("Impossibile aprire il file \"" + nomeFile + "\"");
  file_.open(std::filesystem::path(nomeFile), std::ios::binary);
  if (!file_) throw ErroreFile("Impossibile aprire il file \"" + nomeFile + "\"");
}

bool LettoreRighe::Leggi(std::string& riga) {
  if (!std::getline(file_, grezza_)) {
    if (file_.bad()) throw ErroreFile("Errore di lettura del file \"" + nome_ + "\"");
    return false;
  }
  if (!grezza_.empty() && grezza_.back() == '\r') grezza_.pop_back();
  // Most lines are plain ASCII, the same bytes in both encodings.
  if (SoloAscii(grezza_))
    riga.assign(grezza_);
  else
    riga = plat::AnsiToUtf8(grezza_);
  return true;
}

void LettoreRighe::Riavvolgi() {
  file_.clear();
  file_.seekg(0);
}

bool LettoreRighe::AllaFine() { return file_.peek() == std::ifstream::traits_type::eof(); }

int LettoreRighe::ContaRighe() {
  Riavvolgi();
  int n = 0;
  while (std::getline(file_, grezza_)) ++n;
  if (file_.bad()) throw ErroreFile("Errore di lettura del file \"" + nome_ + "\"");
  Riavvolgi();
  return n;
}

// ---- writing

ScrittoreCsv::ScrittoreCsv(const std::string& nomeFile) : nome_(nomeFile), file_(nomeFile) {
  if (plat::IsForeignFileName(nomeFile) || !file_.Open())
    throw ErroreFile("Impossibile creare il file \"" + nomeFile + "\"");
}

void ScrittoreCsv::Campo(const std::string& valore) {
  AggiungiPerFile(riga_, valore);
  riga_ += ';';
}

void ScrittoreCsv::Testo(const std::string& testo) { riga_ += testo; }

void ScrittoreCsv::FineRiga() {
  riga_ += "\r\n";
  std::ostream& file = file_.Stream();
  if (SoloAscii(riga_)) {
    file.write(riga_.data(), static_cast<std::streamsize>(riga_.size()));
  } else {
    const std::string ansi = plat::Utf8ToAnsi(riga_);
    file.write(ansi.data(), static_cast<std::streamsize>(ansi.size()));
  }
  riga_.clear();
  if (!file) throw ErroreFile("Errore di scrittura del file \"" + nome_ + "\"");
}

void ScrittoreCsv::Conferma() {
  if (!file_.Stream().flush()) throw ErroreFile("Errore di scrittura del file \"" + nome_ + "\"");
  // A failed sync or rename leaves the old file as it was.
  if (!file_.Commit()) throw ErroreFile("Impossibile creare il file \"" + nome_ + "\"");
}

}  // namespace velmaro
