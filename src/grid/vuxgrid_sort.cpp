// Sorting by a double click on a column title: one key, or several keys
// while Ctrl is held; the keys are stored with the layout and applied to
// the bound data set.
#include <algorithm>

#include "context/memorydata.h"
#include "db/query.h"
#include "db/table.h"
#include "grid/vuxgrid.h"
#include "ui/application.h"
#include "ui/keystate.h"
#include "ui/strings.h"

namespace velmaro {

void TVuxGrid::MouseDown(int x, int y, ui::ShiftState shift) { ui::DBGrid::MouseDown(x, y, shift); }

void TVuxGrid::DblClick() {
  ui::GridHit hit = LastHit();
  if (!OrdinaConDoppioClic || !hit.isTitle || hit.isIndicator || hit.column < 0 ||
      hit.column >= Columns().Count()) {
    ui::DBGrid::DblClick();
    return;
  }
  OrdinaSuColonna(hit.column, ui::CtrlHeld());
}

void TVuxGrid::ScambiaModoOrdinamento() {
  if (ModoOrdinamento == 2) {
    ChiaviOrdinamento.clear();
    if (!Ordinamento.NomeCampo.empty()) ChiaviOrdinamento.push_back(Ordinamento);
  } else if (ModoOrdinamento == 1) {
    Ordinamento = ChiaviOrdinamento.empty() ? ChiaveOrdinamento{} : ChiaviOrdinamento.front();
    ChiaviOrdinamento.clear();
  }
}

void TVuxGrid::OrdinaSuColonna(int colonna, bool ctrl) {
  db::Field* campo = Columns()[colonna]->Field();
  if (!campo) return;
  const std::string nome = ui::UpperCase(campo->FieldName());
  // Checked before anything changes, so that a refused column leaves the
  // sort as it was.
  if (TipoTabella != kTipoMemoria && !CampoConsentito(nome)) return;
  if (ctrl && ModoOrdinamento == 1) {
    ModoOrdinamento = 2;
    ScambiaModoOrdinamento();
  } else if (!ctrl && ModoOrdinamento == 2) {
    ModoOrdinamento = 1;
    ScambiaModoOrdinamento();
  }
  const std::string espressione = EspressioneCampo(nome, ui::UpperCase(campo->Origin));
  if (ModoOrdinamento == 1) {
    bool stesso = nome == Ordinamento.NomeCampo;
    Ordinamento.Direzione = stesso && Ordinamento.Direzione == 1 ? 2 : 1;
    Ordinamento.NomeCampo = nome;
    Ordinamento.Origine = espressione;
    Ordinamento.Colonna = colonna;
  } else {
    auto k = std::find_if(ChiaviOrdinamento.begin(), ChiaviOrdinamento.end(),
                          [&](const ChiaveOrdinamento& c) { return c.NomeCampo == nome; });
    if (k != ChiaviOrdinamento.end()) {
      k->Direzione = k->Direzione == 1 ? 2 : 1;
    } else {
      if (int(ChiaviOrdinamento.size()) >= kMaxChiavi) return;
      ChiaviOrdinamento.push_back({});
      k = ChiaviOrdinamento.end() - 1;
    }
    k->NomeCampo = nome;
    k->Origine = espressione;
    k->Colonna = colonna;
  }
  SalvaAspettoGriglia();
  ApplicaOrdinamento(colonna);
  ColoraTitoli();
}

void TVuxGrid::ApplicaOrdinamento(int colonna) {
  if (!sorgente_) return;
  std::string campi;
  int direzione = 1;
  if (ModoOrdinamento == 1) {
    campi = Ordinamento.NomeCampo;
    direzione = Ordinamento.Direzione;
  } else {
    for (const ChiaveOrdinamento& k : ChiaviOrdinamento) campi += k.NomeCampo + ";";
    if (!campi.empty()) campi.pop_back();
    if (!ChiaviOrdinamento.empty()) direzione = ChiaviOrdinamento.front().Direzione;
  }
  if (TipoTabella == kTipoQuery) {
    RiapriQuery(CondizioneRicerca);
    if (colonna < Columns().Count()) SetSelectedIndex(colonna);
  } else if (TipoTabella == kTipoMemoria) {
    if (auto* m = dynamic_cast<TRxMemoryData*>(sorgente_); m && m->Active() && !campi.empty())
      m->SortByFields(campi, true, direzione == 2);
  } else if (auto* t = dynamic_cast<db::Table*>(sorgente_)) {
    t->SetIndexFieldNames(campi);
    CaricaAspettoGriglia();
  }
}

}  // namespace velmaro
