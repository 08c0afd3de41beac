// The bound data set: its hooks, the grid's settings row, the sorted order
// written into the query's SQL before each open and the titles after it.
#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "context/dbutility.h"
#include "context/helpers.h"
#include "db/database.h"
#include "db/query.h"
#include "db/table.h"
#include "db/transaction.h"
#include "grid/layoutsql.h"
#include "grid/vuxgrid.h"
#include "ui/strings.h"

namespace velmaro {

namespace {

std::string TraVirgolette(const std::string& nome) { return "\"" + nome + "\""; }

std::vector<std::string> Dividi(const std::string& testo, char sep) {
  std::vector<std::string> parti;
  size_t inizio = 0;
  while (inizio <= testo.size()) {
    size_t fine = testo.find(sep, inizio);
    if (fine == std::string::npos) fine = testo.size();
    if (fine > inizio) parti.push_back(testo.substr(inizio, fine - inizio));
    inizio = fine + 1;
  }
  return parti;
}

std::string SenzaSpazi(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != ' ') out += c;
  return out;
}

// A select on its own no-wait transaction, ended when it goes.
struct Lettura {
  std::unique_ptr<db::Transaction> tr;
  std::unique_ptr<db::Query> q;
  Lettura(db::Database& d, const std::vector<std::string>& righe)
      : tr(CreateTransaction(d, MascheraLock)), q(std::make_unique<db::Query>(&d, tr.get())) {
    q->SQL.Assign(righe);
    q->Open();
  }
  ~Lettura() {
    q.reset();
    if (tr->InTransaction()) tr->Commit();
  }
};

}  // namespace

void TVuxGrid::SetSorgenteDati(db::DataSet* dataSet) {
  if (!dataSet) return;
  if (sorgente_) {
    sorgente_->AfterOpen = dopoApertura_;
    sorgente_->BeforeOpen = primaApertura_;
  }
  primaApertura_ = dopoApertura_ = nullptr;
  sorgente_ = dataSet;
  const std::string classe = dataSet->ClassName();
  int tipo = classe == "TIBQuery"        ? kTipoQuery
             : classe == "TIBTable"      ? kTipoTabella
             : classe == "TRxMemoryData" ? kTipoMemoria
                                         : -1;
  if (tipo >= 0) {
    TipoTabella = tipo;
    primaApertura_ = dataSet->BeforeOpen;
    dopoApertura_ = dataSet->AfterOpen;
    // The hooks outlive a grid freed first: then they run the window's own.
    auto self = Ref();
    dataSet->BeforeOpen = [self, prima = primaApertura_](db::DataSet& ds) {
      if (auto* g = static_cast<TVuxGrid*>(self.Get()))
        g->CaricaOrdinamento(ds);
      else if (prima)
        prima(ds);
    };
    dataSet->AfterOpen = [self, dopo = dopoApertura_](db::DataSet& ds) {
      if (auto* g = static_cast<TVuxGrid*>(self.Get()))
        g->DopoApertura(ds);
      else if (dopo)
        dopo(ds);
    };
  }
  if (TabellaAspettoGriglia.empty()) TabellaAspettoGriglia = "STOASP1";
  if (TabellaPosizioneFinestre.empty()) TabellaPosizioneFinestre = "STOPOS1";
  if (TabellaAspettoGriglie.empty()) TabellaAspettoGriglie = "SETGRID";
  LeggiImpostazioni();
}

