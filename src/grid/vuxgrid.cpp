// The grid itself: creation, the popup menu and its commands that need no
// data set of their own (halve a column, print refusals), and the keys.
#include "grid/vuxgrid.h"

#include "db/query.h"
#include "db/table.h"
#include "ui/application.h"
#include "ui/menus.h"
#include "ui/strings.h"
#include "ui/timer.h"

namespace velmaro {

namespace {
const char* const kVoceRicerca = "Ricerca su campo Corrente";
const char* const kVoceQuery = "Query";
const char* const kVoceStampa = "Stampa";
}  // namespace

TVuxGrid::TVuxGrid(ui::Component* owner) : ui::DBGrid(owner) {
  MenuGriglia = new ui::PopupMenu(this);
  MenuGriglia->AutoHotkeys = false;
  TimerRicerca = new ui::Timer(this);
  TimerRicerca->SetEnabled(false);
  TimerRicerca->SetInterval(1000);
  TimerRicerca->SetOnTimer([this](ui::Component*) { ComponiSqlRicerca(); });
}

// The hooks left on the data set and on a window's menu check that the
// grid still lives, so either may outlive it.
TVuxGrid::~TVuxGrid() = default;

void TVuxGrid::Loaded() {
  ui::PopupMenu* menu = PopupMenu();
  if (menu && menu != MenuGriglia) {
    ui::NewItem(menu->Items(), this, "-");
  } else {
    menu = MenuGriglia;
    SetPopupMenu(menu);
  }
  popupFinestra_ = menu->OnPopup;
  menu->OnPopup = [self = Ref(), prima = popupFinestra_](ui::Component* sender) {
    if (auto* g = static_cast<TVuxGrid*>(self.Get()))
      g->PreparaMenuGriglia(sender);
    else if (prima)
      prima(sender);
  };
  CostruisciMenu();
  Ordinamento = ChiaveOrdinamento{};
  ModoOrdinamento = 0;
  ChiaviOrdinamento.clear();
  ReadOnly = true;
}

void TVuxGrid::CostruisciMenu() {
  struct Voce {
    const char* caption;
    ui::Word tasto;
    void (TVuxGrid::*comando)();
  };
  static const Voce voci[] = {
      {kVoceRicerca, ui::VK_F5, &TVuxGrid::RicercaCampoCorrente},
      {"Annulla ricerca", ui::VK_F6, &TVuxGrid::AnnullaRicerca},
      {"Ricerca su chiave ", ui::VK_F7, nullptr},
      {kVoceQuery, ui::VK_F8, &TVuxGrid::ApriQuery},
      {"Dimezza larghezza colonna", ui::VK_F9, &TVuxGrid::DimezzaLarghezzaColonna},
      {"Personalizza Griglia", 0, &TVuxGrid::PersonalizzaGriglia},
      {kVoceStampa, 0, &TVuxGrid::StampaGriglia},
  };
  ui::MenuItem* radice = PopupMenu()->Items();
  for (const Voce& v : voci) {
    ui::MenuItem* voce = ui::NewItem(radice, this, v.caption, ui::MakeShortCut(v.tasto));
    if (v.comando) {
      auto comando = v.comando;
      voce->OnClick = [this, voce, comando](ui::Component*) { EseguiVoce(voce, comando); };
    } else {
      voce->Visible = voce->Enabled = false;
    }
    VociGriglia.push_back(voce);
  }
}

// A command with a shortcut runs at key-down; a window that also clicks the
// item from its key-up handler for the same key must not run it twice
// (F9 halves a column once per press).
void TVuxGrid::EseguiVoce(ui::MenuItem* voce, void (TVuxGrid::*comando)()) {
  ui::Word tasto = voce->ShortCut;
  if (tasto && tastoInRilascio_ == tasto && tastoEseguito_ == tasto) return;
  if (!tastoInRilascio_) tastoEseguito_ = tasto;
  (this->*comando)();
}

void TVuxGrid::KeyDown(ui::Word& key, ui::ShiftState shift) {
  // Reached only when no shortcut took the key at key-down.
  tastoEseguito_ = 0;
  ui::DBGrid::KeyDown(key, shift);
}

void TVuxGrid::KeyUp(ui::Word& key, ui::ShiftState shift) {
  struct Rilascio {
    TVuxGrid* g;
    ~Rilascio() { g->tastoInRilascio_ = 0, g->tastoEseguito_ = 0; }
  } fine{this};
  tastoInRilascio_ = shift ? 0 : key;
  ui::DBGrid::KeyUp(key, shift);
}

void TVuxGrid::PreparaMenuGriglia(ui::Component* sender) {
  auto self = Ref();
  if (popupFinestra_) popupFinestra_(sender);
  if (!self) return;
  ui::MenuItem* radice = PopupMenu()->Items();
  int n = radice->Count();
  bool aperto = sorgente_ && sorgente_->Active();
  for (int i = std::max(0, n - 5); i < n; ++i) radice->Items(i)->Enabled = aperto;
  if (!RicercaCampoAbilitata)
    if (ui::MenuItem* v = radice->Find(kVoceRicerca)) v->Enabled = false;
  if (ui::MenuItem* v = radice->Find(kVoceQuery);
      v && NomeTabella.empty() &&
      (TipoTabella == kTipoMemoria || (TipoTabella == kTipoQuery && TabellaDaSQL().empty())))
    v->Enabled = false;
  if (ui::MenuItem* v = radice->Find(kVoceStampa)) {
    if (TipoTabella == kTipoTabella || TipoTabella == kTipoMemoria)
      v->Visible = false;
    else if (NomeTabella.empty())
      v->Enabled = false;
  }
}

db::Database* TVuxGrid::DatabaseGriglia() const {
  if (DatabaseImpostazioni) return DatabaseImpostazioni;
  if (TipoTabella == kTipoQuery || TipoTabella == kTipoTabella)
    if (auto* q = dynamic_cast<db::Query*>(sorgente_)) return q->GetDatabase();
  return nullptr;
}

// The name between the first two double quotes after the first "FROM".
std::string TVuxGrid::TabellaDaSQL() const {
  std::string testo = SQLIniziale.Text();
  size_t from = testo.find("FROM");
  if (from == std::string::npos) return {};
  size_t apre = testo.find('"', from + 1);
  if (apre == std::string::npos) return {};
  size_t chiude = testo.find('"', apre + 1);
  if (chiude == std::string::npos) return {};
  return testo.substr(apre + 1, chiude - apre - 1);
}

void TVuxGrid::DimezzaLarghezzaColonna() {
  if (SelectedIndex() < 0 || SelectedIndex() >= Columns().Count()) return;
  ui::Column* c = Columns()[SelectedIndex()];
  c->SetWidth(c->Width() / 2);
}

void TVuxGrid::StampaGriglia() {
  if (TipoTabella == kTipoTabella || TipoTabella == kTipoMemoria) {
    ui::MessageDlg("Funzionalità non disponibile per questo tipo di vista", ui::MsgDlgType::Warning,
                   ui::mbOK);
    return;
  }
  SalvaAspettoGriglia();
  ApriStampaGriglia();
}

std::string TVuxGrid::EspressioneCampo(const std::string& nomeCampo,
                                       const std::string& origine) const {
  std::string campo = ui::UpperCase(nomeCampo);
  for (int i = 0; i < CampiPersonalizzati.Count(); ++i)
    if (ui::UpperCase(CampiPersonalizzati[i]) == campo)
      return i < CampiPersonalizzatiDecodifica.Count() ? CampiPersonalizzatiDecodifica[i]
                                                       : std::string();
  return origine.empty() ? nomeCampo : origine;
}

void TVuxGrid::SelezionaColonnaCampo(const std::string& nomeCampo) {
  for (int i = 0; i < Columns().Count(); ++i)
    if (ui::SameText(Columns()[i]->FieldName, nomeCampo)) {
      SetSelectedIndex(i);
      return;
    }
}

void TVuxGrid::Notification(ui::Component* gone) {
  ui::DBGrid::Notification(gone);
  if (gone == TimerRicerca) TimerRicerca = nullptr;
  if (gone == MenuGriglia) MenuGriglia = nullptr;
}

}  // namespace velmaro
