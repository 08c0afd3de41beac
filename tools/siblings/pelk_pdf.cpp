#include "pelk_pdf.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "platform/safefile.h"

namespace pelk {
namespace {

constexpr double kMmPerPunto = 25.4 / 72;
constexpr double kMarginiX = 1.0, kMarginiY = 0.5;  // the cell frames' spacing, mm
constexpr double kLinea = 0.1;                      // the thinnest frame line, mm

// Lengths of the UTF-8 characters of a text, so a word is never cut inside one.
std::vector<std::string> Caratteri(const std::string& s) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.size();) {
    size_t n = 1;
    while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) ++n;
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

class Pagina {
 public:
  explicit Pagina(cairo_t* cr) : cr_(cr) {}

  double AltezzaRiga(int punti) const { return punti * kMmPerPunto * 1.2; }
  double Larghezza(const std::string& s) const {
    cairo_text_extents_t e;
    cairo_text_extents(cr_, s.c_str(), &e);
    return e.x_advance;
  }
  void Font(int punti) const {
    cairo_select_font_face(cr_, "Arial", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, punti * kMmPerPunto);
  }

  // The lines of a cell: wrapped at blanks (a word too long is cut between
  // characters), or the text as one line when it is to be cut at the border.
  std::vector<std::string> Righe(const std::string& testo, double larghezza, bool aCapo) const {
    std::vector<std::string> paragrafi(1);
    for (char c : testo) {
      if (c == '\n')
        paragrafi.emplace_back();
      else if (c != '\r')
        paragrafi.back() += c;
    }
    if (!aCapo) return {paragrafi.front()};
    std::vector<std::string> righe;
    for (const std::string& paragrafo : paragrafi) Spezza(paragrafo, larghezza, righe);
    return righe;
  }

  // Lines from the top of `r`, cut at `taglio` (the box itself when not given).
  void Testo(const std::vector<std::string>& righe, const Riquadro& r, int allineamento, int punti,
             const Riquadro* taglio = nullptr) const {
    const Riquadro& t = taglio ? *taglio : r;
    cairo_save(cr_);
    cairo_rectangle(cr_, t.Left, t.Top, t.Width, t.Height);
    cairo_clip(cr_);
    Font(punti);
    cairo_font_extents_t fe;
    cairo_font_extents(cr_, &fe);
    double y = r.Top + fe.ascent;
    for (const std::string& riga : righe) {
      const double w = Larghezza(riga);
      const double x = allineamento == 1   ? r.Left + (r.Width - w) / 2
                       : allineamento == 2 ? r.Left + r.Width - w
                                           : r.Left;
      cairo_move_to(cr_, x, y);
      cairo_show_text(cr_, riga.c_str());
      y += AltezzaRiga(punti);
    }
    cairo_restore(cr_);
  }

  void Cornice(double x, double y, double w, double h) const {
    cairo_rectangle(cr_, x, y, w, h);
    cairo_set_line_width(cr_, kLinea);
    cairo_stroke(cr_);
  }

 private:
  void Spezza(const std::string& paragrafo, double larghezza,
              std::vector<std::string>& righe) const {
    std::string riga;
    for (const std::string& ch : Caratteri(paragrafo)) {
      const std::string prova = riga + ch;
      if (riga.empty() || Larghezza(prova) <= larghezza) {
        riga = prova;
        continue;
      }
      // Back to the last blank of the line, when there is one.
      const size_t blank = riga.rfind(' ');
      if (ch != " " && blank != std::string::npos && blank > 0) {
        righe.push_back(riga.substr(0, blank));
        riga = riga.substr(blank + 1) + ch;
      } else {
        righe.push_back(riga);
        riga = ch == " " ? std::string() : ch;
      }
    }
    righe.push_back(riga);
  }

