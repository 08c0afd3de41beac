#pragma once
// What the print library's stand-in reads: the grid's print job and the
// report project it names. The job is no well-formed XML (the SQL and the
// title go in unescaped, "<=" and "&" included), so its pieces are taken by
// their literal tags.
#include <string>
#include <vector>

namespace pelk {

struct Lavoro {
  std::string Sql;
  std::string NomeReport;
  std::string Titolo;
  bool Anteprima = false;
  bool EditaReport = false;
};

// Reads a job (UTF-8); throws std::runtime_error when a piece is missing.
Lavoro LeggiLavoro(const std::string& testo);

// Text in millimetres, positions from the page's top-left corner.
struct Riquadro {
  double Left = 0, Top = 0, Width = 0, Height = 0;
};

struct Colonna {
  std::string Campo;           // field of the query
  std::string Titolo;          // column title
  double Larghezza = 0;        // mm
  bool ACapo = true;           // wrap at the border (else cut)
  int AllineamentoTitolo = 0;  // 0 left, 1 centred, 2 right
};

struct RigaTesto {
  std::string Testo;
  int Allineamento = 0;
};

struct Progetto {
  bool Orizzontale = false;
  double PaginaLarghezza = 210, PaginaAltezza = 296.9;  // mm
  int DimensioneFont = 10;
  Riquadro Tabella, Intestazione, NumeroPagina;
  std::vector<Colonna> Colonne;
  std::vector<RigaTesto> Intestazioni;
  bool NumeraPagine = false;
};

// Reads the project text (UTF-8); a project without a table throws.
Progetto LeggiProgetto(const std::string& testo);

}  // namespace pelk
