// The bands page: new, edit and delete of a band and of its rows, the
// priority moves and the two refreshes. Every write goes through QueryAux1
// on the context's default transaction and is committed at once (keep
// open); a command that fails rolls its own statements back the same way,
// so the grids stay open and nothing half-written waits for the next
// commit. The presence checks before a delete run on Transazione2,
// restarted just before, so they see what other sessions committed.
//
// Every write but a new band holds the band (PresaFascia) from after the
// operator's dialog or question until its commit: another operator's
// writes to it wait, and a view older than them is renewed by the bands
// refresh before the command runs, only when the band and the rows it
// touches are still those the operator saw.
//
// The customers and suppliers of a band are in lisfasedit_clientifasce.cpp,
// the duplication in lisfasedit_duplica.cpp.
#include <limits>

#include "context/datamodule.h"
#include "context/dbutility.h"
#include "context/helpers.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/transaction.h"
#include "platform/format.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor/lisfasedit.h"
#include "pricelists/editor/pagina.h"
#include "pricelists/fasce/dialogo_fascia.h"
#include "pricelists/fasce/dialogo_rigafascia.h"
#include "pricelists/fasce/fasce.h"
#include "pricelists/presalistino.h"
#include "search/vuxricerche.h"
#include "ui/application.h"
#include "ui/dbedit.h"
#include "ui/lists.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

namespace {

// The bands again, on the band `id`.
void RicaricaFasce(TLisFasEditForm& w, const std::string& id) {
  w.CaricaListaFasce();
  w.FrameFasce1->QueryFasce->Locate("ID", db::Value(id));
}

// The band's rows again, on the row (nriga, listino).
void RicaricaRighe(TLisFasEditForm& w, const std::string& nriga, const std::string& listino) {
  w.CaricaListaDettFasce();
  w.FrameFasce1->QueryFasceDett->Locate("NRIGA;IDLISTINO", {db::Value(nriga), db::Value(listino)});
}

// Back on the row at position `riga` after a reload, or on the last row
// when fewer are left. Rows are read up to that position: those read so far
// after a reload may be fewer than the rows there are.
void TornaARiga(db::Query& q, int riga) {
  if (!q.Active() || q.IsEmpty() || riga < 1) return;
  if (q.FetchTo(riga - 1))
    q.SetRecNo(riga);
  else
    q.Last();
}

// The current row takes the number next to it (`verso` -1 up, +1 down) and
// the row holding that number, if any, takes the row's; across a gap the
// row simply takes the free number. The three statements commit together
// or roll back together, under the hold of the band, and only when the two
// rows are as the operator saw them.
void SpostaRiga(TLisFasEditForm& w, int verso) {
  int n = 0;
  if (w.FrameFasce1->DBEditIDDettFasce->Text().empty() ||
      !plat::TryStrToInt(w.FrameFasce1->DBEditIDDettFasce->Text(), n))
    return;
  // The first and last whole numbers have no neighbour past them: the
  // number would wrap round and send the row to the other end.
  if ((verso < 0 && n == std::numeric_limits<int>::min()) ||
      (verso > 0 && n == std::numeric_limits<int>::max()))
    return;
  IDFasciaSelezionata = w.FrameFasce1->DBEditIDFascia->Text();
  const std::string fascia = IDFasciaSelezionata;
  const std::string listino = ValoreCampo(*w.FrameFasce1->QueryFasceDett, "IDLISTINO");
  const int verso_n = n + verso;
  const std::vector<std::string> statementi = fasce::StatementiSpostaRiga(fascia, n, verso_n);
  const char* const errore = "Errore interno: impossibile aggiornare il record";
  const auto presa = w.PrendiFascia(
      fascia, {.letture = {fasce::RigheLeggiSpostamento(fascia, n, verso_n)}, .errore = errore});
  if (!presa) return;
  db::Query& q = *w.QueryAux1;
  pagina::Scrivi(
      q,
      [&] {
        // The row moved must be there: a move that moved nothing is no success.
        pagina::EseguiSuRiga(q, {statementi[0]});
        for (size_t i = 1; i < statementi.size(); ++i) pagina::EseguiRighe(q, {statementi[i]});
      },
      [&] { RicaricaRighe(w, std::to_string(verso_n), listino); }, errore, presa.get());
}

}  // namespace

// ---- bands

void TLisFasEditForm::ButtonFascNuovoClick() {
  // The number proposed is read on what is committed now, not on the
  // window's view: a band another operator created since that view began
  // has its number taken. An insert that still meets a number taken in the
  // instant between fails once; the next press proposes past it.
  std::string proposta;
  try {
    LeggiSuVistaNuova(QueryAux1->GetDatabase(), {"SELECT MAX(ID)+1 M FROM FASCESC"},
                      [&proposta](db::Query& q) {
                        if (!q.IsEmpty()) proposta = q.Fields()[0]->AsString();
                      });
    if (proposta.empty()) proposta = "1";
  } catch (const std::exception&) {
    proposta.clear();
    pagina::Errore("Errore interno");
  }
  auto dialogo = ui::MakeOwned<TNuovaFasciaForm>(this, DM().CellaTabX);
  dialogo->EditID->SetText(proposta);
  if (dialogo->ShowModal() != ui::mrOk) return;
  const fasce::CampiFascia f = dialogo->Campi();
  pagina::Scrivi(
      *QueryAux1, {fasce::RigheInserisciFascia(f)}, [&] { RicaricaFasce(*this, f.id); },
      "Errore interno: impossibile inserire un nuovo record");
}

