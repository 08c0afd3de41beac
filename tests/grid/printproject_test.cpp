// The report project of the grid print: which columns are printed and how
// wide, and the file itself, byte for byte, as the print engine reads it.
#include "grid/printproject.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "grid/vuxgridstampa.h"
#include "print_fixture.h"
#include "ui/make.h"

namespace velmaro {
namespace {

using testing::PrintHost;
using testing::RigaLayout;

std::vector<ColonnaStampa> Pixel(std::vector<double> larghezze) {
  std::vector<ColonnaStampa> colonne;
  for (double l : larghezze) colonne.push_back({"F", "T", l});
  return colonne;
}

TEST(ColonneStampate, WidthsOnThePage) {
  // Fault: pixels converted at the wrong density or rounded the wrong way,
  // a column that does not fit counted, a narrower one after it taken, the
  // forced column not ending exactly at the right edge, or an exact fit
  // treated as an overflow.
  struct Caso {
    std::vector<double> pixel;
    int utile;
    bool forza;
    std::vector<int> attese;
  };
  const Caso casi[] = {
      {{40, 60, 120}, 195, false, {11, 16, 32}},
      {{40, 60, 120}, 195, true, {11, 16, 168}},  // stretched to the edge
      {{40, 60, 120}, 282, true, {11, 16, 255}},
      {{}, 195, true, {}},
      {{800}, 195, false, {}},  // wider than the page
      {{800}, 195, true, {195}},
      {{40, 60, 635}, 195, false, {11, 16, 168}},  // exactly 195 mm
      {{40, 60, 635, 30}, 195, true, {11, 16, 168, 0}},
      {{40, 60, 635, 30}, 195, false, {11, 16, 168}},
      {{600, 400, 10}, 195, false, {159}},  // the 10 pixels come after the overflow
      {{600, 400, 10}, 195, true, {159, 36}},
  };
  for (const Caso& c : casi) {
    EXPECT_EQ(LarghezzeStampate(Pixel(c.pixel), c.utile, c.forza), c.attese)
        << c.pixel.size() << " columns, " << c.utile << " mm, forza " << c.forza;
  }
  EXPECT_EQ(LarghezzaUtile("VERTICALE"), 195);
  EXPECT_EQ(LarghezzaUtile("ORIZZONTALE"), 282);
}

struct ProgettoStampa : testing::StampaArticoli {
  void SetUp() override { Componente(3); }
  // Writes the project and compares it with the expected file; with
  // VELMARO_WRITE_EXPECTED set the expected file is written instead.
  void Confronta(const std::string& atteso) {
    stampa->PreparaProgettoStampa();
    const std::string scritto = PrintHost::ReadFile(stampa->CartellaReport());
    const std::string percorso = std::string(PRINT_TEST_DATA) + atteso;
    if (std::getenv("VELMARO_WRITE_EXPECTED")) std::ofstream(percorso, std::ios::binary) << scritto;
    EXPECT_TRUE(scritto == PrintHost::ReadFile(percorso)) << atteso << " differs";
  }
};

TEST_F(ProgettoStampa, ThreeColumnsPortraitAndLandscape) {
  // Fault: a key, a value, an indentation or a line end out of place in the
  // text the print engine reads, the portrait and landscape values mixed up,
  // or the forced last column not stretched.
  host.Layout(3, {{"CODICE", "Codice", 40, 0, 1},
                  {"DESCRIZIONE", "Descrizione", 60, 1, 1},
                  {"PREZZO", "Prezzo", 120, 2, 1}});
  stampa->ForzaUltimaColonna = true;
  Confronta("print_portrait_forced.lst");
  stampa->ForzaUltimaColonna = false;
  Confronta("print_portrait.lst");

  stampa->Orientamento = "ORIZZONTALE";
  stampa->Intestazione1 = "Listino \"estate\" più caro";
  stampa->Intestazione2 = "Città & dintorni";
  stampa->AllineamentoIntestazione = 1;
  stampa->DimensioneFont = 8;
  stampa->NumeraPagine = true;
  Confronta("print_landscape.lst");
  stampa->ForzaUltimaColonna = true;
  stampa->TroncaTesti = true;
  Confronta("print_landscape_forced.lst");
}

TEST_F(ProgettoStampa, ExactFitLeavesAZeroWidthForcedColumn) {
  // Fault: an exact fit counted as an overflow, or the column after it not
  // printed (at width 0) when the last column is forced.
  host.Layout(3, {{"CODICE", "Codice", 40, 0, 1},
                  {"DESCRIZIONE", "Descrizione", 60, 1, 1},
                  {"PREZZO", "Prezzo", 635, 2, 1},
                  {"NOTE", "Note", 30, 3, 1}});
  stampa->ForzaUltimaColonna = true;
  Confronta("print_exact_fit_forced.lst");
}

TEST_F(ProgettoStampa, NoVisibleColumnGivesAnEmptyTable) {
  // Fault: a table with a stray column block when nothing is to be printed.
  host.Layout(3, {{"CODICE", "Codice", 40, 0, 0}});
  stampa->ForzaUltimaColonna = true;
  stampa->PreparaProgettoStampa();
  const std::string scritto = PrintHost::ReadFile(stampa->CartellaReport());
  size_t colonne = 0;
  for (size_t p = scritto.find("Columns=0\r\n"); p != std::string::npos;
       p = scritto.find("Columns=0\r\n", p + 1))
    ++colonne;
  EXPECT_EQ(colonne, 2u);
  EXPECT_EQ(scritto.find("[Column]"), std::string::npos);
}

}  // namespace
}  // namespace velmaro
