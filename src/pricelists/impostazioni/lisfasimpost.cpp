#include "pricelists/impostazioni/lisfasimpost.h"

#include <string>
#include <vector>

#include "context/datamodule.h"
#include "context/dbutility.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "db/transaction.h"
#include "pricelists/tipipr.h"
#include "ui/application.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

TLisFasImpostForm::TLisFasImpostForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("LisFasImpostForm");
  SetBounds(220, 160, 480, 200);
  QueryAux1 = ui::Make<db::Query>(this, "QueryAux1");
  QueryAux2 = ui::Make<db::Query>(this, "QueryAux2");
  CreaControlli();
  Inizializzazione();
  DoCreate();
}

void TLisFasImpostForm::CreaControlli() {
  ui::Make<ui::Label>(this, "LabelDirEcc", {8, 12, 200, 17}, "Database ecc:");
  EditDirEcc = ui::Make<ui::Edit>(this, "EditDirEcc", {212, 8, 256, 21});
  ui::Make<ui::Label>(this, "LabelListNettDef", {8, 40, 200, 17},
                      "Listino netti default per sconti");
  EditListNettDef = ui::Make<ui::Edit>(this, "EditListNettDef", {212, 36, 80, 21});
  CheckBoxAssClientiPX = ui::Make<ui::CheckBox>(this, "CheckBoxAssClientiPX", {8, 68, 260, 17},
                                                "Modalità PX associa clienti");
  ButtonSalva = ui::Make<ui::Button>(this, "ButtonSalva", {8, 136, 100, 25}, "Salva");
  ButtonAggTipiPR =
      ui::Make<ui::Button>(this, "ButtonAggTipiPR", {116, 136, 140, 25}, "Aggiorna TIPIPR");
  ButtonChiudi = ui::Make<ui::Button>(this, "ButtonChiudi", {368, 136, 100, 25}, "Chiudi");
  ButtonSalva->OnClick = [this](ui::Component*) { ButtonSalvaClick(); };
  ButtonAggTipiPR->OnClick = [this](ui::Component*) { ButtonAggTipiPRClick(); };
  ButtonChiudi->OnClick = [this](ui::Component*) { ButtonChiudiClick(); };
}

void TLisFasImpostForm::Inizializzazione() {
  SetCaption(TitoloOperatore("Listini fasce"));
  ApertaDaExport = false;
  for (db::Query* q : {QueryAux1, QueryAux2}) {
    q->SetDatabase(TabX().IBDatabase1);
    q->SetTransaction(TabX().IBTransaction1);
  }
  std::string valore;
  DM().ValoreTabX("ImpDirEccDB", false, valore);
  EditDirEcc->SetText(valore);
  DM().ValoreTabX("ListinoNettiDefPerSconti", false, valore);
  EditListNettDef->SetText(valore);
  DM().ValoreTabX("ModalitaPXAssCli", false, valore);
  CheckBoxAssClientiPX->SetChecked(valore == "1");
}

namespace {

// "A", "B": the settings named in a box.
std::string Elenco(const std::vector<std::string>& titoli) {
  std::string elenco;
  for (const std::string& t : titoli) elenco += (elenco.empty() ? "\"" : ", \"") + t + "\"";
  return elenco;
}

}  // namespace

// The three values are stored as the boxes show them: a later save wins,
// whoever saved before. The window's view dates from its opening or its
// last save, so it is renewed at the press (the boxes are not read again:
// what the operator typed stays): whether a value already has its row is
// then read as committed now, and a value another operator stored since
// is updated, not inserted a second time. The renewal also commits what a
// failed "Aggiorna TIPIPR" left pending: price types of the same refresh,
// which the first store committed anyway before.
// Each value is a write of its own, committed on its own: a row version
// refused (another save in between, or a transaction still running that
// wrote the row) rolls the store back, renews the view and stores once
// more; refused again, the value is in use. A store that fails otherwise
// (a text longer than the table keeps, a database error) must not be
// reported as saved: the operator is told which settings kept their old
// value.
void TLisFasImpostForm::ButtonSalvaClick() {
  db::Query& query = *DM().QueryAux1;
  db::Transaction& scrittura = *query.GetTransaction();
  const std::int32_t utente = TabX().GetNumUser();
  const std::string dirEcc = EditDirEcc->Text();
  const std::string listNettDef = EditListNettDef->Text();
  const std::string assClientiPX = CheckBoxAssClientiPX->Checked() ? "1" : "0";
  RinnovaTransazione(scrittura);

  std::vector<std::string> falliti;
  std::vector<std::string> inUso;
  auto salva = [&](const char* nome, const std::string& valore, const char* titolo) {
    const EsitoScrittura esito = ScriviRinnovando(
        scrittura,
        [&] {
          TTabXForm::ScriviValoreTabXSenzaConferma(query, utente, "TESTO", nome, valore, false);
        },
        nullptr);
    query.Close();
    if (esito == EsitoScrittura::InUso)
      inUso.push_back(titolo);
    else if (esito != EsitoScrittura::Scritta)
      falliti.push_back(titolo);
  };
  salva("ImpDirEccDB", dirEcc, "Database ecc");
  salva("ListinoNettiDefPerSconti", listNettDef, "Listino netti default per sconti");
  salva("ModalitaPXAssCli", assClientiPX, "Modalità PX associa clienti");

  if (falliti.empty() && inUso.empty()) {
    ui::ShowMessage("Impostazioni salvate");
    return;
  }
  std::string testo;
  if (!falliti.empty()) testo = "Impostazioni non salvate: " + Elenco(falliti);
  if (!inUso.empty()) {
    if (!testo.empty()) testo += "\n";
    testo += inUso.size() == 1
                 ? "L'impostazione " + Elenco(inUso) + " è in uso da un altro utente"
                 : "Le impostazioni " + Elenco(inUso) + " sono in uso da un altro utente";
    testo += ": riprovare più tardi";
  }
  ui::MessageDlg(testo, ui::MsgDlgType::Warning, ui::mbOK);
}

// The window's view dates from its opening: renewed first, so the writes
// meet the price types as other operators left them (an update of a row
// stored since would conflict). The renewal commits nothing of the
// operator's own: each stored value is committed when written, and what a
// refresh that failed left pending are price types of the same refresh,
// which this one writes again.
void TLisFasImpostForm::ButtonAggTipiPRClick() {
  RinnovaTransazione(*TabX().IBTransaction1);
  AggiornaTipiPR(*QueryAux1);
  TabX().IBTransaction1->CommitRetaining();
  ui::ShowMessage("Aggiornamento TIPIPR completato");
}

void TLisFasImpostForm::ButtonChiudiClick() { Close(); }

void ApriLisFasImpostForm(std::int32_t utente, std::int32_t idApertura) {
  LanciaFinestra<TLisFasImpostForm>(utente, idApertura);
}

}  // namespace velmaro