// The operator's row of the settings table (a missing table is an error
// the window's set-up sees), then the TABX switch of the scratch layout.
void TVuxGrid::LeggiImpostazioni() {
  db::Database* d = DatabaseGriglia();
  if (!d) return;
  {
    Lettura l(*d, {"SELECT * FROM " + TraVirgolette(TabellaAspettoGriglie),
                   "WHERE (CodiceUtente=" + std::to_string(Utente) + ")",
                   "AND (CodiceProgetto=" + std::to_string(CodiceProgetto) + ")"});
    db::Query& q = *l.q;
    bool riga = !q.IsEmpty();
    auto colore = [&](const char* campo, ui::Color predefinito) {
      int v = riga ? q.FieldByName(campo).AsIntegerOr(0) : 0;
      return v == 0 ? predefinito : ui::Color(v);
    };
    coloreRecordSelezionato_ = colore("COLORERECORDSELEZ", kColoreRecordSelezionato);
    ColoreCampiIndicizzati = colore("COLORECAMPIINDIC", kColoreCampiIndicizzati);
    ColoreCampoOrdinato = colore("COLORECAMPOORD", kColoreCampoOrdinato);
    TimerRicercaAbilitato = !riga || q.FieldByName("ABILITATIMERRIC").AsIntegerOr(1) == 1;
    RicercaF5Sempre = riga && q.FieldByName("ABILITARICF5SEMPRE").AsIntegerOr(0) == 1;
  }
  try {
    Lettura l(*d,
              {"SELECT", "  TESTO", "FROM", "  TABX", "WHERE", "  NOME='DisabilitaMemPosGriglie'",
               "  AND", "  UTENTE=" + std::to_string(Utente)});
    if (!l.q->IsEmpty())
      DisabilitaMemPosGriglie = std::atoi(l.q->FieldByName("TESTO").AsString().c_str()) == 1;
  } catch (const std::exception&) {
    // A database without TABX keeps the layout memory on.
  }
}

// ---- before each open: the sorted order

void TVuxGrid::CaricaOrdinamento(db::DataSet& dataSet) {
  if (primaApertura_) primaApertura_(dataSet);
  auto* query = TipoTabella == kTipoQuery ? dynamic_cast<db::Query*>(&dataSet) : nullptr;
  if (query) TogliRigheRipetute(*query);
  db::Database* d = DatabaseGriglia();
  if (!d) throw std::runtime_error("La griglia non ha un database per le sue impostazioni");
  // The keys are read again at each open, except while the F5 dialog
  // reopens the query at each keystroke (it is modal, so nobody can have
  // changed them meanwhile) and while the grid's last save failed (the
  // sort shown was not stored).
  bool chiaviNote = FormRicerca != nullptr || nonSalvato_.has_value();
  if (ModoOrdinamento == 0) {
    LeggiModoOrdinamento();
    chiaviNote = false;
  }
  if (!chiaviNote) LeggiChiavi();
  if (query && OrderBy && !FormRicerca) ScriviOrderBy(*query);
  if (query) {
    // What the grid added past SQLIniziale, to recognise it if a window
    // copies the query's SQL back into SQLIniziale before the next open.
    righeAggiunte_.clear();
    baseNota_ = SQLIniziale.lines;
    const auto& righe = query->SQL.lines;
    if (righe.size() >= SQLIniziale.lines.size() &&
        std::equal(SQLIniziale.lines.begin(), SQLIniziale.lines.end(), righe.begin()))
      righeAggiunte_.assign(righe.begin() + long(SQLIniziale.lines.size()), righe.end());
  }
}

void TVuxGrid::LeggiModoOrdinamento() {
  std::vector<std::string> righe{"SELECT * FROM " + TraVirgolette(TabellaAspettoGriglia)};
  for (auto& r : RigheChiave({CodiceProgetto, CodiceSituazione, Utente})) righe.push_back(r);
  righe.push_back("AND (Ordinamento IS NOT NULL)");
  righe.push_back("AND (ABS(Ordinamento)>'2')");
  Lettura l(*DatabaseGriglia(), righe);
  ModoOrdinamento = l.q->IsEmpty() ? 1 : 2;
}

