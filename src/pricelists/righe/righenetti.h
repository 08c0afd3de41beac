#pragma once
// The statements of the net-price rows (LISTSCDTNET): new rows, edits, a
// new period by date, the stale-row check, deletes. Typed texts have their
// apostrophes doubled; numbers are written with ".".
#include <string>
#include <vector>

#include "platform/format.h"
#include "pricelists/righe/righe.h"

namespace velmaro::netti {

// What the row dialog holds when confirmed.
struct CampiNetto : righe::CampiRiga {
  std::string codice, estensione, prezzo, scaglione;
};

// The values as they go into a statement (numbers and dates as literals,
// texts still as typed).
struct ValoriNetto {
  std::string codice, estensione, prezzo, inizio, fine, scaglione, provvigione;
  std::string soglia, quantita, multipli, omaCodice, omaEstensione;
};

// A new row keeps any number as its tier; an edit only a whole one, and
// writes the gift columns. Throw righe::ValoreNonValido for a price or a
// commission that is no number.
ValoriNetto ComponiNuovo(const CampiNetto& c);
ValoriNetto ComponiModifica(const CampiNetto& c);

// A stored row as the statements find it again.
struct RigaNetto {
  std::string codice, estensione;
  plat::DateTime inizio = 0;
  bool senzaInizio = false;  // DATAINIZIOVALIDITA is NULL
  double scaglione = 0;
  bool senzaEstensione = false, senzaScaglione = false;  // NULL in the row
};

// The extensions of an article, for "Applica valori a tutte le estensioni".
std::string SqlEstensioni(const std::string& codice);
std::vector<std::string> RigheInserisci(const std::string& lista, const ValoriNetto& v,
                                        const std::string& estensione);
std::vector<std::string> RigheAggiorna(const std::string& lista, const ValoriNetto& v,
                                       const RigaNetto& vecchia);
// The rows RigheAggiorna changes, read by its own conditions.
std::vector<std::string> RigheLeggiAggiorna(const std::string& lista, const RigaNetto& vecchia);
// The dialog's duplicate check: the same article, extension, start and tier.
std::vector<std::string> RigheDoppione(const std::string& lista, const std::string& codice,
                                       const std::string& estensione, plat::DateTime inizio,
                                       const std::string& scaglione);

// "Duplica con date default": a period starting on `nuovoInizio` already
// there; the running period closed the day before; the new period.
std::vector<std::string> RigheEsistePeriodo(const std::string& lista, const RigaNetto& r,
                                            plat::DateTime nuovoInizio);
std::vector<std::string> RigheChiudiPeriodo(const std::string& lista, const RigaNetto& r,
                                            plat::DateTime nuovoInizio);
// The rows RigheChiudiPeriodo closes, read by its own conditions.
std::vector<std::string> RigheLeggiPeriodo(const std::string& lista, const RigaNetto& r);
// `fine` is a literal: NULL or a quoted date.
std::vector<std::string> RigheNuovoPeriodo(const std::string& lista, const RigaNetto& r,
                                           const std::string& prezzo, plat::DateTime nuovoInizio,
                                           const std::string& fine);

// The row under the cursor, looked for by another transaction, and deleted.
std::vector<std::string> RigheCerca(const std::string& lista, const RigaNetto& r);
std::vector<std::string> RigheElimina(const std::string& lista, const RigaNetto& r);
std::string SqlAzzera(const std::string& lista);
std::string SqlElenco(const std::string& lista);

}  // namespace velmaro::netti
