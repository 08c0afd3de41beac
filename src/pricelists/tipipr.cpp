#include "pricelists/tipipr.h"

#include <utility>
#include <vector>

#include "context/helpers.h"
#include "db/query.h"
#include "db/transaction.h"
#include "ui/utf8.h"

namespace velmaro {

namespace {

// ID and name of every band, read on a view taken now and ended before
// the first write.
std::vector<std::pair<std::string, std::string>> FasceCorrenti(db::Database* database) {
  db::Transaction vista(database);
  vista.StartTransaction();
  std::vector<std::pair<std::string, std::string>> fasce;
  {
    db::Query lettura(database, &vista);
    lettura.SQL.SetText("SELECT ID, NOME FROM FASCESC");
    lettura.Open();
    for (lettura.First(); !lettura.Eof(); lettura.Next())
      fasce.emplace_back(lettura.FieldByName("ID").AsString(),
                         lettura.FieldByName("NOME").AsString());
  }
  vista.Commit();
  return fasce;
}

}  // namespace

std::string DescrizioneTipoPrezzo(const std::string& nomeFascia) {
  return Apici(ui::utf8::Sub(nomeFascia, 0, 19));
}

void AggiornaTipiPR(db::Query& scrittura) {
  for (const auto& [id, nome] : FasceCorrenti(scrittura.GetDatabase())) {
    scrittura.Close();
    scrittura.SQL.SetText("UPDATE OR INSERT INTO TIPIPR(CODICE,DESCRIZIONE) VALUES(" + id + ",'" +
                          DescrizioneTipoPrezzo(nome) + "')");
    scrittura.ExecSQL();
  }
}

}  // namespace velmaro
