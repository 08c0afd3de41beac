#pragma once
// The customer price file of one band: the band's prices per article from
// the company's PREPARAPREZZO, the class and group descriptions and the
// quantity tiers of the band's net-price lists, as ";"-separated Windows-1252
// lines ending in CR LF.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace db {
class Database;
class Transaction;
class Param;
class Query;
}  // namespace db

namespace velmaro {

struct RichiestaFileClienti {
  std::string Fascia;   // the band's ID, already checked to be a whole number
  std::string Criteri;  // the exclusion criteria in use (what follows WHERE); empty: none
  std::string Data;     // calculation date as mm/dd/yyyy
  bool SoloListiniSelezionati = false;  // only rows priced by a selected list
  bool ColonnaUnica = false;            // tiers in one quoted cell
  std::vector<std::string> ListiniSelezionati;
};

// One tier of a list as read: whole quantity and the price text.
struct Scaglione {
  std::int64_t Quantita = 0;
  std::string Prezzo;
};

// The header line, without its line end.
std::string IntestazioneFileClienti(bool colonnaUnica);
// Appends one list's tiers (ascending quantities) to the tier text: a tier
// that covers no quantity above 0 is left out.
void AccodaScaglioni(const std::vector<Scaglione>& righe, bool colonnaUnica, std::string& testo);
// The tier text as the line carries it: the last separator dropped, and in
// one quoted cell for the single-column mode.
std::string ChiudiScaglioni(std::string testo, bool colonnaUnica);
// A value of the line: "'" becomes "´" and each CR LF one blank.
std::string PulisciValore(const std::string& valore);
// 100 * fatti / totale to the nearest integer, halves to even; 100 when
// there is nothing to count.
int PercentualeAvanzamento(std::int64_t fatti, std::int64_t totale);
// Whether the band text is a whole number that fits an ID; `numero` gets
// it as the statements write it.
bool FasciaIntera(const std::string& testo, std::string& numero);
// The message for a band text that is no whole number.
std::string ErroreFasciaNonIntera(const std::string& testo);

// The statements of a generation, one line each. The lists statement takes
// :ARTICOLO and :ESTENSIONE, the tiers statement also :ID.
std::string StatementPrincipale(const RichiestaFileClienti& richiesta);
std::string StatementListiniScaglioni(const std::string& fascia);
std::string StatementScaglioni(const std::string& data);

// Runs the statements on the company connection and writes the file. The
// three statements of one generation are prepared once.
class GeneratoreFileClienti {
 public:
  GeneratoreFileClienti(db::Database& database, db::Transaction& transazione);
  ~GeneratoreFileClienti();
  GeneratoreFileClienti(const GeneratoreFileClienti&) = delete;
  GeneratoreFileClienti& operator=(const GeneratoreFileClienti&) = delete;

  using Avanzamento = std::function<void(int percentuale)>;
  // Writes into a temporary file beside `percorso` and puts it in place
  // only when complete: a failure leaves the previous file as it was.
  void Genera(const RichiestaFileClienti& richiesta, const std::string& percorso,
              const Avanzamento& avanzamento);

 private:
  std::int64_t ContaArticoli(const std::string& criteri);
  std::string TestoScaglioni(const std::string& articolo, bool colonnaUnica);
  void Scrivi(const RichiestaFileClienti& r, std::ostream& file, const Avanzamento& avanzamento);

  db::Database& database_;
  db::Transaction& transazione_;
  std::unique_ptr<db::Query> principale_, listini_, scaglioni_;
  // Looked up once per generation: a lookup by name costs more than the
  // rest of setting a parameter.
  db::Param* articoloListini_ = nullptr;
  db::Param* articoloScaglioni_ = nullptr;
  db::Param* idScaglioni_ = nullptr;
};

}  // namespace velmaro
