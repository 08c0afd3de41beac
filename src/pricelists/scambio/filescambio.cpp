#include "pricelists/scambio/filescambio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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
  fd_ = ::open(nomeFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw ErroreFile("Impossibile aprire il file \"" + nomeFile + "\"");
  buffer_.resize(64 * 1024);
}

LettoreRighe::~LettoreRighe() {
  if (fd_ >= 0) ::close(fd_);
}

void LettoreRighe::ErroreLettura() const {
  throw ErroreFile("Errore di lettura del file \"" + nome_ + "\"");
}

bool LettoreRighe::Riempi() {
  for (;;) {
    const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ErroreLettura();
    inizio_ = 0;
    fine_ = static_cast<size_t>(n);
    return n > 0;
  }
}

bool LettoreRighe::LeggiGrezza() {
  grezza_.clear();
  bool letto = false;
  for (;;) {
    if (inizio_ == fine_ && !Riempi()) return letto;
    letto = true;
    const char* da = buffer_.data() + inizio_;
    const auto* lf = static_cast<const char*>(std::memchr(da, '\n', fine_ - inizio_));
    if (lf) {
      grezza_.append(da, lf);
      inizio_ += static_cast<size_t>(lf - da) + 1;
      return true;
    }
    grezza_.append(da, fine_ - inizio_);
    inizio_ = fine_;
  }
}

bool LettoreRighe::Leggi(std::string& riga) {
  if (!LeggiGrezza()) return false;
  if (!grezza_.empty() && grezza_.back() == '\r') grezza_.pop_back();
  // Most lines are plain ASCII, the same bytes in both encodings.
  if (SoloAscii(grezza_))
    riga.assign(grezza_);
  else
    riga = plat::AnsiToUtf8(grezza_);
  return true;
}

void LettoreRighe::Riavvolgi() {
  if (::lseek(fd_, 0, SEEK_SET) < 0) ErroreLettura();
  inizio_ = fine_ = 0;
}

bool LettoreRighe::AllaFine() { return inizio_ == fine_ && !Riempi(); }

int LettoreRighe::ContaRighe() {
  Riavvolgi();
  int n = 0;
  while (LeggiGrezza()) ++n;
  Riavvolgi();
  return n;
}

LettoreRighe::Stato LettoreRighe::StatoOra() const {
  struct stat s {};
  if (::fstat(fd_, &s) != 0) ErroreLettura();
  return {static_cast<long long>(s.st_size), static_cast<long long>(s.st_mtim.tv_sec),
          static_cast<long long>(s.st_mtim.tv_nsec)};
}

void LettoreRighe::SegnaStato() { segnato_ = StatoOra(); }

void LettoreRighe::ControllaInvariato() const {
  if (!(StatoOra() == segnato_)) ErroreLettura();
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
