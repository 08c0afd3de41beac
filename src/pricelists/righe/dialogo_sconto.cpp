#include "pricelists/righe/dialogo_sconto.h"

#include "context/datamodule.h"
#include "context/dbutility.h"
#include "context/helpers.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "platform/format.h"
#include "pricelists/righe/dialoghi_righe.h"
#include "pricelists/righe/righe.h"
#include "ui/application.h"
#include "ui/extctrls.h"
#include "ui/lists.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace velmaro {

using ui::Make;

namespace {
// The article search of selection 1 (situation 8) and of the gift (2).
constexpr int kSituazioneSelezione = 8;
constexpr int kSituazioneOmaggio = 2;

bool IniziaCon(const std::string& testo, const std::string& prefisso) {
  return testo.compare(0, prefisso.size(), prefisso) == 0;
}
}  // namespace

TScontiNuovoForm::TScontiNuovoForm(ui::Component* owner, TDataModuleVelmaro& dm)
    : ui::Form(owner), dm_(dm) {
  SetName("ScontiNuovoForm");
  SetCaption("Nuovo sconto");
  BorderStyle = ui::FormBorderStyle::Single;
  Position = ui::FormPosition::DesktopCenter;
  SetClientSize(470, 470);
  QueryAux = Make<db::Query>(this, "QueryAux");
  CreaControlli();
  DoCreate();
}

