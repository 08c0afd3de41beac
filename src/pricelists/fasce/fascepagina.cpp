#include "pricelists/fasce/fascepagina.h"

#include "db/query.h"
#include "db/transaction.h"
#include "pricelists/editor/lisfasedit.h"

namespace velmaro::fasce_pagina {

void ConfermaTransazione(db::Query& q) { q.GetTransaction()->CommitRetaining(); }

void AnnullaTransazione(db::Query& q) {
  try {
    q.GetTransaction()->RollbackRetaining();
  } catch (const std::exception&) {
  }
}

bool Scrivi(db::Query& q, const std::vector<std::vector<std::string>>& statementi,
            const std::function<void()>& dopo, const std::string& errore) {
  try {
    for (const std::vector<std::string>& righe : statementi) TLisFasEditForm::EseguiRighe(q, righe);
    ConfermaTransazione(q);
    dopo();
    return true;
  } catch (const std::exception&) {
    AnnullaTransazione(q);
    TLisFasEditForm::Errore(errore);
    return false;
  }
}

}  // namespace velmaro::fasce_pagina
