#include "pricelists/scambio/filescambio.h"

#include <charconv>
#include <filesystem>
#include <string_view>

#include "context/helpers.h"
#include "platform/encoding.h"
#include "platform/format.h"
#include "platform/safefile.h"

namespace velmaro {

// ---- numbers, dates and texts

bool LeggiNumero(const std::string& testo, double& valore) {
  std::string t;
  t.reserve(testo.size());
  for (char c : testo) {
    if (c == '.') continue;
    t += c == ',' ? '.' : c;
  }
  const std::string n = Rifila(t);
  if (n.empty()) return false;
  // Digits with at most one decimal point and a sign: no exponents, no
  // "inf" or "nan", which a price column cannot hold.
  size_t i = (n[0] == '-' || n[0] == '+') ? 1 : 0;
  int cifre = 0, punti = 0;
  for (size_t k = i; k < n.size(); ++k) {
    if (n[k] == '.')
      ++punti;
    else if (n[k] >= '0' && n[k] <= '9')
      ++cifre;
    else
      return false;
  }
  if (cifre == 0 || punti > 1) return false;
  double v = 0;
  const char* inizio = n.data() + (n[0] == '+' ? 1 : 0);
  auto [fine, errore] = std::from_chars(inizio, n.data() + n.size(), v);
  if (errore != std::errc() || fine != n.data() + n.size()) return false;
  valore = v;
  return true;
}

double LeggiNumero(const std::string& testo) {
  double v = -1;
  return LeggiNumero(testo, v) ? v : -1;
}

std::string ReturnDateSQL(double data) {
  return DataValida(data) ? MeseGiornoAnno(data) : std::string();
}

std::string ReturnDateSQL(const std::string& testo) { return ReturnDateSQL(TestoInData(testo)); }

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

std::string TestoPerFile(const std::string& testo) {
  std::string out;
  out.reserve(testo.size());
  AggiungiPerFile(out, testo);
  return out;
}

std::string Rifila(const std::string& testo) {
  size_t b = 0, e = testo.size();
  while (b < e && static_cast<unsigned char>(testo[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(testo[e - 1]) <= ' ') --e;
  return testo.substr(b, e - b);
}

std::string CampoW(const std::string& riga, int n) {
  return plat::Utf16ToUtf8(CampoDelimitatoW(plat::Utf8ToUtf16(riga), n, u";"));
}

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
  // A target that is a folder cannot be replaced.
  if (!file_.Commit()) throw ErroreFile("Impossibile creare il file \"" + nome_ + "\"");
}

// ---- the classic layout

void TFileRecord::Pulisci() {
  Vuoto = true;
  for (std::string* t : {&CodiceArticolo, &TestoEstensione, &TestoPrezzo, &TestoDataInizio,
                         &TestoDataFine, &TestoQuantita, &TestoProvvigione})
    t->clear();
  prezzo_ = quantita_ = provvigione_ = -1;
  dataInizio_ = dataFine_ = 0;
}

namespace {

std::string_view RifilaVista(std::string_view t) {
  while (!t.empty() && static_cast<unsigned char>(t.front()) <= ' ') t.remove_prefix(1);
  while (!t.empty() && static_cast<unsigned char>(t.back()) <= ' ') t.remove_suffix(1);
  return t;
}

}  // namespace

void TFileRecord::LeggiRiga(const std::string& riga) {
  Pulisci();
  if (RifilaVista(riga).empty()) return;
  std::string* campi[7] = {&CodiceArticolo, &TestoEstensione, &TestoPrezzo,     &TestoDataInizio,
                           &TestoDataFine,  &TestoQuantita,   &TestoProvvigione};
  std::string_view resto(riga);
  for (size_t i = 0; i < 7 && resto.data() != nullptr; ++i) {
    const size_t fine = resto.find(';');
    campi[i]->assign(RifilaVista(resto.substr(0, fine)));
    if (!campi[i]->empty()) Vuoto = false;
    if (fine == std::string_view::npos) break;
    resto.remove_prefix(fine + 1);
  }
  prezzo_ = LeggiNumero(TestoPrezzo);
  quantita_ = LeggiNumero(TestoQuantita);
  provvigione_ = LeggiNumero(TestoProvvigione);
  dataInizio_ = TestoInData(TestoDataInizio);
  dataFine_ = TestoInData(TestoDataFine);
}

void TFileRecord::Valida() const {
  if (CodiceArticolo.empty()) throw std::runtime_error("Codice articolo non indicato");
  if (Prezzo() == -1) throw std::runtime_error("Prezzo non riconosciuto");
  if (!DataValida(DataInizio()))
    throw std::runtime_error("Data inizio validità non trovata o non riconosciuta");
  if (!TestoDataFine.empty() && DataFine() == -1)
    throw std::runtime_error("Data fine validità non riconosciuta");
  if (!TestoQuantita.empty() && Quantita() == -1)
    throw std::runtime_error("Quantità scaglione non riconosciuta");
  if (!TestoProvvigione.empty() && Provvigione() == -1)
    throw std::runtime_error("Provvigione non riconosciuta");
}

TFileDataSet::TFileDataSet(const std::string& nomeFile) : nomeFile_(nomeFile) { Riavvolgi(); }

void TFileDataSet::Riavvolgi() {
  if (!file_) file_ = std::make_unique<LettoreRighe>(nomeFile_);
  file_->Riavvolgi();
  numeroRiga_ = 0;
  record_.Pulisci();
  // The header: read, counted, never interpreted.
  if (file_->Leggi(riga_)) numeroRiga_ = 1;
}

void TFileDataSet::Successivo() {
  if (Fine() || !file_->Leggi(riga_)) return;
  ++numeroRiga_;
  record_.LeggiRiga(riga_);
}

bool TFileDataSet::Fine() { return !file_ || file_->AllaFine(); }

}  // namespace velmaro
