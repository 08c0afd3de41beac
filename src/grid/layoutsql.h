#pragma once
// Statement lines shared by the grid's layout and position rows: every row
// is found by the grid's situation key.
#include <string>
#include <vector>

namespace db {
class Field;
class Table;
}  // namespace db

namespace velmaro {

struct ChiaveSituazione {
  int progetto = 0;
  int situazione = 0;  // the code in use, negative under the scratch copy
  int utente = 0;
};

// "WHERE (CodiceSituazione=..)", "AND (CodiceUtente=..)", "AND (CodiceProgetto=..)".
std::vector<std::string> RigheChiave(const ChiaveSituazione& k);
// "SELECT * FROM "<tabella>"" and the key lines.
std::vector<std::string> SelezioneChiave(const std::string& tabella, const ChiaveSituazione& k);
// The key lines in the form "  CODICESITUAZIONE=..", "  AND", ... that the
// reset and the copy write after their "WHERE".
std::vector<std::string> RigheChiaveEstese(const ChiaveSituazione& k);
// A layout row's stored width (LARGHEZZA): -1, the column's own width, for
// one outside 0..kLarghezzaMassima, which no screen shows and whose sum
// with the others' would not fit an int.
inline constexpr int kLarghezzaMassima = 32767;
int LarghezzaSalvata(const db::Field& larghezza);
// Each index's field list followed by ";", the last ";" removed.
std::string CampiIndicizzatiTabella(const db::Table& tabella);

}  // namespace velmaro
