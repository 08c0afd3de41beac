#include "pelk_job.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace pelk {
namespace {

// A section of the project: keys in order and nested sections.
struct Nodo {
  std::string nome;
  std::vector<std::pair<std::string, std::string>> chiavi;
  std::vector<Nodo> figli;

  const std::string* Chiave(const std::string& k) const {
    for (const auto& [nome, valore] : chiavi)
      if (nome == k) return &valore;
    return nullptr;
  }
  std::string Valore(const std::string& k, const std::string& def = {}) const {
    const std::string* v = Chiave(k);
    return v ? *v : def;
  }
  double Numero(const std::string& k, double def = 0) const {
    const std::string* v = Chiave(k);
    return v && !v->empty() ? std::strtod(v->c_str(), nullptr) : def;
  }
  const Nodo* Figlio(const std::string& n) const {
    for (const Nodo& f : figli)
      if (f.nome == n) return &f;
    return nullptr;
  }
  // The first section down a path of names; null when one is missing.
  const Nodo* Giu(std::initializer_list<const char*> percorso) const {
    const Nodo* n = this;
    for (const char* p : percorso)
      if (!(n = n->Figlio(p))) return nullptr;
    return n;
  }
};

class Lettore {
 public:
  explicit Lettore(const std::string& testo) {
    std::istringstream in(testo);
    for (std::string riga; std::getline(in, riga);) {
      const size_t a = riga.find_first_not_of(" \t");
      const size_t b = riga.find_last_not_of(" \t\r");
      righe_.push_back(a == std::string::npos ? std::string() : riga.substr(a, b - a + 1));
    }
  }

  // Top-level sections: a header not followed by "{"; their keys follow.
  Nodo Leggi() {
    Nodo radice;
    while (i_ < righe_.size()) {
      if (Intestazione(righe_[i_])) {
        Nodo sezione{Nome(righe_[i_++]), {}, {}};
        Corpo(sezione, true);
        radice.figli.push_back(std::move(sezione));
      } else {
        ++i_;
      }
    }
    return radice;
  }

 private:
  static bool Intestazione(const std::string& r) { return r.size() > 1 && r.front() == '['; }
  static std::string Nome(const std::string& r) { return r.substr(1, r.find(']') - 1); }
  bool Apre(size_t k) const { return k < righe_.size() && righe_[k] == "{"; }

  void Corpo(Nodo& nodo, bool principale) {
    while (i_ < righe_.size()) {
      const std::string& r = righe_[i_];
      if (r == "}") {
        ++i_;
        if (!principale) return;
        continue;
      }
      if (Intestazione(r)) {
        if (!Apre(i_ + 1)) {
          if (principale) return;  // the next top-level section
          nodo.figli.push_back({Nome(r), {}, {}});
          ++i_;
          continue;
        }
        Nodo figlio{Nome(r), {}, {}};
        i_ += 2;
        Corpo(figlio, false);
        nodo.figli.push_back(std::move(figlio));
        continue;
      }
      const size_t uguale = r.find('=');
      if (uguale != std::string::npos)
        nodo.chiavi.emplace_back(r.substr(0, uguale), r.substr(uguale + 1));
      ++i_;
    }
  }

