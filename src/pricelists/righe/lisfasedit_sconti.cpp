// The discount rows of the current list (LISTSCDTSCO), their command bar,
// and the titles the page gives the grid's selection columns.
#include <optional>

#include "context/datamodule.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor/lisfasedit.h"
#include "pricelists/editor/pagina.h"
#include "pricelists/presalistino.h"
#include "pricelists/righe/dialoghi_righe.h"
#include "pricelists/righe/dialogo_sconto.h"
#include "pricelists/righe/righe.h"
#include "pricelists/righe/righesconti.h"
#include "pricelists/scambio/impexpsconti.h"
#include "ui/application.h"
#include "ui/extctrls.h"
#include "ui/lists.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

namespace {

sconti::RigaSconto RigaCorrente(db::Query& q) {
  sconti::RigaSconto r;
  r.descrizione = ValoreCampo(q, "DESCRIZIONE");
  r.senzaDescrizione = q.FieldByName("DESCRIZIONE").IsNull();
  db::Field& inizio = q.FieldByName("DATAINIZIOVALIDITA");
  r.senzaInizio = inizio.IsNull();
  r.inizio = inizio.AsDateTime();
  r.scaglione = q.FieldByName("QUANTITASCAGLIONE").AsFloat();
  r.senzaScaglione = q.FieldByName("QUANTITASCAGLIONE").IsNull();
  return r;
}

// The dialog's row written under the hold of the list, the page reloaded
// on it: a new row, or the edit of the row `vecchia`.
void ScriviRiga(TLisFasEditForm& w, TScontiNuovoForm& d, const char* errore,
                const std::optional<sconti::RigaSconto>& vecchia) {
  const std::string& lista = w.IDListinoCorrente;
  PresaTestata::Rinnovo rinnovo{.errore = errore,
                                .controlla = [&d] { return d.PrimoControlloFallito(); },
                                .genere = PresaTestata::Genere::Sconti};
  if (vecchia) rinnovo.letture = {sconti::RigheLeggiAggiorna(lista, *vecchia)};
  const auto presa = w.PrendiListino(lista, rinnovo);
  if (!presa) return;
  sconti::ValoriSconto v;
  pagina::Scrivi(
      *w.QueryAux1,
      [&] {
        v = sconti::Componi(d.Campi());
        if (vecchia)
          pagina::EseguiSuRiga(*w.QueryAux1, sconti::RigheAggiorna(lista, v, *vecchia));
        else
          pagina::EseguiRighe(*w.QueryAux1, sconti::RigheInserisci(lista, v));
      },
      [&] {
        w.RicaricaDettSconti();
        w.FrameDettSconti1->QueryDettSconti->Locate(
            "DESCRIZIONE;QUANTITASCAGLIONE",
            {db::Value(v.descrizione), db::Value(std::stod(v.scaglione))});
      },
      errore, presa.get());
}

}  // namespace

void TLisFasEditForm::CaricaListaDettSconti() {
  // Closing saves the grid's layout with the titles it shows: done after
  // the titles were written, it would put the previous list's back.
  db::Query& q = *FrameDettSconti1->QueryDettSconti;
  q.Close();
  QueryAux1->Close();
  QueryAux1->SQL.Assign({sconti::SqlCampiSel(IDListinoCorrente)});
  QueryAux1->Open();
  QueryAux1->First();
  std::string titoli[3];
  for (int n = 1; n <= 3; ++n)
    titoli[n - 1] =
        sconti::Titolo(n, ValoreCampo(*QueryAux1, ("CAMPOSEL" + std::to_string(n)).c_str()),
                       [this](const std::string& c) { return EtichettaCampoSel(c); });
  // An operator with no saved layout rows gets no change. The layout rows
  // come and go with the grid's own saves, each in a transaction of its
  // own: the titles are written likewise, on a fresh view of the table.
  db::Transaction tr(QueryAux1->GetDatabase());
  tr.StartTransaction();
  db::Query titolo(QueryAux1->GetDatabase(), &tr);
  for (int n = 1; n <= 3; ++n)
    pagina::EseguiRighe(titolo, sconti::RigheTitolo(n, titoli[n - 1], DM().CodiceProgetto,
                                                    DM().Situazione3, TabX().GetNumUser()));
  titolo.Close();
  tr.Commit();

  q.SQL.Clear();
  q.SQL.Add(sconti::SqlElenco(IDListinoCorrente));
  q.Open();
}

void TLisFasEditForm::RicaricaDettSconti() {
  pagina::Ricarica(*FrameDettSconti1->QueryDettSconti, [this] { CaricaListaDettSconti(); });
}

// The operator's refresh shows what other operators committed too.
void TLisFasEditForm::FrameDettScontoEdit11ButtonAggiornaClick() { RinnovaVista(); }

void TLisFasEditForm::FrameDettScontoEdit11CheckBoxNessunaDataFinaleClick() {
  FrameDettScontoEdit11->DataFineDef->SetEnabled(
      !FrameDettScontoEdit11->CheckBoxNessunaDataFinale->Checked());
}

