#pragma once
// The report project of the grid print: a List & Label 6 project in its text
// form, laid out from the grid's visible columns and the print options. The
// print library opens it by path; what it holds is fixed to the byte.
#include <cstdint>
#include <string>
#include <vector>

namespace velmaro {

// One visible column of the stored grid layout, in layout order.
struct ColonnaStampa {
  std::string NomeCampo;    // field of the grid's query, written as it stands
  std::string NomeColonna;  // title
  double Larghezza = 0;     // width on screen, in pixels
};

// The print component's choices that shape the project.
struct OpzioniProgetto {
  std::string Orientamento = "VERTICALE";  // or "ORIZZONTALE"
  int DimensioneFont = 10;
  std::string Intestazione1, Intestazione2;
  std::uint8_t AllineamentoIntestazione = 0;  // 0 left, 1 centred
  bool NumeraPagine = false;
  bool TroncaTesti = false;
  bool ForzaUltimaColonna = false;
};

// Printable width of the table in millimetres: 195 portrait, 282 otherwise.
int LarghezzaUtile(const std::string& orientamento);
// Screen pixels (96 dpi) to whole millimetres, halves to the even neighbour.
int PixelInMillimetri(double pixel);
// How many columns are printed: those that fit one after the other, plus the
// first one that does not when the last column is forced onto the page.
int ColonneStampate(const std::vector<ColonnaStampa>& colonne, int larghezzaUtile, bool forza);
// Millimetre widths of the printed columns; a forced last column ends
// exactly at the table's right edge.
std::vector<int> LarghezzeStampate(const std::vector<ColonnaStampa>& colonne, int larghezzaUtile,
                                   bool forza);

// The whole project text, UTF-8, lines ended by CR LF.
std::string TestoProgetto(const std::vector<ColonnaStampa>& colonne,
                          const OpzioniProgetto& opzioni);

}  // namespace velmaro