void TLisFasEditForm::ButtonFascEditaClick() {
  db::Query& q = *FrameFasce1->QueryFasce;
  if (pagina::Vuota(q, pagina::SeVuota::PremereNuovo)) return;
  auto dialogo = ui::MakeOwned<TNuovaFasciaForm>(this, DM().CellaTabX);
  TNuovaFasciaForm& d = *dialogo;
  d.SetCaption("Edita fascia");
  d.ModoEdit = 1;
  d.EditID->SetText(ValoreCampo(q, "ID"));
  d.EditID->SetEnabled(false);
  d.EditNome->SetText(ValoreCampo(q, "NOME"));
  d.ComboBoxClass1->SetText(ValoreCampo(q, "CLASSIFICAZIONE1"));
  d.EditClassificazione2->SetText(ValoreCampo(q, "CLASSIFICAZIONE2"));
  d.EditIDScontiSpe->SetText(ValoreCampo(q, "LISTINOSCONTISPEC"));
  d.EditIDRicarico->SetText(ValoreCampo(q, "LISTINORICARICO"));
  d.EditIDScontiSpeNetti->SetText(ValoreCampo(q, "LISTINOSCONTISPECNETTI"));
  d.EditIDScontiSpe2->SetText(ValoreCampo(q, "LISTINOSCONTISPEC2"));
  d.EditIDScontiSpe3->SetText(ValoreCampo(q, "LISTINOSCONTISPEC3"));
  if (d.ShowModal() != ui::mrOk) return;
  const fasce::CampiFascia f = d.Campi();
  // Held, as the band's rows are held by their writers: an edit from a view
  // older than their writes renews it, and edits the band only when it is
  // still the one the operator saw.
  const char* const errore = "Errore interno: impossibile aggiornare la fascia";
  const auto presa = PrendiFascia(f.id, {.errore = errore});
  if (!presa) return;
  pagina::Scrivi(
      *QueryAux1, [&] { pagina::EseguiSuRiga(*QueryAux1, fasce::RigheAggiornaFascia(f)); },
      [&] { RicaricaFasce(*this, f.id); }, errore, presa.get());
}

void TLisFasEditForm::ButtonFascEliminaClick() {
  db::Query& q = *FrameFasce1->QueryFasce;
  if (pagina::Vuota(q, pagina::SeVuota::TabellaVuota)) return;
  const std::string fascia = IDFasciaCorrente;
  const std::string id = Letterale(fascia);
  pagina::EliminaRigaCorrente(
      q, *QueryAux1, *QueryAux2, *Transazione2,
      {.cerca = {"SELECT * FROM FASCESC WHERE ID=" + id},
       .domanda = "Eliminare il record selezionato, e tutti le associazioni relative alla "
                  "fascia?\r\n(I listini non verranno eliminati)",
       // Held, the band has no writer at work; a row added since this view
       // began refuses the delete, which would leave it behind.
       .prendi =
           [&](PresaTestata::Rinnovo r) {
             r.letture.push_back({"SELECT * FROM FASCESCDT WHERE IDFASCIA=" + id});
             return PrendiFascia(fascia, std::move(r));
           },
       // The band and its rows go together or not at all.
       .statementi = {{"DELETE FROM FASCESC WHERE ID=" + id},
                      {"DELETE FROM FASCESCDT WHERE IDFASCIA=" + id}},
       .torna =
           [&](int riga) {
             CaricaListaFasce();
             TornaARiga(q, riga);
             // With no band left no band change reloads the rows grid, which
             // would go on showing the rows just deleted.
             if (pagina::Vuota(q)) CaricaListaDettFasce();
           }});
}

void TLisFasEditForm::ButtonFascAggiornaClick() {
  RinnovaTransazione(*TabX().IBDatabase1->DefaultTransaction);
  CaricaListaFasce();
  if (RicercaClienti && RicercaClienti->QueryMain) RicercaClienti->QueryMain->Open();
  FrameFasce1->QueryFasce->Locate("ID", db::Value(IDFasciaSelezionata));
}

// ---- band rows