void TScontiNuovoForm::CreaControlli() {
  int y = 12;
  auto etichetta = [&](const std::string& nome, const char* testo) {
    return Make<ui::Label>(this, nome, {12, y + 3, 140, 16}, testo);
  };
  auto edit = [&](ui::Edit*& e, const char* nome, const char* testo, int larghezza) {
    etichetta(std::string("Label") + nome, testo);
    e = Make<ui::Edit>(this, std::string("Edit") + nome, {160, y, larghezza, 21});
    y += 28;
  };
  edit(EditDesc, "Desc", "Descrizione:", 290);
  etichetta("LabelDataInizioVal", "Data inizio validità:");
  DataInizioVal = Make<ui::DateTimePicker>(this, "DataInizioVal", {160, y, 96, 21});
  y += 28;
  etichetta("LabelDataFineVal", "Data fine validità:");
  DataFineVal = Make<ui::DateTimePicker>(this, "DataFineVal", {160, y, 96, 21});
  CheckBoxNessunaDataFinale = Make<ui::CheckBox>(this, "CheckBoxNessunaDataFinale",
                                                 {262, y + 2, 130, 17}, "Nessuna data fine");
  y += 28;
  edit(EditQntSca, "QntSca", "Quantità scaglione:", 100);
  edit(EditSconto1, "Sconto1", "Sconto 1:", 80);
  edit(EditSconto2, "Sconto2", "Sconto 2:", 80);
  edit(EditSconto3, "Sconto3", "Sconto 3:", 80);
  auto selezione = [&](ui::Label*& l, ui::ComboBox*& c, int n) {
    const std::string cifra = std::to_string(n);
    l = etichetta("LabelValoreSel" + cifra, ("Valore sel " + cifra + ":").c_str());
    c = Make<ui::ComboBox>(this, "ComboBoxValoreSel" + cifra, {160, y, 200, 21});
    y += 28;
  };
  selezione(LabelValoreSel1, ComboBoxValoreSel1, 1);
  ButtonCercaArt = Make<ui::Button>(this, "ButtonCercaArt", {364, y - 28, 24, 21}, "...");
  ButtonCercaArt->Hide();
  selezione(LabelValoreSel2, ComboBoxValoreSel2, 2);
  selezione(LabelValoreSel3, ComboBoxValoreSel3, 3);
  edit(EditProvvigione, "Provvigione", "Provvigione:", 100);

  const dialoghi::GruppoOmaggio omaggio = dialoghi::CreaGruppoOmaggio(this, y);
  GroupBoxOmaggio = omaggio.gruppo;
  EditOmaggioCodArticolo = omaggio.codice;
  ButtonOmaggioCodArticolo = omaggio.cerca;
  EditOmaggioEstCodice = omaggio.estensione;
  EditOmaggioSoglia = omaggio.soglia;
  EditOmaggioQuantita = omaggio.quantita;
  EditOmaggioMultipli = omaggio.multipli;
  y += 112;
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

ui::ComboBox* TScontiNuovoForm::Box(int n) const {
  return n == 1 ? ComboBoxValoreSel1 : n == 2 ? ComboBoxValoreSel2 : ComboBoxValoreSel3;
}

ui::Label* TScontiNuovoForm::Etichetta(int n) const {
  return n == 1 ? LabelValoreSel1 : n == 2 ? LabelValoreSel2 : LabelValoreSel3;
}

void TScontiNuovoForm::PreparaSelezioni() {
  QueryAux->Close();
  QueryAux->SQL.Clear();
  QueryAux->SQL.Add(std::string("SELECT CAMPOSEL1,CAMPOSEL2,CAMPOSEL3") +
                    (ModoEdit ? "" : ",TIPO") + " FROM LISTSC WHERE ID=" + IDListino);
  QueryAux->Open();
  const std::string colonne[] = {QueryAux->FieldByName("CAMPOSEL1").AsString(),
                                 QueryAux->FieldByName("CAMPOSEL2").AsString(),
                                 QueryAux->FieldByName("CAMPOSEL3").AsString()};
  if (!ModoEdit) TipoListino = QueryAux->FieldByName("TIPO").AsString();
  QueryAux->Close();
  for (int n = 1; n <= 3; ++n) PreparaSelezione(n, colonne[n - 1]);
}

void TScontiNuovoForm::PreparaSelezione(int n, const std::string& colonna) {
  if (n == 1 && colonna == "CODICE") {
    LabelValoreSel1->SetCaption("Codice articolo");
    ButtonCercaArt->Show();
    return;
  }
  if (n == 1 && !ModoEdit && IniziaCon(colonna, "ESTENSIONE")) {
    QueryAux->Close();
    QueryAux->SQL.Assign({"SELECT DISTINCT ESTENSIONE FROM ANAMAG ESTENSIONE"});
    for (QueryAux->Open(); !QueryAux->Eof(); QueryAux->Next())
      ComboBoxValoreSel1->Items.Add(QueryAux->FieldByName("ESTENSIONE").AsString());
    QueryAux->Close();
    LabelValoreSel1->SetCaption("ESTENSIONE");
    return;
  }
  if (n == 2 && colonna == "ESTENSIONE") {
    LabelValoreSel2->SetCaption("Estensione codice");
    return;
  }
  if (sconti::ETabellaClassificazione(colonna)) {
    RiempiClassificazione(n, colonna);
    Etichetta(n)->SetCaption(sconti::SoloPrimaMaiuscola(colonna));
  }
}

// The box shows "DESCRIZIONE - DESCRIZIONE1"; what is stored is the
// DESCRIZIONE kept at the chosen item's index, since either text may hold
// " - " itself. A table that cannot be read leaves the box free text.
void TScontiNuovoForm::RiempiClassificazione(int n, const std::string& tabella) {
  ui::ComboBox& box = *Box(n);
  std::vector<std::string>& descrizioni = descrizioni_[n - 1];
  try {
    QueryAux->Close();
    QueryAux->SQL.Assign({sconti::SqlClassificazione(tabella)});
    for (QueryAux->Open(); !QueryAux->Eof(); QueryAux->Next()) {
      const std::string d = QueryAux->FieldByName("DESCRIZIONE").AsString();
      box.Items.Add(
          sconti::VoceClassificazione(d, QueryAux->FieldByName("DESCRIZIONE1").AsString()));
      descrizioni.push_back(d);
    }
    QueryAux->Close();
    classificazione_[n - 1] = true;
  } catch (const std::exception&) {
    QueryAux->Close();
    box.Items.Clear();
    descrizioni.clear();
  }
}

std::string TScontiNuovoForm::Valore(int n) const {
  const ui::ComboBox& box = *Box(n);
  const std::vector<std::string>& descrizioni = descrizioni_[n - 1];
  const int i = box.ItemIndex();
  if (classificazione_[n - 1] && i >= 0 && i < int(descrizioni.size())) return descrizioni[i];
  return box.Text();
}

// A row another window stored since this one opened is a duplicate too.
bool TScontiNuovoForm::EsisteRiga() {
  bool esiste = false;
  LeggiSuVistaNuova(
      QueryAux->GetDatabase(),
      sconti::RigheDoppione(IDListino, EditDesc->Text(), DataInizioVal->Date(), EditQntSca->Text()),
      [&esiste](db::Query& q) { esiste = !q.IsEmpty(); });
  return esiste;
}

std::string TScontiNuovoForm::PrimoControlloFallito() {
  if (!TestoEUnaData(DataInizioVal->Text())) return "Specificare una data inizio validita";
  if (!ModoEdit && TipoListino == "S" && ComboBoxValoreSel1->Text().empty())
    return "Specificare una valore sel 1";
  const std::string lungo = dialoghi::TestoTroppoLungo(
      QueryAux->GetDatabase(), "LISTSCDTSCO", {{"DESCRIZIONE", EditDesc->Text(), "Descrizione"}});
  if (!lungo.empty()) return lungo;
  const char* const inUso = "Attenzione: lo sconto inserito è già in uso";
  if (!ModoEdit) return EsisteRiga() ? inUso : "";
  if (!RigaOriginale) return {};
  // An edit that keeps the row's identity cannot make a second row.
  const sconti::RigaSconto& r = *RigaOriginale;
  const bool stessa = EditDesc->Text() == r.descrizione && !r.senzaInizio &&
                      int(DataInizioVal->Date()) == int(r.inizio) &&
                      std::stod(righe::InteroOZero(EditQntSca->Text())) == r.scaglione;
  return !stessa && EsisteRiga() ? inUso : "";
}

void TScontiNuovoForm::ButtonOKClick() {
  const std::string errore = PrimoControlloFallito();
  if (!errore.empty()) {
    ui::MessageDlg(errore, ui::MsgDlgType::Warning, ui::mbOK);
    return;
  }
  if (EditSconto1->Text().empty() && EditSconto2->Text().empty() && EditSconto3->Text().empty()) {
    ui::MessageDlg("Nessun sconto specificato! Lo sconto1 verrà impostato a 0 in automatico",
                   ui::MsgDlgType::Warning, ui::mbOK);
    EditSconto1->SetText("0");
  }
  SetModalResult(ui::mrOk);
}

void TScontiNuovoForm::CheckBoxNessunaDataFinaleClick() {
  dialoghi::NessunaDataFine(*CheckBoxNessunaDataFinale, *DataFineVal);
}

void TScontiNuovoForm::FormShow() { EditDesc->SetFocus(); }

void TScontiNuovoForm::ButtonCercaArtClick() {
  righe::Articolo a;
  if (!dialoghi::CercaArticolo(dm_.TabX().GetNumUser(), Handle(), kSituazioneSelezione, a)) return;
  ComboBoxValoreSel1->SetText(a.codice);
  ComboBoxValoreSel2->SetText(a.estensione);
}

void TScontiNuovoForm::ButtonOmaggioCodArticoloClick() {
  righe::Articolo a;
  if (!dialoghi::CercaArticolo(dm_.TabX().GetNumUser(), Handle(), kSituazioneOmaggio, a)) return;
  EditOmaggioCodArticolo->SetText(a.codice);
  EditOmaggioEstCodice->SetText(a.estensione);
}

sconti::CampiSconto TScontiNuovoForm::Campi() const {
  sconti::CampiSconto c;
  c.descrizione = EditDesc->Text();
  c.scaglione = EditQntSca->Text();
  c.sconto1 = EditSconto1->Text();
  c.sconto2 = EditSconto2->Text();
  c.sconto3 = EditSconto3->Text();
  c.valore1 = Valore(1);
  c.valore2 = Valore(2);
  c.valore3 = Valore(3);
  dialoghi::LeggiCampiRiga(*this, c);
  return c;
}

}  // namespace velmaro