  std::vector<std::string> righe_;
  size_t i_ = 0;
};

std::string SenzaVirgolette(const std::string& s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
  return s;
}

Riquadro Posizione(const Nodo& oggetto) {
  return {oggetto.Numero("Position/Left") / 1000, oggetto.Numero("Position/Top") / 1000,
          oggetto.Numero("Position/Width") / 1000, oggetto.Numero("Position/Height") / 1000};
}

std::vector<const Nodo*> Colonne(const Nodo& tabella, const char* parte) {
  std::vector<const Nodo*> colonne;
  if (const Nodo* c = tabella.Giu({parte, "Lines", "Line", "Columns"}))
    for (const Nodo& f : c->figli)
      if (f.nome == "Column") colonne.push_back(&f);
  return colonne;
}

void LeggiTabella(const Nodo& oggetto, Progetto& p) {
  p.Tabella = Posizione(oggetto);
  const Nodo* tabella = oggetto.Giu({"@Tables", "Tables", "Table"});
  if (!tabella) return;
  const auto dati = Colonne(*tabella, "Body");
  const auto titoli = Colonne(*tabella, "Header");
  for (size_t i = 0; i < dati.size(); ++i) {
    Colonna c;
    c.Campo = dati[i]->Valore("Text");
    c.Larghezza = dati[i]->Numero("Width") / 1000;
    c.ACapo = dati[i]->Valore("LineWrap") != "0";
    if (const Nodo* font = dati[i]->Figlio("Font"))
      p.DimensioneFont = int(font->Numero("Size", p.DimensioneFont));
    if (i < titoli.size()) {
      c.Titolo = SenzaVirgolette(titoli[i]->Valore("Text"));
      c.AllineamentoTitolo = int(titoli[i]->Numero("Align"));
    }
    p.Colonne.push_back(std::move(c));
  }
}

std::vector<RigaTesto> RigheTesto(const Nodo& oggetto) {
  std::vector<RigaTesto> righe;
  if (const Nodo* linee = oggetto.Giu({"@Lines", "Lines"}))
    for (const Nodo& l : linee->figli)
      if (l.nome == "Line")
        righe.push_back({SenzaVirgolette(l.Valore("Text")), int(l.Numero("Align"))});
  return righe;
}

}  // namespace

// Only the path is free of tags: the SQL ends where the path begins (its
// last closing tag before "<NomeReport>") and the title runs from after the
// path to the last closing tag of the title.
Lavoro LeggiLavoro(const std::string& testo) {
  static const std::string kInizio = "<VuxForm><SQLStampa>", kSql = "</SQLStampa><NomeReport>",
                           kReport = "</NomeReport><TitoloStampa>", kTitolo = "</TitoloStampa>";
  const size_t sql = testo.rfind(kSql);
  const size_t report = sql == std::string::npos ? sql : testo.find(kReport, sql);
  const size_t titolo = report == std::string::npos ? report : testo.rfind(kTitolo);
  if (testo.compare(0, kInizio.size(), kInizio) != 0 || sql < kInizio.size() ||
      titolo == std::string::npos || titolo < report + kReport.size())
    throw std::runtime_error("Lavoro di stampa non valido");
  Lavoro l;
  l.Sql = testo.substr(kInizio.size(), sql - kInizio.size());
  l.NomeReport = testo.substr(sql + kSql.size(), report - sql - kSql.size());
  l.Titolo = testo.substr(report + kReport.size(), titolo - report - kReport.size());
  const std::string coda = testo.substr(titolo);
  l.Anteprima = coda.find("<AnteprimaDiretta>1</AnteprimaDiretta>") != std::string::npos;
  l.EditaReport = coda.find("<EditaReportDiretto>1</EditaReportDiretto>") != std::string::npos;
  return l;
}

Progetto LeggiProgetto(const std::string& testo) {
  const Nodo radice = Lettore(testo).Leggi();
  Progetto p;
  bool tabella = false;
  for (const Nodo& s : radice.figli) {
    if (s.nome == "Layout") {
      p.Orizzontale = s.Valore("Orientation") == "2";
      p.PaginaLarghezza = s.Numero("xSize", 210000) / 1000;
      p.PaginaAltezza = s.Numero("ySize", 296900) / 1000;
    }
    if (s.nome != "Object") continue;
    if (s.Valore("ObjectName") == "Table") {
      LeggiTabella(s, p);
      tabella = true;
    } else if (s.Valore("LinkID") == "5") {
      p.Intestazione = Posizione(s);
      p.Intestazioni = RigheTesto(s);
    } else if (s.Valore("LinkID") == "16") {
      p.NumeroPagina = Posizione(s);
      p.NumeraPagine = s.Valore("Condition") == "True";
    }
  }
  if (!tabella) throw std::runtime_error("Il progetto di stampa non contiene una tabella");
  return p;
}

}  // namespace pelk
