#include "pricelists/righe/righesconti.h"

#include <cctype>

#include "context/helpers.h"
#include "pricelists/righe/righe.h"
#include "ui/utf8.h"

namespace velmaro::sconti {

using righe::DataTrattini;

namespace {

std::string Quotata(plat::DateTime data) { return "'" + DataTrattini(data) + "'"; }

std::string Inizio(const RigaSconto& r) {
  return r.senzaInizio ? "DATAINIZIOVALIDITA IS NULL"
                       : "DATAINIZIOVALIDITA='" + DataTrattini(r.inizio) + "'";
}

std::string Descrizione(const RigaSconto& r) {
  return righe::Condizione("DESCRIZIONE", r.senzaDescrizione, "'" + Apici(r.descrizione) + "'");
}

std::string Scaglione(const RigaSconto& r) {
  return righe::Condizione("QUANTITASCAGLIONE", r.senzaScaglione,
                           "'" + righe::NumeroPerSQL(r.scaglione) + "'");
}

// The row an edit changes, as the edit's statement finds it.
std::vector<std::string> DoveRiga(const std::string& lista, const RigaSconto& vecchia) {
  return {"WHERE IDLISTSC='" + Apici(lista) + "' AND " + Descrizione(vecchia),
          " AND " + Inizio(vecchia), " AND " + Scaglione(vecchia)};
}

}  // namespace

ValoriSconto Componi(const CampiSconto& c) {
  ValoriSconto v;
  v.descrizione = c.descrizione;
  v.inizio = Quotata(c.inizio);
  v.fine = c.nessunaFine || c.fine <= 0 ? "NULL" : Quotata(c.fine);
  v.scaglione = righe::InteroOZero(c.scaglione);
  v.sconto1 = righe::ScontoSQL(c.sconto1);
  v.sconto2 = righe::ScontoSQL(c.sconto2);
  v.sconto3 = righe::ScontoSQL(c.sconto3);
  v.valore1 = LetteraleONull(c.valore1);
  v.valore2 = LetteraleONull(c.valore2);
  v.valore3 = LetteraleONull(c.valore3);
  v.provvigione = righe::NumeroONull(c.provvigione);
  v.soglia = righe::InteroOZero(c.omaSoglia);
  v.quantita = righe::InteroOZero(c.omaQuantita);
  v.multipli = righe::InteroOZero(c.omaMultipli);
  v.omaCodice = c.omaCodice;
  v.omaEstensione = c.omaEstensione;
  return v;
}

std::vector<std::string> RigheInserisci(const std::string& lista, const ValoriSconto& v) {
  return {
      "INSERT INTO "
      "LISTSCDTSCO(IDLISTSC,DESCRIZIONE,DATAINIZIOVALIDITA,DATAFINEVALIDITA,QUANTITASCAGLIONE,",
      "SCONTO1,SCONTO2,SCONTO3,VALORESEL1,VALORESEL2,VALORESEL3,PROVVIGIONE)",
      "VALUES(" + lista + ",'" + Apici(v.descrizione) + "'," + v.inizio + "," + v.fine + "," +
          v.scaglione + ",",
      v.sconto1 + "," + v.sconto2 + "," + v.sconto3 + "," + v.valore1 + "," + v.valore2 + "," +
          v.valore3 + "," + v.provvigione + ")"};
}

std::vector<std::string> RigheAggiorna(const std::string& lista, const ValoriSconto& v,
                                       const RigaSconto& vecchia) {
  std::vector<std::string> righe = {
      "UPDATE LISTSCDTSCO SET DESCRIZIONE='" + Apici(v.descrizione) + "', ",
      "DATAINIZIOVALIDITA=" + v.inizio + ", ",
      "DATAFINEVALIDITA=" + v.fine + ", ",
      "QUANTITASCAGLIONE=" + v.scaglione + ", ",
      "SCONTO1=" + v.sconto1 + ", ",
      "SCONTO2=" + v.sconto2 + ", ",
      "SCONTO3=" + v.sconto3 + ", ",
      "VALORESEL1=" + v.valore1 + ", ",
      "VALORESEL2=" + v.valore2 + ", ",
      "VALORESEL3=" + v.valore3 + ", ",
      "PROVVIGIONE=" + v.provvigione + " ",
      ",OMA_SOGLIA=" + v.soglia + ",OMA_QUANTITA=" + v.quantita + ",OMA_MULTIPLI=" + v.multipli,
      ",OMA_CODICE='" + Apici(v.omaCodice) + "'",
      ",OMA_ESTENSIONE='" + Apici(v.omaEstensione) + "'"};
  for (std::string& riga : DoveRiga(lista, vecchia)) righe.push_back(std::move(riga));
  return righe;
}

std::vector<std::string> RigheLeggiAggiorna(const std::string& lista, const RigaSconto& vecchia) {
  std::vector<std::string> righe = DoveRiga(lista, vecchia);
  righe.front() = "SELECT * FROM LISTSCDTSCO " + righe.front();
  return righe;
}

std::vector<std::string> RigheDoppione(const std::string& lista, const std::string& descrizione,
                                       plat::DateTime inizio, const std::string& scaglione) {
  return {"SELECT * FROM LISTSCDTSCO WHERE IDLISTSC='" + Apici(lista) + "' AND",
          "DESCRIZIONE='" + Apici(descrizione) + "' AND",
          "DATAINIZIOVALIDITA='" + DataTrattini(inizio) +
              "' AND QUANTITASCAGLIONE=" + righe::InteroOZero(scaglione)};
}

namespace {

std::vector<std::string> Condizioni(std::string prima, const RigaSconto& r) {
  return {std::move(prima), " AND " + Descrizione(r), " AND " + Scaglione(r), " AND " + Inizio(r)};
}

}  // namespace

std::vector<std::string> RigheCerca(const std::string& lista, const RigaSconto& r) {
  return Condizioni("SELECT * FROM LISTSCDTSCO WHERE IDLISTSC='" + Apici(lista) + "'", r);
}

std::vector<std::string> RigheElimina(const std::string& lista, const RigaSconto& r) {
  return Condizioni("DELETE FROM LISTSCDTSCO WHERE IDLISTSC='" + Apici(lista) + "'", r);
}

std::string SqlAzzera(const std::string& lista) {
  return "DELETE FROM LISTSCDTSCO WHERE IDLISTSC='" + Apici(lista) + "'";
}

std::string SqlElenco(const std::string& lista) {
  return "SELECT * FROM LISTSCDTSCO WHERE IDLISTSC='" + Apici(lista) + "'";
}

std::string SqlCampiSel(const std::string& lista) {
  return "SELECT CAMPOSEL1, CAMPOSEL2, CAMPOSEL3 FROM LISTSC WHERE ID=" + lista;
}

std::string Titolo(int n, const std::string& colonna,
                   const std::function<std::string(const std::string&)>& etichetta) {
  if (n == 1 && colonna == "CODICE") return "CODICEARTICOLO";
  if (colonna.empty()) return "CAMPOSEL" + std::to_string(n);
  return etichetta(colonna);
}

std::vector<std::string> RigheTitolo(int n, const std::string& titolo, int progetto, int situazione,
                                     int utente) {
  constexpr int kLarghezzaNomeColonna = 25;
  return {"UPDATE STOASP1 SET NOMECOLONNA='" +
              Apici(ui::utf8::Sub(titolo, 0, kLarghezzaNomeColonna)) + "' ",
          "WHERE CODICEPROGETTO=" + std::to_string(progetto) + " ",
          "AND CODICESITUAZIONE=" + std::to_string(situazione) + " ",
          "AND CODICEUTENTE=" + std::to_string(utente) + " ",
          "AND NOMECAMPO='VALORESEL" + std::to_string(n) + "'"};
}

bool ETabellaClassificazione(const std::string& colonna) {
  const std::string prefisso = "CLASSIFICAZIONE";
  if (colonna.compare(0, prefisso.size(), prefisso) != 0) return false;
  for (unsigned char c : colonna)
    if (!std::isalnum(c) && c != '_') return false;
  return true;
}

std::string SqlClassificazione(const std::string& tabella) {
  return "SELECT CODICE, DESCRIZIONE, DESCRIZIONE1 FROM " + tabella + " ORDER BY DESCRIZIONE";
}

std::string SoloPrimaMaiuscola(const std::string& colonna) {
  std::string s = colonna;
  for (std::size_t i = 1; i < s.size(); ++i)
    s[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(s[i])));
  return s;
}

std::string VoceClassificazione(const std::string& descrizione, const std::string& descrizione1) {
  return descrizione + " - " + descrizione1;
}

}  // namespace velmaro::sconti
