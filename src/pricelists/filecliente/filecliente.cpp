#include "pricelists/filecliente/filecliente.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <unordered_set>

#include "context/helpers.h"
#include "db/field.h"
#include "db/params.h"
#include "db/query.h"
#include "platform/encoding.h"
#include "platform/safefile.h"

namespace velmaro {

namespace {

constexpr const char* kIntestazione =
    "ARTICOLO;DESCRIZIONE;COD. CATEGORIA SCONTO;CATEGORIA SCONTO;COD. CATEGORIA ARTICOLO;"
    "CATEGORIA ARTICOLO;PREZZO NETTO;SCONTO 1;SCONTO 2;SCONTO 3;";
constexpr const char* kIntestazioneColonnaUnica = "PROMO";
constexpr const char* kIntestazioneColonneMultiple =
    "Q_SCAGLIONE1;PREZZO_SCAGLIONE1;Q_SCAGLIONE2;PREZZO_SCAGLIONE2;Q_SCAGLIONE3;"
    "PREZZO_SCAGLIONE3;Q_SCAGLIONE4;PREZZO_SCAGLIONE4;Q_SCAGLIONE5;PREZZO_SCAGLIONE5";

constexpr const char* kConteggioArticoli = "SELECT COUNT(*) C FROM ANAMAG WHERE 1=1";

// The main statement. ANAMAG holds one row per extension: the join takes
// one row per article (extension "0" where it exists), so an article with
// several extensions still gives one line.
constexpr const char* kPrincipaleTesta[] = {
    "SELECT p.ARTICOLO, p.DESCRIZIONE, C1.DESCRIZIONE C1DESC, C1.DESCRIZIONE1 C1DESC1, "
    "C2.DESCRIZIONE C2DESC, C2.DESCRIZIONE1 C2DESC2, ",
    " REPLACE(ROUND(p.PREZZONETTO,2)||'','.',','), REPLACE(ROUND(p.SCONTOUNO,2)||'','.',','),",
    " REPLACE(ROUND(p.SCONTODUE,2)||'','.',','), REPLACE(ROUND(p.SCONTOTRE,2)||'','.',','), ",
    " p.LISTINO_APP "};
constexpr const char* kPrincipaleCoda[] = {
    " LEFT JOIN ANAMAG a ON (a.CODICE=p.ARTICOLO AND a.ESTENSIONE=(SELECT FIRST 1 x.ESTENSIONE"
    " FROM ANAMAG x WHERE x.CODICE=p.ARTICOLO ORDER BY IIF(x.ESTENSIONE='0',0,1), x.ESTENSIONE))",
    " LEFT JOIN CLASSIFICAZIONE1 C1 ON (C1.DESCRIZIONE=a.CLASSIFICAZIONE1)",
    " LEFT JOIN CLASSIFICAZIONE2 C2 ON (C2.DESCRIZIONE=a.CLASSIFICAZIONE2)"};
constexpr int kValoriRiga = 10;  // the columns before LISTINO_APP

// The band's net lists holding a tier above 0 for the article.
constexpr const char* kListiniTesta[] = {
    "SELECT", "  L.ID,",       "  L.CAMPOSEL1,",           "  L.CAMPOSEL2,",     "  L.CAMPOSEL3",
    "FROM",   "  FASCESCDT F", "  INNER JOIN LISTSC L ON", "  F.IDLISTINO=L.ID", "WHERE"};
constexpr const char* kListiniCoda[] = {
    "  AND",
    "  L.TIPO='N'",
    "  AND",
    "  (",
    "    SELECT",
    "      COUNT(*)",
    "    FROM",
    "      LISTSCDTNET N",
    "    WHERE",
    "      N.IDLISTSC=L.ID",
    "      AND",
    "      N.CODICEARTICOLO=:ARTICOLO",
    "      AND",
    "      TRIM('0' FROM COALESCE(N.ESTCODICE,''))=TRIM('0' FROM :ESTENSIONE)",
    "      AND N.QUANTITASCAGLIONE>0",
    "  )>0"};

// The tiers of one list for the article, valid on the date.
constexpr const char* kScaglioniTesta[] = {
    "SELECT",
    "  LISTSCDTNET.IDLISTSC,",
    "  (",
    "    REPLACE(",
    "      ROUND(LISTSCDTNET.PREZZO,2)||'',",
    "      '.',",
    "      ','",
    "    )",
    "  ) AS PREZZO,",
    "  LISTSCDTNET.QUANTITASCAGLIONE",
    "FROM",
    "  LISTSCDTNET",
    "WHERE",
    "  LISTSCDTNET.CODICEARTICOLO=:ARTICOLO",
    "  AND",
    "  TRIM('0' FROM COALESCE(LISTSCDTNET.ESTCODICE,''))=TRIM('0' FROM :ESTENSIONE)",
    "  AND",
    "  LISTSCDTNET.IDLISTSC=:ID",
    "  AND",
    "  (",
    "    LISTSCDTNET.DATAINIZIOVALIDITA IS NULL",
    "    OR"};
constexpr const char* kScaglioniMezzo[] = {"  )", "  AND", "  (",
                                           "    LISTSCDTNET.DATAFINEVALIDITA IS NULL", "    OR"};
constexpr const char* kScaglioniCoda[] = {"  )", "ORDER BY", "  LISTSCDTNET.QUANTITASCAGLIONE ASC"};

// Only tiers of extension zero are read.
constexpr const char* kEstensioneZero = "0";

template <std::size_t N>
void Aggiungi(std::string& testo, const char* const (&righe)[N]) {
  for (const char* r : righe) testo.append(r).append("\n");
}

std::string Intero(std::int64_t n) { return std::to_string(n); }

std::string TestoCampo(const db::Field& f) { return f.IsNull() ? std::string() : f.AsString(); }

}  // namespace

std::string IntestazioneFileClienti(bool colonnaUnica) {
  return std::string(kIntestazione) +
         (colonnaUnica ? kIntestazioneColonnaUnica : kIntestazioneColonneMultiple);
}

void AccodaScaglioni(const std::vector<Scaglione>& righe, bool colonnaUnica, std::string& testo) {
  for (std::size_t i = 0; i < righe.size(); ++i) {
    const Scaglione& s = righe[i];
    const bool ultimo = i + 1 == righe.size();
    const std::int64_t fine = ultimo ? 0 : righe[i + 1].Quantita - 1;
    // A tier 0 followed by tier 1 covers no quantity above 0.
    if (ultimo ? s.Quantita <= 0 : (s.Quantita <= 0 && fine <= 0)) continue;
    testo += Intero(s.Quantita);
    if (!colonnaUnica) {
      testo.append(";").append(s.Prezzo).append(";");
      continue;
    }
    testo += '-';
    testo += ultimo ? std::string("999") : Intero(fine);
    testo.append(" ").append(s.Prezzo).append("\r\n");
  }
}

std::string ChiudiScaglioni(std::string testo, bool colonnaUnica) {
  if (testo.empty()) return testo;
  if (!colonnaUnica) {
    testo.pop_back();
    return testo;
  }
  testo.resize(testo.size() - 2);
  return "\"" + testo + "\"";
}

std::string PulisciValore(const std::string& valore) {
  std::string out;
  out.reserve(valore.size());
  for (std::size_t i = 0; i < valore.size(); ++i) {
    const char c = valore[i];
    if (c == '\'') {
      out += "\xC2\xB4";  // the acute accent
    } else if (c == '\r' && i + 1 < valore.size() && valore[i + 1] == '\n') {
      out += ' ';
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

int PercentualeAvanzamento(std::int64_t fatti, std::int64_t totale) {
  if (totale <= 0) return 100;
  const std::int64_t n = 100 * fatti;
  std::int64_t q = n / totale;
  const std::int64_t resto2 = 2 * (n % totale);
  if (resto2 > totale || (resto2 == totale && q % 2 != 0)) ++q;
  return static_cast<int>(q);
}

bool FasciaIntera(const std::string& testo, std::string& numero) {
  const std::size_t a = testo.find_first_not_of(' ');
  if (a == std::string::npos) return false;
  const std::size_t b = testo.find_last_not_of(' ');
  const char* inizio = testo.data() + a;
  const char* fine = testo.data() + b + 1;
  std::int32_t valore = 0;
  auto [resto, errore] = std::from_chars(inizio, fine, valore);
  if (errore != std::errc() || resto != fine) return false;
  numero = std::to_string(valore);
  return true;
}

std::string ErroreFasciaNonIntera(const std::string& testo) {
  return "La fascia \"" + testo + "\" non è un numero intero";
}

std::string StatementPrincipale(const RichiestaFileClienti& r) {
  std::string testo;
  Aggiungi(testo, kPrincipaleTesta);
  testo += " FROM PREPARAPREZZO(" + r.Fascia + ",'" + Apici(r.Criteri) + "','" + r.Data + "') p \n";
  Aggiungi(testo, kPrincipaleCoda);
  return testo;
}

std::string StatementListiniScaglioni(const std::string& fascia) {
  std::string testo;
  Aggiungi(testo, kListiniTesta);
  testo += "  F.IDFASCIA=" + fascia + "\n";
  Aggiungi(testo, kListiniCoda);
  return testo;
}

std::string StatementScaglioni(const std::string& data) {
  std::string testo;
  Aggiungi(testo, kScaglioniTesta);
  testo += "    LISTSCDTNET.DATAINIZIOVALIDITA<='" + data + "'\n";
  Aggiungi(testo, kScaglioniMezzo);
  testo += "    '" + data + "'<=LISTSCDTNET.DATAFINEVALIDITA\n";
  Aggiungi(testo, kScaglioniCoda);
  return testo;
}

GeneratoreFileClienti::GeneratoreFileClienti(db::Database& database, db::Transaction& transazione)
    : database_(database), transazione_(transazione) {}

GeneratoreFileClienti::~GeneratoreFileClienti() = default;

std::int64_t GeneratoreFileClienti::ContaArticoli(const std::string& criteri) {
  db::Query q(&database_, &transazione_);
  q.ParamCheck = false;  // the criteria are the operator's SQL
  q.SQL.Add(kConteggioArticoli);
  if (!criteri.empty()) q.SQL.Add(" AND NOT(" + criteri + ")");
  q.Open();
  return q.FieldByName("C").AsLargeInt();
}

std::string GeneratoreFileClienti::TestoScaglioni(const std::string& articolo, bool colonnaUnica) {
  listini_->Close();
  articoloListini_->SetAsString(articolo);
  listini_->Open();
  std::vector<std::int32_t> ids;
  for (listini_->First(); !listini_->Eof(); listini_->Next())
    ids.push_back(listini_->FieldByName("ID").AsInteger());
  listini_->Close();

  std::string testo;
  std::vector<Scaglione> righe;
  for (std::int32_t id : ids) {
    scaglioni_->Close();
    articoloScaglioni_->SetAsString(articolo);
    idScaglioni_->SetAsInteger(id);
    scaglioni_->Open();
    righe.clear();
    db::Field& prezzo = scaglioni_->FieldByName("PREZZO");
    db::Field& quantita = scaglioni_->FieldByName("QUANTITASCAGLIONE");
    for (scaglioni_->First(); !scaglioni_->Eof(); scaglioni_->Next())
      righe.push_back({std::llround(quantita.AsFloat()), TestoCampo(prezzo)});
    scaglioni_->Close();
    AccodaScaglioni(righe, colonnaUnica, testo);
  }
  return testo;
}

void GeneratoreFileClienti::Genera(const RichiestaFileClienti& r, const std::string& percorso,
                                   const Avanzamento& avanzamento) {
  // Prepared once for the whole generation: the first embeds the band, the
  // second the date.
  listini_ = std::make_unique<db::Query>(&database_, &transazione_);
  listini_->SQL.SetText(StatementListiniScaglioni(r.Fascia));
  scaglioni_ = std::make_unique<db::Query>(&database_, &transazione_);
  scaglioni_->SQL.SetText(StatementScaglioni(r.Data));
  listini_->Prepare();
  scaglioni_->Prepare();
  articoloListini_ = &listini_->ParamByName("ARTICOLO");
  listini_->ParamByName("ESTENSIONE").SetAsString(kEstensioneZero);
  articoloScaglioni_ = &scaglioni_->ParamByName("ARTICOLO");
  scaglioni_->ParamByName("ESTENSIONE").SetAsString(kEstensioneZero);
  idScaglioni_ = &scaglioni_->ParamByName("ID");

  try {
    plat::SafeFile file(percorso);
    if (plat::IsForeignFileName(percorso) || !file.Open())
      throw std::runtime_error("Impossibile creare il file " + percorso);
    Scrivi(r, file.Stream(), avanzamento);
    if (!file.Stream().flush())
      throw std::runtime_error("Errore di scrittura del file " + percorso);
    // A target that is a folder, or that cannot be replaced, is the
    // operator's to mend: told in words, not in the library's English.
    if (!file.Commit()) throw std::runtime_error("Impossibile creare il file " + percorso);
  } catch (...) {
    principale_.reset();
    listini_.reset();
    scaglioni_.reset();
    throw;
  }
  principale_.reset();
  listini_.reset();
  scaglioni_.reset();
}

void GeneratoreFileClienti::Scrivi(const RichiestaFileClienti& r, std::ostream& file,
                                   const Avanzamento& avanzamento) {
  const std::unordered_set<std::string> selezionati(r.ListiniSelezionati.begin(),
                                                    r.ListiniSelezionati.end());
  const std::int64_t articoli = ContaArticoli(r.Criteri);
  file << plat::Utf8ToAnsi(IntestazioneFileClienti(r.ColonnaUnica)) << "\r\n";

  principale_ = std::make_unique<db::Query>(&database_, &transazione_);
  principale_->ParamCheck = false;
  principale_->SQL.SetText(StatementPrincipale(r));
  principale_->Open();

  std::int64_t fatti = 0;
  std::string riga;
  for (principale_->First(); !principale_->Eof(); principale_->Next()) {
    const std::string listino = TestoCampo(principale_->FieldByNumber(kValoriRiga));
    if (!r.SoloListiniSelezionati || selezionati.count(listino)) {
      riga.clear();
      for (int i = 0; i < kValoriRiga; ++i)
        riga += PulisciValore(TestoCampo(principale_->FieldByNumber(i))) + ";";
      const std::string articolo = TestoCampo(principale_->FieldByNumber(0));
      riga += ChiudiScaglioni(TestoScaglioni(articolo, r.ColonnaUnica), r.ColonnaUnica) + ";";
      file << plat::Utf8ToAnsi(riga) << "\r\n";
      if (!file) throw std::runtime_error("Errore di scrittura del file");
    }
    ++fatti;
    if (avanzamento) avanzamento(PercentualeAvanzamento(fatti, articoli));
  }
  principale_->Close();
}

}  // namespace velmaro