  cairo_t* cr_;
};

struct Cella {
  std::vector<std::string> righe;
};

// One line of the table at `y`: the cells' frames and texts; returns its height.
double DisegnaRiga(const Pagina& pg, const Progetto& p, const std::vector<Cella>& celle, double y,
                   double altezza, bool titoli) {
  double x = p.Tabella.Left;
  for (size_t i = 0; i < p.Colonne.size(); ++i) {
    const Colonna& c = p.Colonne[i];
    pg.Cornice(x, y, c.Larghezza, altezza);
    const Riquadro dentro{x + kMarginiX, y + kMarginiY, c.Larghezza - 2 * kMarginiX,
                          altezza - 2 * kMarginiY};
    const Riquadro cella{x, y, c.Larghezza, altezza};
    pg.Testo(celle[i].righe, dentro, titoli ? c.AllineamentoTitolo : 0, p.DimensioneFont, &cella);
    x += c.Larghezza;
  }
  return altezza;
}

std::vector<Cella> Celle(const Pagina& pg, const Progetto& p, const std::vector<std::string>& testi,
                         double& altezza) {
  std::vector<Cella> celle;
  size_t massimo = 1;
  pg.Font(p.DimensioneFont);
  for (size_t i = 0; i < p.Colonne.size(); ++i) {
    const Colonna& c = p.Colonne[i];
    const std::string testo = i < testi.size() ? testi[i] : std::string();
    celle.push_back({pg.Righe(testo, c.Larghezza - 2 * kMarginiX, c.ACapo)});
    massimo = std::max(massimo, celle.back().righe.size());
  }
  altezza = massimo * pg.AltezzaRiga(p.DimensioneFont) + 2 * kMarginiY;
  return celle;
}

}  // namespace

std::vector<std::vector<int>> Impagina(const std::vector<double>& altezze, double disponibile) {
  std::vector<std::vector<int>> pagine(1);
  double usato = 0;
  for (int i = 0; i < int(altezze.size()); ++i) {
    if (!pagine.back().empty() && usato + altezze[i] > disponibile) {
      pagine.emplace_back();
      usato = 0;
    }
    pagine.back().push_back(i);
    usato += altezze[i];
  }
  return pagine;
}

int ScriviPdf(const std::string& percorso, const Progetto& p, const Righe& righe,
              const std::string& titolo) {
  const double punti = 1 / kMmPerPunto;
  // The preview replaces an older one only once complete.
  plat::SafeFile file(percorso);
  if (!file.Open()) throw std::runtime_error("Impossibile scrivere l'anteprima " + percorso);
  const cairo_write_func_t scrivi = [](void* destinazione, const unsigned char* dati,
                                       unsigned int n) {
    auto& out = *static_cast<std::ostream*>(destinazione);
    out.write(reinterpret_cast<const char*>(dati), n);
    return out ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
  };
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> superficie(
      cairo_pdf_surface_create_for_stream(scrivi, &file.Stream(), p.PaginaLarghezza * punti,
                                          p.PaginaAltezza * punti),
      cairo_surface_destroy);
  cairo_pdf_surface_set_metadata(superficie.get(), CAIRO_PDF_METADATA_TITLE, titolo.c_str());
  std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(superficie.get()),
                                                        cairo_destroy);
  cairo_scale(cr.get(), punti, punti);
  const Pagina pg(cr.get());

  std::vector<std::string> testiTitoli;
  for (const Colonna& c : p.Colonne) testiTitoli.push_back(c.Titolo);
  double altezzaTitoli = 0;
  const std::vector<Cella> titoli = Celle(pg, p, testiTitoli, altezzaTitoli);
  std::vector<std::vector<Cella>> celle;
  std::vector<double> altezze;
  for (const auto& riga : righe) {
    double h = 0;
    celle.push_back(Celle(pg, p, riga, h));
    altezze.push_back(h);
  }
  const auto pagine = Impagina(altezze, p.Tabella.Height - altezzaTitoli);

  for (size_t n = 0; n < pagine.size(); ++n) {
    cairo_set_source_rgb(cr.get(), 0, 0, 0);
    for (size_t k = 0; k < p.Intestazioni.size(); ++k) {
      Riquadro r = p.Intestazione;
      r.Top += k * pg.AltezzaRiga(12);
      pg.Testo({p.Intestazioni[k].Testo}, r, p.Intestazioni[k].Allineamento, 12);
    }
    double y = p.Tabella.Top;
    y += DisegnaRiga(pg, p, titoli, y, altezzaTitoli, true);
    for (int i : pagine[n]) y += DisegnaRiga(pg, p, celle[i], y, altezze[i], false);
    if (p.NumeraPagine)
      pg.Testo({"Pag. " + std::to_string(n + 1) + " di " + std::to_string(pagine.size())},
               p.NumeroPagina, 2, 12);
    cairo_show_page(cr.get());
  }
  cr.reset();
  cairo_surface_finish(superficie.get());
  if (cairo_surface_status(superficie.get()) != CAIRO_STATUS_SUCCESS || !file.Commit())
    throw std::runtime_error("Impossibile scrivere l'anteprima " + percorso);
  return int(pagine.size());
}

}  // namespace pelk
