// The operator's layout of a grid: stored in the layout table when it
// changed, applied at each open, reset to the query's own columns or copied
// from another operator; and the scratch copy that keeps an operator's
// changes for the life of the grid only.
#include <memory>
#include <string>
#include <vector>

#include "context/dbutility.h"
#include "context/memorydata.h"
#include "context/positions.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/table.h"
#include "db/transaction.h"
#include "grid/layoutsql.h"
#include "grid/pvuxgrid.h"
#include "grid/rvuxgrid.h"
#include "grid/vuxgrid.h"
#include "ui/application.h"
#include "ui/make.h"
#include "ui/strings.h"
#include "ui/utf8.h"

namespace velmaro {

namespace {

// What SalvaAspettoGriglia compares of a stored row.
struct RigaSalvata {
  std::string nomeCampo;
  int posizione = 0;
  int larghezza = 0;
  int ordinamento = 0;  // NULL reads 0
};

std::string Taglia(const std::string& testo, int dimensione) {
  return dimensione > 0 ? ui::utf8::Sub(testo, 0, dimensione) : testo;
}

int Dimensione(const db::Query& q, const char* campo) {
  const db::Field* f = q.FindField(campo);
  return f ? f->Size() : 0;
}

// The stored mark of a column: 0 (NULL) for no key, the direction of the
// single key, or ±(10·k + 10) for key k of several.
int MarcaOrdinamento(const TVuxGrid& g, const std::string& campo) {
  if (g.ModoOrdinamento == 1)
    return !g.Ordinamento.NomeCampo.empty() && g.Ordinamento.NomeCampo == campo
               ? g.Ordinamento.Direzione
               : 0;
  for (size_t k = 0; k < g.ChiaviOrdinamento.size(); ++k)
    if (g.ChiaviOrdinamento[k].NomeCampo == campo) {
      const int marca = 10 * int(k) + 10;
      return g.ChiaviOrdinamento[k].Direzione == 2 ? -marca : marca;
    }
  return 0;
}

// The stored rows, in their order, against the columns shown.
bool ColonneCambiate(const std::vector<RigaAspettoGriglia>& mostrate,
                     const std::vector<RigaSalvata>& righe) {
  if (righe.size() != mostrate.size()) return true;
  for (size_t i = 0; i < mostrate.size(); ++i)
    if (righe[i].nomeCampo != mostrate[i].NomeCampo || righe[i].posizione != int(i) ||
        righe[i].larghezza != mostrate[i].Larghezza)
      return true;
  return false;
}

// Several stored keys hold 10, 20, ...: they never equal a direction, so a
// multi-key sort is always written again.
bool OrdinamentoCambiato(const TVuxGrid& g, const std::vector<RigaSalvata>& righe) {
  for (const RigaSalvata& r : righe) {
    const std::string campo = ui::UpperCase(r.nomeCampo);
    if (g.ModoOrdinamento == 1) {
      if (!g.Ordinamento.NomeCampo.empty() && campo == g.Ordinamento.NomeCampo &&
          r.ordinamento != g.Ordinamento.Direzione)
        return true;
      continue;
    }
    for (const ChiaveOrdinamento& k : g.ChiaviOrdinamento)
      if (k.NomeCampo == campo && r.ordinamento != k.Direzione) return true;
  }
  return false;
}

std::vector<RigaAspettoGriglia> LeggiAspetto(const TVuxGrid& g, db::Database& database) {
  db::Transaction tr(&database);
  tr.StartTransaction();
  db::Query q(&database, &tr);
  q.SQL.Assign(
      SelezioneChiave(g.TabellaAspettoGriglia, {g.CodiceProgetto, g.CodiceSituazione, g.Utente}));
  std::vector<RigaAspettoGriglia> righe;
  for (q.Open(); !q.Eof(); q.Next())
    righe.push_back(
        {q.FieldByName("NOMECAMPO").AsString(), q.FieldByName("POSIZIONE").AsIntegerOr(-1),
         LarghezzaSalvata(q.FieldByName("LARGHEZZA")), q.FieldByName("NOMECOLONNA").AsString(),
         q.FieldByName("COLORECOLONNA").AsIntegerOr(0),
         q.FieldByName("VISIBILE").AsIntegerOr(1) != 0});
  q.Close();
  if (tr.Active()) tr.Commit();
  return righe;
}

// The two passes over the stored rows: fields into their stored order,
// then each column's width, caption, colour and visibility. A row naming a
// field or column that no longer exists is skipped.
void ApplicaAspetto(TVuxGrid& g, const std::vector<RigaAspettoGriglia>& righe) {
  db::DataSet* ds = g.DataSet();
  for (const RigaAspettoGriglia& r : righe) {
    db::Field* f = ds->FindField(r.NomeCampo);
    // A field already in place is not moved: a move rebuilds the columns,
    // which would lose their title colours.
    if (f && r.Posizione >= 0 && r.Posizione < ds->FieldCount() && f->Index() != r.Posizione)
      f->SetIndex(r.Posizione);
  }
  for (const RigaAspettoGriglia& r : righe) {
    if (r.Posizione < 0 || r.Posizione >= g.Columns().Count()) continue;
    ui::Column* c = g.Columns()[r.Posizione];
    c->SetWidth(r.Larghezza);
    c->Title.Caption = r.NomeColonna;
    c->Color = r.Colore == 0 ? g.Color : ui::Color(r.Colore);
    c->Visible = r.Visibile;
  }
}

const std::vector<std::string> kColonneAspetto = {
    "CODICEPROGETTO,", "CODICESITUAZIONE,", "CODICEUTENTE,", "NOMECAMPO,",
    "LARGHEZZA,",      "POSIZIONE,",        "NOMECOLONNA,",  "ORDINAMENTO,",
    "VISIBILE,",       "COLORECOLONNA,",    "ORIGINE",       ")"};

}  // namespace

std::vector<RigaAspettoGriglia> TVuxGrid::AspettoMostrato() const {
  std::vector<RigaAspettoGriglia> righe;
  for (int i = 0; i < Columns().Count(); ++i) {
    const ui::Column* c = Columns()[i];
    const db::Field* f = c->Field();
    const std::string campo = ui::UpperCase(c->FieldName);
    righe.push_back({campo, i, c->Width(), c->TitleText(), std::int32_t(c->Color), c->Visible,
                     MarcaOrdinamento(*this, campo), ui::UpperCase(f ? f->Origin : "")});
  }
  return righe;
}

// Stores the present columns when they differ from the stored ones. A
// conflict may come from a save of the same rows committed after this one
// began: the save is made once more on a transaction started then; failing
// again, the rows are held by a transaction still running.
void TVuxGrid::SalvaAspettoGriglia() {
  db::DataSet* ds = DataSet();
  db::Database* database = DatabaseGriglia();
  if (!ds || !ds->Active() || !database) return;
  LayoutNonSalvato mostrato{CodiceSituazione, AspettoMostrato()};
  try {
    try {
      ScriviAspetto(*database, mostrato.righe);
    } catch (const db::DbError& e) {
      if (!e.IsLockConflict()) throw;
      ScriviAspetto(*database, mostrato.righe);
    }
  } catch (const db::DbError& e) {
    const bool giaDetto = nonSalvato_ == mostrato;
    nonSalvato_ = std::move(mostrato);
    if (!giaDetto) ui::App().ShowException(e);
    return;
  }
  nonSalvato_.reset();
}

// In a no-wait transaction: rows another transaction holds fail the save
// at once instead of freezing the window. A failure commits nothing.
void TVuxGrid::ScriviAspetto(db::Database& database, const std::vector<RigaAspettoGriglia>& righe) {
  const ChiaveSituazione chiave{CodiceProgetto, CodiceSituazione, Utente};
  std::unique_ptr<db::Transaction> tr = CreateLockTransaction(database);
  db::Query q(&database, tr.get());
  q.SQL.Assign(SelezioneChiave(TabellaAspettoGriglia, chiave));
  q.SQL.Add("ORDER BY Posizione");
  q.Open();
  std::vector<RigaSalvata> salvate;
  for (q.First(); !q.Eof(); q.Next())
    salvate.push_back({q.FieldByName("NOMECAMPO").AsString(),
                       q.FieldByName("POSIZIONE").AsIntegerOr(-1),
                       LarghezzaSalvata(q.FieldByName("LARGHEZZA")),
                       q.FieldByName("ORDINAMENTO").AsIntegerOr(0)});
  const int dimCampo = Dimensione(q, "NOMECAMPO"), dimOrigine = Dimensione(q, "ORIGINE"),
            dimColonna = Dimensione(q, "NOMECOLONNA");
  q.Close();
  if (ColonneCambiate(righe, salvate) || OrdinamentoCambiato(*this, salvate)) {
    AspettoInRicercaLetto = false;
    q.SQL.Assign({"DELETE FROM \"" + TabellaAspettoGriglia + "\""});
    for (const std::string& riga : RigheChiave(chiave)) q.SQL.Add(riga);
    q.ExecSQL();
    q.SQL.Assign({"INSERT INTO " + TabellaAspettoGriglia + "("});
    for (const std::string& riga : kColonneAspetto) q.SQL.Add(riga);
    for (const std::string& riga :
         {std::string("VALUES("), std::to_string(CodiceProgetto) + ",",
          std::to_string(CodiceSituazione) + ",", std::to_string(Utente) + ",",
          std::string(":NOMECAMPO,"), std::string(":LARGHEZZA,"), std::string(":POSIZIONE,"),
          std::string(":NOMECOLONNA,"), std::string(":ORDINAMENTO,"), std::string(":VISIBILE,"),
          std::string(":COLORECOLONNA,"), std::string(":ORIGINE"), std::string(")")})
      q.SQL.Add(riga);
    q.ParamCheck = true;
    q.Prepare();
    for (const RigaAspettoGriglia& r : righe) {
      q.ParamByName("NOMECAMPO").SetAsString(Taglia(r.NomeCampo, dimCampo));
      q.ParamByName("ORIGINE").SetAsString(Taglia(r.Origine, dimOrigine));
      q.ParamByName("POSIZIONE").SetAsInteger(r.Posizione);
      q.ParamByName("LARGHEZZA").SetAsInteger(r.Larghezza);
      q.ParamByName("NOMECOLONNA").SetAsString(Taglia(r.NomeColonna, dimColonna));
      q.ParamByName("COLORECOLONNA").SetAsInteger(r.Colore);
      q.ParamByName("VISIBILE").SetAsInteger(r.Visibile ? 1 : 0);
      r.Ordinamento ? q.ParamByName("ORDINAMENTO").SetAsInteger(r.Ordinamento)
                    : q.ParamByName("ORDINAMENTO").Clear();
      q.ExecSQL();
    }
  }
  tr->Commit();
}

// Applies the stored layout to the open data set; on a closed query it
// appends the active search condition instead (a window rebuilding its
// query in BeforeOpen gets the search back this way).
void TVuxGrid::CaricaAspettoGriglia() {
  db::DataSet* ds = DataSet();
  if (!ds) return;
  if (!ds->Active()) {
    auto* q = dynamic_cast<db::Query*>(ds);
    if (q && TipoTabella == kTipoQuery && !CondizioneRicerca.empty()) q->SQL.Add(CondizioneRicerca);
    return;
  }
  auto* tabella = TipoTabella == kTipoTabella ? dynamic_cast<db::Table*>(ds) : nullptr;
  if (tabella && ModoOrdinamento == 1 && !Ordinamento.NomeCampo.empty() && !FormRicerca)
    tabella->SetIndexFieldNames(Ordinamento.NomeCampo);
  db::Database* database = DatabaseGriglia();
  if (!database) return;
  if (nonSalvato_) {
    ApplicaAspetto(*this, nonSalvato_->righe);
  } else if (!FormRicerca) {
    ApplicaAspetto(*this, LeggiAspetto(*this, *database));
  } else {
    if (!AspettoInRicercaLetto) AspettoInRicerca = LeggiAspetto(*this, *database);
    AspettoInRicercaLetto = true;
    ApplicaAspetto(*this, AspettoInRicerca);
  }
  if (ModoOrdinamento == 1 && !Ordinamento.NomeCampo.empty()) {
    if (auto* memoria = TipoTabella == kTipoMemoria ? dynamic_cast<TRxMemoryData*>(ds) : nullptr)
      memoria->SortByFields(Ordinamento.NomeCampo, true, Ordinamento.Direzione == 2);
    if (Ordinamento.Colonna >= 0 && Ordinamento.Colonna < Columns().Count())
      Columns()[Ordinamento.Colonna]->Title.Color = ColoreCampoOrdinato;
  }
  if (tabella) {
    tabella->UpdateIndexDefs();
    CampiIndicizzati = CampiIndicizzatiTabella(*tabella);
    ColoraTitoli();
  }
}

// End of each AfterOpen: with the operator's switch on, the grid goes on
// under the negated code, so what he changes lasts while the grid lives.
void TVuxGrid::CopiaTemporaneaAspetto() {
  if (!DisabilitaMemPosGriglie || CodiceSituazione <= 0) return;
  CodiceSituazione = -CodiceSituazione;
  SalvaAspettoGriglia();
}

// "Personalizza Griglia": the layout editor on the stored rows.
void TVuxGrid::PersonalizzaGriglia() {
  SalvaAspettoGriglia();
  auto editor = ui::MakeOwned<TPVuxGridForm>(this, DatabaseGriglia(), CodiceSituazione, Utente,
                                             CodiceProgetto, TabellaAspettoGriglia);
  editor->Font = Font;
  editor->Font.Size = std::min(editor->Font.Size, 10);
  editor->SetCaption("Personalizzazione Griglia");
  editor->ButtonAspettoBase->OnClick = [this](ui::Component*) { AzzeraAspettoGriglia(); };
  editor->ButtonAcqAspetto->OnClick = [this](ui::Component*) { AcquisisciAspettoDaUtente(); };
  FormPersonalizza = editor.get();
  struct Fine {
    TVuxGrid* g;
    ~Fine() { g->FormPersonalizza = nullptr; }
  } fine{this};
  editor->ShowModal();
  editor.reset();
  FormPersonalizza = nullptr;
  // The columns come back as the editor left the stored rows; a sort that
  // could not be stored stays in the grid and goes with its next save.
  nonSalvato_.reset();
  CaricaAspettoGriglia();
}

}  // namespace velmaro

