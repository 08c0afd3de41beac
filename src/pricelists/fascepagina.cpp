#include "pricelists/fascepagina.h"

#include "db/error.h"
#include "db/query.h"
#include "db/transaction.h"
#include "ui/application.h"

namespace velmaro::fasce_pagina {

std::string Campo(db::Query& q, const char* nome) { return q.FieldByName(nome).AsString(); }

void Esegui(db::Query& q, const std::vector<std::string>& righe) {
  q.Close();
  q.SQL.Clear();
  for (const std::string& r : righe) q.SQL.Add(r);
  q.ExecSQL();
}

void Conferma(db::Query& q) { q.GetTransaction()->CommitRetaining(); }

void Annulla(db::Query& q) {
  try {
    q.GetTransaction()->RollbackRetaining();
  } catch (const std::exception&) {
  }
}

bool Scrivi(db::Query& q, const std::vector<std::vector<std::string>>& statementi,
            const std::function<void()>& dopo, const std::string& errore) {
  try {
    for (const std::vector<std::string>& righe : statementi) Esegui(q, righe);
    Conferma(q);
    dopo();
    return true;
  } catch (const std::exception&) {
    Annulla(q);
    Errore(errore);
    return false;
  }
}

void Avviso(const std::string& testo) { ui::MessageDlg(testo, ui::MsgDlgType::Warning, ui::mbOK); }
void Errore(const std::string& testo) { ui::MessageDlg(testo, ui::MsgDlgType::Error, ui::mbOK); }

}  // namespace velmaro::fasce_pagina
