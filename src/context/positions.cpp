#include "context/positions.h"

#include <memory>
#include <vector>

#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "ui/control.h"
#include "ui/strings.h"

namespace velmaro {

namespace {

// The three key lines that select one row of a situation key; the writer
// appends the same lines to its modify statement as the WHERE clause.
std::vector<std::string> RigheChiave(int userCode, int situationCode, int projectCode) {
  return {"WHERE (CodiceSituazione=" + std::to_string(situationCode) + ")",
          "AND (CodiceUtente=" + std::to_string(userCode) + ")",
          "AND (CodiceProgetto=" + std::to_string(projectCode) + ")"};
}

void SelezionaRiga(db::Query& q, int userCode, int situationCode, int projectCode) {
  q.SQL.Clear();
  q.SQL.Add(std::string("SELECT * FROM ") + "\"" + TabellaPosizioni + "\"");
  for (const std::string& riga : RigheChiave(userCode, situationCode, projectCode)) q.SQL.Add(riga);
  q.Open();
  q.First();
}

bool PosizioneDiversa(const db::Query& q, const ui::Control& form) {
  // Compared as numbers, so that a stored value beyond 32 bits differs.
  return q.FieldByName("POSX").AsFloat() != form.Left() ||
         q.FieldByName("POSY").AsFloat() != form.Top() ||
         q.FieldByName("DIMX").AsFloat() != form.Width() ||
         q.FieldByName("DIMY").AsFloat() != form.Height();
}

void ScriviDimensioni(db::Query& q, const ui::Control& form) {
  q.FieldByName("POSX").SetAsInteger(form.Left());
  q.FieldByName("POSY").SetAsInteger(form.Top());
  q.FieldByName("DIMX").SetAsInteger(form.Width());
  q.FieldByName("DIMY").SetAsInteger(form.Height());
}

}  // namespace

void CaricaPosizioneForm(ui::Control& form, int userCode, int situationCode, int projectCode,
                         db::Database& database) {
  db::Transaction tr(&database);
  tr.StartTransaction();
  {
    db::Query q(&database, &tr);
    SelezionaRiga(q, userCode, situationCode, projectCode);
    if (!q.IsEmpty()) {
      // A stored value beyond 32 bits leaves that one as it is.
      form.SetBounds(q.FieldByName("POSX").AsIntegerOr(form.Left()),
                     q.FieldByName("POSY").AsIntegerOr(form.Top()),
                     q.FieldByName("DIMX").AsIntegerOr(form.Width()),
                     q.FieldByName("DIMY").AsIntegerOr(form.Height()));
    }
    q.Close();
  }
  if (tr.Active()) tr.Commit();
}

void SalvaPosizioneForm(const ui::Control& form, int userCode, int situationCode, int projectCode,
                        db::Database& database) {
  db::Transaction tr(&database);
  tr.StartTransaction();
  db::UpdateSQL aggiornamento;
  {
    db::Query q(&database, &tr);
    SelezionaRiga(q, userCode, situationCode, projectCode);
    const bool esiste = !q.IsEmpty();
    if (!esiste || PosizioneDiversa(q, form)) {
      q.UpdateObject = &aggiornamento;
      CostruisciSQLAggiornamento(q, TabellaPosizioni, "UPDATE", aggiornamento);
      CostruisciSQLAggiornamento(q, TabellaPosizioni, "INSERT", aggiornamento);
      for (const std::string& riga : RigheChiave(userCode, situationCode, projectCode))
        aggiornamento.ModifySQL.Add(riga);
      if (esiste) {
        q.Edit();
      } else {
        q.Append();
        q.FieldByName("CodiceProgetto").SetAsInteger(projectCode);
        q.FieldByName("CodiceSituazione").SetAsInteger(situationCode);
        q.FieldByName("CodiceUtente").SetAsInteger(userCode);
      }
      ScriviDimensioni(q, form);
      q.Post();
      q.UpdateObject = nullptr;
    }
    q.Close();
  }
  if (tr.Active()) tr.Commit();
}

void CostruisciSQLAggiornamento(db::Query& dataSet, const std::string& tableName,
                                const std::string& kind, db::UpdateSQL& updateObject) {
  const bool modifica = ui::SameText(kind, "UPDATE");
  const bool inserimento = ui::SameText(kind, "INSERT");
  if (!modifica && !inserimento) return;

  // A private copy learns the field names without moving or reopening the
  // caller's query, which may be open and positioned.
  std::vector<std::string> campi;
  {
    db::Query copia(dataSet.GetDatabase(), dataSet.GetTransaction());
    copia.SQL = dataSet.SQL;
    copia.ParamCheck = dataSet.ParamCheck;
    for (int i = 0; i < dataSet.Params().Count(); ++i)
      copia.Params().Add(dataSet.Params()[i].Name()).SetValue(dataSet.Params()[i].GetValue());
    copia.Open();
    for (const db::Field* f : copia.Fields()) campi.push_back(f->FieldName());
    copia.Close();
  }

  const std::string tabella = "\"" + tableName + "\"";
  const auto virgola = [&](size_t i) { return i + 1 < campi.size() ? "," : ""; };
  if (modifica) {
    db::StringList& sql = updateObject.ModifySQL;
    sql.Clear();
    sql.Add("UPDATE " + tabella);
    sql.Add("SET");
    for (size_t i = 0; i < campi.size(); ++i) sql.Add(campi[i] + "=" + ":" + campi[i] + virgola(i));
    return;
  }
  db::StringList& sql = updateObject.InsertSQL;
  sql.Clear();
  sql.Add("INSERT INTO " + tabella);
  sql.Add("(");
  for (size_t i = 0; i < campi.size(); ++i) sql.Add(campi[i] + virgola(i));
  sql.Add(")");
  sql.Add("VALUES");
  sql.Add("(");
  for (size_t i = 0; i < campi.size(); ++i) sql.Add(":" + campi[i] + virgola(i));
  sql.Add(")");
}

}  // namespace velmaro
