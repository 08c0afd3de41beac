// The net-price rows of the current list (LISTSCDTNET) and their command
// bar; the discount rows are in lisfasedit_sconti.cpp, the statements in
// righenetti.cpp, what both row pages share in dialoghi_righe.h.
//
// Writes go through QueryAux1 (the context's default transaction), each
// followed by a retaining commit; re-reads before a deletion through
// QueryAux2 after restarting Transazione2. A refused write is rolled back
// and shows its box; the new period by date closes the running one only
// together with its own insert.
#include "context/datamodule.h"
#include "context/helpers.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/vuxgrid.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor/lisfasedit.h"
#include "pricelists/editor/pagina.h"
#include "pricelists/presalistino.h"
#include "pricelists/righe/dialoghi_righe.h"
#include "pricelists/righe/dialogo_netto.h"
#include "pricelists/righe/righe.h"
#include "pricelists/righe/righenetti.h"
#include "pricelists/scambio/impexpnetti.h"
#include "ui/application.h"
#include "ui/extctrls.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

namespace {

const char* const kErroreInserimento = "Errore interno: impossibile inserire un nuovo record";
netti::RigaNetto RigaCorrente(db::Query& q) {
  netti::RigaNetto r;
  r.codice = ValoreCampo(q, "CODICEARTICOLO");
  r.estensione = ValoreCampo(q, "ESTCODICE");
  r.senzaEstensione = q.FieldByName("ESTCODICE").IsNull();
  db::Field& inizio = q.FieldByName("DATAINIZIOVALIDITA");
  r.senzaInizio = inizio.IsNull();
  r.inizio = inizio.AsDateTime();
  r.scaglione = q.FieldByName("QUANTITASCAGLIONE").AsFloat();
  r.senzaScaglione = q.FieldByName("QUANTITASCAGLIONE").IsNull();
  return r;
}

}  // namespace

void TLisFasEditForm::CaricaListaDettNetti() {
  db::Query& q = *FrameDettNetti1->QueryDettNetti;
  q.Close();
  q.SQL.Clear();
  q.SQL.Add(netti::SqlElenco(IDListinoCorrente));
  q.Open();
}

void TLisFasEditForm::FrameDettNetti1QueryDettNettiAfterOpen(db::DataSet& dataSet) {
  db::Field* prezzo = dataSet.FindField("PREZZO");
  if (!prezzo) return;
  const int decimali = DM().Decimali > 0 ? DM().Decimali : 0;
  // Thousands grouped and the decimals shown (",0.00" with two); spelt with
  // a leading "#", since the platform's pictures take a "," that comes
  // before every digit placeholder as text to print.
  prezzo->DisplayFormat = "#,0." + std::string(decimali, '0');
  prezzo->EditFormat = "0." + std::string(decimali, '#');
}

void TLisFasEditForm::RicaricaDettNetti() {
  pagina::Ricarica(*FrameDettNetti1->QueryDettNetti, [this] { CaricaListaDettNetti(); });
}

// The operator's refresh shows what other operators committed too.
void TLisFasEditForm::FrameListiniEdit11ButtonAggiornaClick() { RinnovaVista(); }

void TLisFasEditForm::FrameListiniEdit11CheckBoxNessunaDataFinaleClick() {
  FrameListiniEdit11->DataFineDef->SetEnabled(
      !FrameListiniEdit11->CheckBoxNessunaDataFinale->Checked());
}

