// The save-button protocol of editing windows: a button whose glyph turns
// red while the data set has unsaved changes, with the record-lock probe,
// the deletion and the emptying of a table that go with it.
#include "context/helpers.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/error.h"
#include "db/field.h"
#include "db/query.h"
#include "db/table.h"
#include "db/transaction.h"
#include "platform/format.h"
#include "ui/application.h"
#include "ui/stdctrls.h"

namespace velmaro {

namespace {

bool Conferma(const std::string& domanda) {
  return ui::MessageDlg(domanda, ui::MsgDlgType::Confirmation, ui::mbYesNo) == ui::mrYes;
}

void Avviso(const std::string& testo, ui::MsgDlgType tipo = ui::MsgDlgType::Warning) {
  ui::MessageDlg(testo, tipo, ui::mbOK);
}

// The first field's value as it stands in a statement: numbers bare, texts
// quoted, so that a text key does not break the statement.
std::string LetteraleChiave(const db::Field& campo) {
  const std::string testo = campo.AsString();
  switch (campo.DataType()) {
    case db::FieldType::Smallint:
    case db::FieldType::Integer:
    case db::FieldType::Largeint:
    case db::FieldType::AutoInc:
      return testo;
    default:
      return "'" + Apici(testo) + "'";
  }
}

void Riavvia(db::Transaction* t) {
  if (!t) return;
  t->SetActive(false);
  t->SetActive(true);
}

// A refreshed table is shown again in the order of its first index,
// whatever order it was given since.
void PrimoIndice(db::Query& dataSet) {
  if (std::string(dataSet.ClassName()) != "TIBTable") return;
  auto* tabella = dynamic_cast<db::Table*>(&dataSet);
  if (!tabella || tabella->IndexDefs.empty()) return;
  tabella->SetIndexName(tabella->IndexDefs.front().Name);
}

void Verde(ui::BitBtn& bottone, const std::string& file) {
  bottone.LoadGlyph(file);
  bottone.Tag = 0;
}

}  // namespace

void TTabXForm::ChiudiTransazione(db::Query& dataSet, int& numRecord, ui::BitBtn& bottone,
                                  bool& eraAttivo) {
  db::Transaction* t = dataSet.GetTransaction();
  eraAttivo = dataSet.Active();
  if (eraAttivo) {
    dataSet.CheckBrowseMode();
    numRecord = dataSet.RecNo();
  }
  if (t && t->InTransaction()) t->Commit();
  Verde(bottone, FileVerde);
}

void TTabXForm::AggiornaTabella(db::Query& dataSet, int numRecord, bool ripristina) {
  dataSet.Close();
  Riavvia(dataSet.GetTransaction());
  dataSet.Open();
  PrimoIndice(dataSet);
  if (ripristina && numRecord > 0) dataSet.SetRecNo(numRecord);
}

void TTabXForm::ChiudiTransEAggiorna(db::Query& dataSet, int& numRecord, ui::BitBtn& bottone,
                                     bool& eraAttivo) {
  ChiudiTransazione(dataSet, numRecord, bottone, eraAttivo);
  AggiornaTabella(dataSet, numRecord, eraAttivo);
}

bool TTabXForm::EventoBeforeEditDataSet(db::Query& dataSet, ui::BitBtn& bottone,
                                        const std::string& tabella) {
  const db::Field& primo = *dataSet.Fields().at(0);
  const std::string valore = LetteraleChiave(primo);
  try {
    db::Query prova(dataSet.GetDatabase(), dataSet.GetTransaction());
    prova.SQL = {"UPDATE " + tabella, "SET " + primo.FieldName() + "=" + valore,
                 "WHERE " + primo.FieldName() + "=" + valore};
    prova.ExecSQL();
  } catch (const db::DbError&) {
    Avviso(
        "Attenzione: altri utenti stanno lavorando su questo record. Provare ad aggiornare la "
        "griglia. Nel caso in cui questo messaggio riapparisse, provare ad editare il record in "
        "un secondo momento.");
    if (dataSet.State() == db::DataSetState::Edit) dataSet.Cancel();
    return false;
  }
  bottone.Tag = 1;
  bottone.LoadGlyph(FileRosso);
  return true;
}

void TTabXForm::Annulla(db::Query& dataSet, int& numRecord, ui::BitBtn& bottone) {
  if (bottone.Tag != 1) return;
  if (!Conferma("Conferma l'annullamento delle modifiche apportate?")) return;
  Verde(bottone, FileVerde);
  AggiornaTabella(dataSet, numRecord, true);
}

void TTabXForm::Chiudi(db::Query& dataSet, ui::BitBtn& bottone) {
  if (bottone.Tag != 1) return;
  if (ui::MessageDlg("Salvare le modifiche apportate?", ui::MsgDlgType::Confirmation,
                     ui::mbYesNo) != ui::mrNo)
    return;
  db::Database* database = dataSet.GetDatabase();
  db::Transaction* t = database ? database->DefaultTransaction : nullptr;
  if (t && t->Active()) Riavvia(t);
}

void TTabXForm::AggiornamentoDaPulsante(db::Query& dataSet, int& numRecord, ui::BitBtn& bottone,
                                        bool& eraAttivo) {
  if (bottone.Tag == 1) {
    if (Conferma("Attenzione: sono state fatte delle modifiche che non sono state ancora "
                 "salvate. Prima di aggiornare la griglia si desidera salvare gli "
                 "aggiornamenti?")) {
      dataSet.CheckBrowseMode();
      Verde(bottone, FileVerde);
    } else {
      db::Database* database = dataSet.GetDatabase();
      Riavvia(database ? database->DefaultTransaction : nullptr);
    }
  }
  ChiudiTransEAggiorna(dataSet, numRecord, bottone, eraAttivo);
}

void TTabXForm::Elimina(db::Query& dataSet, int& numRecord, ui::BitBtn& bottone, bool& eraAttivo) {
  if (dataSet.IsEmpty()) {
    Avviso("La tabella è vuota", ui::MsgDlgType::Information);
    return;
  }
  const std::string chiave = dataSet.Fields().at(0)->FieldName();
  const db::Value valore = dataSet.Fields().at(0)->GetValue();
  numRecord = dataSet.RecNo();
  AggiornaTabella(dataSet, numRecord, true);
  if (!dataSet.Locate(chiave, valore)) {
    Avviso(
        "Questo record è già stato cancellato da un altro utente in un'altra sessione di "
        "lavoro");
    return;
  }
  if (!Conferma("Conferma la cacellazione del record?")) return;
  try {
    dataSet.Delete();
  } catch (const db::DbError&) {
    Avviso(
        "Impossibile cancellare questo record, altri utenti stanno lavorando su questo "
        "record.");
    AggiornaTabella(dataSet, numRecord, true);
    return;
  }
  ChiudiTransazione(dataSet, numRecord, bottone, eraAttivo);
  AggiornaTabella(dataSet, numRecord, eraAttivo);
}

void TTabXForm::Azzera(db::Query& dataSet, const std::string& tabella) {
  if (!Conferma("Confermare l'azzeramento della tabella?")) return;
  const bool aperto = dataSet.Active();
  try {
    db::Query query(dataSet.GetDatabase(), dataSet.GetTransaction());
    query.SQL.Add("DELETE FROM " + tabella);
    query.ExecSQL();
    query.GetTransaction()->CommitRetaining();
  } catch (const db::DbError&) {
    Avviso("Impossibile azzerare la tabella!", ui::MsgDlgType::Error);
    return;
  }
  if (aperto) {
    dataSet.Close();
    dataSet.Open();
  }
}

void TTabXForm::NuovoIntSuLast(db::Query& dataSet, int& numRecord, ui::BitBtn& bottone,
                               bool& eraAttivo) {
  ChiudiTransEAggiorna(dataSet, numRecord, bottone, eraAttivo);
  dataSet.Last();
  const std::int64_t prossimo = dataSet.IsEmpty() ? 1 : dataSet.Fields().at(0)->AsLargeInt() + 1;
  dataSet.Append();
  dataSet.Fields().at(0)->SetAsLargeInt(prossimo);
  ChiudiTransEAggiorna(dataSet, numRecord, bottone, eraAttivo);
}

void TTabXForm::NuovoIntSuMax(db::Query& dataSet, const std::string& tabella, int& numRecord,
                              ui::BitBtn& bottone, bool& eraAttivo) {
  ChiudiTransEAggiorna(dataSet, numRecord, bottone, eraAttivo);
  const std::string chiave = dataSet.Fields().at(0)->FieldName();
  std::int64_t prossimo = 1;
  {
    db::Query massimo(dataSet.GetDatabase(), dataSet.GetTransaction());
    massimo.SQL.Add("SELECT MAX(" + chiave + ") FROM " + tabella);
    massimo.Open();
    const db::Field& m = *massimo.Fields().at(0);
    if (!m.IsNull()) prossimo = m.AsLargeInt() + 1;
  }
  dataSet.Append();
  dataSet.Fields().at(0)->SetAsLargeInt(prossimo);
  ChiudiTransEAggiorna(dataSet, numRecord, bottone, eraAttivo);
}

}  // namespace velmaro
