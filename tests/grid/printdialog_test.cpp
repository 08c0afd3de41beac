// The print options dialog: its defaults, what it hands the print
// component, and runs from the open dialog.
#include <gtest/gtest.h>

#include <string>

#include "grid/vuxgridstampa.h"
#include "grid/vuxgridstampa_form.h"
#include "print_fixture.h"
#include "ui/lists.h"
#include "ui/make.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"

namespace velmaro {
namespace {

using testing::PrintHost;

struct Dialogo : testing::StampaArticoli {
  void SetUp() override {
    host.Layout(4, {{"CODICE", "Codice", 40, 0, 1}, {"DESCRIZIONE", "Descrizione", 60, 1, 1}});
    host.Articoli(2);
    Componente(4);
    // Component defaults the dialog must not let through.
    stampa->DimensioneFont = 99;
    stampa->Orientamento = "?";
  }
  size_t Chiamate(const std::string& log, const std::string& cosa) const {
    size_t n = 0;
    for (size_t p = log.find(cosa); p != std::string::npos; p = log.find(cosa, p + 1)) ++n;
    return n;
  }
};

TEST_F(Dialogo, DefaultsReachTheComponent) {
  // Fault: the dialog opening with the component's defaults instead of its
  // own (forced last column ticked, 10 points), or an option mapped to the
  // wrong value.
  auto dialogo = ui::MakeOwned<TStVuxGridForm>(nullptr, stampa.get());
  dialogo->LeggiOpzioni();
  EXPECT_EQ(stampa->Orientamento, "VERTICALE");
  EXPECT_EQ(stampa->DimensioneFont, 10);
  EXPECT_TRUE(stampa->ForzaUltimaColonna);
  EXPECT_FALSE(stampa->NumeraPagine);
  EXPECT_FALSE(stampa->TroncaTesti);
  EXPECT_EQ(stampa->AllineamentoIntestazione, 0);

  dialogo->EditIntestazione1->SetText("Listino più caro");
  dialogo->EditIntestazione2->SetText("riga 2");
  dialogo->RadioAllineaIntestazione->SetItemIndex(1);
  dialogo->RadioOrientamentoPagina->SetItemIndex(1);
  dialogo->CheckNumeraPagine->SetChecked(true);
  dialogo->CheckTroncaTesti->SetChecked(true);
  dialogo->CheckForzaUltimaColonna->SetChecked(false);
  const int font[] = {6, 8, 10, 12};
  for (int i = 0; i < 4; ++i) {
    dialogo->RadioDimensioneFont->SetItemIndex(i);
    dialogo->LeggiOpzioni();
    EXPECT_EQ(stampa->DimensioneFont, font[i]);
  }
  EXPECT_EQ(stampa->Intestazione1, "Listino più caro");
  EXPECT_EQ(stampa->Intestazione2, "riga 2");
  EXPECT_EQ(stampa->AllineamentoIntestazione, 1);
  EXPECT_EQ(stampa->Orientamento, "ORIZZONTALE");
  EXPECT_TRUE(stampa->NumeraPagine);
  EXPECT_TRUE(stampa->TroncaTesti);
  EXPECT_FALSE(stampa->ForzaUltimaColonna);
}

TEST_F(Dialogo, RunsFromTheOpenDialogReuseOneProjectName) {
  // Fault: a project written just by opening the dialog, the dialog closing
  // after a run, a second run writing under a new name, the designer item
  // sending the preview element, or a project file left behind after the
  // runs or after closing without printing.
  host.Pelk();
  op.Then([](ui::Form& f) { static_cast<TStVuxGridForm&>(f).ButtonChiudi->Click(); });
  ui::MakeOwned<TStVuxGridForm>(nullptr, stampa.get())->ShowModal();
  EXPECT_EQ(host.Log(), "");
  EXPECT_TRUE(host.Files("StVuxGrid_").empty());

  op.Then([](ui::Form& f) { static_cast<TStVuxGridForm&>(f).ButtonAnteprima->Click(); });
  op.Then([](ui::Form& f) {
    auto& d = static_cast<TStVuxGridForm&>(f);
    d.RadioOrientamentoPagina->SetItemIndex(1);
    d.ButtonAnteprima->Click();
  });
  op.Then([](ui::Form& f) {
    static_cast<TStVuxGridForm&>(f).Aprieditazionereportassistenzatecnica1->Click();
  });
  op.Then([](ui::Form& f) { static_cast<TStVuxGridForm&>(f).ButtonChiudi->Click(); });
  ui::MakeOwned<TStVuxGridForm>(nullptr, stampa.get())->ShowModal();
  const std::string log = host.Log();
  EXPECT_EQ(Chiamate(log, "<NomeReport>" + stampa->CartellaReport() + "</NomeReport>"), 3u) << log;
  EXPECT_EQ(Chiamate(log, "<AnteprimaDiretta>1</AnteprimaDiretta>"), 2u);
  EXPECT_EQ(Chiamate(log, "<EditaReportDiretto>1</EditaReportDiretto>"), 1u);
  EXPECT_EQ(op.Texts().size(), 3u);  // the library's two previews and its copy of the project
  EXPECT_EQ(host.Files("StVuxGrid_").size(), 2u);  // the preview and the copy, no project
  EXPECT_FALSE(plat::FileExists(stampa->CartellaReport()));
}

}  // namespace
}  // namespace velmaro
