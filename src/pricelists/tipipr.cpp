#include "pricelists/tipipr.h"

#include <utility>
#include <vector>

#include "context/dbutility.h"
#include "context/helpers.h"
#include "db/query.h"
#include "ui/utf8.h"

namespace velmaro {

namespace {

// ID and name of every band, read on a view taken now and ended before
// the first write.
std::vector<std::pair<std::string, std::string>> FasceCorrenti(db::Database* database) {
  std::vector<std::pair<std::string, std::string>> fasce;
  LeggiSuVistaNuova(database, {"SELECT ID, NOME FROM FASCESC"}, [&](db::Query& q) {
    for (; !q.Eof(); q.Next())
      fasce.emplace_back(q.FieldByName("ID").AsString(), q.FieldByName("NOME").AsString());
  });
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
