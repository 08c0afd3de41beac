// The grid's print command: what the grid hands the print component and
// the dialog, and the layout rows the print then reads.
#include <gtest/gtest.h>

#include <string>

#include "grid/vuxgridstampa.h"
#include "grid/vuxgridstampa_form.h"
#include "print_fixture.h"
#include "ui/driver.h"
#include "ui/stdctrls.h"
#include "vuxgrid_fixture.h"

namespace velmaro {
namespace {

using testing::Operator;
using testing::PrintHost;
using testing::VuxGridTest;

using StampaDaGriglia = VuxGridTest;

// What the dialog saw and the project it wrote, captured inside the modal loop.
struct Visto {
  std::string fontName, progetto;
  int situazione = 0;
  db::Database* database = nullptr;
  ui::Component* proprietario = nullptr;
};

Operator::FormAction Guarda(Visto& visto) {
  return [&visto](ui::Form& f) {
    auto& d = dynamic_cast<TStVuxGridForm&>(f);
    visto.fontName = d.Font.Name;
    visto.situazione = d.Stampa->Situazione;
    visto.database = d.Stampa->DatabaseLayout;
    visto.proprietario = d.Stampa->Owner();
    d.LeggiOpzioni();
    d.Stampa->PreparaProgettoStampa();
    visto.progetto = PrintHost::ReadFile(d.Stampa->CartellaReport());
    d.ButtonChiudi->Click();
  };
}

TEST_F(StampaDaGriglia, PopupItemOpensTheDialogOnTheGridsQuery) {
  // Fault: the print given the negated code of the scratch layout, the
  // wrong database or font, the layout rows not reaching the project, or the
  // component freed with the dialog instead of living with the grid. The
  // caption and the query's statement show in the preview of grid_print.vms.
  ApriFinestra();
  Esegui(
      "INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO,"
      " LARGHEZZA, POSIZIONE, NOMECOLONNA, VISIBILE) VALUES (501, 41, 3, 'DESCRIZIONE', 60, 0,"
      " 'Descrizione', 1)");
  griglia_->Font.Name = "Courier New";
  Visto visto;
  ui::Driver driver;
  driver.Enqueue([&](ui::Driver& d) { Guarda(visto)(d.Window("TStVuxGridForm")); });
  driver.PopupClick("FinestraGriglia.Griglia", "Stampa");
  EXPECT_EQ(visto.fontName, "Courier New");
  EXPECT_EQ(visto.situazione, 41);
  EXPECT_EQ(visto.database, &database_);
  EXPECT_EQ(visto.proprietario, griglia_);
  EXPECT_NE(visto.progetto.find("Text=DESCRIZIONE\r\n"), std::string::npos);
  int componenti = 0;  // the print component stays with the grid
  for (ui::Component* c : griglia_->Components())
    componenti += dynamic_cast<TVuxGridStampa*>(c) != nullptr;
  EXPECT_EQ(componenti, 1);
}

TEST_F(StampaDaGriglia, ScratchLayoutPrintsThePositiveRows) {
  // Kept as it stands: with DisabilitaMemPosGriglie the grid keeps its
  // layout under the negated code, while the print reads the positive rows
  // (an operator with none prints an empty table, as the print's own test
  // shows). Fault caught: the print silently switching to the scratch rows.
  ApriFinestra();
  Esegui(
      "INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO,"
      " LARGHEZZA, POSIZIONE, NOMECOLONNA, VISIBILE) VALUES (501, -41, 3, 'DESCRIZIONE', 60, 0,"
      " 'Descrizione', 1)");
  griglia_->SetSituazione(-41);
  Operator op;
  Visto visto;
  op.Then(Guarda(visto));
  griglia_->StampaGriglia();
  EXPECT_EQ(visto.situazione, 41);
}

}  // namespace
}  // namespace velmaro