void TVuxGrid::LeggiChiavi() {
  db::Database& d = *DatabaseGriglia();
  auto chiave = [&](db::Query& q, int direzione) {
    ChiaveOrdinamento k;
    k.Direzione = direzione;
    k.NomeCampo = q.FieldByName("NOMECAMPO").AsString();
    k.Origine = EspressioneCampo(k.NomeCampo, q.FieldByName("ORIGINE").AsString());
    k.Colonna = q.FieldByName("POSIZIONE").AsIntegerOr(-1);
    return k;
  };
  const std::vector<std::string> chiaveSituazione =
      RigheChiave({CodiceProgetto, CodiceSituazione, Utente});
  if (ModoOrdinamento == 2) {
    std::vector<std::string> righe{
        "SELECT ABS(Ordinamento) AS ORD,Ordinamento,NomeCampo,Origine,Posizione FROM " +
        TraVirgolette(TabellaAspettoGriglia)};
    righe.insert(righe.end(), chiaveSituazione.begin(), chiaveSituazione.end());
    righe.push_back("AND (Ordinamento IS NOT NULL) ORDER BY ORD");
    Lettura l(d, righe);
    ChiaviOrdinamento.clear();
    for (l.q->First(); !l.q->Eof() && int(ChiaviOrdinamento.size()) < kMaxChiavi; l.q->Next()) {
      int ord = l.q->FieldByName("ORDINAMENTO").AsIntegerOr(0);
      if (ord != 0) ChiaviOrdinamento.push_back(chiave(*l.q, ord < 1 ? 2 : 1));
    }
  } else if (ModoOrdinamento == 1) {
    std::vector<std::string> righe{"SELECT * FROM " + TraVirgolette(TabellaAspettoGriglia)};
    righe.insert(righe.end(), chiaveSituazione.begin(), chiaveSituazione.end());
    righe.push_back("AND (Ordinamento IS NOT NULL)");
    Lettura l(d, righe);
    if (l.q->IsEmpty()) {
      Ordinamento.NomeCampo.clear();
    } else if (int ord = l.q->FieldByName("ORDINAMENTO").AsIntegerOr(0); ord != 0) {
      Ordinamento = chiave(*l.q, ord == 2 || ord < 0 ? 2 : 1);
    }
  }
}

// Origins of the fields SQLIniziale selects, read once per text.
std::vector<std::string> TVuxGrid::OrigineCampiSQLIniziale() {
  auto* query = dynamic_cast<db::Query*>(sorgente_);
  std::string testo = SQLIniziale.Text();
  if (!query || testo == testoOrigini_) return origini_;
  db::Query scratch(query->GetDatabase(), query->GetTransaction());
  scratch.SQL = SQLIniziale;
  scratch.Open();
  origini_.clear();
  for (db::Field* f : scratch.Fields()) origini_.push_back(f->Origin);
  testoOrigini_ = testo;
  return origini_;
}

bool TVuxGrid::ChiaveUtilizzabile(const ChiaveOrdinamento& k,
                                  const std::vector<std::string>& origini) const {
  if (k.NomeCampo.empty() || k.Origine.empty()) return false;
  for (const std::string& c : CampiPersonalizzati)
    if (ui::UpperCase(c) == k.NomeCampo) return true;
  return std::find(origini.begin(), origini.end(), k.Origine) != origini.end();
}

std::vector<std::string> TVuxGrid::RigheOrdinamento() {
  std::vector<std::string> righe;
  auto aggiungi = [&](const ChiaveOrdinamento& k) {
    std::string riga = (righe.empty() ? "ORDER BY " : ",") + k.Origine;
    righe.push_back(k.Direzione == 2 ? riga + " DESC" : riga);
  };
  if (ModoOrdinamento == 1 && !Ordinamento.NomeCampo.empty()) {
    if (ChiaveUtilizzabile(Ordinamento, OrigineCampiSQLIniziale())) aggiungi(Ordinamento);
  } else if (ModoOrdinamento == 2 && !ChiaviOrdinamento.empty()) {
    std::vector<std::string> origini = OrigineCampiSQLIniziale();
    for (const ChiaveOrdinamento& k : ChiaviOrdinamento)
      if (ChiaveUtilizzabile(k, origini)) aggiungi(k);
  }
  return righe;
}

void TVuxGrid::ScriviOrderBy(db::Query& query) {
  bool nessunaChiave =
      ModoOrdinamento == 2 ? ChiaviOrdinamento.empty() : Ordinamento.NomeCampo.empty();
  if (!nessunaChiave) {
    for (const std::string& r : RigheOrdinamento()) query.SQL.Add(r);
    return;
  }
  if (!OrdinePerChiavePrimaria || NomeTabella.empty()) return;
  Lettura l(*query.GetDatabase(),
            {"SELECT B.RDB$FIELD_NAME", "FROM RDB$RELATION_CONSTRAINTS A LEFT JOIN",
             "RDB$INDEX_SEGMENTS B ON", "(A.RDB$INDEX_NAME=B.RDB$INDEX_NAME)",
             "WHERE (A.RDB$RELATION_NAME='" + Apici(NomeTabella) + "')",
             "AND(A.RDB$CONSTRAINT_TYPE='PRIMARY KEY')", "ORDER BY B.RDB$FIELD_POSITION"});
  std::string elenco;
  for (l.q->First(); !l.q->Eof(); l.q->Next()) {
    std::string campo = SenzaSpazi(l.q->Fields()[0]->AsString());
    if (campo.empty()) continue;
    elenco += (elenco.empty() ? "" : ",") + NomeTabella + "." + campo;
  }
  if (!elenco.empty()) query.SQL.Add("ORDER BY " + elenco);
}

