#include "grid/vuxgrid.h"

#include "ui/menus.h"
#include "ui/timer.h"

namespace velmaro {

TVuxGrid::TVuxGrid(ui::Component* owner) : ui::DBGrid(owner) {}
TVuxGrid::~TVuxGrid() = default;
void TVuxGrid::Loaded() {}
void TVuxGrid::SetSorgenteDati(db::DataSet* dataSet) {
  if (dataSet) sorgente_ = dataSet;
}
db::Database* TVuxGrid::DatabaseGriglia() const { return DatabaseImpostazioni; }
std::string TVuxGrid::TabellaDaSQL() const { return {}; }
void TVuxGrid::PreparaMenuGriglia(ui::Component*) {}
void TVuxGrid::ApriQuery() {}
void TVuxGrid::DimezzaLarghezzaColonna() {}
void TVuxGrid::StampaGriglia() {}
void TVuxGrid::ScambiaModoOrdinamento() {}
void TVuxGrid::CaricaOrdinamento(db::DataSet&) {}
void TVuxGrid::DopoApertura(db::DataSet&) {}
std::string TVuxGrid::EspressioneCampo(const std::string& nomeCampo, const std::string&) const {
  return nomeCampo;
}
std::vector<std::string> TVuxGrid::RigheOrdinamento() { return {}; }
void TVuxGrid::RiapriQuery(const std::string&) {}
void TVuxGrid::ColoraTitoli() {}
void TVuxGrid::SelezionaColonnaCampo(const std::string&) {}
void TVuxGrid::MouseDown(int x, int y, ui::ShiftState shift) { ui::DBGrid::MouseDown(x, y, shift); }
void TVuxGrid::DblClick() { ui::DBGrid::DblClick(); }
void TVuxGrid::KeyDown(ui::Word& key, ui::ShiftState shift) { ui::DBGrid::KeyDown(key, shift); }
void TVuxGrid::KeyUp(ui::Word& key, ui::ShiftState shift) { ui::DBGrid::KeyUp(key, shift); }
void TVuxGrid::Notification(ui::Component* gone) { ui::DBGrid::Notification(gone); }

}  // namespace velmaro
