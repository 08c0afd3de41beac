// Searching a grid: F5 filters on the current column while the operator
// types (a condition added to the base SQL, or a record filter for tables
// and in-memory sets), "Generica" searches every column, F6 cancels.
#include <string>
#include <vector>

#include "context/editdata.h"
#include "context/helpers.h"
#include "context/memorydata.h"
#include "db/database.h"
#include "db/query.h"
#include "db/table.h"
#include "grid/ricercasql.h"
#include "grid/rvuxgrid.h"
#include "grid/vuxgrid.h"
#include "ui/application.h"
#include "ui/make.h"
#include "ui/strings.h"
#include "ui/timer.h"
#include "ui/utf8.h"

namespace velmaro {

namespace {

constexpr char kInvio = '\r', kEsc = 27, kApostrofo = '\'';

void FermaTimer(TVuxGrid& g) {
  if (g.TimerRicerca) g.TimerRicerca->SetEnabled(false);
}

void Notifica(const ui::NotifyEvent& evento, TVuxGrid* g) {
  if (evento) evento(g);
}

// A date box that holds a whole date dd/mm/yyyy; 0 when it is not one.
double DataCompleta(const TEditData& box) {
  const std::string testo = box.Text();
  const double data = TestoInData(testo);
  return testo.size() == 10 && DataValida(data) && data > 0 ? data : 0;
}

std::string SenzaApici(const std::string& letterale) {
  return letterale.size() >= 2 ? letterale.substr(1, letterale.size() - 2) : letterale;
}

ricerca::Classe ClasseCampo(const TVuxGrid& g) {
  const db::DataSet* ds = g.SorgenteDati();
  const db::Field* f = ds ? ds->FindField(g.CampoRicerca) : nullptr;
  return f ? ricerca::ClasseDi(f->DataType()) : ricerca::Classe::Testo;
}

// The single-column search as the dialog sets it up for the column's type.
void PreparaColonna(TVuxGrid& g, TRVuxGridForm& d, ricerca::Classe classe) {
  d.EditStringa->OnChange = [&g](ui::Component* s) { g.TestoRicercaCambiato(s); };
  d.EditStringa->OnKeyPress = [&g](ui::Component* s, char& k) { g.TastoRicerca(s, k); };
  if (g.TipoTabella != kTipoQuery) return;
  if (classe == ricerca::Classe::Data) {
    d.MostraDate();
    for (TEditData* box : {d.EditData1, d.EditData2})
      box->OnKeyPress = [&g](ui::Component* s, char& k) { g.TastoRicerca(s, k); };
  }
  if (classe == ricerca::Classe::Blob) d.EditUpper->SetEnabled(false);
}

// A text longer than a statement's literal can hold is refused with a
// warning before the query is touched.
bool TestoAmmesso(const std::string& testo) {
  if (ui::utf8::Length(testo) <= db::kMaxLiteralChars) return true;
  ui::MessageDlg("Il testo di ricerca è troppo lungo: al massimo " +
                     std::to_string(db::kMaxLiteralChars) + " caratteri",
                 ui::MsgDlgType::Warning, ui::mbOK);
  return false;
}

// The query's SQL: the base lines, the condition and its order. An empty
// text shows every row and forgets the condition, so that a window's next
// rebuild of the query does not bring back a filter nobody sees.
bool ApplicaCondizione(TVuxGrid& g, const std::string& testo, ricerca::Classe classe, double da,
                       double a) {
  auto* query = dynamic_cast<db::Query*>(g.SorgenteDati());
  if (!query) return true;
  if (classe != ricerca::Classe::Data && !TestoAmmesso(testo)) return false;
  TRVuxGridForm& d = *g.FormRicerca;
  g.ConnettivoRicerca = ricerca::Connettivo(g.SQLIniziale.lines);
  query->Close();
  query->SQL = g.SQLIniziale;
  if (testo.empty() && !(classe == ricerca::Classe::Data && da > 0)) {
    g.CondizioneRicerca.clear();
    query->Open();
    return true;
  }
  ricerca::Ricerca r;
  r.connettivo = g.ProssimoConnettivo();
  r.espressione = g.EspressioneRicerca;
  r.classe = classe;
  r.upper = d.EditUpper->Checked();
  r.valore = testo;
  if (classe == ricerca::Classe::Data) {
    r.dataDa = SenzaApici(DataPerSQL(da));
    if (a > 0) r.dataA = SenzaApici(DataPerSQL(a));
    d.EditTipoRicerca->SetItemIndex(0);
  }
  r.tipo = d.EditTipoRicerca->ItemIndex();
  const std::string condizione = ricerca::Condizione(r);
  query->SQL.Add(condizione);
  const int ordine = d.EditOrdinamento->ItemIndex();
  if (ordine == ricerca::kNessuno) {
    if (g.ModoOrdinamento != 2 || g.OrderBy)
      for (const std::string& riga : g.RigheOrdinamento()) query->SQL.Add(riga);
  } else {
    query->SQL.Add(ricerca::OrdineColonna(ordine, g.EspressioneRicerca, classe, r.upper));
  }
  g.CondizioneRicerca = condizione;
  query->Open();
  return true;
}

}  // namespace

std::string TVuxGrid::ProssimoConnettivo() {
  const std::string connettivo = ConnettivoRicerca.empty() ? "WHERE" : ConnettivoRicerca;
  if (connettivo == "WHERE") ConnettivoRicerca = "AND";
  return connettivo;
}

bool TVuxGrid::CampoConsentito(const std::string& campo) const {
  if (TabellaPiccola || RicercaF5Sempre) return true;
  const std::string indicizzati = ";" + ui::UpperCase(CampiIndicizzati) + ";";
  if (indicizzati.find(";" + ui::UpperCase(campo) + ";") != std::string::npos) return true;
  ui::MessageDlg(
      "Attenzione: Non è possibile eseguire la ricerca su un campo non indicizzato di una tabella "
      "di grandi dimensioni",
      ui::MsgDlgType::Warning, ui::mbOK);
  return false;
}

// F5: the search dialog on the current column.
void TVuxGrid::RicercaCampoCorrente() {
  Notifica(OnInizioRicerca, this);
  db::Field* campo = SelectedField();
  if (!campo || SelectedIndex() < 0 || SelectedIndex() >= Columns().Count()) {
    Notifica(OnFineRicerca, this);
    return;
  }
  if (TipoTabella == kTipoQuery && !CampoConsentito(campo->FieldName())) {
    Notifica(OnFineRicerca, this);
    return;
  }
  if (TipoTabella == kTipoQuery) SalvaAspettoGriglia();
  CampoRicerca = ui::UpperCase(campo->FieldName());
  EspressioneRicerca = EspressioneCampo(CampoRicerca, campo->Origin);
  const ricerca::Classe classe = ricerca::ClasseDi(campo->DataType());

  auto dialogo = ui::MakeOwned<TRVuxGridForm>(this);
  TRVuxGridForm& d = *dialogo;
  FormRicerca = &d;
  AspettoInRicercaLetto = false;
  struct Chiusura {
    TVuxGrid* g;
    ~Chiusura() { g->FormRicerca = nullptr, g->AspettoInRicercaLetto = false; }
  } chiusura{this};
  if (TipoTabella == kTipoQuery) d.EditGenerica->SetEnabled(true);
  CaricaPosizioneFinestra(d);
  if (TipoTabella == kTipoQuery && classe == ricerca::Classe::Numero) d.SoloTipiNumerici();
  PreparaColonna(*this, d, classe);
  d.Font = Font;
  d.SetCaption("Ricerca su " + Columns()[SelectedIndex()]->TitleText());
  d.ButtonAggRete->OnClick = [this](ui::Component* s) { AggiornaRicerca(s); };
  d.ButtonEsegui->OnClick = [this](ui::Component* s) { RicercaTuttiICampi(s); };
  d.EditGenerica->OnClick = [this](ui::Component* s) { GenericaClick(s); };
  d.ShowModal();

  FermaTimer(*this);
  SalvaPosizioneFinestra(d);
  OpzioniFiltro = {d.EditStringa->Text(), d.EditUpper->Checked(), d.EditTipoRicerca->ItemIndex()};
  dialogo.reset();
  FormRicerca = nullptr;
  AspettoInRicercaLetto = false;
  Notifica(OnFineRicerca, this);
  if (TipoTabella != kTipoQuery) return;
  CampoRicerca.clear();
  CaricaAspettoGriglia();
}

// Each change of the text; "&+".
void TVuxGrid::TestoRicercaCambiato(ui::Component*) {
  if (!TimerRicercaAbilitato || !TimerRicerca) {
    ComponiSqlRicerca();
    return;
  }
  TimerRicerca->SetEnabled(false);
  TimerRicerca->SetEnabled(true);
}

void TVuxGrid::AggiornaRicerca(ui::Component* sender) { TestoRicercaCambiato(sender); }

void TVuxGrid::TastoRicerca(ui::Component* sender, char& key) {
  if (!FormRicerca) return;
  if (key == kInvio) {
    key = 0;
    if (!ComponiSqlRicerca()) return;
    FormRicerca->Close();
    Notifica(OnFineRicerca, this);
    return;
  }
  if (key == kEsc) {
    key = 0;
    FormRicerca->Close();
    FermaTimer(*this);
    if (TipoTabella == kTipoQuery) {
      CondizioneRicerca.clear();
      RiapriQuery("");
    } else if (TipoTabella == kTipoMemoria && SorgenteDati()) {
      SorgenteDati()->SetFiltered(false);
    }
    return;
  }
  if (key == kApostrofo) {
    // Typed into a statement literal, an apostrophe would end it.
    key = 0;
    if (auto* box = dynamic_cast<ui::Edit*>(sender)) box->InsertTyped("\xC2\xB4");
  }
}

// Builds the condition of the typed text and applies it.
bool TVuxGrid::ComponiSqlRicerca() {
  FermaTimer(*this);
  if (!FormRicerca || !SorgenteDati()) return true;
  TRVuxGridForm& d = *FormRicerca;
  const ricerca::Classe classe = ClasseCampo(*this);
  const bool data = TipoTabella == kTipoQuery && classe == ricerca::Classe::Data;
  const double da = data ? DataCompleta(*d.EditData1) : 0;
  const double a = data && !d.EditData2->Text().empty() ? DataCompleta(*d.EditData2) : 0;
  // An incomplete date (either of the two) waits for the operator.
  if (data && (da == 0 || (!d.EditData2->Text().empty() && a == 0))) return true;
  const std::string testo = d.EditStringa->Text();

  if (TipoTabella == kTipoQuery) return ApplicaCondizione(*this, testo, classe, da, a);
  if (TipoTabella == kTipoTabella) {
    auto* tabella = dynamic_cast<db::Table*>(SorgenteDati());
    if (!tabella) return true;
    tabella->SetOnFilterRecord([this](db::DataSet& ds, bool& ok) { FiltraRecord(ds, ok); });
    tabella->SetFiltered(false);
    tabella->SetFiltered(true);
    if (!tabella->MasterSource) tabella->SetIndexFieldNames(CampoRicerca);
    tabella->First();
    CaricaAspettoGriglia();
    return true;
  }
  auto* memoria = dynamic_cast<TRxMemoryData*>(SorgenteDati());
  if (!memoria) return true;
  if (testo.empty()) {
    memoria->SetFiltered(false);
    return true;
  }
  memoria->SetOnFilterRecord([this](db::DataSet& ds, bool& ok) { FiltraRecord(ds, ok); });
  memoria->SetFiltered(false);
  memoria->SetFiltered(true);
  const int ordine = d.EditOrdinamento->ItemIndex();
  if (ordine == ricerca::kCrescente || ordine == ricerca::kDecrescente)
    memoria->SortByFields(CampoRicerca, true, ordine == ricerca::kDecrescente);
  memoria->First();
  return true;
}

// Record filter of tables and in-memory sets.
void TVuxGrid::FiltraRecord(db::DataSet& dataSet, bool& accept) {
  if (FormRicerca)
    OpzioniFiltro = {FormRicerca->EditStringa->Text(), FormRicerca->EditUpper->Checked(),
                     FormRicerca->EditTipoRicerca->ItemIndex()};
  accept = false;
  const db::Field* campo = CampoRicerca.empty() ? nullptr : dataSet.FindField(CampoRicerca);
  if (!campo) return;
  std::string v = campo->AsString(), t = OpzioniFiltro.Testo;
  if (OpzioniFiltro.Upper) v = ui::UpperCase(v), t = ui::UpperCase(t);
  switch (OpzioniFiltro.TipoRicerca) {
    case ricerca::kContiene:
      accept = v.find(t) != std::string::npos;
      break;
    case ricerca::kIniziaCon:
      accept = v.compare(0, t.size(), t) == 0;
      break;
    default:
      accept = v >= t;
      break;
  }
}

// "Esegui": the text in every column.
void TVuxGrid::RicercaTuttiICampi(ui::Component*) {
  Notifica(OnInizioRicerca, this);
  SalvaAspettoGriglia();
  if (!FormRicerca || !SorgenteDati()) return;
  const std::string testo = FormRicerca->EditStringa->Text();
  if (TipoTabella == kTipoQuery) {
    auto* query = dynamic_cast<db::Query*>(SorgenteDati());
    if (!query || !TestoAmmesso(testo)) return;
    std::vector<ricerca::Colonna> colonne;
    for (const db::Field* f : query->Fields()) colonne.push_back({f->Origin, f->DataType()});
    const std::vector<std::string> righe =
        ricerca::CondizioneGenerica(SQLIniziale.lines, colonne, testo);
    query->Close();
    query->SQL = SQLIniziale;
    for (const std::string& riga : righe) query->SQL.Add(riga);
    query->Open();
    CondizioneRicerca.clear();
    return;
  }
  if (TipoTabella != kTipoTabella) return;
  auto* tabella = dynamic_cast<db::Table*>(SorgenteDati());
  if (!tabella) return;
  tabella->SetOnFilterRecord([this](db::DataSet& ds, bool& ok) { FiltraRecord(ds, ok); });
  tabella->SetFiltered(false);
  tabella->SetFiltered(true);
  tabella->First();
  CaricaAspettoGriglia();
}

// "Generica": all columns, or back to the single column with everything
// the column's search had (handlers, date boxes).
void TVuxGrid::GenericaClick(ui::Component*) {
  if (!FormRicerca) return;
  TRVuxGridForm& d = *FormRicerca;
  const bool tutti = d.EditGenerica->Checked();
  for (ui::Control* c : std::initializer_list<ui::Control*>{d.EditTipoRicerca, d.EditUpper,
                                                            d.ButtonAggRete, d.EditOrdinamento})
    c->SetEnabled(!tutti);
  d.ButtonEsegui->SetEnabled(tutti);
  if (tutti) {
    FermaTimer(*this);
    d.EditStringa->Show();
    d.EditData1->Hide();
    d.EditStringa->OnChange = nullptr;
    d.EditStringa->OnKeyPress = nullptr;
    d.CaptionSalvata = d.Caption();
    d.SetCaption("Ricerca su TUTTI i campi");
    return;
  }
  d.SetCaption(d.CaptionSalvata);
  const ricerca::Classe classe = ClasseCampo(*this);
  if (classe == ricerca::Classe::Data) {
    d.EditStringa->Hide();
    d.EditData1->Show();
  }
  PreparaColonna(*this, d, classe);
}

// F6: the base SQL again, sorted as the grid is.
void TVuxGrid::AnnullaRicerca() {
  Notifica(OnInizioRicerca, this);
  SalvaAspettoGriglia();
  db::DataSet* ds = SorgenteDati();
  if (ds && TipoTabella == kTipoQuery) {
    CondizioneRicerca.clear();
    RiapriQuery("");
  } else if (ds && TipoTabella == kTipoTabella) {
    ds->SetFiltered(false);
    CaricaAspettoGriglia();
  } else if (ds) {
    ds->SetFiltered(false);
  }
  Notifica(OnFineRicerca, this);
}

}  // namespace velmaro
