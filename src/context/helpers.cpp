#include "context/helpers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "platform/encoding.h"
#include "platform/format.h"
#include "platform/hostfolder.h"
#include "platform/ini.h"

namespace velmaro {
namespace {

std::u32string Chars(const std::string& utf8) {
  const std::u16string w = plat::Utf8ToUtf16(utf8);
  std::u32string out;
  out.reserve(w.size());
  for (size_t i = 0; i < w.size(); ++i) {
    char32_t c = w[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < w.size())
      c = 0x10000 + ((c - 0xD800) << 10) + (w[++i] - 0xDC00);
    out += c;
  }
  return out;
}

std::string Utf8(const std::u32string& chars) {
  std::u16string w;
  for (char32_t c : chars) {
    if (c >= 0x10000) {
      w += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      w += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      w += static_cast<char16_t>(c);
    }
  }
  return plat::Utf16ToUtf8(w);
}

// The character at p, or NUL past the end, as the terminated buffer read.
char32_t At(const std::u32string& s, long p) {
  return p >= 0 && p < static_cast<long>(s.size()) ? s[static_cast<size_t>(p)] : U'\0';
}

int WordLength(const std::u32string& s, long start, int width) {
  int n = 0;
  for (long p = start; n < width; ++p, ++n) {
    const char32_t c = At(s, p);
    if (c == U'\0' || c == U'\r' || c == U' ') break;
  }
  return n;
}

}  // namespace

int LunghezzaParola(const std::string& testo, int inizio, int larghezza) {
  return WordLength(Chars(testo), inizio, larghezza);
}

int SpezzaRiga(const std::string& testo, std::string& riga, int inizio, int larghezza) {
  const std::u32string s = Chars(testo);
  std::u32string out;
  long p = inizio;
  int n = 0;
  for (;;) {
    char32_t c = At(s, p);
    if (c != U'\0' && c != U'\r' && c != U' ') {
      out += c;
      ++n;
      ++p;
    }
    c = At(s, p);
    if (c == U'\0') break;
    if (c == U'\r') {
      // The LF is taken only when it is there, so a lone CR at the end of
      // the text never moves the caller past the text's end.
      n += At(s, p + 1) == U'\n' ? 2 : 1;
      break;
    }
    if (c == U' ') {
      if (WordLength(s, p + 1, larghezza) + n < larghezza) {
        out += c;
        ++n;
        ++p;
      } else {
        ++n;  // the breaking blank is taken with the line
        break;
      }
    }
    if (n >= larghezza) break;
  }
  riga = Utf8(out);
  return n;
}

std::string AllineaDestra(const std::string& testo, int larghezza) {
  const std::u32string s = Chars(testo);
  if (larghezza >= static_cast<int>(s.size()))
    return std::string(static_cast<size_t>(larghezza) - s.size(), ' ') + testo;
  if (larghezza <= 0) return std::string();
  return Utf8(s.substr(0, static_cast<size_t>(larghezza)));
}

std::string AllineaSinistra(const std::string& testo, int larghezza) {
  const std::u32string s = Chars(testo);
  if (larghezza >= static_cast<int>(s.size()))
    return testo + std::string(static_cast<size_t>(larghezza) - s.size(), ' ');
  if (larghezza <= 0) return std::string();
  return Utf8(s.substr(0, static_cast<size_t>(larghezza)));
}

std::string FormattaIntero(double valore) {
  return valore == 0 ? std::string() : plat::FormatFloat("#,##0", valore);
}

std::string FormattaDueDecimali(double valore) {
  return valore == 0 ? std::string() : plat::FormatFloat("#,##0.00", valore);
}

double TestoInNumero(const std::string& testo) {
  if (testo.empty()) return 0;
  double v = 0;
  return plat::TryStrToFloat(testo, v) ? v : -1;
}

double LeggiNumero(const std::string& testo) {
  std::string t;
  t.reserve(testo.size());
  for (char c : testo) {
    if (c == '.') continue;
    t += c == ',' ? '.' : c;
  }
  const std::string_view n = RifilaVista(t);
  if (n.empty()) return -1;
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
      return -1;
  }
  if (cifre == 0 || punti > 1) return -1;
  double v = 0;
  const char* inizio = n.data() + (n[0] == '+' ? 1 : 0);
  auto [fine, errore] = std::from_chars(inizio, n.data() + n.size(), v);
  if (errore != std::errc() || fine != n.data() + n.size()) return -1;
  return v;
}

