#include "pricelists/righe/dialogo_netto.h"

#include "context/dbutility.h"
#include "context/helpers.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "db/transaction.h"
#include "platform/format.h"
#include "pricelists/righe/dialoghi_righe.h"
#include "pricelists/righe/righe.h"
#include "ui/application.h"
#include "ui/extctrls.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

using ui::Make;

namespace {
// The article search of the row dialogs: situation 2 of project 505.
constexpr int kSituazioneArticoli = 2;
const char* const kArticoloInUso = "Attenzione: l'articolo inserito è già in uso";
}  // namespace

TListiniNuovoForm::TListiniNuovoForm(ui::Component* owner, TTabXForm& contesto,
                                     bool transazionePropria)
    : ui::Form(owner), contesto_(contesto) {
  SetName("ListiniNuovoForm");
  SetCaption("Nuovo netto");
  BorderStyle = ui::FormBorderStyle::Dialog;
  Position = ui::FormPosition::DesktopCenter;
  SetClientSize(470, 420);
  Transazione = Make<db::Transaction>(this, "Transazione");
  QueryAux = Make<db::Query>(this, "QueryAux");
  CreaControlli();
  if (transazionePropria) {
    Transazione->SetDefaultDatabase(contesto.IBDatabase1);
    Transazione->Params = {"isc_tpb_concurrency", "isc_tpb_nowait"};
    QueryAux->SetDatabase(contesto.IBDatabase1);
    QueryAux->SetTransaction(Transazione);
  }
  DoCreate();
}

void TListiniNuovoForm::CreaControlli() {
  int y = 12;
  auto riga = [&](const char* nome, const char* testo, ui::Edit*& edit, int larghezza) {
    Make<ui::Label>(this, std::string("Label") + nome, {12, y + 3, 140, 16}, testo);
    edit = Make<ui::Edit>(this, std::string("Edit") + nome, {160, y, larghezza, 21});
    y += 28;
  };
  riga("CodArt", "Codice articolo:", EditCodArt, 160);
  ButtonCercaArt = Make<ui::Button>(this, "ButtonCercaArt", {324, 12, 24, 21}, "...");
  riga("EstCod", "Estensione codice:", EditEstCod, 80);
  riga("Prezzo", "Prezzo:", EditPrezzo, 100);
  riga("QntSca", "Quantità scaglione:", EditQntSca, 100);
  Make<ui::Label>(this, "LabelDataInizioVal", {12, y + 3, 140, 16}, "Data inizio validità:");
  DataInizioVal = Make<ui::DateTimePicker>(this, "DataInizioVal", {160, y, 96, 21});
  y += 28;
  Make<ui::Label>(this, "LabelDataFineVal", {12, y + 3, 140, 16}, "Data fine validità:");
  DataFineVal = Make<ui::DateTimePicker>(this, "DataFineVal", {160, y, 96, 21});
  CheckBoxNessunaDataFinale = Make<ui::CheckBox>(this, "CheckBoxNessunaDataFinale",
                                                 {262, y + 2, 130, 17}, "Nessuna data fine");
  y += 28;
  riga("Provvigione", "Provvigione:", EditProvvigione, 100);

  const dialoghi::GruppoOmaggio omaggio = dialoghi::CreaGruppoOmaggio(this, y);
  GroupBoxOmaggio = omaggio.gruppo;
  EditOmaggioCodArticolo = omaggio.codice;
  ButtonOmaggioCodArticolo = omaggio.cerca;
  EditOmaggioEstCodice = omaggio.estensione;
  EditOmaggioSoglia = omaggio.soglia;
  EditOmaggioQuantita = omaggio.quantita;
  EditOmaggioMultipli = omaggio.multipli;
  y += 112;
  CheckBoxEstensioni = Make<ui::CheckBox>(this, "CheckBoxEstensioni", {12, y, 360, 17},
                                          "Applica valori a tutte le estensioni dell´articolo");
  y += 28;
  ButtonOK = Make<ui::Button>(this, "ButtonOK", {296, y, 75, 25}, "Ok");
  ButtonOK->Default = true;
  ButtonCancel = Make<ui::Button>(this, "ButtonCancel", {380, y, 75, 25}, "Annulla");
  ButtonCancel->Cancel = true;
  ButtonCancel->ModalResult = ui::mrCancel;

  OnShow = [this](ui::Component*) { FormShow(); };
  ButtonOK->OnClick = [this](ui::Component*) { ButtonOKClick(); };
  ButtonCercaArt->OnClick = [this](ui::Component*) { ButtonCercaArtClick(); };
  ButtonOmaggioCodArticolo->OnClick = [this](ui::Component*) { ButtonOmaggioCodArticoloClick(); };
  CheckBoxNessunaDataFinale->OnClick = [this](ui::Component*) { CheckBoxNessunaDataFinaleClick(); };
}

