#pragma once
// The statements of the discount rows (LISTSCDTSCO), the column titles the
// discount page writes into the grid layouts (STOASP1), and the selection
// columns' pickers. Typed texts have their apostrophes doubled.
#include <functional>
#include <string>
#include <vector>

#include "platform/format.h"
#include "pricelists/righe/righe.h"

namespace velmaro::sconti {

// What the row dialog holds when confirmed; the selection values already
// resolved (a picked classification item gives its DESCRIZIONE).
struct CampiSconto : righe::CampiRiga {
  std::string descrizione, scaglione, sconto1, sconto2, sconto3;
  std::string valore1, valore2, valore3;
};

struct ValoriSconto {
  std::string descrizione, inizio, fine, scaglione, sconto1, sconto2, sconto3;
  std::string valore1, valore2, valore3, provvigione;
  std::string soglia, quantita, multipli, omaCodice, omaEstensione;
};

// Every discount row takes a whole tier (0 otherwise). Throws
// righe::ValoreNonValido for a commission that is no number.
ValoriSconto Componi(const CampiSconto& c);

// A stored row as the statements find it again.
struct RigaSconto {
  std::string descrizione;
  plat::DateTime inizio = 0;
  bool senzaInizio = false;
  double scaglione = 0;
  bool senzaDescrizione = false, senzaScaglione = false;  // NULL in the row
};

std::vector<std::string> RigheInserisci(const std::string& lista, const ValoriSconto& v);
std::vector<std::string> RigheAggiorna(const std::string& lista, const ValoriSconto& v,
                                       const RigaSconto& vecchia);
// The rows RigheAggiorna changes, read by its own conditions.
std::vector<std::string> RigheLeggiAggiorna(const std::string& lista, const RigaSconto& vecchia);
std::vector<std::string> RigheDoppione(const std::string& lista, const std::string& descrizione,
                                       plat::DateTime inizio, const std::string& scaglione);
std::vector<std::string> RigheCerca(const std::string& lista, const RigaSconto& r);
std::vector<std::string> RigheElimina(const std::string& lista, const RigaSconto& r);
std::string SqlAzzera(const std::string& lista);
std::string SqlElenco(const std::string& lista);

// ---- column titles of the discount grid
std::string SqlCampiSel(const std::string& lista);
// The title of value column n (1..3) for the list's selection column.
std::string Titolo(int n, const std::string& colonna,
                   const std::function<std::string(const std::string&)>& etichetta);
// Sets the title of VALORESELn in the operator's saved layout; the title is
// cut to the 25 characters NOMECOLONNA holds.
std::vector<std::string> RigheTitolo(int n, const std::string& titolo, int progetto, int situazione,
                                     int utente);

// ---- selection pickers
// A column naming a classification table ("CLASSIFICAZIONE1" ...); only a
// plain name qualifies, since it goes into the statement as a table name.
bool ETabellaClassificazione(const std::string& colonna);
std::string SqlClassificazione(const std::string& tabella);
// "CLASSIFICAZIONE1" gives "Classificazione1".
std::string SoloPrimaMaiuscola(const std::string& colonna);
// The text the picker shows for a row of a classification table.
std::string VoceClassificazione(const std::string& descrizione, const std::string& descrizione1);

}  // namespace velmaro::sconti