void TLisFasEditForm::FrameListiniEdit11ButtonNuovoClick() {
  auto dialogo = ui::MakeOwned<TListiniNuovoForm>(this, TabX());
  TListiniNuovoForm& d = *dialogo;
  d.IDListino = IDListinoCorrente;
  d.DataInizioVal->SetDate(DataInizioDef->Date());
  d.DataFineVal->SetDate(DataFineDef->Date());
  d.DataFineVal->SetEnabled(DataFineDef->Enabled());
  d.CheckBoxNessunaDataFinale->SetChecked(FrameListiniEdit11->CheckBoxNessunaDataFinale->Checked());
  d.CheckBoxNessunaDataFinaleClick();
  if (d.ShowModal() != ui::mrOk) return;

  netti::ValoriNetto v;
  try {
    v = netti::ComponiNuovo(d.Campi());
  } catch (const righe::ValoreNonValido&) {
    pagina::Errore(kErroreInserimento);
    return;
  }
  std::vector<std::string> estensioni{v.estensione};
  if (d.CheckBoxEstensioni->Checked()) {
    estensioni.clear();
    QueryAux1->Close();
    QueryAux1->SQL.Assign({netti::SqlEstensioni(v.codice)});
    for (QueryAux1->Open(); !QueryAux1->Eof(); QueryAux1->Next())
      estensioni.push_back(ValoreCampo(*QueryAux1, "ESTENSIONE"));
    QueryAux1->Close();
  }
  // Each extension stands alone: a refused one does not stop the others;
  // a list that cannot be held stops them all. A renewed view runs again
  // only the extension refused, once the check for its row passed again.
  for (const std::string& estensione : estensioni) {
    const auto presa = PrendiListino(IDListinoCorrente,
                                     {.errore = kErroreInserimento,
                                      .controlla = [&] { return d.Doppione(estensione); },
                                      .genere = PresaTestata::Genere::Netti});
    if (!presa && presa.Stato() == PresaTestata::Esito::ControlloFallito) continue;
    if (!presa) break;
    pagina::Scrivi(*QueryAux1, {netti::RigheInserisci(IDListinoCorrente, v, estensione)}, {},
                   kErroreInserimento, presa.get());
  }
  RicaricaDettNetti();
  FrameDettNetti1->QueryDettNetti->Locate(
      "CODICEARTICOLO;ESTCODICE;QUANTITASCAGLIONE",
      {db::Value(v.codice), db::Value(v.estensione), db::Value(std::stod(v.scaglione))});
}

void TLisFasEditForm::FrameListiniEdit11ButtonEditClick() {
  db::Query& q = *FrameDettNetti1->QueryDettNetti;
  if (pagina::Vuota(q, pagina::SeVuota::TabellaVuota)) return;
  const netti::RigaNetto vecchia = RigaCorrente(q);
  auto dialogo = ui::MakeOwned<TListiniNuovoForm>(this, TabX(), false);
  TListiniNuovoForm& d = *dialogo;
  d.ModoEdit = true;
  d.SetCaption("Edita netto");
  d.QueryAux->SetDatabase(QueryAux2->GetDatabase());
  // The check sees the rows this window wrote since its start.
  d.QueryAux->SetTransaction(QueryAux1->GetTransaction());
  d.IDListino = IDListinoCorrente;
  d.RigaOriginale = vecchia;
  dialoghi::DateDaRiga(q, *d.DataInizioVal, *d.DataFineVal, *d.CheckBoxNessunaDataFinale,
                       [&d] { d.CheckBoxNessunaDataFinaleClick(); });
  dialoghi::TestiDaRiga(q, {{d.EditCodArt, "CODICEARTICOLO"},
                            {d.EditEstCod, "ESTCODICE"},
                            {d.EditPrezzo, "PREZZO"},
                            {d.EditQntSca, "QUANTITASCAGLIONE"},
                            {d.EditProvvigione, "PROVVIGIONE"},
                            {d.EditOmaggioCodArticolo, "OMA_CODICE"},
                            {d.EditOmaggioEstCodice, "OMA_ESTENSIONE"},
                            {d.EditOmaggioSoglia, "OMA_SOGLIA"},
                            {d.EditOmaggioQuantita, "OMA_QUANTITA"},
                            {d.EditOmaggioMultipli, "OMA_MULTIPLI"}});
  if (d.ShowModal() != ui::mrOk) return;
  const char* const errore = "Errore interno: impossibile aggiornare il record";
  const auto presa =
      PrendiListino(IDListinoCorrente,
                    {.letture = {netti::RigheLeggiAggiorna(IDListinoCorrente, vecchia)},
                     .errore = errore,
                     .controlla = [&d] { return d.PrimoControlloFallito(); },
                     .genere = PresaTestata::Genere::Netti});
  if (!presa) return;
  netti::ValoriNetto v;
  pagina::Scrivi(
      *QueryAux1,
      [&] {
        v = netti::ComponiModifica(d.Campi());
        pagina::EseguiSuRiga(*QueryAux1, netti::RigheAggiorna(IDListinoCorrente, v, vecchia));
      },
      [&] {
        RicaricaDettNetti();
        q.Locate("CODICEARTICOLO;ESTCODICE;QUANTITASCAGLIONE",
                 {db::Value(v.codice), db::Value(v.estensione), db::Value(std::stod(v.scaglione))});
      },
      errore, presa.get());
}