void TLisFasEditForm::ButtonDettFascNuovoClick() {
  // Without a band on screen there is none to add to: the band last shown
  // may have been deleted, and its number would take an orphan row.
  if (pagina::Vuota(*FrameFasce1->QueryFasce) || IDFasciaCorrente.empty()) {
    pagina::Errore("Errore interno: impossibile inserire un nuovo record");
    return;
  }
  std::string proposta;
  try {
    proposta = pagina::PrimoValore(*QueryAux1, {"SELECT MAX(NRIGA)+1 NRIGA FROM FASCESCDT",
                                                "WHERE IDFASCIA=" + Letterale(IDFasciaCorrente)});
    if (proposta.empty()) proposta = "1";
  } catch (const std::exception&) {
    pagina::Errore("Errore interno: impossibile inserire un nuovo record");
  }
  const std::string fascia = IDFasciaCorrente;
  auto dialogo = ui::MakeOwned<TNuovaFasciaDettForm>(this, CellaDM);
  TNuovaFasciaDettForm& d = *dialogo;
  d.LabelIDFascia->SetCaption(fascia);
  d.EditNRiga->SetText(proposta);
  if (d.ShowModal() != ui::mrOk) return;
  // Both validated as whole numbers by the dialog.
  const std::string nriga = d.EditNRiga->Text();
  const std::string listino = d.EditIDListino->Text();
  // A band another session deleted would get an orphan row, which the next
  // band given its number would inherit.
  if (!pagina::AncoraPresente(*Transazione2, *QueryAux2,
                              {"SELECT * FROM FASCESC WHERE ID=" + Letterale(fascia)}))
    return;
  // On a renewed view the dialog's checks are made again: another operator
  // may have taken the row number meanwhile.
  const char* const errore = "Errore interno: impossibile inserire un nuovo record";
  const auto presa = PrendiFascia(
      fascia, {.errore = errore, .controlla = [&d] { return d.PrimoControlloFallito(); }});
  if (!presa) return;
  pagina::Scrivi(
      *QueryAux1,
      {{"INSERT INTO FASCESCDT(IDFASCIA,NRIGA,IDLISTINO)",
        "VALUES(" + Letterale(fascia) + "," + Letterale(nriga) + "," + Letterale(listino) + ")"}},
      [&] { RicaricaRighe(*this, nriga, listino); }, errore, presa.get());
}

void TLisFasEditForm::ButtonDettFascEditaClick() {
  db::Query& q = *FrameFasce1->QueryFasceDett;
  if (pagina::Vuota(q, pagina::SeVuota::PremereNuovo)) return;
  const std::string fascia = IDFasciaCorrente;
  const std::string nriga = ValoreCampo(q, "NRIGA");
  auto dialogo = ui::MakeOwned<TNuovaFasciaDettForm>(this, CellaDM);
  TNuovaFasciaDettForm& d = *dialogo;
  d.ModoEdit = 1;
  d.SetCaption("Edita dettaglio fascia");
  d.LabelIDFascia->SetCaption(fascia);
  d.EditNRiga->SetText(nriga);
  d.EditIDListino->SetText(ValoreCampo(q, "IDLISTINO"));
  if (d.ShowModal() != ui::mrOk) return;
  // Only the list changes: the row keeps the number it had, and is written
  // only as the operator saw it.
  const std::string listino = d.EditIDListino->Text();
  const char* const errore = "Errore interno: impossibile aggiornare il record";
  const auto presa =
      PrendiFascia(fascia, {.letture = {fasce::RigheCercaRiga(fascia, nriga)}, .errore = errore});
  if (!presa) return;
  pagina::Scrivi(
      *QueryAux1,
      [&] {
        pagina::EseguiSuRiga(*QueryAux1,
                             {"UPDATE FASCESCDT ", "SET IDLISTINO=" + Letterale(listino) +
                                                       " WHERE IDFASCIA=" + Letterale(fascia) +
                                                       " AND NRIGA=" + Letterale(nriga)});
      },
      [&] { RicaricaRighe(*this, nriga, listino); }, errore, presa.get());
}

void TLisFasEditForm::ButtonDettFascEliminaClick() {
  db::Query& q = *FrameFasce1->QueryFasceDett;
  if (pagina::Vuota(q, pagina::SeVuota::TabellaVuota)) return;
  const std::string fascia = IDFasciaCorrente;
  const std::string nriga = ValoreCampo(q, "NRIGA");
  pagina::EliminaRigaCorrente(
      q, *QueryAux1, *QueryAux2, *Transazione2,
      {.cerca = fasce::RigheCercaRiga(fascia, nriga),
       .prendi = [&](PresaTestata::Rinnovo r) { return PrendiFascia(fascia, std::move(r)); },
       .statementi = {{"DELETE FROM FASCESCDT WHERE IDFASCIA=" + Letterale(fascia),
                       " AND NRIGA=" + Letterale(nriga) + " "}},
       .torna =
           [&](int riga) {
             CaricaListaDettFasce();
             TornaARiga(q, riga);
           }});
}

void TLisFasEditForm::ButtonPiuPrioritaClick() { SpostaRiga(*this, -1); }
void TLisFasEditForm::ButtonMenoPrioritaClick() { SpostaRiga(*this, +1); }

// The operator's refresh shows what other operators committed since.
void TLisFasEditForm::ButtonDettFascAggiornaClick() { RinnovaVista(); }

}  // namespace velmaro