// A window's BeforeOpen that copies the query's SQL as it stands into
// SQLIniziale (condition and order included) would make the grid write the
// condition twice and F6 keep the filter: lines past the base known at the
// last open that the grid itself had added come off SQLIniziale again, and
// the query gets SQLIniziale plus one condition.
void TVuxGrid::TogliRigheRipetute(db::Query& query) {
  auto& base = SQLIniziale.lines;
  auto dellaGriglia = [&](const std::string& riga) {
    return (!CondizioneRicerca.empty() && riga == CondizioneRicerca) ||
           std::find(righeAggiunte_.begin(), righeAggiunte_.end(), riga) != righeAggiunte_.end();
  };
  if (!baseNota_.empty() && base.size() > baseNota_.size() &&
      std::equal(baseNota_.begin(), baseNota_.end(), base.begin()) &&
      std::all_of(base.begin() + long(baseNota_.size()), base.end(), dellaGriglia)) {
    base.resize(baseNota_.size());
    query.SQL = SQLIniziale;
    if (!CondizioneRicerca.empty()) query.SQL.Add(CondizioneRicerca);
    return;
  }
  if (CondizioneRicerca.empty()) return;
  auto& righe = query.SQL.lines;
  auto prima = std::find(righe.begin(), righe.end(), CondizioneRicerca);
  if (prima != righe.end())
    righe.erase(std::remove(prima + 1, righe.end(), CondizioneRicerca), righe.end());
}

// ---- after each open: layout and titles

void TVuxGrid::DopoApertura(db::DataSet& dataSet) {
  if (dopoApertura_) dopoApertura_(dataSet);
  if (TipoTabella == kTipoQuery || TipoTabella == kTipoTabella) CaricaAspettoGriglia();
  if (!CampoRicerca.empty()) SelezionaColonnaCampo(CampoRicerca);
  if (TipoTabella == kTipoTabella)
    if (auto* t = dynamic_cast<db::Table*>(&dataSet))
      CampiIndicizzati = CampiIndicizzatiTabella(*t);
  if (TipoTabella == kTipoQuery || TipoTabella == kTipoTabella) ColoraTitoli();
  if (DisabilitaMemPosGriglie) CopiaTemporaneaAspetto();
}

void TVuxGrid::ColoraTitoli() {
  const int n = Columns().Count();
  const std::vector<std::string> indicizzati = Dividi(CampiIndicizzati, ';');
  for (int i = 0; i < n; ++i) {
    ui::Column* c = Columns()[i];
    c->Title.Color = ui::ColumnTitle{}.Color;
    if (std::any_of(indicizzati.begin(), indicizzati.end(),
                    [&](const std::string& campo) { return ui::SameText(campo, c->FieldName); }))
      c->Title.Color = ColoreCampiIndicizzati;
  }
  auto colora = [&](int colonna, ui::Color colore) {
    if (colonna >= 0 && colonna < n) Columns()[colonna]->Title.Color = colore;
  };
  if (ModoOrdinamento == 1) {
    if (!Ordinamento.NomeCampo.empty()) colora(Ordinamento.Colonna, ColoreCampoOrdinato);
    return;
  }
  for (size_t k = 0; k < ChiaviOrdinamento.size(); ++k) {
    if (ChiaviOrdinamento[k].NomeCampo.empty()) continue;
    colora(ChiaviOrdinamento[k].Colonna, k == 0   ? ColoreCampoOrdinato
                                         : k == 1 ? kColoreSecondaChiave
                                                  : kColoreAltreChiavi);
  }
}

void TVuxGrid::RiapriQuery(const std::string& condizione) {
  auto* query = dynamic_cast<db::Query*>(sorgente_);
  if (!query || TipoTabella != kTipoQuery) return;
  query->Close();
  query->SQL = SQLIniziale;
  if (!condizione.empty()) query->SQL.Add(condizione);
  query->Open();
}

}  // namespace velmaro
