#include "grid/pvuxgrid.h"

#include <optional>

#include "context/dbutility.h"
#include "context/positions.h"
#include "db/database.h"
#include "db/datasource.h"
#include "db/error.h"
#include "db/query.h"
#include "db/transaction.h"
#include "platform/abort.h"
#include "ui/application.h"
#include "ui/dbgrid.h"
#include "ui/make.h"

namespace velmaro {

TPVuxGridForm::TPVuxGridForm(ui::Component* owner, db::Database* database, int situazione,
                             int utente, int progetto, const std::string& tabella)
    : ui::Form(owner),
      situazione_(situazione),
      utente_(utente),
      progetto_(progetto),
      tabella_(tabella),
      transaction_(std::make_unique<db::Transaction>(database)),
      update_(std::make_unique<db::UpdateSQL>()),
      query_(std::make_unique<db::Query>(database, transaction_.get())),
      source_(std::make_unique<db::DataSource>(query_.get())) {
  SetName("PVuxGridForm");
  SetCaption("Personalizzazione Griglia");
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(560, 320);
  // No wait for rows another transaction holds (the operator's layout
  // saved from another process): the edit fails at once instead.
  SetTransactionParams(*transaction_, MascheraLock);
  query_->UpdateObject = update_.get();
  query_->BeforeInsert = [](db::DataSet&) { plat::Abort(); };
  query_->AfterPost = [this](db::DataSet&) { AnnotaModifica(modifiche_); };

  DBGrid1 = ui::Make<ui::DBGrid>(this, "DBGrid1", {8, 8, 420, 304});
  DBGrid1->SetDataSource(source_.get());
  DBGrid1->DefaultDrawing = false;
  DBGrid1->OnDrawDataCell = [this](ui::Component*, const ui::Rect& r, db::Field* f,
                                   ui::GridDrawState) { DBGrid1DrawDataCell(r, f); };
  SpeedButton1 =
      ui::Make<ui::SpeedButton>(this, "SpeedButton1", {440, 8, 112, 25}, "Cambia Colore");
  SpeedButton1->OnClick = [this](ui::Component* s) { SpeedButton1Click(s); };
  ButtonColoreDefault =
      ui::Make<ui::Button>(this, "ButtonColoreDefault", {440, 40, 112, 25}, "Colore Default");
  ButtonColoreDefault->OnClick = [this](ui::Component* s) { ButtonColoreDefaultClick(s); };
  ButtonAspettoBase =
      ui::Make<ui::Button>(this, "ButtonAspettoBase", {440, 72, 112, 25}, "Aspetto Base");
  ButtonAcqAspetto =
      ui::Make<ui::Button>(this, "ButtonAcqAspetto", {440, 104, 112, 25}, "Acq. aspetto da");
  ButtonChiudi = ui::Make<ui::Button>(this, "ButtonChiudi", {440, 287, 112, 25}, "Ch&iudi");
  ButtonChiudi->OnClick = [this](ui::Component* s) { ButtonChiudiClick(s); };
  ColorDialog1 = new ui::ColorDialog(this);
  ColorDialog1->SetName("ColorDialog1");
  CaricaGriglia();
  DoCreate();
}

TPVuxGridForm::~TPVuxGridForm() {
  // The grid reads through the data source: it goes first.
  DestroyComponents();
}

void TPVuxGridForm::CaricaGriglia() {
  const std::string s = std::to_string(situazione_), u = std::to_string(utente_),
                    p = std::to_string(progetto_);
  query_->Close();
  modifiche_.clear();
  query_->SQL.Assign({"SELECT NomeCampo, NomeColonna, ColoreColonna, Visibile, Posizione FROM \"" +
                          tabella_ + "\"",
                      "WHERE (CodiceSituazione=" + s + ")", "AND (CodiceUtente=" + u + ")",
                      "AND (CodiceProgetto=" + p + ")"});
  CostruisciSQLAggiornamento(*query_, tabella_, "UPDATE", *update_);
  for (const std::string& riga :
       {"WHERE (CodiceSituazione=" + s + ")", "AND(CodiceUtente=" + u + ")",
        std::string("AND(Posizione=:Posizione)"), "AND(CodiceProgetto=" + p + ")"})
    update_->ModifySQL.Add(riga);
  update_->InsertSQL.Assign({"nullo"});
  query_->Open();
  query_->FieldByName("Posizione").Visible = false;
  query_->FieldByName("NomeCampo").ReadOnly = true;
  DBGrid1->Columns().RebuildDefault();
}

void TPVuxGridForm::DBGrid1DrawDataCell(const ui::Rect& rect, db::Field* field) {
  if (!field || field->FieldName() != "COLORECOLONNA") {
    DBGrid1->DefaultDrawDataCell(rect, field, 0);
    return;
  }
  const int colore = field->AsIntegerOr(0);
  DBGrid1->Canvas.Brush.Color = colore == 0 ? ui::clWindow : ui::Color(colore);
  DBGrid1->Canvas.FillRect(rect);
}

// "Cambia Colore"
void TPVuxGridForm::SpeedButton1Click(ui::Component*) {
  if (!query_->Active() || query_->IsEmpty()) return;
  db::Field& colore = query_->FieldByName("ColoreColonna");
  ColorDialog1->Color = ui::Color(colore.AsIntegerOr(0));
  if (!ColorDialog1->Execute()) return;
  query_->Edit();
  colore.SetAsInteger(int(ColorDialog1->Color));
}

// "Colore Default"
void TPVuxGridForm::ButtonColoreDefaultClick(ui::Component*) {
  if (!query_->Active() || query_->IsEmpty()) return;
  query_->Edit();
  query_->FieldByName("ColoreColonna").SetAsInteger(0);
}

// The current row's editable values, in place of an earlier edit of it.
void TPVuxGridForm::AnnotaModifica(std::vector<Modifica>& modifiche) const {
  Modifica m{
      query_->FieldByName("NomeCampo").AsString(), query_->FieldByName("NomeColonna").GetValue(),
      query_->FieldByName("ColoreColonna").GetValue(), query_->FieldByName("Visibile").GetValue()};
  for (Modifica& prima : modifiche)
    if (prima.nomeCampo == m.nomeCampo) {
      prima = std::move(m);
      return;
    }
  modifiche.push_back(std::move(m));
}

void TPVuxGridForm::Registra() {
  if (query_->Active()) query_->CheckBrowseMode();
  if (transaction_->Active()) transaction_->Commit();
  modifiche_.clear();
}

void TPVuxGridForm::RinnovaVista() {
  query_->Close();
  if (transaction_->Active()) transaction_->Rollback();
  transaction_->StartTransaction();
  CaricaGriglia();
}

void TPVuxGridForm::Applica(const Modifica& m) {
  query_->Edit();
  query_->FieldByName("NomeColonna").SetValue(m.colonna);
  query_->FieldByName("ColoreColonna").SetValue(m.colore);
  query_->FieldByName("Visibile").SetValue(m.visibile);
}

// Each edited row is found again by its field; a row that is gone (the
// layout was replaced meanwhile) has nothing left to edit. A row the
// database refuses does not stop the others: the first one refused is left
// in edit, as the operator typed it, and its error goes on.
void TPVuxGridForm::RegistraDiNuovo(std::vector<Modifica> modifiche) {
  RinnovaVista();
  std::optional<db::DbError> rifiuto;
  std::optional<Modifica> rifiutata;
  for (const Modifica& m : modifiche) {
    if (!query_->Locate("NomeCampo", db::Value(m.nomeCampo))) continue;
    Applica(m);
    try {
      query_->Post();
    } catch (const db::DbError& e) {
      query_->Cancel();
      if (!rifiuto) {
        rifiuto = e;
        rifiutata = m;
      }
    }
  }
  if (rifiuto) {
    if (query_->Locate("NomeCampo", db::Value(rifiutata->nomeCampo))) Applica(*rifiutata);
    throw *rifiuto;
  }
  Registra();
}

// Only a conflict is made again on a renewed view; any other failure leaves
// the edits where they are (posted in the running transaction, or pending
// in the row), for the operator to correct them.
bool TPVuxGridForm::Salva(bool avvisa) {
  try {
    try {
      Registra();
      return true;
    } catch (const db::DbError& e) {
      if (!e.IsLockConflict()) throw;
      // The pending edit is taken before the rollback drops it.
      std::vector<Modifica> modifiche = modifiche_;
      if (query_->State() == db::DataSetState::Edit) AnnotaModifica(modifiche);
      RegistraDiNuovo(std::move(modifiche));
      return true;
    }
  } catch (const db::DbError& e) {
    if (avvisa) ui::App().ShowException(e);
    return false;
  }
}

// What the database accepted is kept: the refused pending edit is dropped
// and the posted ones committed; when even that fails nothing is stored.
void TPVuxGridForm::RegistraAccettate() {
  try {
    if (query_->Active()) query_->Cancel();
    if (transaction_->Active()) transaction_->Commit();
  } catch (const db::DbError&) {
    try {
      if (transaction_->Active()) transaction_->Rollback();
    } catch (const db::DbError&) {
      // The transaction is gone with its writes: nothing is left to undo.
    }
  }
  modifiche_.clear();
}

void TPVuxGridForm::Ripristina() {
  try {
    RinnovaVista();
  } catch (const db::DbError&) {
    // The rows could not be read: the query stays closed and "Chiudi"
    // still closes the editor.
    query_->Close();
  }
}

// "Chiudi": a save that fails shows its message and keeps the editor open
// with the operator's edits; after it, the next press closes the editor
// whether or not it saves, with no second message.
void TPVuxGridForm::ButtonChiudiClick(ui::Component*) {
  if (!Salva(!salvataggioFallito_)) {
    if (!salvataggioFallito_) {
      salvataggioFallito_ = true;
      return;
    }
    RegistraAccettate();
  }
  Close();
}

}  // namespace velmaro
