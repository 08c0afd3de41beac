#include "pricelists/tipipr.h"

#include "context/helpers.h"
#include "db/query.h"
#include "ui/utf8.h"

namespace velmaro {

std::string DescrizioneTipoPrezzo(const std::string& nomeFascia) {
  return Apici(ui::utf8::Sub(nomeFascia, 0, 19));
}

void AggiornaTipiPR(db::Query& lettura, db::Query& scrittura) {
  lettura.Close();
  lettura.SQL.SetText("SELECT ID, NOME FROM FASCESC");
  lettura.Open();
  for (lettura.First(); !lettura.Eof(); lettura.Next()) {
    scrittura.Close();
    scrittura.SQL.SetText("UPDATE OR INSERT INTO TIPIPR(CODICE,DESCRIZIONE) VALUES(" +
                          lettura.FieldByName("ID").AsString() + ",'" +
                          DescrizioneTipoPrezzo(lettura.FieldByName("NOME").AsString()) + "')");
    scrittura.ExecSQL();
  }
  lettura.Close();
}

}  // namespace velmaro
