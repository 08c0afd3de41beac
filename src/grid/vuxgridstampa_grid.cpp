// The grid's side of the print: the print dialog over the grid's query.
#include "db/query.h"
#include "grid/vuxgrid.h"
#include "grid/vuxgridstampa.h"
#include "grid/vuxgridstampa_form.h"
#include "ui/make.h"

namespace velmaro {

void TVuxGrid::ApriStampaGriglia() {
  // Owned by the grid, not by the dialog: it lives until the grid goes and
  // then deletes a project file that may be left over.
  auto* stampa = new TVuxGridStampa(this);
  stampa->CodiceProgetto = CodiceProgetto;
  stampa->Situazione = Situazione();
  stampa->Utente = Utente;
  stampa->Titolo = NomeTabella;
  if (auto* query = dynamic_cast<db::Query*>(SorgenteDati())) {
    // The print job holds the statement with each line ended by CR LF.
    for (int i = 0; i < query->SQL.Count(); ++i) stampa->TestoSQL += query->SQL[i] + "\r\n";
  }
  stampa->BinDir = BinDir;
  stampa->DatabaseLayout = DatabaseGriglia();
  ui::Owned<TStVuxGridForm> dialogo = ui::MakeOwned<TStVuxGridForm>(this, stampa);
  dialogo->Font = Font;
  dialogo->ShowModal();
}

}  // namespace velmaro