double TestoInData(const std::string& testo) {
  if (testo.empty()) return plat::kNoDate;
  plat::DateTime d = 0;
  return plat::TryStrToDate(testo, d) ? d : plat::kNotADate;
}

bool DataValida(double data) { return data != plat::kNoDate && data != plat::kNotADate; }

bool TestoEUnaData(const std::string& testo) {
  plat::DateTime d = 0;
  return plat::TryStrToDate(testo, d);
}

double ArrotondaDecimali(int decimali, double valore) {
  const int n = decimali > 0 ? decimali : 0;
  std::string formato = "0";
  if (n > 0) formato += "." + std::string(static_cast<size_t>(n), '0');
  // Beyond 18 decimals the multiplier has no 64-bit form, and a product
  // beyond the 64-bit range has no whole part to keep: a double holds no
  // finer digits anyway, so such values come back as they are.
  if (n > 18) return valore;
  const int64_t moltiplicatore = plat::StrToInt64("1" + std::string(static_cast<size_t>(n), '0'));
  const double scalato =
      valore * static_cast<double>(moltiplicatore) + (valore >= 0 ? 0.5000001 : -0.5000001);
  if (!std::isfinite(scalato) || std::fabs(scalato) >= 9.2e18) return valore;
  const double quoziente =
      static_cast<double>(static_cast<int64_t>(scalato)) / static_cast<double>(moltiplicatore);
  return plat::StrToFloat(plat::FormatFloat(formato, quoziente));
}

void CreaCartella(const std::string& cartella) {
  if (!plat::ForceDirectories(cartella))
    throw ErroreIO("Impossibile creare la cartella " + cartella);
}