bool TListiniNuovoForm::EsisteRiga(const std::string& codice, const std::string& estensione,
                                   const std::string& scaglione) {
  bool esiste = false;
  LeggiSuVistaNuova(
      QueryAux->GetDatabase(),
      netti::RigheDoppione(IDListino, codice, estensione, DataInizioVal->Date(), scaglione),
      [&esiste](db::Query& q) { esiste = !q.IsEmpty(); });
  return esiste;
}

std::string TListiniNuovoForm::PrimoControlloFallito() {
  const std::string codice = EditCodArt->Text();
  if (codice.empty()) return "Specificare un codice articolo";
  const std::string estensione = EditEstCod->Text().empty() ? "0" : EditEstCod->Text();
  if (!TestoEUnaData(DataInizioVal->Text())) return "Specificare una data inizio validita";
  if (!righe::EPrezzo(EditPrezzo->Text())) return "Specificare un prezzo";
  const std::string scaglione = EditQntSca->Text();
  const std::string lungo =
      dialoghi::TestoTroppoLungo(QueryAux->GetDatabase(), "LISTSCDTNET",
                                 {{"CODICEARTICOLO", codice, "Codice articolo"},
                                  {"ESTCODICE", estensione, "Estensione codice"}});
  if (!lungo.empty()) return lungo;
  if (!ModoEdit) return Doppione(estensione);
  if (!RigaOriginale) return {};
  // An edit that keeps the row's identity cannot make a second row.
  const netti::RigaNetto& r = *RigaOriginale;
  const bool stessa = codice == r.codice && estensione == r.estensione && !r.senzaInizio &&
                      int(DataInizioVal->Date()) == int(r.inizio) &&
                      std::stod(righe::InteroOZero(scaglione)) == r.scaglione;
  return stessa ? "" : Doppione(estensione);
}

std::string TListiniNuovoForm::Doppione(const std::string& estensione) {
  return EsisteRiga(EditCodArt->Text(), estensione, EditQntSca->Text()) ? kArticoloInUso : "";
}

void TListiniNuovoForm::ButtonOKClick() {
  const std::string errore = PrimoControlloFallito();
  if (!errore.empty()) {
    ui::MessageDlg(errore, ui::MsgDlgType::Warning, ui::mbOK);
    return;
  }
  SetModalResult(ui::mrOk);
}

void TListiniNuovoForm::CheckBoxNessunaDataFinaleClick() {
  dialoghi::NessunaDataFine(*CheckBoxNessunaDataFinale, *DataFineVal);
}

void TListiniNuovoForm::FormShow() {
  EditCodArt->SetFocus();
  if (ModoEdit) CheckBoxEstensioni->Hide();
}

void TListiniNuovoForm::CercaArticolo(ui::Edit& codice, ui::Edit& estensione) {
  righe::Articolo articolo;
  if (!dialoghi::CercaArticolo(contesto_.GetNumUser(), Handle(), kSituazioneArticoli, articolo))
    return;
  codice.SetText(articolo.codice);
  estensione.SetText(articolo.estensione);
}

void TListiniNuovoForm::ButtonCercaArtClick() { CercaArticolo(*EditCodArt, *EditEstCod); }

void TListiniNuovoForm::ButtonOmaggioCodArticoloClick() {
  CercaArticolo(*EditOmaggioCodArticolo, *EditOmaggioEstCodice);
}

netti::CampiNetto TListiniNuovoForm::Campi() const {
  netti::CampiNetto c;
  c.codice = EditCodArt->Text();
  c.estensione = EditEstCod->Text();
  c.prezzo = EditPrezzo->Text();
  c.scaglione = EditQntSca->Text();
  dialoghi::LeggiCampiRiga(*this, c);
  return c;
}

}  // namespace velmaro
