// The row pages of the current list: net prices (LISTSCDTNET) and
// discounts (LISTSCDTSCO), with their command bars.
//
// The pages are entered by AzioneGesNet / AzioneGesSco (lisfasedit_pagine.cpp)
// with IDListinoCorrente set; the list bar's default dates are the window's
// DataInizioDef, DataFineDef and CheckBoxNessunaDataFinale; every button of
// FrameListiniEdit11 and FrameDettScontoEdit11 is already wired to its
// handler below (lisfasedit_costruzione.cpp), and the net query's AfterOpen
// to FrameDettNetti1QueryDettNettiAfterOpen. Writes go through QueryAux1
// (the context's default transaction), re-reads before a deletion through
// QueryAux2 after restarting Transazione2.
#include "db/query.h"
#include "pricelists/frames.h"
#include "pricelists/lisfasedit.h"
#include "ui/extctrls.h"
#include "ui/stdctrls.h"

namespace velmaro {

void TLisFasEditForm::CaricaListaDettNetti() {
  db::Query& q = *FrameDettNetti1->QueryDettNetti;
  q.Close();
  q.SQL.Clear();
  q.SQL.Add("SELECT * FROM LISTSCDTNET WHERE IDLISTSC='" + IDListinoCorrente + "'");
  q.Open();
}

// Still to come: the column titles of the selection values (STOASP1).
void TLisFasEditForm::CaricaListaDettSconti() {
  db::Query& q = *FrameDettSconti1->QueryDettSconti;
  q.Close();
  q.SQL.Clear();
  q.SQL.Add("SELECT * FROM LISTSCDTSCO WHERE IDLISTSC='" + IDListinoCorrente + "'");
  q.Open();
}

void TLisFasEditForm::FrameDettNetti1QueryDettNettiAfterOpen(db::DataSet&) {}

void TLisFasEditForm::FrameListiniEdit11ButtonNuovoClick() {}
void TLisFasEditForm::FrameListiniEdit11ButtonNuovoDataClick() {}
void TLisFasEditForm::FrameListiniEdit11ButtonEditClick() {}
void TLisFasEditForm::FrameListiniEdit11ButtonEliminaClick() {}
void TLisFasEditForm::FrameListiniEdit11ButtonAzzeraClick() {}
void TLisFasEditForm::FrameListiniEdit11ButtonImpExpClick() {}
void TLisFasEditForm::FrameListiniEdit11ButtonAggiornaClick() {}

void TLisFasEditForm::FrameListiniEdit11CheckBoxNessunaDataFinaleClick() {
  FrameListiniEdit11->DataFineDef->SetEnabled(
      !FrameListiniEdit11->CheckBoxNessunaDataFinale->Checked());
}

void TLisFasEditForm::FrameDettScontoEdit11ButtonNuovoClick() {}
void TLisFasEditForm::FrameDettScontoEdit11ButtonEditClick() {}
void TLisFasEditForm::FrameDettScontoEdit11ButtonEliminaClick() {}
void TLisFasEditForm::FrameDettScontoEdit11ButtonAzzeraClick() {}
void TLisFasEditForm::FrameDettScontoEdit11ButtonImpExpClick() {}
void TLisFasEditForm::FrameDettScontoEdit11ButtonAggiornaClick() {}

void TLisFasEditForm::FrameDettScontoEdit11CheckBoxNessunaDataFinaleClick() {
  FrameDettScontoEdit11->DataFineDef->SetEnabled(
      !FrameDettScontoEdit11->CheckBoxNessunaDataFinale->Checked());
}

}  // namespace velmaro
