#include "pricelists/righe/righenetti.h"

#include "context/helpers.h"
#include "pricelists/righe/righe.h"

namespace velmaro::netti {

using righe::DataBarre;
using righe::DataTrattini;

namespace {

std::string Quotata(plat::DateTime data) { return "'" + DataTrattini(data) + "'"; }

// A date box that holds no day counts as no end date.
std::string FineONull(const CampiNetto& c) {
  return c.nessunaFine || c.fine <= 0 ? "NULL" : Quotata(c.fine);
}

ValoriNetto Comuni(const CampiNetto& c) {
  ValoriNetto v;
  v.codice = c.codice;
  v.estensione = c.estensione.empty() ? "0" : c.estensione;
  v.prezzo = righe::PrezzoSQL(c.prezzo);
  v.inizio = Quotata(c.inizio);
  v.fine = FineONull(c);
  v.provvigione = righe::NumeroONull(c.provvigione);
  return v;
}

// The article's conditions after the list's; the start as the row has it.
std::string Estensione(const RigaNetto& r) {
  return righe::Condizione("ESTCODICE", r.senzaEstensione, "'" + Apici(r.estensione) + "'");
}

std::string Articolo(const RigaNetto& r) {
  return "AND CODICEARTICOLO='" + Apici(r.codice) + "' AND " + Estensione(r) + " AND ";
}

std::string Inizio(const RigaNetto& r, const std::string& data) {
  return r.senzaInizio ? "DATAINIZIOVALIDITA IS NULL" : "DATAINIZIOVALIDITA='" + data + "'";
}

}  // namespace

ValoriNetto ComponiNuovo(const CampiNetto& c) {
  ValoriNetto v = Comuni(c);
  v.scaglione = righe::ScaglioneDecimale(c.scaglione);
  return v;
}

ValoriNetto ComponiModifica(const CampiNetto& c) {
  ValoriNetto v = Comuni(c);
  v.scaglione = righe::InteroOZero(c.scaglione);
  v.soglia = righe::InteroOZero(c.omaSoglia);
  v.quantita = righe::InteroOZero(c.omaQuantita);
  v.multipli = righe::InteroOZero(c.omaMultipli);
  v.omaCodice = c.omaCodice;
  v.omaEstensione = c.omaEstensione;
  return v;
}

std::string SqlEstensioni(const std::string& codice) {
  return "SELECT ESTENSIONE FROM ANAMAG WHERE CODICE='" + Apici(codice) + "'";
}

std::vector<std::string> RigheInserisci(const std::string& lista, const ValoriNetto& v,
                                        const std::string& estensione) {
  return {"INSERT INTO LISTSCDTNET(IDLISTSC,CODICEARTICOLO,ESTCODICE,PREZZO,",
          "DATAINIZIOVALIDITA,DATAFINEVALIDITA,QUANTITASCAGLIONE,PROVVIGIONE)",
          "VALUES(" + lista + ",'" + Apici(v.codice) + "','" + Apici(estensione) + "'," + v.prezzo +
              ",",
          v.inizio + "," + v.fine + "," + v.scaglione + "," + v.provvigione + ")"};
}

namespace {

// The row an edit changes, as the edit's statement finds it.
std::vector<std::string> DoveRiga(const std::string& lista, const RigaNetto& vecchia) {
  return {"WHERE IDLISTSC=" + lista + " AND CODICEARTICOLO='" + Apici(vecchia.codice) + "'",
          " AND " + Estensione(vecchia),
          " AND " + Inizio(vecchia, DataTrattini(vecchia.inizio)) + " ",
          "AND " + righe::Condizione("QUANTITASCAGLIONE", vecchia.senzaScaglione,
                                     righe::NumeroPerSQL(vecchia.scaglione))};
}

// Every tier of the article with the row's start, as the closing of the
// running period finds them.
std::vector<std::string> DovePeriodo(const std::string& lista, const RigaNetto& r) {
  return {"WHERE IDLISTSC='" + Apici(lista) + "'", Articolo(r), Inizio(r, DataBarre(r.inizio))};
}

// `prima` joined to the first of `dopo`'s lines, the rest following.
std::vector<std::string> Davanti(const std::string& prima, std::vector<std::string> dopo) {
  dopo.front() = prima + dopo.front();
  return dopo;
}

}  // namespace

std::vector<std::string> RigheAggiorna(const std::string& lista, const ValoriNetto& v,
                                       const RigaNetto& vecchia) {
  std::vector<std::string> righe = {
      "UPDATE LISTSCDTNET SET CODICEARTICOLO='" + Apici(v.codice) + "',ESTCODICE='" +
          Apici(v.estensione) + "',",
      "PREZZO=" + v.prezzo + ",DATAINIZIOVALIDITA=" + v.inizio + ",DATAFINEVALIDITA=" + v.fine +
          ",QUANTITASCAGLIONE=" + v.scaglione + ",PROVVIGIONE=" + v.provvigione,
      ",OMA_SOGLIA=" + v.soglia + ",OMA_QUANTITA=" + v.quantita + ",OMA_MULTIPLI=" + v.multipli,
      ",OMA_CODICE='" + Apici(v.omaCodice) + "'",
      ",OMA_ESTENSIONE='" + Apici(v.omaEstensione) + "'"};
  for (std::string& riga : DoveRiga(lista, vecchia)) righe.push_back(std::move(riga));
  return righe;
}

std::vector<std::string> RigheLeggiAggiorna(const std::string& lista, const RigaNetto& vecchia) {
  return Davanti("SELECT * FROM LISTSCDTNET ", DoveRiga(lista, vecchia));
}

std::vector<std::string> RigheDoppione(const std::string& lista, const std::string& codice,
                                       const std::string& estensione, plat::DateTime inizio,
                                       const std::string& scaglione) {
  return {
      "SELECT * FROM LISTSCDTNET WHERE IDLISTSC='" + Apici(lista) + "'",
      "AND CODICEARTICOLO='" + Apici(codice) + "' AND ESTCODICE='" + Apici(estensione) + "' AND ",
      "DATAINIZIOVALIDITA='" + DataTrattini(inizio) +
          "' AND QUANTITASCAGLIONE=" + righe::InteroOZero(scaglione)};
}

std::vector<std::string> RigheEsistePeriodo(const std::string& lista, const RigaNetto& r,
                                            plat::DateTime nuovoInizio) {
  return {"SELECT * FROM LISTSCDTNET WHERE IDLISTSC='" + Apici(lista) + "'", Articolo(r),
          "DATAINIZIOVALIDITA='" + DataTrattini(nuovoInizio) + "'"};
}

std::vector<std::string> RigheChiudiPeriodo(const std::string& lista, const RigaNetto& r,
                                            plat::DateTime nuovoInizio) {
  return Davanti(
      "UPDATE LISTSCDTNET SET DATAFINEVALIDITA='" + righe::GiornoPrimaBarre(nuovoInizio) + "' ",
      DovePeriodo(lista, r));
}

std::vector<std::string> RigheLeggiPeriodo(const std::string& lista, const RigaNetto& r) {
  return Davanti("SELECT * FROM LISTSCDTNET ", DovePeriodo(lista, r));
}

std::vector<std::string> RigheNuovoPeriodo(const std::string& lista, const RigaNetto& r,
                                           const std::string& prezzo, plat::DateTime nuovoInizio,
                                           const std::string& fine) {
  return {
      "INSERT INTO LISTSCDTNET(IDLISTSC,CODICEARTICOLO,ESTCODICE,PREZZO,DATAINIZIOVALIDITA,"
      "DATAFINEVALIDITA,QUANTITASCAGLIONE)",
      "VALUES(" + lista + ",'" + Apici(r.codice) + "','" + Apici(r.estensione) + "'," + prezzo +
          ",'" + DataTrattini(nuovoInizio) + "'," + fine + "," + righe::NumeroPerSQL(r.scaglione) +
          ")"};
}

namespace {

std::vector<std::string> Condizioni(const RigaNetto& r) {
  return {" AND CODICEARTICOLO='" + Apici(r.codice) + "' AND " + Estensione(r),
          " AND " + Inizio(r, DataTrattini(r.inizio)),
          " AND " + righe::Condizione("QUANTITASCAGLIONE", r.senzaScaglione,
                                      "'" + righe::NumeroPerSQL(r.scaglione) + "'")};
}

std::vector<std::string> Con(std::string prima, const std::vector<std::string>& dopo) {
  std::vector<std::string> righe{std::move(prima)};
  righe.insert(righe.end(), dopo.begin(), dopo.end());
  return righe;
}

}  // namespace

std::vector<std::string> RigheCerca(const std::string& lista, const RigaNetto& r) {
  return Con("SELECT * FROM LISTSCDTNET WHERE IDLISTSC='" + Apici(lista) + "'", Condizioni(r));
}

std::vector<std::string> RigheElimina(const std::string& lista, const RigaNetto& r) {
  return Con("DELETE FROM LISTSCDTNET WHERE IDLISTSC='" + Apici(lista) + "'", Condizioni(r));
}

std::string SqlAzzera(const std::string& lista) {
  return "DELETE FROM LISTSCDTNET WHERE IDLISTSC='" + Apici(lista) + "'";
}

std::string SqlElenco(const std::string& lista) {
  return "SELECT * FROM LISTSCDTNET WHERE IDLISTSC='" + Apici(lista) + "'";
}

}  // namespace velmaro::netti
