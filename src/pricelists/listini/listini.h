#pragma once
// The price-list tables as the editor uses them: list types, the selection
// columns of discount lists and their labels, date literals, and the
// statements on LISTSC that the list page runs. Pure functions: the editor
// reads TABX and the dialogs, these compose the texts.
#include <functional>
#include <string>
#include <vector>

namespace velmaro::listini {

// ---- list types: the stored letter and the name the header dialog offers
struct TipoListino {
  const char* codice;
  const char* nome;
};
inline constexpr TipoListino kTipi[] = {{"N", "NETTO"},
                                        {"S", "SCONTO"},
                                        {"P", "SCONTISPECIALI"},
                                        {"R", "RICARICO"},
                                        {"T", "SCONTISPECIALINETTI"}};
// "SCONTO" gives "S" and so on; any other text "N".
std::string CodiceDaNomeTipo(const std::string& nome);
// "S" gives "SCONTO"; an unknown code gives "".
std::string NomeTipoDaCodice(const std::string& codice);
bool NomeTipoValido(const std::string& nome);

// ---- selection columns and their labels
// Reads a module-wide TABX value by name ("Classificazione1", ...).
using LettoreTabX = std::function<std::string(const std::string& nome)>;

inline constexpr const char* kEtichettaCodice = "CODICE ARTICOLO";
inline constexpr const char* kEtichettaEstensione = "ESTENSIONE CODICE";

// Column to label: 'CLASSIFICAZIONEn' gives the TABX value ClassificazioneN;
// the column itself when that is empty or the column is of another kind.
std::string EtichettaCampoSel(const std::string& colonna, const LettoreTabX& tabx);
// Label to column: the first ClassificazioneN equal to the label gives
// 'CLASSIFICAZIONEn'; otherwise the label itself.
std::string CampoSelDaEtichetta(const std::string& etichetta, const LettoreTabX& tabx);
// The six labels in order 1..6 ("CLASSIFICAZIONEn" where TABX has none).
std::vector<std::string> EtichetteClassificazioni(const LettoreTabX& tabx);

// ---- literals
// A date text in the short form (dd/MM/yyyy) as 'MM-DD-YYYY' without quotes;
// throws plat::ConvertError for a text that is no date.
std::string ReturnDateSQL(const std::string& data);
inline std::string DataPerSqlConTrattini(const std::string& data) { return ReturnDateSQL(data); }
// Whether the text reads as a date in the short form (TestoEUnaData).
bool EUnaData(const std::string& testo);
// Whole number in the platform's sense (sign, digits, blanks before).
bool EUnIntero(const std::string& testo);

// ---- list header
// What the header dialog holds when confirmed.
struct CampiTestata {
  std::string codice, nome, tipo;  // tipo: the name chosen in the dialog
  std::string riferimento;
  std::string sel1, sel2, sel3;  // the labels in the three boxes
  std::string classificazione1, classificazione2;
  std::string inizio, fine;  // dates as dd/MM/yyyy
  bool nessunaInizio = false, nessunaFine = false;
};

// The values of a LISTSC row as they go into a statement (literals).
struct ValoriTestata {
  std::string id, nome, inizio, fine, riferimento, sel1, sel2, sel3, classificazione1,
      classificazione2, tipo;
};

// Composes the literals. `listinoNettiDef` is the TABX value
// ListinoNettiDefPerSconti, written as it stands for a discount list
// without a reference.
ValoriTestata ComponiTestata(const CampiTestata& campi, const LettoreTabX& tabx,
                             const std::string& listinoNettiDef);

std::vector<std::string> RigheInserisciListino(const ValoriTestata& v);
// The update never writes ID or TIPO: the row keeps its identity and type.
std::vector<std::string> RigheAggiornaListino(const ValoriTestata& v,
                                              const std::string& idCorrente);
// The three deletions of a list and its rows, one statement each.
std::vector<std::string> StatementiEliminaListino(const std::string& id);

// The list page's statement, filtered by a band when `fascia` is not empty.
std::vector<std::string> RigheElencoListini(const std::string& fascia);

}  // namespace velmaro::listini