std::string Apici(const std::string& testo) {
  std::string out;
  out.reserve(testo.size());
  for (char c : testo) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

std::string Letterale(const std::string& testo) { return "'" + Apici(testo) + "'"; }

std::string LetteraleONull(const std::string& testo, Assente quando, const char* seAssente) {
  const bool bianco = std::all_of(testo.begin(), testo.end(),
                                  [](char c) { return static_cast<unsigned char>(c) <= ' '; });
  const bool assente = quando == Assente::SeBianco ? bianco : testo.empty();
  return assente ? std::string(seAssente) : Letterale(testo);
}

std::string VirgolaInPunto(std::string testo) {
  std::replace(testo.begin(), testo.end(), ',', '.');
  return testo;
}

std::string MeseGiornoAnno(double data, char separatore) {
  int anno = 0, mese = 0, giorno = 0;
  plat::DecodeDate(data, anno, mese, giorno);
  char testo[16];
  std::snprintf(testo, sizeof testo, "%02d%c%02d%c%04d", mese, separatore, giorno, separatore,
                anno);
  return testo;
}

std::string MeseGiornoAnno(const std::string& testo, SeNonData seNonData) {
  if (seNonData == SeNonData::Eccezione) return MeseGiornoAnno(plat::StrToDate(testo));
  plat::DateTime data = 0;
  return plat::TryStrToDate(testo, data) ? MeseGiornoAnno(data) : std::string();
}

std::string MeseGiornoAnnoSeValida(double data) {
  return DataValida(data) ? MeseGiornoAnno(data) : std::string();
}

std::string DataPerSQL(double data) {
  if (!plat::IsDateInRange(data)) return "''";
  return "'" + MeseGiornoAnno(data, plat::Formats().DateSeparator) + "'";
}

std::string InvertiData(const std::string& letterale) {
  const size_t primo = letterale.find('/');
  const size_t secondo = primo == std::string::npos ? primo : letterale.find('/', primo + 1);
  if (letterale.empty() || secondo == std::string::npos) return letterale;
  const std::string giorno = letterale.substr(1, primo - 1);
  const std::string mese = letterale.substr(primo + 1, secondo - primo - 1);
  return "'" + mese + "/" + giorno + letterale.substr(secondo);
}

std::string InvertiDateSQL(const std::string& sql) {
  std::string s = sql;
  const long len = static_cast<long>(s.size());
  // Positions count from 1, as the rules about the slash's place do.
  auto at = [&](long pos) {
    return pos >= 1 && pos <= len ? s[static_cast<size_t>(pos - 1)] : '\0';
  };
  // Quotes before each position. A rewrite keeps every quote in its place,
  // so the counts hold for the whole scan.
  std::vector<long> apiciPrima(static_cast<size_t>(len) + 2, 0);
  for (long p = 1; p <= len + 1; ++p)
    apiciPrima[static_cast<size_t>(p)] =
        apiciPrima[static_cast<size_t>(p - 1)] + (at(p - 1) == '\'' ? 1 : 0);
  // Only a literal that opens at `inizio` and closes at `fine` is a date:
  // quotes of two neighbouring literals, as in IN ('a','/3/24'), are not.
  auto letteraleIntero = [&](long inizio, long fine) {
    return apiciPrima[static_cast<size_t>(inizio)] % 2 == 0 &&
           apiciPrima[static_cast<size_t>(fine)] - apiciPrima[static_cast<size_t>(inizio)] == 1;
  };
  long i = 1;
  while (i <= len) {
    // The shortest literal closes at i + 5; a literal that ends the text
    // is converted too, two-digit years included.
    if (at(i) != '/' || i < 4 || i + 5 > len) {
      ++i;
      continue;
    }
    long inizio = at(i - 2) == '\'' ? i - 2 : (at(i - 3) == '\'' ? i - 3 : 0);
    long fine = 0;
    for (long e : {i + 5, i + 6, i + 7, i + 8})
      if (at(e) == '\'') {
        fine = e;
        break;
      }
    const bool secondaBarra = fine && at((fine == i + 5 || fine == i + 7) ? i + 2 : i + 3) == '/';
    if (!inizio || !secondaBarra || !letteraleIntero(inizio, fine)) {
      ++i;
      continue;
    }
    const std::string letterale =
        s.substr(static_cast<size_t>(inizio - 1), static_cast<size_t>(fine - inizio + 1));
    s.replace(static_cast<size_t>(inizio - 1), letterale.size(), InvertiData(letterale));
    i = fine + 1;
  }
  return s;
}

std::string TogliSpaziFinali(const std::string& testo) {
  const size_t e = testo.find_last_not_of(' ');
  return e == std::string::npos ? std::string() : testo.substr(0, e + 1);
}

std::string TogliSpazi(const std::string& testo) {
  std::string out;
  for (char c : testo)
    if (c != ' ') out += c;
  return out;
}

std::string AcapoInSpazi(const std::string& testo) {
  std::string out = testo;
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

std::string_view RifilaVista(std::string_view t) {
  while (!t.empty() && static_cast<unsigned char>(t.front()) <= ' ') t.remove_prefix(1);
  while (!t.empty() && static_cast<unsigned char>(t.back()) <= ' ') t.remove_suffix(1);
  return t;
}

std::string Rifila(const std::string& testo) { return std::string(RifilaVista(testo)); }

std::u16string EstraiCampo(const std::u16string& testo, int n, const std::u16string& delimitatore,
                           int modo) {
  if (n <= 0) return std::u16string();
  std::u16string resto = testo;
  for (int k = 1; k < n; ++k) {
    const size_t p = delimitatore.empty() ? std::u16string::npos : resto.find(delimitatore);
    resto = p == std::u16string::npos ? std::u16string() : resto.substr(p + delimitatore.size());
  }
  if (!delimitatore.empty()) {
    const size_t p = resto.find(delimitatore);
    if (p != std::u16string::npos) resto.resize(p);
  }
  if (modo == 1) std::erase(resto, u' ');
  return resto;
}

std::string CampoDelimitato(const std::string& testo, int n, const std::string& delimitatore) {
  return plat::Utf16ToUtf8(
      EstraiCampo(plat::Utf8ToUtf16(testo), n, plat::Utf8ToUtf16(delimitatore), 1));
}

std::u16string CampoDelimitatoW(const std::u16string& testo, int n,
                                const std::u16string& delimitatore) {
  return EstraiCampo(testo, n, delimitatore, 0);
}

std::string CampoW(const std::string& riga, int n) {
  return plat::Utf16ToUtf8(CampoDelimitatoW(plat::Utf8ToUtf16(riga), n, u";"));
}

std::vector<std::string> CaricaElencoUtenti() {
  return plat::IniFile(plat::HostFolder() + "DUVIDAR/UTENTI.INI").ReadSections();
}

}  // namespace velmaro
