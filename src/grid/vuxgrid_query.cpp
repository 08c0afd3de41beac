// F8: the query window on the grid's table.
#include <memory>

#include "context/memorydata.h"
#include "db/query.h"
#include "db/table.h"
#include "db/transaction.h"
#include "grid/vuxgrid.h"
#include "query/iblquery.h"

namespace velmaro {

void TVuxGrid::ApriQuery() {
  if (TipoTabella == kTipoQuery) {
    auto* query = dynamic_cast<db::Query*>(sorgente_);
    if (!query || !query->GetDatabase()) return;
    db::Table tabella(query->GetDatabase(), query->GetTransaction());
    tabella.TableName = NomeTabella.empty() ? TabellaDaSQL() : NomeTabella;
    tabella.Open();
    ShowIBLQueryForm(tabella, *query->GetDatabase(), BinDir, DirLavoroQuery, Ditta, 0, FileIniQuery,
                     Utente);
  } else if (TipoTabella == kTipoTabella) {
    auto* tabella = dynamic_cast<db::Table*>(sorgente_);
    if (!tabella || !tabella->GetDatabase()) return;
    ShowIBLQueryForm(*tabella, *tabella->GetDatabase(), BinDir, DirLavoroQuery, Ditta, 0,
                     FileIniQuery, 0);
  } else {
    ApriQueryTipoMemoria();
  }
}

// The in-memory rows are copied as texts into the support table first.
void TVuxGrid::ApriQueryTipoMemoria() {
  auto* memoria = dynamic_cast<TRxMemoryData*>(sorgente_);
  db::Table* appoggio = TabellaAppoggio;
  if (!memoria || !appoggio || !appoggio->GetDatabase()) return;
  appoggio->Close();
  db::Transaction* tr = appoggio->GetTransaction();
  if (tr && !tr->InTransaction()) tr->StartTransaction();
  appoggio->EmptyTable();
  appoggio->Open();
  if (memoria->Active()) {
    db::Bookmark posto = memoria->GetBookmark();
    memoria->DisableControls();
    struct Riabilita {
      TRxMemoryData* m;
      db::Bookmark b;
      ~Riabilita() {
        if (m->BookmarkValid(b)) m->GotoBookmark(b);
        m->EnableControls();
      }
    } fine{memoria, posto};
    const int campi = std::min(memoria->FieldCount(), appoggio->FieldCount());
    for (memoria->First(); !memoria->Eof(); memoria->Next()) {
      appoggio->Append();
      for (int i = 0; i < campi; ++i) {
        db::Field& da = memoria->FieldByNumber(i);
        if (da.IsNull())
          appoggio->FieldByNumber(i).Clear();
        else
          appoggio->FieldByNumber(i).SetAsString(da.AsString());
      }
      appoggio->Post();
    }
  }
  if (tr && tr->InTransaction()) tr->CommitRetaining();
  ShowIBLQueryForm(*appoggio, *appoggio->GetDatabase(), BinDir, DirLavoroQuery, Ditta, 0,
                   FileIniQuery, 0);
}

}  // namespace velmaro
