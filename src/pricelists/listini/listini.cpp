#include "pricelists/listini/listini.h"

#include "context/helpers.h"
#include "platform/format.h"

namespace velmaro::listini {

std::string CodiceDaNomeTipo(const std::string& nome) {
  for (const TipoListino& t : kTipi)
    if (nome == t.nome) return t.codice;
  return "N";
}

std::string NomeTipoDaCodice(const std::string& codice) {
  for (const TipoListino& t : kTipi)
    if (codice == t.codice) return t.nome;
  return {};
}

bool NomeTipoValido(const std::string& nome) {
  for (const TipoListino& t : kTipi)
    if (nome == t.nome) return true;
  return false;
}

namespace {
const std::string kClassificazione = "CLASSIFICAZIONE";

std::string NomeTabX(int n) { return "Classificazione" + std::to_string(n); }
}  // namespace

std::string EtichettaCampoSel(const std::string& colonna, const LettoreTabX& tabx) {
  if (colonna.empty()) return {};
  std::string etichetta;
  for (int n = 1; n <= 6; ++n)
    if (colonna == kClassificazione + std::to_string(n)) etichetta = tabx(NomeTabX(n));
  return etichetta.empty() ? colonna : etichetta;
}

std::string CampoSelDaEtichetta(const std::string& etichetta, const LettoreTabX& tabx) {
  if (etichetta.empty()) return {};
  for (int n = 1; n <= 6; ++n)
    if (tabx(NomeTabX(n)) == etichetta) return kClassificazione + std::to_string(n);
  return etichetta;
}

std::vector<std::string> EtichetteClassificazioni(const LettoreTabX& tabx) {
  std::vector<std::string> out;
  for (int n = 1; n <= 6; ++n) {
    std::string v = tabx(NomeTabX(n));
    out.push_back(v.empty() ? kClassificazione + std::to_string(n) : v);
  }
  return out;
}

std::string ReturnDateSQL(const std::string& data) {
  return MeseGiornoAnno(data, SeNonData::Eccezione);
}

bool EUnaData(const std::string& testo) { return TestoEUnaData(testo); }

bool EUnIntero(const std::string& testo) {
  int v = 0;
  return plat::TryStrToInt(testo, v);
}

namespace {

std::string DataONull(bool nessuna, const std::string& data) {
  return nessuna ? "NULL" : "'" + ReturnDateSQL(data) + "'";
}

// The selection column of a box: `speciale` is the label standing for
// `colonnaSpeciale` in that box ("CODICE ARTICOLO" in the first, ...).
std::string ColonnaSelezione(const std::string& etichetta, const char* speciale,
                             const char* colonnaSpeciale, const LettoreTabX& tabx) {
  if (etichetta.empty()) return "NULL";
  if (speciale && etichetta == speciale) return Letterale(colonnaSpeciale);
  std::string colonna = CampoSelDaEtichetta(etichetta, tabx);
  return Letterale(colonna.empty() ? etichetta : colonna);
}

// The settings' default net list: a list number goes in as it stands and an
// empty value still makes the statement fail, but any other text is typed
// text and goes in as a quoted literal, never as part of the statement.
std::string RiferimentoDefault(const std::string& valore) {
  const std::size_t segno = valore.size() > 1 && valore[0] == '-' ? 1 : 0;
  const bool numero =
      valore.size() > segno && valore.find_first_not_of("0123456789", segno) == std::string::npos;
  return valore.empty() || numero ? valore : Letterale(valore);
}

}  // namespace

ValoriTestata ComponiTestata(const CampiTestata& c, const LettoreTabX& tabx,
                             const std::string& listinoNettiDef) {
  ValoriTestata v;
  v.tipo = CodiceDaNomeTipo(c.tipo);
  v.id = std::to_string(plat::StrToIntDef(c.codice, 0));
  v.nome = Apici(c.nome);
  v.inizio = DataONull(c.nessunaInizio, c.inizio);
  v.fine = DataONull(c.nessunaFine, c.fine);
  if (v.tipo == "P" || v.tipo == "R")
    v.riferimento = "NULL";
  else if (!c.riferimento.empty())
    v.riferimento = Letterale(c.riferimento);
  else if (v.tipo == "S")
    v.riferimento = RiferimentoDefault(listinoNettiDef);
  else
    v.riferimento = "NULL";
  v.sel1 = ColonnaSelezione(c.sel1, kEtichettaCodice, "CODICE", tabx);
  v.sel2 = ColonnaSelezione(c.sel2, kEtichettaEstensione, "ESTENSIONE", tabx);
  v.sel3 = ColonnaSelezione(c.sel3, nullptr, nullptr, tabx);
  v.classificazione1 = LetteraleONull(c.classificazione1);
  v.classificazione2 = LetteraleONull(c.classificazione2);
  return v;
}

std::vector<std::string> RigheInserisciListino(const ValoriTestata& v) {
  return {
      "INSERT INTO LISTSC(ID,NOME,DATAINIZIOVALIDITA,DATAFINEVALIDITA,LISTSCRIF,CAMPOSEL1,"
      "CAMPOSEL2,CAMPOSEL3,CLASSIFICAZIONE1,CLASSIFICAZIONE2,TIPO)",
      "VALUES(" + v.id + ",'" + v.nome + "'," + v.inizio + "," + v.fine + "," + v.riferimento +
          "," + v.sel1 + "," + v.sel2 + "," + v.sel3 + "," + v.classificazione1 + "," +
          v.classificazione2 + ",'" + v.tipo + "')"};
}

std::vector<std::string> RigheAggiornaListino(const ValoriTestata& v,
                                              const std::string& idCorrente) {
  return {"UPDATE LISTSC",
          "SET NOME='" + v.nome + "',DATAINIZIOVALIDITA=" + v.inizio + ",DATAFINEVALIDITA=" +
              v.fine + ",LISTSCRIF=" + v.riferimento + ",CAMPOSEL1=" + v.sel1 + ",",
          "CAMPOSEL2=" + v.sel2 + ",CAMPOSEL3=" + v.sel3 +
              ",CLASSIFICAZIONE1=" + v.classificazione1 + ",CLASSIFICAZIONE2=" + v.classificazione2,
          "WHERE ID=" + idCorrente};
}

std::vector<std::string> StatementiEliminaListino(const std::string& id) {
  const std::string q = Apici(id);
  return {"DELETE FROM LISTSC WHERE ID='" + q + "'",
          "DELETE FROM LISTSCDTNET WHERE IDLISTSC='" + q + "'",
          "DELETE FROM LISTSCDTSCO WHERE IDLISTSC='" + q + "'"};
}

std::vector<std::string> RigheElencoListini(const std::string& fascia) {
  std::vector<std::string> r = {"SELECT * FROM LISTSC WHERE 1=1"};
  if (fascia.empty()) return r;
  r.push_back("AND ID IN (SELECT IDLISTINO FROM FASCESCDT WHERE IDFASCIA=" + fascia);
  r.push_back("UNION ALL SELECT LISTINOSCONTISPEC FROM FASCESC WHERE ID=" + fascia);
  r.push_back("UNION ALL SELECT LISTINORICARICO FROM FASCESC WHERE ID=" + fascia);
  r.push_back("UNION ALL SELECT LISTINOSCONTISPECNETTI FROM FASCESC WHERE ID=" + fascia);
  r.push_back(")");
  return r;
}

}  // namespace velmaro::listini
