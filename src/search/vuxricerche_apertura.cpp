// The two ways the search form is opened, embedded and standalone, and
// what it releases when it goes.
#include "context/launch.h"
#include "context/positions.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/vuxgrid.h"
#include "search/vuxricerche.h"
#include "ui/application.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

void TVuxRicercheForm::FormClose(ui::CloseAction& action) {
  try {
    GridMain->SalvaAspettoGriglia();
    SalvaPosizioneForm(*this, Contesto().GetNumUser(), Richiesta.SituazioneForm,
                       Richiesta.CodiceProgettoForm, *Contesto().IBDatabase1);
  } catch (const std::exception& e) {
    // What could not be remembered is told; the window still goes.
    ui::App().ShowException(e);
  }
  if (!LiberaInChiusura) return;
  RilasciaOggetti();
  action = ui::CloseAction::Free;
}

void TVuxRicercheForm::FormDestroy() {
  delete RifForm;
  RifForm = nullptr;
}

void TVuxRicercheForm::RilasciaOggetti() {
  if (rilasciato_ || !(LiberaInChiusura || moduloProprio_)) return;
  rilasciato_ = true;
  // The list runs on the context's connection: it closes, unsaved (the
  // close saved the layout already), before that connection can go.
  QueryMain->BeforeClose = nullptr;
  QueryMain->Close();
  Transazione2->SetActive(false);
  if (CellaDMKestrin* cella = RifModuloDati) {
    RifModuloDati = nullptr;
    if (vivoModulo_ && cella->Oggetto()) ui::Free(cella->Oggetto());
    cella->Imposta(nullptr);
    delete cella;
  }
  // An embedded form's context object belongs to its host.
  if (!contestoProprio_ || !RifContesto) return;
  CellaTabX* cella = RifContesto;
  RifContesto = nullptr;
  if (vivoContesto_ && cella->Oggetto()) ui::Free(cella->Oggetto());
  cella->Imposta(nullptr);
  delete cella;
}

TVuxRicercheForm* IncorporaRicerca(std::int32_t /*utente*/, std::int32_t idApertura,
                                   CellaTabX* cellaContesto, const std::string& richiesta,
                                   ui::Component* owner) {
  ui::Owned<TVuxRicercheForm> form(new TVuxRicercheForm(owner, cellaContesto));
  form->RifForm = nullptr;
  form->TestoXML = richiesta;
  form->InizializzazioneVux();
  form->Contesto().ScritturaHandleDiApertura(idApertura, std::int32_t(form->Handle()));
  form->LiberaInChiusura = true;
  form->ButtonChiudi->Hide();
  TVuxRicercheForm* f = form.get();
  form->ButtonRitorna->OnClick = [f](ui::Component*) { f->ButtonRitornaFrameClick(); };
  return form.release();
}

namespace {

// The operator parameter `nome` kept among the in-memory parameters.
void CaricaInMemoria(TTabXForm& ctx, const std::string& nome, std::int32_t utente) {
  std::string valore;
  ctx.CaricaParametro(nome, valore);
  ctx.Inserisci("BVN", nome, "", valore, "", "", "", "", std::to_string(utente));
}

void ConnettiDaParametro(TTabXForm& ctx, const std::string& nome, std::int32_t utente) {
  CaricaInMemoria(ctx, nome, utente);
  ctx.IBDatabase1->Close();
  ctx.ConnettiDatabase1(nome);
}

// The databases of a standalone search, by the first rule that applies.
void ScegliDatabase(TTabXForm& ctx, const RichiestaRicerca& r, std::int32_t utente) {
  if (r.SecondaConnessione()) {
    CaricaInMemoria(ctx, "Directory listino", utente);
    if (!ctx.GetV("Directory listino").empty()) {
      ctx.IBDatabase2->Close();
      ctx.ConnettiDatabase2("Directory listino");
    }
    // The data module and the window position work on the first connection.
    ConnettiDaParametro(ctx, "Archivio", utente);
  } else if (!r.ParametroArchivio.empty()) {
    ConnettiDaParametro(ctx, r.ParametroArchivio, utente);
  } else if (!r.PercorsoArchivio.empty()) {
    ctx.IBDatabase1->Close();
    ctx.ConnettiDatabase0(r.PercorsoArchivio);
  } else {
    ConnettiDaParametro(ctx, "Archivio", utente);
  }
}

}  // namespace

std::u16string ApriRicercaDaXML(std::int32_t utente, std::int32_t idApertura,
                                const std::string& richiesta) {
  CellaInCostruzione<TTabXForm> contesto;
  contesto.Imposta(new TTabXForm(&ui::App(), 0));
  TTabXForm& ctx = contesto.Riferimento();
  ctx.SetUserPerNum(utente);
  ScegliDatabase(ctx, LeggiRichiesta(richiesta), utente);
  CellaInCostruzione<TDataModuleKestrin> modulo;
  modulo.Imposta(new TDataModuleKestrin(&ui::App(), contesto.Holder()));
  // Freed here, not later: the search library that made the form is
  // unloaded as soon as its caller has the answer.
  ui::Owned<TVuxRicercheForm> form(TVuxRicercheForm::CreaConModulo(&ui::App(), modulo.Holder()));
  // From here on the form frees the module and the context, whatever happens.
  form->contestoProprio_ = form->LiberaInChiusura = true;
  (void)modulo.Consegna();
  (void)contesto.Consegna();
  TVuxRicercheForm* f = form.get();
  f->RifForm = new CellaRicerca(f);
  f->TestoXML = richiesta;
  f->InizializzazioneVux();
  ctx.ScritturaHandleDiApertura(idApertura, std::int32_t(f->Handle()));
  f->ButtonRitorna->OnClick = [f](ui::Component*) { f->ButtonRitornaDLLClick(); };

  const ui::ComponentRef vivo = f->Ref();
  f->ShowModal();
  if (!vivo) {
    (void)form.release();
    return std::u16string();
  }
  return f->Risposta;
}

}  // namespace velmaro