// A new price period for the current row's article from the default start.
void TLisFasEditForm::FrameListiniEdit11ButtonNuovoDataClick() {
  if (!TestoEUnaData(DataInizioDef->Text())) {
    pagina::Avviso("Data inizio default non valida");
    return;
  }
  db::Query& q = *FrameDettNetti1->QueryDettNetti;
  if (pagina::Vuota(q, pagina::SeVuota::TabellaVuota)) return;
  const netti::RigaNetto r = RigaCorrente(q);
  const std::string prezzo = righe::NumeroPerSQL(q.FieldByName("PREZZO").AsFloat());
  const plat::DateTime nuovoInizio = FrameListiniEdit11->DataInizioDef->Date();
  const std::string fine = CheckBoxNessunaDataFinale->Checked() ||
                                   !TestoEUnaData(FrameListiniEdit11->DataFineDef->Text())
                               ? "NULL"
                               : "'" + righe::DataTrattini(DataFineDef->Date()) + "'";
  // Held first, so the check below reads every row of the list.
  db::Transaction& t = *QueryAux1->GetTransaction();
  const auto presa =
      PrendiListino(IDListinoCorrente, {.letture = {netti::RigheLeggiPeriodo(IDListinoCorrente, r)},
                                        .errore = kErroreInserimento,
                                        .genere = PresaTestata::Genere::Netti});
  if (!presa) return;
  if (pagina::Trova(*QueryAux1, netti::RigheEsistePeriodo(IDListinoCorrente, r, nuovoInizio))) {
    // The command stops here: the list is given back before the box.
    presa->Annulla();
    pagina::Avviso("Attenzione: il codice inserito è già in uso");
    return;
  }
  // The running period closes only together with the new one opening; the
  // second keep-open commit follows the hold's own.
  if (!pagina::Scrivi(
          *QueryAux1,
          [&] {
            pagina::EseguiSuRiga(*QueryAux1,
                                 netti::RigheChiudiPeriodo(IDListinoCorrente, r, nuovoInizio));
            pagina::EseguiRighe(*QueryAux1, netti::RigheNuovoPeriodo(IDListinoCorrente, r, prezzo,
                                                                     nuovoInizio, fine));
          },
          [&t] { t.CommitRetaining(); }, kErroreInserimento, presa.get()))
    return;
  RicaricaDettNetti();
  q.Locate("IDLISTSC;CODICEARTICOLO;ESTCODICE;DATAINIZIOVALIDITA",
           {db::Value(IDListinoCorrente), db::Value(r.codice), db::Value(r.estensione),
            db::Value::FromDateTime(DataInizioDef->Date())});
}

void TLisFasEditForm::FrameListiniEdit11ButtonEliminaClick() {
  db::Query& q = *FrameDettNetti1->QueryDettNetti;
  if (pagina::Vuota(q, pagina::SeVuota::TabellaVuota)) return;
  const netti::RigaNetto r = RigaCorrente(q);
  // The page is reloaded once the deletion is committed, outside it: a
  // reload that fails is not told as a deletion that failed.
  const auto riga =
      pagina::EliminaRigaCorrente(q, *QueryAux1, *QueryAux2, *Transazione2,
                                  {.cerca = netti::RigheCerca(IDListinoCorrente, r),
                                   .prendi = PresaListinoCorrente(PresaTestata::Genere::Netti),
                                   .statementi = {netti::RigheElimina(IDListinoCorrente, r)}});
  if (!riga) return;
  RicaricaDettNetti();
  q.SetRecNo(*riga);
}

void TLisFasEditForm::FrameListiniEdit11ButtonAzzeraClick() {
  pagina::AzzeraLista(*QueryAux1, {.sql = netti::SqlAzzera(IDListinoCorrente),
                                   .righe = netti::SqlElenco(IDListinoCorrente),
                                   .prendi = PresaListinoCorrente(PresaTestata::Genere::Netti),
                                   .ricarica = [this] { RicaricaDettNetti(); }});
}

void TLisFasEditForm::FrameListiniEdit11ButtonImpExpClick() {
  auto scambio = ui::MakeOwned<TImpExpLisNettiForm>(this, IDListinoCorrente, CellaDM);
  scambio->ShowModal();
  // An import may have renewed the editor's transaction, closing its grids.
  RicaricaVista();
}

}  // namespace velmaro
