#include "search/vuxricerche.h"

#include "context/positions.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/datasource.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/vuxgrid.h"
#include "platform/encoding.h"
#include "platform/hostfolder.h"
#include "ui/application.h"
#include "ui/dbedit.h"
#include "ui/dialogs.h"
#include "ui/extctrls.h"
#include "ui/make.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"

namespace velmaro {

TVuxRicercheForm::TVuxRicercheForm(ui::Component* owner, CellaTabX* cellaContesto)
    : TVuxRicercheForm(owner, cellaContesto, nullptr) {}

TVuxRicercheForm* TVuxRicercheForm::CreaConModulo(ui::Component* owner,
                                                  CellaDMKestrin* cellaModulo) {
  return new TVuxRicercheForm(owner, cellaModulo->Riferimento().CellaTabX, cellaModulo);
}

TVuxRicercheForm::TVuxRicercheForm(ui::Component* owner, CellaTabX* cellaContesto,
                                   CellaDMKestrin* cellaModulo)
    : ui::Form(owner), RifContesto(cellaContesto) {
  CreaComponenti();
  if (cellaModulo) {
    RifModuloDati = cellaModulo;
  } else {
    // The holder is taken only once the module stands.
    auto modulo = std::make_unique<TDataModuleKestrin>(&ui::App(), cellaContesto);
    RifModuloDati = new CellaDMKestrin(modulo.release());
    moduloProprio_ = true;
  }
  vivoModulo_ = ModuloDati().Ref();
  vivoContesto_ = Contesto().Ref();
  Inizializzazione();
  DoCreate();
}

TVuxRicercheForm::~TVuxRicercheForm() {
  // The list's handlers reach controls that the owner frees first.
  QueryMain->BeforeOpen = QueryMain->BeforeClose = QueryMain->AfterScroll = nullptr;
  RilasciaOggetti();
}

void TVuxRicercheForm::CreaComponenti() {
  SetName("VuxRicercheForm");
  SetCaption("Ricerca");
  SetBounds(100, 100, 888, 461);
  Transazione2 = ui::Make<db::Transaction>(this, "Transazione2");
  QueryMain = ui::Make<db::Query>(this, "QueryMain");
  QueryAux2 = ui::Make<db::Query>(this, "QueryAux2");
  QueryAux1 = ui::Make<db::Query>(this, "QueryAux1");
  QueryDecodifica = ui::Make<db::Query>(this, "QueryDecodifica");
  QueryMain->BufferChunks = 1000;
  DataSource = ui::Make<db::DataSource>(this, "DataSource", QueryMain);

  GridMain = ui::Make<TVuxGrid>(this, "GridMain", {5, 160, 866, 259});
  GridMain->Anchors = ui::akLeft | ui::akTop | ui::akRight | ui::akBottom;
  GridMain->OrderBy = true;
  GridMain->SetDataSource(DataSource);
  GridMain->OnInizioRicerca = [this](ui::Component*) { GridMain->Tag = 1; };
  GridMain->OnFineRicerca = [this](ui::Component*) { GridMain->Tag = 0; };
  GridMain->OnKeyUp = [this](ui::Component*, ui::Word& key, ui::ShiftState) { GridMainKeyUp(key); };
  GridMain->OnDrawDataCell = [this](ui::Component*, const ui::Rect& r, db::Field* f,
                                    ui::GridDrawState) {
    GridMain->Canvas.Brush.Color = ui::clWindow;
    GridMain->Canvas.FillRect(r);
    GridMain->Canvas.Font.Color = ui::clBlack;
    GridMain->Canvas.TextOut(r.Left + 2, r.Top + 2, f ? f->DisplayText() : std::string());
  };
  GridMain->Loaded();

  auto bottone = [this](const char* nome, int top, const char* titolo) {
    auto* b = ui::Make<ui::Button>(this, nome, {762, top, 110, 25}, titolo);
    b->Anchors = ui::akTop | ui::akRight;
    return b;
  };
  ButtonChiudi = bottone("ButtonChiudi", 79, "&Chiudi");
  ButtonRefresh = ui::Make<ui::Button>(this, "ButtonRefresh", {841, 103, 31, 25}, "±");
  ButtonRefresh->Anchors = ui::akTop | ui::akRight;
  ButtonAttivaSel = bottone("ButtonAttivaSel", 7, "&Attiva selezione");
  ButtonAnnSel = bottone("ButtonAnnSel", 31, "A&nnulla selezione");
  ButtonRitorna = bottone("ButtonRitorna", 55, "&Ritorna");
  ButtonChiudi->OnClick = [this](ui::Component*) { ButtonChiudiClick(); };
  ButtonRefresh->OnClick = [this](ui::Component*) { ButtonRefreshClick(); };
  ButtonAttivaSel->OnClick = [this](ui::Component*) { ButtonAttivaSelClick(); };
  ButtonAnnSel->OnClick = [this](ui::Component*) { ButtonAnnSelClick(); };

  ImagePreview = ui::Make<ui::Image>(this, "ImagePreview", {610, 8, 147, 140});
  ImagePreview->Stretch = ImagePreview->Proportional = true;
  ImagePreview->Anchors = ui::akLeft | ui::akTop | ui::akRight;
  OpenFileDialog = new ui::OpenDialog(this);
  OpenFileDialog->SetName("OpenFileDialog");

  QueryMain->BeforeOpen = [this](db::DataSet&) { QueryMainBeforeOpen(); };
  QueryMain->BeforeClose = [this](db::DataSet&) { QueryMainBeforeClose(); };
  QueryMain->AfterScroll = [this](db::DataSet&) { QueryMainAfterScroll(); };
  OnClose = [this](ui::Component*, ui::CloseAction& action) { FormClose(action); };
  OnDestroy = [this](ui::Component*) { FormDestroy(); };
}

void TVuxRicercheForm::Inizializzazione() {
  SetCaption(Caption() + " - Utente: " + Contesto().GetNomeUser() +
             " - Ditta: " + Contesto().GetDitta());
  LiberaInChiusura = false;
}

void TVuxRicercheForm::InizializzazioneVux() {
  Richiesta = LeggiRichiesta(TestoXML);
  NomeTabella = Richiesta.NomeTabella;
  CodiceProgettoForm = std::to_string(Richiesta.CodiceProgettoForm);
  SituazioneForm = std::to_string(Richiesta.SituazioneForm);

  TTabXForm& ctx = Contesto();
  const bool seconda = Richiesta.SecondaConnessione();
  database_ = seconda ? ctx.IBDatabase2 : ctx.IBDatabase1;
  transazione_ = seconda ? ctx.IBTransaction2 : ctx.IBTransaction1;
  Transazione2->SetActive(false);
  Transazione2->SetDefaultDatabase(database_);
  Transazione2->Params = {"isc_tpb_concurrency", "isc_tpb_nowait"};
  Transazione2->SetActive(true);
  for (db::Query* q : {QueryMain, QueryAux1, QueryDecodifica}) {
    q->SetDatabase(database_);
    q->SetTransaction(transazione_);
  }
  QueryAux2->SetDatabase(database_);
  QueryAux2->SetTransaction(Transazione2);

  CheckVuxTables();
  const int y = CreaControlliCampi();

  GridMain->CodiceProgetto = Richiesta.CodiceProgetto;
  GridMain->SetSituazione(Richiesta.SituazioneVuxGrid);
  GridMain->Utente = ctx.GetNumUser();
  GridMain->NomeTabella = NomeTabella;
  GridMain->SetSorgenteDati(QueryMain);
  GridMain->TabellaPiccola = true;
  GridMain->BinDir = ctx.GetV("BinDir");
  GridMain->Ditta = ctx.GetDitta();
  GridMain->RicercaCampoAbilitata = true;
  if (y > 150) {
    const int spostamento = y + 10 - GridMain->Top();
    GridMain->SetBounds(GridMain->Left(), y + 10, GridMain->Width(),
                        GridMain->Height() - spostamento);
    ImagePreview->SetHeight(y - 15);
  }

  QueryMain->Open();
  if (!Richiesta.PosizionaNomi.empty()) {
    std::vector<db::Value> valori;
    for (const std::string& v : Richiesta.PosizionaValori) valori.emplace_back(v);
    QueryMain->Locate(Richiesta.PosizionaNomi, valori, {true, true});
  }
  CaricaPosizioneForm(*this, ctx.GetNumUser(), Richiesta.SituazioneForm,
                      Richiesta.CodiceProgettoForm, *ctx.IBDatabase1);
}

// ---- the rows of controls of the search fields

int TVuxRicercheForm::CreaControlliCampi() {
  int y = 5;
  for (const CampoRicerca& campo : Richiesta.CampiRic) y = CreaRigaCampo(campo, y);
  return y;
}

int TVuxRicercheForm::CreaRigaCampo(const CampoRicerca& campo, int y) {
  const std::string& n = campo.Nome;
  const ui::Color sfondo = ui::clBackground;
  auto* etichetta = ui::Make<ui::Button>(this, "B" + n, {5, y, 130, 25}, campo.Etichetta);
  etichetta->TabStop = false;
  etichetta->OnClick = [this](ui::Component* s) { IButtonClick(s); };

  auto* ricerca = ui::Make<ui::Edit>(this, "FB" + n, {145, y + 3, 200, 21});
  ricerca->SetText(campo.ValoreDefault);
  ricerca->OnKeyPress = [this](ui::Component*, char& key) { FEditKeyPress(key); };
  if (n == Richiesta.FocusIniziale) ricerca->SetTabOrder(0);

  if (campo.HaRicercaSecLiv) {
    auto* b = ui::Make<ui::Button>(this, "BRIC" + n, {350, y, 25, 25}, "...");
    b->TabStop = false;
    b->OnClick = [this](ui::Component* s) { IButtonRicClick(s); };
  }
  if (n == Richiesta.CampoFile) {
    auto* b = ui::Make<ui::Button>(this, "BC" + n, {350, y, 25, 25}, "...");
    b->TabStop = false;
    b->OnClick = [this](ui::Component* s) { IButtonCClick(s); };
  }
  auto* corrente = ui::Make<ui::DBEdit>(this, "CB" + n, {390, y + 3, 200, 21});
  corrente->SetDataSource(DataSource);
  corrente->SetDataField(n);
  corrente->ReadOnly = true;
  corrente->Color = sfondo;
  corrente->TabStop = false;
  y += 30;
  if (!campo.Decodifica) return y;

  // The decoding row: the description of the typed code and of the current row's.
  auto* titolo = ui::Make<ui::Label>(this, "C" + n, {5, y, 130, 25}, campo.Decodifica->Etichetta);
  titolo->AutoSize = false;
  titolo->Alignment = ui::Alignment::Center;
  for (const char* prefisso : {"IFFB", "IRCB"}) {
    auto* box =
        ui::Make<ui::Edit>(this, prefisso + n, {prefisso[1] == 'F' ? 145 : 390, y + 3, 200, 21});
    box->ReadOnly = true;
    box->Color = sfondo;
    box->TabStop = false;
  }
  ricerca->OnChange = [this](ui::Component* s) { IEditFDecod(s); };
  corrente->OnChange = [this](ui::Component* s) { IEditRDecod(s); };
  return y + 30;
}

// ---- commands

void TVuxRicercheForm::ChiudiTransazioneLista() {
  if (transazione_ && transazione_->Active()) transazione_->CommitRetaining();
}

void TVuxRicercheForm::ButtonRefreshClick() {
  ChiudiTransazioneLista();
  if (transazione_) {
    transazione_->SetActive(false);
    transazione_->SetActive(true);
  }
  QueryMain->Close();
  QueryMain->Open();
}

void TVuxRicercheForm::ButtonAttivaSelClick() {
  ChiudiTransazioneLista();
  QueryMain->Close();
  QueryMain->Open();
}

void TVuxRicercheForm::ButtonAnnSelClick() {
  for (const CampoRicerca& campo : Richiesta.CampiRic)
    if (auto* e = dynamic_cast<ui::Edit*>(FindComponent("FB" + campo.Nome))) e->SetText("");
  ButtonAttivaSelClick();
}

void TVuxRicercheForm::ButtonChiudiClick() {
  Risposta.clear();
  Close();
}

void TVuxRicercheForm::ButtonRitornaFrameClick() {
  std::vector<std::string> campi = Richiesta.CampiRitorno;
  if (campi.empty()) campi = GetCampiChiavePrimaria();
  std::vector<std::string> valori;
  for (const std::string& c : campi) valori.push_back(QueryMain->FieldByName(c).AsString());
  Risposta = plat::Utf8ToUtf16(ComponiRisposta(valori));
}

void TVuxRicercheForm::ButtonRitornaDLLClick() {
  ButtonRitornaFrameClick();
  Close();
}

void TVuxRicercheForm::FEditKeyPress(char& key) {
  if (key == '\r') ButtonAttivaSelClick();
}

void TVuxRicercheForm::IButtonClick(ui::Component* sender) {
  if (auto* e = dynamic_cast<ui::Control*>(FindComponent("F" + sender->Name()))) e->SetFocus();
}

void TVuxRicercheForm::IButtonCClick(ui::Component* sender) {
  const std::string n = sender->Name().substr(2);
  if (!OpenFileDialog->Execute()) return;
  if (auto* e = dynamic_cast<ui::Edit*>(FindComponent("FB" + n)))
    e->SetText(OpenFileDialog->FileName);
  ButtonAttivaSelClick();
}

void TVuxRicercheForm::IButtonRicClick(ui::Component* sender) {
  const std::string n = sender->Name().substr(4);
  const CampoRicerca* campo = Richiesta.Campo(n);
  if (!campo || campo->RicercaSecLiv.empty()) {
    ui::ShowMessage("Errore interno. Impossibile avviare la ricerca di secondo livello.");
    return;
  }
  const std::u16string risposta =
      ApriRicercaDaXML(Contesto().GetNumUser(), std::int32_t(Handle()), campo->RicercaSecLiv);
  if (auto* e = dynamic_cast<ui::Edit*>(FindComponent("FB" + n)))
    e->SetText(plat::Utf16ToUtf8(risposta));
  ButtonAttivaSelClick();
}

void TVuxRicercheForm::IEditFDecod(ui::Component* sender) {
  const auto* edit = static_cast<ui::Edit*>(sender);
  Decodifica(edit->Name().substr(2), edit->Text(), "IF" + edit->Name());
}

void TVuxRicercheForm::IEditRDecod(ui::Component* sender) {
  const auto* edit = static_cast<ui::Edit*>(sender);
  Decodifica(edit->Name().substr(2), edit->Text(), "IR" + edit->Name());
}

void TVuxRicercheForm::GridMainKeyUp(ui::Word& key) {
  if (!GridMain->Focused()) return;
  int voce = -1;
  switch (key) {
    case ui::VK_F5:
      voce = 0;
      break;
    case ui::VK_F6:
      voce = 1;
      break;
    case ui::VK_F8:
      voce = 3;
      break;
    case ui::VK_F9:
      voce = 4;
      break;
    default:
      return;
  }
  if (voce < int(GridMain->VociGriglia.size())) GridMain->VociGriglia[voce]->Click();
}

void TVuxRicercheForm::QueryMainBeforeClose() {
  if (GridMain->Tag == 0 && QueryMain->Active() && !GridMain->AspettoSostituito)
    GridMain->SalvaAspettoGriglia();
}

void TVuxRicercheForm::QueryMainAfterScroll() {
  ImagePreview->Picture.Clear();
  if (Richiesta.CampoFoto.empty()) return;
  const db::Field* campo = QueryMain->FindField(Richiesta.CampoFoto);
  const std::string percorso = campo ? plat::NativePath(campo->AsString()) : std::string();
  if (percorso.empty() || !plat::FileExists(percorso)) return;
  try {
    ImagePreview->Picture.LoadFromFile(percorso);
  } catch (const std::exception&) {
    // A file that is no picture we read shows nothing, as a missing one does.
  }
}

}  // namespace velmaro