void TLisFasEditForm::FrameDettScontoEdit11ButtonNuovoClick() {
  auto dialogo = ui::MakeOwned<TScontiNuovoForm>(this, DM());
  TScontiNuovoForm& d = *dialogo;
  d.QueryAux->SetDatabase(QueryAux2->GetDatabase());
  // The selection fields are read on the window's view; the duplicate check takes a fresh one.
  d.QueryAux->SetTransaction(QueryAux1->GetTransaction());
  d.IDListino = IDListinoCorrente;
  d.PreparaSelezioni();
  d.DataInizioVal->SetDate(DataInizioDef->Date());
  d.DataFineVal->SetDate(DataFineDef->Date());
  d.DataFineVal->SetEnabled(DataFineDef->Enabled());
  d.CheckBoxNessunaDataFinale->SetChecked(
      FrameDettScontoEdit11->CheckBoxNessunaDataFinale->Checked());
  d.CheckBoxNessunaDataFinaleClick();
  if (d.ShowModal() != ui::mrOk) return;
  ScriviRiga(*this, d, "Errore interno: impossibile inserire un nuovo record", std::nullopt);
}

void TLisFasEditForm::FrameDettScontoEdit11ButtonEditClick() {
  db::Query& q = *FrameDettSconti1->QueryDettSconti;
  if (pagina::Vuota(q, pagina::SeVuota::TabellaVuota)) return;
  const sconti::RigaSconto vecchia = RigaCorrente(q);
  auto dialogo = ui::MakeOwned<TScontiNuovoForm>(this, DM());
  TScontiNuovoForm& d = *dialogo;
  d.ModoEdit = true;
  d.SetCaption("Edita sconto");
  d.QueryAux->SetDatabase(QueryAux2->GetDatabase());
  d.QueryAux->SetTransaction(QueryAux1->GetTransaction());
  d.IDListino = IDListinoCorrente;
  d.RigaOriginale = vecchia;
  d.PreparaSelezioni();
  dialoghi::DateDaRiga(q, *d.DataInizioVal, *d.DataFineVal, *d.CheckBoxNessunaDataFinale,
                       [&d] { d.CheckBoxNessunaDataFinaleClick(); });
  dialoghi::TestiDaRiga(q, {{d.EditDesc, "DESCRIZIONE"},
                            {d.EditQntSca, "QUANTITASCAGLIONE"},
                            {d.EditSconto1, "SCONTO1"},
                            {d.EditSconto2, "SCONTO2"},
                            {d.EditSconto3, "SCONTO3"},
                            {d.ComboBoxValoreSel1, "VALORESEL1"},
                            {d.ComboBoxValoreSel2, "VALORESEL2"},
                            {d.ComboBoxValoreSel3, "VALORESEL3"},
                            {d.EditProvvigione, "PROVVIGIONE"},
                            {d.EditOmaggioCodArticolo, "OMA_CODICE"},
                            {d.EditOmaggioEstCodice, "OMA_ESTENSIONE"},
                            {d.EditOmaggioSoglia, "OMA_SOGLIA"},
                            {d.EditOmaggioQuantita, "OMA_QUANTITA"},
                            {d.EditOmaggioMultipli, "OMA_MULTIPLI"}});
  if (d.ShowModal() != ui::mrOk) return;
  ScriviRiga(*this, d, "Errore interno: impossibile aggiornare il record corrente", vecchia);
}

void TLisFasEditForm::FrameDettScontoEdit11ButtonEliminaClick() {
  db::Query& q = *FrameDettSconti1->QueryDettSconti;
  if (pagina::Vuota(q, pagina::SeVuota::TabellaVuota)) return;
  const sconti::RigaSconto r = RigaCorrente(q);
  // The page is reloaded once the deletion is committed, outside it: a
  // reload that fails is not told as a deletion that failed.
  const auto riga =
      pagina::EliminaRigaCorrente(q, *QueryAux1, *QueryAux2, *Transazione2,
                                  {.cerca = sconti::RigheCerca(IDListinoCorrente, r),
                                   .prendi = PresaListinoCorrente(PresaTestata::Genere::Sconti),
                                   .statementi = {sconti::RigheElimina(IDListinoCorrente, r)}});
  if (!riga) return;
  RicaricaDettSconti();
  q.SetRecNo(*riga);
}

void TLisFasEditForm::FrameDettScontoEdit11ButtonAzzeraClick() {
  pagina::AzzeraLista(*QueryAux1, {.sql = sconti::SqlAzzera(IDListinoCorrente),
                                   .righe = sconti::SqlElenco(IDListinoCorrente),
                                   .prendi = PresaListinoCorrente(PresaTestata::Genere::Sconti),
                                   .ricarica = [this] { RicaricaDettSconti(); }});
}

void TLisFasEditForm::FrameDettScontoEdit11ButtonImpExpClick() {
  auto scambio = ui::MakeOwned<TImpExpLisScontiForm>(this, IDListinoCorrente, CellaDM);
  scambio->ShowModal();
  // An import may have renewed the editor's transaction, closing its grids.
  RicaricaVista();
}

}  // namespace velmaro
