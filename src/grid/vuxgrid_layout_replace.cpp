// Replacing an operator's grid layout: back to the query's own columns
// ("Aspetto Base") or a copy of another operator's ("Acq. aspetto da").
#include <memory>
#include <string>
#include <vector>

#include "context/dbutility.h"
#include "context/memorydata.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/sqlstatement.h"
#include "db/table.h"
#include "db/transaction.h"
#include "grid/acqaspettodavuxgrid.h"
#include "grid/avvuxgr.h"
#include "grid/layoutsql.h"
#include "grid/pvuxgrid.h"
#include "grid/vuxgrid.h"
#include "ui/application.h"
#include "ui/make.h"

namespace velmaro {

namespace {

// Clears AspettoSostituito on every way out.
class Sostituzione {
 public:
  explicit Sostituzione(TVuxGrid& g) : g_(g) { g_.AspettoSostituito = true; }
  ~Sostituzione() { g_.AspettoSostituito = false; }
  Sostituzione(const Sostituzione&) = delete;
  Sostituzione& operator=(const Sostituzione&) = delete;

 private:
  TVuxGrid& g_;
};

std::vector<std::string> Righe(std::initializer_list<std::string> testa,
                               const std::vector<std::string>& coda) {
  std::vector<std::string> righe(testa);
  righe.insert(righe.end(), coda.begin(), coda.end());
  return righe;
}

void Esegui(db::Database& database, db::Transaction& tr, const std::vector<std::string>& righe) {
  db::Query q(&database, &tr);
  q.ParamCheck = false;
  q.SQL.Assign(righe);
  q.ExecSQL();
}

const std::vector<std::string> kColonneCopia = {
    "CODICEPROGETTO,", "CODICESITUAZIONE,", "CODICEUTENTE,", "NOMECAMPO,",
    "LARGHEZZA,",      "POSIZIONE,",        "NOMECOLONNA,",  "ORDINAMENTO,",
    "VISIBILE,",       "COLORECOLONNA,",    "ORIGINE",       ")"};

std::vector<std::string> CopiaDa(const ChiaveSituazione& k, int daUtente) {
  std::vector<std::string> righe{"INSERT INTO STOASP1("};
  righe.insert(righe.end(), kColonneCopia.begin(), kColonneCopia.end());
  for (const std::string& r :
       {std::string("SELECT"), std::string("  CODICEPROGETTO,"), std::string("  CODICESITUAZIONE,"),
        "  " + std::to_string(k.utente) + " AS CODICEUTENTE,", std::string("  NOMECAMPO,"),
        std::string("  LARGHEZZA,"), std::string("  POSIZIONE,"), std::string("  NOMECOLONNA,"),
        std::string("  ORDINAMENTO,"), std::string("  VISIBILE,"), std::string("  COLORECOLONNA,"),
        std::string("  ORIGINE"), std::string("FROM"), std::string("  STOASP1"),
        std::string("WHERE")})
    righe.push_back(r);
  for (const std::string& r : RigheChiaveEstese({k.progetto, k.situazione, daUtente}))
    righe.push_back(r);
  return righe;
}

// The error box of a failed step: its text, then the database's message.
void MostraFallimento(const std::string& testo, const db::DbError& e) {
  ui::MessageDlg(testo + "\r" + e.what(), ui::MsgDlgType::Error, ui::mbOK);
}

// Shows the grid again after its stored layout was replaced. The search
// condition goes first, or a window's BeforeOpen would put it back.
void RiapriDopoSostituzione(TVuxGrid& g) {
  db::DataSet* ds = g.SorgenteDati();
  if (!ds) return;
  g.CondizioneRicerca.clear();
  if (g.TipoTabella == kTipoQuery) {
    g.RiapriQuery("");
    return;
  }
  if (g.TipoTabella == kTipoTabella) {
    ds->Close();
    ds->Open();
    return;
  }
  // An in-memory table keeps its rows only while open: it stays open with
  // every row shown and its columns as its fields give them.
  ds->SetFiltered(false);
  g.Columns().RebuildDefault();
}

}  // namespace

// "Aspetto Base". The deletions run in a no-wait transaction, as the copy's:
// rows another transaction holds (the same operator's editor in another
// process) fail the reset at once instead of freezing the window. A failed
// reset commits nothing and shows the layout as it was.
void TVuxGrid::AzzeraAspettoGriglia() {
  auto avviso = ui::MakeOwned<TAvVuxGrForm>(this);
  avviso->Font = Font;
  avviso->ShowModal();
  if (avviso->Risposta != 1) return;
  avviso.reset();
  db::Database* database = DatabaseGriglia();
  if (!database) return;
  Sostituzione sostituzione(*this);
  if (FormPersonalizza) {
    FormPersonalizza->IBQuery1().Close();
    if (FormPersonalizza->IBTransaction1().Active()) FormPersonalizza->IBTransaction1().Rollback();
  }
  const ChiaveSituazione chiave{CodiceProgetto, CodiceSituazione, Utente};
  try {
    std::unique_ptr<db::Transaction> tr = CreateLockTransaction(*database);
    std::vector<std::string> layout{"DELETE FROM \"" + TabellaAspettoGriglia + "\""};
    for (const std::string& r : RigheChiave(chiave)) layout.push_back(r);
    Esegui(*database, *tr, layout);
    Esegui(*database, *tr, Righe({"DELETE FROM STOPOS1", "WHERE"}, RigheChiaveEstese(chiave)));
    tr->Commit();
  } catch (const db::DbError& e) {
    MostraFallimento("Fallito azzeramento aspetto griglia:", e);
    if (FormPersonalizza) FormPersonalizza->Ripristina();
    return;
  }
  // A layout that could not be stored goes with the replaced one.
  nonSalvato_.reset();
  RiapriDopoSostituzione(*this);
  SalvaAspettoGriglia();
  if (FormPersonalizza) FormPersonalizza->CaricaGriglia();
}

// "Acq. aspetto da"
void TVuxGrid::AcquisisciAspettoDaUtente() {
  db::Database* database = DatabaseGriglia();
  if (!database) return;
  const ChiaveSituazione chiave{CodiceProgetto, CodiceSituazione, Utente};
  std::unique_ptr<db::Transaction> tr = CreateLockTransaction(*database);
  auto dialogo = ui::MakeOwned<TAcqAspettoDaVuxGridForm>(this);
  dialogo->Font = Font;
  {
    db::Query q(database, tr.get());
    q.ParamCheck = false;
    q.SQL.Assign({"SELECT DISTINCT", "  CODICEUTENTE", "FROM", "  STOASP1", "WHERE",
                  "  CODICEPROGETTO=" + std::to_string(chiave.progetto), "  AND",
                  "  CODICESITUAZIONE=" + std::to_string(chiave.situazione), "  AND",
                  "  CODICEUTENTE<>" + std::to_string(chiave.utente), "ORDER BY",
                  "  CODICEUTENTE"});
    for (q.Open(); !q.Eof(); q.Next()) dialogo->ComboUtente->Items.Add(q.Fields()[0]->AsString());
  }
  if (dialogo->ShowModal() != ui::mrOk) return;
  const int daUtente = std::stoi(dialogo->ComboUtente->Items[dialogo->ComboUtente->ItemIndex()]);
  Sostituzione sostituzione(*this);
  try {
    Esegui(*database, *tr, Righe({"DELETE FROM STOASP1", "WHERE"}, RigheChiaveEstese(chiave)));
  } catch (const db::DbError& e) {
    MostraFallimento("Fallito azzeramento aspetto griglia:", e);
    return;
  }
  try {
    Esegui(*database, *tr, CopiaDa(chiave, daUtente));
    tr->CommitRetaining();
  } catch (const db::DbError& e) {
    MostraFallimento("Fallito copia aspetto griglia:", e);
    return;
  }
  nonSalvato_.reset();
  RiapriDopoSostituzione(*this);
  if (FormPersonalizza) {
    db::Transaction& editore = FormPersonalizza->IBTransaction1();
    FormPersonalizza->IBQuery1().Close();
    if (editore.Active()) editore.Rollback();
    editore.StartTransaction();
    FormPersonalizza->CaricaGriglia();
  }
  tr->Commit();
}

}  // namespace velmaro
