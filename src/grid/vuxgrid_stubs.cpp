// Placeholders of the grid commands written in other files: each keeps the
// grid usable (nothing stored, nothing searched) until its real definition
// replaces it. Remove a definition here when its file lands.
#include "grid/vuxgrid.h"

namespace velmaro {

// ---- layout: replaced by vuxgrid_layout.cpp
void TVuxGrid::SalvaAspettoGriglia() {}
void TVuxGrid::CaricaAspettoGriglia() {}
void TVuxGrid::PersonalizzaGriglia() {}
void TVuxGrid::AzzeraAspettoGriglia() {}
void TVuxGrid::AcquisisciAspettoDaUtente() {}
void TVuxGrid::CaricaPosizioneFinestra(TRVuxGridForm&) {}
void TVuxGrid::SalvaPosizioneFinestra(TRVuxGridForm&) {}
void TVuxGrid::CopiaTemporaneaAspetto() {}

// ---- search: replaced by vuxgrid_search.cpp
void TVuxGrid::RicercaCampoCorrente() {}
void TVuxGrid::AnnullaRicerca() {}
void TVuxGrid::ComponiSqlRicerca() {}
void TVuxGrid::TestoRicercaCambiato(ui::Component*) {}
void TVuxGrid::TastoRicerca(ui::Component*, char&) {}
void TVuxGrid::AggiornaRicerca(ui::Component*) {}
void TVuxGrid::RicercaTuttiICampi(ui::Component*) {}
void TVuxGrid::GenericaClick(ui::Component*) {}
void TVuxGrid::FiltraRecord(db::DataSet&, bool& accept) { accept = true; }
std::string TVuxGrid::ProssimoConnettivo() { return "WHERE"; }

}  // namespace velmaro
