#pragma once
// The record-search request: an XML text naming the table, the search
// fields, a fixed restriction, the row to position on, the fields of the
// answer and the keys of the grid layout and window position. Read once
// into plain values; the answer is the return fields' values joined by ";".
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmaro {

// A request that is not well-formed XML; the text holds the parser's message.
class ErroreRichiesta : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct DecodificaRicerca {
  std::string TabellaCol, CampoCol, CampoDec, Etichetta, IBDatabase;
};

struct CampoRicerca {
  std::string Nome, Etichetta, ValoreDefault;
  // The nested request, the element itself with its content ("" when absent).
  std::string RicercaSecLiv;
  bool HaRicercaSecLiv = false;  // the nested element has child elements
  // Only when Decodifica has at least one child element.
  std::optional<DecodificaRicerca> Decodifica;
};

struct FiltroRicerca {
  std::string QueryRaw, Query, CampoFiltro, ValoreContenuto;
  // The condition line added to the list statement, of the first form that
  // applies: the raw condition, the IN list (with "´" turned into "'" in
  // the query only), else the CONTAINING form.
  std::string Riga() const;
};

struct RichiestaRicerca {
  std::string NomeTabella;
  int CodiceProgetto = 0, SituazioneVuxGrid = 0, CodiceProgettoForm = 0, SituazioneForm = 0;
  std::string IBDatabase, FocusIniziale, CampoFile, CampoFoto;
  std::string ParametroArchivio, PercorsoArchivio;
  std::vector<CampoRicerca> CampiRic;
  // PosizionaCampo: names joined by ";" and the values in the same order.
  std::string PosizionaNomi;
  std::vector<std::string> PosizionaValori;
  std::optional<FiltroRicerca> Filtro;    // only when Filtro has child elements
  std::vector<std::string> CampiRitorno;  // empty: the key columns answer

  // Exactly "2" selects the second connection.
  bool SecondaConnessione() const { return IBDatabase == "2"; }
  const CampoRicerca* Campo(const std::string& nome) const;
};

// Reads a request given as UTF-8. Any root name; absent elements read as
// empty. Throws ErroreRichiesta for malformed XML and plat::ConvertError
// for a code that is no integer.
RichiestaRicerca LeggiRichiesta(const std::string& testo);
// The same for a request in Windows-1252, as the search library receives it.
RichiestaRicerca LeggiRichiestaAnsi(const std::string& ansi);

// The answer: the values joined by ";" (none: "").
std::string ComponiRisposta(const std::vector<std::string>& valori);

}  // namespace velmaro