namespace velmaro {

namespace {

int ScegliVoce(const ui::RadioGroup& gruppo, int voce) {
  return voce >= 0 && voce < gruppo.Items.Count() ? voce : gruppo.ItemIndex();
}

}  // namespace

// The search dialog where the operator left it, with his last options;
// centred on the screen the first time.
void TVuxGrid::CaricaPosizioneFinestra(TRVuxGridForm& dialogo) {
  db::Database* database = DatabaseGriglia();
  if (!database) return;
  db::Transaction tr(database);
  tr.StartTransaction();
  db::Query q(database, &tr);
  q.SQL.Assign(
      SelezioneChiave(TabellaPosizioneFinestre, {CodiceProgetto, CodiceSituazione, Utente}));
  q.Open();
  if (!q.IsEmpty()) {
    dialogo.Position = ui::FormPosition::Designed;
    dialogo.SetBounds(q.FieldByName("POSX").AsIntegerOr(dialogo.Left()),
                      q.FieldByName("POSY").AsIntegerOr(dialogo.Top()), dialogo.Width(),
                      dialogo.Height());
    dialogo.EditTipoRicerca->SetItemIndex(
        ScegliVoce(*dialogo.EditTipoRicerca, q.FieldByName("INFO3").AsIntegerOr(-1)));
    dialogo.EditUpper->SetChecked(q.FieldByName("INFO4").AsIntegerOr(0) == 1);
    dialogo.EditOrdinamento->SetItemIndex(
        ScegliVoce(*dialogo.EditOrdinamento, q.FieldByName("INFO1").AsIntegerOr(-1)));
  } else {
    dialogo.Position = ui::FormPosition::ScreenCenter;
  }
  q.Close();
  if (tr.Active()) tr.Commit();
}

// Writes the dialog's row only when something changed; DIMX and DIMY keep
// the values read, as the window positions of the same table rely on.
void TVuxGrid::SalvaPosizioneFinestra(TRVuxGridForm& dialogo) {
  db::Database* database = DatabaseGriglia();
  if (!database) return;
  const ChiaveSituazione chiave{CodiceProgetto, CodiceSituazione, Utente};
  const int tipo = dialogo.EditTipoRicerca->ItemIndex(),
            ordine = dialogo.EditOrdinamento->ItemIndex(),
            upper = dialogo.EditUpper->Checked() ? 1 : 0;
  db::Transaction tr(database);
  tr.StartTransaction();
  db::UpdateSQL aggiornamento;
  db::Query q(database, &tr);
  q.SQL.Assign(SelezioneChiave(TabellaPosizioneFinestre, chiave));
  q.Open();
  const bool esiste = !q.IsEmpty();
  // Compared as numbers, so that a stored value beyond 32 bits differs.
  if (esiste && q.FieldByName("POSX").AsFloat() == dialogo.Left() &&
      q.FieldByName("POSY").AsFloat() == dialogo.Top() &&
      q.FieldByName("INFO3").AsFloat() == tipo && q.FieldByName("INFO1").AsFloat() == ordine &&
      q.FieldByName("INFO4").AsFloat() == upper) {
    q.Close();
    tr.Commit();
    return;
  }
  q.UpdateObject = &aggiornamento;
  CostruisciSQLAggiornamento(q, TabellaPosizioneFinestre, "UPDATE", aggiornamento);
  CostruisciSQLAggiornamento(q, TabellaPosizioneFinestre, "INSERT", aggiornamento);
  for (const std::string& riga : RigheChiave(chiave)) aggiornamento.ModifySQL.Add(riga);
  if (esiste) {
    q.Edit();
  } else {
    q.Append();
    q.FieldByName("CodiceProgetto").SetAsInteger(chiave.progetto);
    q.FieldByName("CodiceSituazione").SetAsInteger(chiave.situazione);
    q.FieldByName("CodiceUtente").SetAsInteger(chiave.utente);
  }
  q.FieldByName("POSX").SetAsInteger(dialogo.Left());
  q.FieldByName("POSY").SetAsInteger(dialogo.Top());
  q.FieldByName("INFO3").SetAsInteger(tipo);
  q.FieldByName("INFO4").SetAsInteger(upper);
  q.FieldByName("INFO1").SetAsFloat(ordine);
  q.Post();
  q.UpdateObject = nullptr;
  q.Close();
  if (tr.Active()) tr.Commit();
}

}  // namespace velmaro
