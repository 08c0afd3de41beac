#pragma once
// The band tables as the bands page uses them: the statements on FASCESC,
// FASCESCDT and TIPIPR, and the record-search requests of the list pickers
// and of the customer and supplier association. Pure functions: the window
// and its dialogs read the controls, these compose the texts.
#include <string>
#include <vector>

namespace velmaro::fasce {

// What the band dialog holds when confirmed (texts as typed).
struct CampiFascia {
  std::string id, nome, classificazione1, classificazione2;
  std::string scontiSpec, scontiSpec2, scontiSpec3, ricarico, scontiSpecNetti;
};

// The insert of a new band, one text per statement line. Names,
// classifications and list IDs go in quoted with their apostrophes
// doubled; an empty classification or list is NULL.
std::vector<std::string> RigheInserisciFascia(const CampiFascia& f);
// The update of the band `f.id` (the ID itself is never changed).
std::vector<std::string> RigheAggiornaFascia(const CampiFascia& f);

// The three statements of a priority move: row `da` of the band takes
// number `a`, and a row numbered `a` (if any) takes `da`, through -1.
std::vector<std::string> StatementiSpostaRiga(const std::string& fascia, int da, int a);
// The select of the rows those statements touch: `da`, `a` and -1.
std::vector<std::string> RigheLeggiSpostamento(const std::string& fascia, int da, int a);

// The select of row `nriga` of band `fascia` (both quoted), in two lines.
std::vector<std::string> RigheCercaRiga(const std::string& fascia, const std::string& nriga);

// The first `n` characters of a UTF-8 text (a character is never split).
std::string PrimiCaratteri(const std::string& testo, std::size_t n);
// The price-type description of a band: the first 20 characters of its name.
std::string DescrizioneTipoPrezzo(const std::string& nome);

// The statements of an association, in order: the band into the
// customer's (supplier's) TIPOPREZZO, and the price type of the band.
std::string AggiornaTipoPrezzo(const std::string& tabella, const std::string& fascia,
                               const std::string& codice);
std::string ScriviTipoPrezzo(const std::string& fascia, const std::string& descrizione);

// Which lists a picker offers: the types its filter allows and the
// situation code of its search window and grid.
enum class Picker { ScontiSpeciali, Ricarico, ScontiSpecialiNetti, RigaFascia };
// The request of a list picker positioned on `valore` (the edit's text).
std::string RichiestaListino(Picker picker, const std::string& valore);
// The request of "&Associa" for customers (CLIENTI) or suppliers (FORNITO).
std::string RichiestaAssocia(bool fornitori);

// The documents of a band's duplication, as handed to Kestrin.dll: the
// copy of band `id` (the master row of FASCESC with its FASCESCDT rows
// linked by IDFASCIA), stamped with `data` and `ora`; and the paste into
// FASCESC asking the operator for a new ID and NOME. Each is the root
// element's XML alone.
std::string DocumentoCopia(const std::string& id, const std::string& data, const std::string& ora);
std::string DocumentoIncolla();

}  // namespace velmaro::fasce
