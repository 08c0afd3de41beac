#include "pricelists/filecliente/generafileclienti.h"

#include "context/dbutility.h"
#include "context/editdata.h"
#include "context/helpers.h"
#include "context/memorydata.h"
#include "context/tabxform.h"
#include "db/database.h"
#include "db/datasource.h"
#include "db/query.h"
#include "db/transaction.h"
#include "pricelists/filecliente/filecliente.h"
#include "search/kestrin.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/extctrls.h"
#include "ui/lists.h"
#include "ui/make.h"
#include "ui/stdctrls.h"
#include "ui/timer.h"
#include "ui/utf8.h"

namespace velmaro {

namespace {

constexpr const char* kListiniFascia1 =
    "SELECT L.* FROM FASCESCDT F INNER JOIN LISTSC L ON (F.IDLISTINO=L.ID)";
constexpr const char* kListiniFascia2 = "WHERE F.IDFASCIA=";

constexpr const char* kRicercaCliente =
    "<VuxForm><NomeTabella>CLIENTI</NomeTabella><CodiceProgettoForm>505</CodiceProgettoForm>"
    "<SituazioneForm>9</SituazioneForm><CodiceProgetto>505</CodiceProgetto>"
    "<SituazioneVuxGrid>9</SituazioneVuxGrid>"
    "<CampiRic><CampoRic><Nome>CODICE</Nome><Etichetta>Codice</Etichetta></CampoRic>"
    "<CampoRic><Nome>CONTO</Nome><Etichetta>Conto</Etichetta></CampoRic>"
    "<CampoRic><Nome>RAGSOC</Nome><Etichetta>Rag. Soc.</Etichetta></CampoRic></CampiRic>"
    "<CampiRitorno><CampoRitorno>TIPOPREZZO</CampoRitorno></CampiRitorno></VuxForm>";

constexpr const char* kAiutoCriteri =
    "Le regole di esclusione vanno composte con i campi dell'anagrafica di magazzino\r\n"
    "Esempio\r\n(CLASSIFICAZIONE2='999')\r\n"
    "esclude tutti gli articoli con classificazione2 a 999";
constexpr const char* kAiutoGenera =
    "Il programma gestionale può esportare il file dei prezzi in automatico: nelle sue "
    "impostazioni dell'export automatico dei prezzi si indicano il nome del file esportato, "
    "la fascia di riferimento e lo script web da chiamare.";
constexpr const char* kEtichettaCriteri =
    "I criteri di esclusione vanno espressi come in una SELECT riportando le sole istruzioni "
    "che vanno dopo il WHERE";

bool SoloSpazi(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

}  // namespace

std::string CartellaDatabase(const std::string& percorso) {
  const std::size_t p = percorso.find_last_of("\\/:");
  return p == std::string::npos ? std::string() : percorso.substr(0, p + 1);
}

TGeneraFileClientiForm::TGeneraFileClientiForm(ui::Component* owner, CellaDataModule* cellaDM)
    : FinestraDaExport(owner, cellaDM) {
  SetName("GeneraFileClientiForm");
  CreaMemTab();
  CreaControlli();
  Inizializzazione();
  DoCreate();
}

void TGeneraFileClientiForm::CreaMemTab() {
  MemTab = ui::Make<TRxMemoryData>(this, "MemTab");
  MemTab->CreateField("IDListino", db::FieldType::Integer);
  MemTab->CreateField("NomeListino", db::FieldType::String, 20);
  MemTab->CreateField("S", db::FieldType::String, 1);
  MemTab->Open();
  DataSourceTab = ui::Make<db::DataSource>(this, "DataSourceTab", MemTab);
}

void TGeneraFileClientiForm::CreaControlli() {
  SetBounds(0, 0, 640, 600);
  auto click = [this](void (TGeneraFileClientiForm::*h)(ui::Component*)) {
    return [this, h](ui::Component* s) { (this->*h)(s); };
  };
  EditFileExp = ui::Make<ui::Edit>(this, "EditFileExp", {8, 8, 480, 21});
  ButtonFileExp = ui::Make<ui::Button>(this, "ButtonFileExp", {496, 8, 120, 25}, "File Exp");
  ButtonFileExp->OnClick = click(&TGeneraFileClientiForm::ButtonFileExpClick);
  SaveDialogExp = new ui::SaveDialog(this);
  SaveDialogExp->SetName("SaveDialogExp");
  SaveDialogExp->Title = "Selezionare file export";
  SaveDialogExp->Filter = "File csv|*.csv";
  SaveDialogExp->DefaultExt = "csv";

  EditFascia = ui::Make<ui::Edit>(this, "EditFascia", {8, 40, 120, 21});
  EditFascia->OnChange = click(&TGeneraFileClientiForm::EditFasciaChange);
  ButtonCercaUtente =
      ui::Make<ui::Button>(this, "ButtonCercaUtente", {136, 40, 90, 25}, "ID Fascia");
  ButtonCercaUtente->OnClick = click(&TGeneraFileClientiForm::ButtonCercaUtenteClick);

  RadioGroupTipoArticoli = ui::Make<ui::RadioGroup>(this, "RadioGroupTipoArticoli",
                                                    {8, 72, 300, 60}, "Articoli da esportare");
  RadioGroupTipoArticoli->Items.Add("Esporta tutto");
  RadioGroupTipoArticoli->Items.Add("Esporta solo articoli coinvolti nei listini selezionati");
  RadioGroupTipoArticoli->SetItemIndex(0);
  RadioGroupModoExportScaglioni = ui::Make<ui::RadioGroup>(
      this, "RadioGroupModoExportScaglioni", {316, 72, 300, 60}, "Modo export scaglioni");
  RadioGroupModoExportScaglioni->Items.Add("Colonna unica");
  RadioGroupModoExportScaglioni->Items.Add("Colonne multiple");
  RadioGroupModoExportScaglioni->SetItemIndex(1);

  ui::Make<ui::Button>(this, "ButtonListiniFascia", {8, 140, 100, 25}, "Listini fascia");
  LabelGridTab = ui::Make<ui::Label>(
      this, "LabelGridTab", {116, 144, 500, 13},
      "Listini da esportare (F3 o doppio click per selezionare/deselezionare):");
  GridTab = ui::Make<ui::DBGrid>(this, "GridTab", {8, 168, 480, 160});
  GridTab->Options &= ~ui::dgEditing;
  GridTab->ReadOnly = true;
  GridTab->DefaultDrawing = false;
  GridTab->SetDataSource(DataSourceTab);
  GridTab->OnDblClick = click(&TGeneraFileClientiForm::GridTabDblClick);
  GridTab->OnKeyUp = [this](ui::Component* s, ui::Word& k, ui::ShiftState sh) {
    GridTabKeyUp(s, k, sh);
  };
  GridTab->OnDrawDataCell = [this](ui::Component* s, const ui::Rect& r, db::Field* f,
                                   ui::GridDrawState st) { GridTabDrawDataCell(s, r, f, st); };
  ButtonSel = ui::Make<ui::Button>(this, "ButtonSel", {496, 168, 120, 25}, "Seleziona Tutto ");
  ButtonSel->OnClick = click(&TGeneraFileClientiForm::ButtonSelClick);
  ButtonDeSel =
      ui::Make<ui::Button>(this, "ButtonDeSel", {496, 200, 120, 25}, "Deseleziona  Tutto");
  ButtonDeSel->OnClick = click(&TGeneraFileClientiForm::ButtonDeSelClick);

  ui::Make<ui::Button>(this, "ButtonDataCalcolo", {8, 336, 120, 25}, "Data calcolo prezzi");
  EditData = ui::Make<TEditData>(this, "EditData", {136, 336, 90, 21});

  ButtonCriteriEscl =
      ui::Make<ui::Button>(this, "ButtonCriteriEscl", {8, 368, 120, 25}, "Criteri esclusione");
  ButtonCriteriEscl->OnClick = click(&TGeneraFileClientiForm::ButtonCriteriEsclClick);
  ButtonCritEsclHelp = ui::Make<ui::Button>(this, "ButtonCritEsclHelp", {136, 368, 25, 25}, "?");
  ButtonCritEsclHelp->OnClick = click(&TGeneraFileClientiForm::ButtonCritEsclHelpClick);
  ButtonAND = ui::Make<ui::Button>(this, "ButtonAND", {168, 368, 50, 25}, "AND");
  ButtonAND->OnClick = click(&TGeneraFileClientiForm::ButtonANDClick);
  MemoCriteriEscl = ui::Make<ui::Memo>(this, "MemoCriteriEscl", {8, 400, 608, 80});
  ui::Make<ui::Label>(this, "LabelCriteriEscl", {8, 484, 608, 13}, kEtichettaCriteri);

  ProgressExp = ui::Make<ui::ProgressBar>(this, "ProgressExp", {8, 504, 608, 17});
  ButtonGenera = ui::Make<ui::Button>(this, "ButtonGenera", {8, 530, 100, 25}, "Genera");
  ButtonGenera->OnClick = click(&TGeneraFileClientiForm::ButtonGeneraClick);
  ButtonGeneraHelp = ui::Make<ui::Button>(this, "ButtonGeneraHelp", {116, 530, 25, 25}, "?");
  ButtonGeneraHelp->OnClick = click(&TGeneraFileClientiForm::ButtonGeneraHelpClick);
  ButtonChiudi = ui::Make<ui::Button>(this, "ButtonChiudi", {516, 530, 100, 25}, "Chiudi");
  ButtonChiudi->OnClick = click(&TGeneraFileClientiForm::ButtonChiudiClick);

  TimerFascia = new ui::Timer(this);
  TimerFascia->SetName("TimerFascia");
  TimerFascia->SetEnabled(false);
  TimerFascia->SetInterval(1000);
  TimerFascia->SetOnTimer(click(&TGeneraFileClientiForm::TimerFasciaTimer));
}

void TGeneraFileClientiForm::Inizializzazione() {
  SetCaption(TitoloOperatore("Genera file excel clienti"));
  ApertaDaExport = false;
  EditFileExp->SetText(CartellaDatabase(TabX().IBDatabase1->DatabaseName) + "file.csv");
  EditData->SetText(ui::FormatDate(ui::Today()));
  MemTab->FieldByName("S").Visible = false;
  GridTab->Columns().RebuildDefault();
}

// ---- the band's lists

void TGeneraFileClientiForm::EditFasciaChange(ui::Component*) {
  TimerFascia->SetEnabled(false);
  TimerFascia->SetEnabled(true);
}

void TGeneraFileClientiForm::TimerFasciaTimer(ui::Component*) {
  TimerFascia->SetEnabled(false);
  MemTab->EmptyTable();
  const std::string testo = EditFascia->Text();
  if (testo.empty()) return;
  std::string fascia;
  if (!FasciaIntera(testo, fascia)) {
    ui::MessageDlg(ErroreFasciaNonIntera(testo), ui::MsgDlgType::Error, ui::mbOK);
    return;
  }
  // A timer has no caller to hand an error to: the operator sees it here.
  try {
    CaricaListini(fascia);
  } catch (const std::exception& e) {
    if (MemTab->State() != db::DataSetState::Browse) MemTab->Cancel();
    if (MemTab->ControlsDisabled()) MemTab->EnableControls();
    MemTab->EmptyTable();
    ui::App().ShowException(e);
  }
}

// On a view taken now: the band's lists as they are when it is chosen,
// not as they were when the window opened.
void TGeneraFileClientiForm::CaricaListini(const std::string& fascia) {
  LeggiSuVistaNuova(
      TabX().IBDatabase1, {kListiniFascia1, kListiniFascia2 + fascia + " ORDER BY F.NRIGA"},
      [this](db::Query& q) {
        MemTab->DisableControls();
        for (; !q.Eof(); q.Next()) {
          MemTab->Append();
          MemTab->FieldByName("IDListino").SetAsInteger(q.FieldByName("ID").AsInteger());
          MemTab->FieldByName("NomeListino")
              .SetAsString(ui::utf8::Sub(q.FieldByName("NOME").AsString(), 0, 20));
          MemTab->FieldByName("S").SetAsString("1");
          MemTab->Post();
        }
        MemTab->First();
        MemTab->EnableControls();
      });
}

void TGeneraFileClientiForm::GridTabDblClick(ui::Component*) {
  if (MemTab->IsEmpty()) return;
  db::Field& s = MemTab->FieldByName("S");
  const bool era = s.AsString() == "1";
  MemTab->Edit();
  s.SetAsString(era ? "0" : "1");
  MemTab->Post();
}

void TGeneraFileClientiForm::GridTabKeyUp(ui::Component* sender, ui::Word& key, ui::ShiftState) {
  if (key == ui::VK_F3) GridTabDblClick(sender);
}

void TGeneraFileClientiForm::GridTabDrawDataCell(ui::Component*, const ui::Rect& rect,
                                                 db::Field* field, ui::GridDrawState) {
  ui::Canvas& c = GridTab->Canvas;
  c.Brush.Color = MemTab->FieldByName("S").AsString() == "1" ? ui::clBackground : ui::clWindow;
  c.Font.Color = ui::clBlack;
  c.FillRect(rect);
  c.TextOut(rect.Left + 2, rect.Top + 2, field ? field->AsString() : std::string());
}

void TGeneraFileClientiForm::SegnaTutti(const char* valore) {
  MemTab->DisableControls();
  for (MemTab->First(); !MemTab->Eof(); MemTab->Next()) {
    MemTab->Edit();
    MemTab->FieldByName("S").SetAsString(valore);
    MemTab->Post();
  }
  MemTab->First();
  MemTab->EnableControls();
}

void TGeneraFileClientiForm::ButtonSelClick(ui::Component*) { SegnaTutti("1"); }
void TGeneraFileClientiForm::ButtonDeSelClick(ui::Component*) { SegnaTutti("0"); }

std::vector<std::string> TGeneraFileClientiForm::ListiniSelezionati() {
  std::vector<std::string> ids;
  const db::Bookmark posto = MemTab->IsEmpty() ? db::kNoBookmark : MemTab->GetBookmark();
  for (MemTab->First(); !MemTab->Eof(); MemTab->Next())
    if (MemTab->FieldByName("S").AsString() == "1")
      ids.push_back(MemTab->FieldByName("IDListino").AsString());
  if (posto != db::kNoBookmark) MemTab->GotoBookmark(posto);
  return ids;
}

// ---- the other commands

void TGeneraFileClientiForm::ButtonChiudiClick(ui::Component*) { Close(); }

void TGeneraFileClientiForm::ButtonCercaUtenteClick(ui::Component*) {
  // The library's own module handle has no meaning here: 0.
  const std::string risposta =
      RicercaKestrin(TabX().GetNumUser(), 0, kRicercaCliente, ChiamanteKestrin::Listini);
  if (!risposta.empty()) EditFascia->SetText(risposta);
}

void TGeneraFileClientiForm::ButtonFileExpClick(ui::Component*) {
  if (SaveDialogExp->Execute()) EditFileExp->SetText(SaveDialogExp->FileName);
}

void TGeneraFileClientiForm::ButtonCriteriEsclClick(ui::Component*) { MemoCriteriEscl->SetFocus(); }

void TGeneraFileClientiForm::ButtonCritEsclHelpClick(ui::Component*) {
  ui::ShowMessage(kAiutoCriteri);
}

void TGeneraFileClientiForm::ButtonGeneraHelpClick(ui::Component*) {
  ui::MessageDlg(kAiutoGenera, ui::MsgDlgType::Information, ui::mbOK);
}

void TGeneraFileClientiForm::ButtonANDClick(ui::Component*) {
  ui::Strings& righe = MemoCriteriEscl->Lines;
  if (righe.Count() < 2) return;
  std::vector<std::string> piene;
  for (int i = 0; i < righe.Count(); ++i)
    if (!SoloSpazi(righe[i])) piene.push_back(righe[i]);
  righe.Clear();
  for (std::size_t i = 0; i < piene.size(); ++i) {
    if (i) righe.Add("AND");
    righe.Add(piene[i]);
  }
}

// ---- the generation

void TGeneraFileClientiForm::ButtonGeneraClick(ui::Component*) {
  try {
    Genera();
  } catch (const std::exception& e) {
    ui::App().ShowException(e);
  }
}

bool TGeneraFileClientiForm::CriteriInUso(db::Transaction& vista, std::string& criteri) {
  criteri.clear();
  const std::string memo = MemoCriteriEscl->Text();
  if (memo.empty()) return true;
  std::int64_t conteggio = 0;
  try {
    db::Query q(TabX().IBDatabase1, &vista);
    q.ParamCheck = false;
    q.SQL.Add("SELECT COUNT(*) C FROM ANAMAG WHERE NOT(" + memo + ")");
    q.Open();
    conteggio = q.FieldByName("C").AsLargeInt();
  } catch (const std::exception&) {
    conteggio = 0;  // criteria that are no valid SQL are asked about like empty ones
  }
  if (conteggio > 0) {
    criteri = memo;
    return true;
  }
  return ui::MessageDlg("Nessun record trovato con i criteri impostati. Esportare tutto?",
                        ui::MsgDlgType::Warning, ui::mbYesNo) == ui::mrYes;
}

void TGeneraFileClientiForm::Genera() {
  const std::string testoData = EditData->Text();
  if (testoData.empty()) {
    ui::MessageDlg("\"Data calcolo prezzi\" obbligatoria", ui::MsgDlgType::Warning, ui::mbOK);
    return;
  }
  const double data = TestoInData(testoData);
  if (!DataValida(data)) {
    ui::MessageDlg("\"Data calcolo prezzi\" non valida", ui::MsgDlgType::Warning, ui::mbOK);
    return;
  }
  const std::string percorso = EditFileExp->Text();
  if (percorso.empty()) return ui::ShowMessage("Specificare un file dove esportare");
  if (EditFascia->Text().empty()) return ui::ShowMessage("Specificare una fascia");
  RichiestaFileClienti r;
  if (!FasciaIntera(EditFascia->Text(), r.Fascia)) {
    ui::MessageDlg(ErroreFasciaNonIntera(EditFascia->Text()), ui::MsgDlgType::Error, ui::mbOK);
    return;
  }
  // Every read of the generation on one view, taken when it starts: the
  // bands, lists and prices as other operators committed them by then,
  // not as they stood when the window opened. The window writes nothing.
  db::Transaction vista(TabX().IBDatabase1);
  vista.Params = TabX().IBTransaction1->Params;
  vista.StartTransaction();
  if (!CriteriInUso(vista, r.Criteri)) return;
  r.Data = MeseGiornoAnno(data, '/');
  r.SoloListiniSelezionati = RadioGroupTipoArticoli->ItemIndex() == 1;
  r.ColonnaUnica = RadioGroupModoExportScaglioni->ItemIndex() == 0;
  r.ListiniSelezionati = ListiniSelezionati();

  ProgressExp->SetPosition(0);
  {
    GeneratoreFileClienti generatore(*TabX().IBDatabase1, vista);
    generatore.Genera(r, percorso, [this](int p) { ProgressExp->SetPosition(p); });
  }
  vista.Commit();
  ui::ShowMessage("Generazione completata");
}

void ApriGeneraFileClientiForm(std::int32_t utente, std::int32_t idApertura) {
  LanciaFinestra<TGeneraFileClientiForm>(utente, idApertura, {.DirectoryDiLavoro = true});
}

}  // namespace velmaro
