// The grid's popup menu: how it is built, enabled and run by its keys.
#include "context/memorydata.h"
#include "grid/vuxgrid.h"
#include "ui/menus.h"
#include "vuxgrid_fixture.h"

namespace velmaro::testing {
namespace {

std::vector<std::string> Voci(ui::PopupMenu* m) {
  std::vector<std::string> out;
  for (int i = 0; i < m->Items()->Count(); ++i) out.push_back(m->Items()->Items(i)->Caption);
  return out;
}

const std::vector<std::string> kSette = {"Ricerca su campo Corrente",
                                         "Annulla ricerca",
                                         "Ricerca su chiave ",
                                         "Query",
                                         "Dimezza larghezza colonna",
                                         "Personalizza Griglia",
                                         "Stampa"};

// Catches a menu built in the wrong order, or with the window's own items
// lost or its OnPopup no longer run. The keys show in rows_tasti.vms.
TEST_F(VuxGridTest, MenuBuiltOnItsOwnOrAfterTheWindowsItems) {
  ApriFinestra();
  ui::PopupMenu* proprio = griglia_->PopupMenu();
  EXPECT_EQ(Voci(proprio), kSette);
  EXPECT_FALSE(griglia_->MenuGriglia->AutoHotkeys);
  query_.Close();
  finestra_.reset();

  auto* menu = new ui::PopupMenu(&ui::App());
  ui::NewItem(menu->Items(), menu, "Nuovo");
  int popupFinestra = 0;
  menu->OnPopup = [&](ui::Component*) { ++popupFinestra; };
  ApriFinestra(menu);
  std::vector<std::string> attese = {"Nuovo", "-"};
  attese.insert(attese.end(), kSette.begin(), kSette.end());
  EXPECT_EQ(Voci(menu), attese);
  ui::Driver d;
  d.PopupClick("FinestraGriglia.Griglia", "Dimezza larghezza colonna");
  EXPECT_EQ(popupFinestra, 1);
  query_.Close();
  finestra_.reset();
  // The window's menu outlives the grid and still pops up.
  menu->Popup();
  EXPECT_EQ(popupFinestra, 2);
  ui::Free(menu);
}

// Catches commands left enabled on a closed data set, the search item
// enabled again after the window disabled it, Query/Stampa offered where
// they cannot work, and printing run on an in-memory set (a warning, and no
// layout save or print dialog).
TEST_F(VuxGridTest, MenuEnablingFollowsTheDataSetAndTheKind) {
  ApriFinestra();
  ui::MenuItem* voci = griglia_->PopupMenu()->Items();
  auto abilitate = [&] {
    griglia_->PopupMenu()->Popup(griglia_);
    std::string s;
    for (int i = 0; i < 7; ++i) s += voci->Items(i)->Enabled ? '1' : '0';
    return s;
  };
  EXPECT_EQ(abilitate(), "1111111");
  query_.Close();
  EXPECT_EQ(abilitate(), "1100000");
  query_.Open();
  griglia_->RicercaCampoAbilitata = false;
  EXPECT_EQ(abilitate(), "0111111");
  griglia_->RicercaCampoAbilitata = true;
  EXPECT_EQ(abilitate(), "0111111") << "the menu does not enable the search item again";

  griglia_->NomeTabella.clear();
  griglia_->SQLIniziale.SetText("SELECT * FROM \"NETTI\"");
  EXPECT_EQ(abilitate().substr(3), "1110") << "Query from the SQL's table; no print title";
  griglia_->SQLIniziale.SetText("SELECT * FROM NETTI");
  EXPECT_EQ(abilitate().substr(3), "0110");

  TRxMemoryData memoria;
  memoria.CreateField("CODICE", db::FieldType::String, 10);
  memoria.Open();
  griglia_->SetSorgenteDati(&memoria);
  EXPECT_EQ(griglia_->TipoTabella, kTipoMemoria);
  abilitate();
  EXPECT_FALSE(voci->Items(3)->Enabled);
  EXPECT_FALSE(voci->Items(6)->Visible);
  griglia_->DatabaseImpostazioni = &database_;
  Operator op;
  griglia_->StampaGriglia();
  EXPECT_EQ(op.Texts(),
            std::vector<std::string>{"Funzionalità non disponibile per questo tipo di vista"});
  griglia_->SetSorgenteDati(&query_);
}

// Catches a data set of an unknown class being hooked or changing the kind,
// and the window's own BeforeOpen/AfterOpen no longer running.
TEST_F(VuxGridTest, HooksChainTheWindowsHandlersAndSkipUnknownClasses) {
  ApriFinestra();
  query_.Close();
  struct Altro : db::DataSet {
    const char* ClassName() const override { return "TClientDataSet"; }
    void InternalOpen() override {}
  } altro;
  bool proprio = false;
  altro.BeforeOpen = [&](db::DataSet&) { proprio = true; };
  griglia_->SetSorgenteDati(&altro);
  EXPECT_EQ(griglia_->TipoTabella, kTipoQuery);
  altro.BeforeOpen(altro);
  EXPECT_TRUE(proprio) << "an unknown class keeps its own handler";

  // The query left behind got the window's BeforeOpen back; bound again,
  // both of the window's handlers run inside the grid's.
  int primaAperture = aperture_;
  query_.Open();
  EXPECT_EQ(aperture_, primaAperture + 1);
  EXPECT_TRUE(Aggiunte().empty()) << "no grid hook while unbound";
  query_.Close();
  int dopo = 0;
  query_.AfterOpen = [&](db::DataSet&) { ++dopo; };
  griglia_->SetSorgenteDati(&query_);
  query_.Open();
  EXPECT_EQ(aperture_, primaAperture + 2);
  EXPECT_EQ(dopo, 1);
  EXPECT_FALSE(Aggiunte().empty()) << "the grid's order is written again";
}

// Catches F9 running twice when the window also clicks the item from its
// key-up handler (65 pixels must become 32, not 16), and F9 from the menu.
TEST_F(VuxGridTest, AKeyRunsItsCommandOnce) {
  ApriFinestra();
  griglia_->OnKeyUp = [this](ui::Component*, ui::Word& key, ui::ShiftState) {
    if (key == ui::VK_F9) griglia_->MenuGriglia->Items()->Items(4)->Click();
  };
  griglia_->SetSelectedIndex(2);
  griglia_->Columns()[2]->SetWidth(65);
  ui::Driver d;
  d.PressKey("FinestraGriglia.Griglia", ui::VK_F9);
  EXPECT_EQ(griglia_->Columns()[2]->Width(), 32);
  d.PressKey("FinestraGriglia.Griglia", ui::VK_F9);
  EXPECT_EQ(griglia_->Columns()[2]->Width(), 16);
  d.PopupClick("FinestraGriglia.Griglia", "Dimezza larghezza colonna");
  EXPECT_EQ(griglia_->Columns()[2]->Width(), 8);
  // A key-up click with no shortcut run at key-down (menu item disabled
  // meanwhile) still runs once.
  griglia_->MenuGriglia->Items()->Items(4)->Enabled = false;
  griglia_->OnKeyUp = [this](ui::Component*, ui::Word& key, ui::ShiftState) {
    if (key == ui::VK_F9) griglia_->DimezzaLarghezzaColonna();
  };
  d.PressKey("FinestraGriglia.Griglia", ui::VK_F9);
  EXPECT_EQ(griglia_->Columns()[2]->Width(), 4);
}

// Catches a wrong cut of the table name out of the base SQL.
TEST_F(VuxGridTest, TableNameFromTheBaseSql) {
  ApriFinestra();
  const std::pair<const char*, const char*> casi[] = {
      {"SELECT * FROM \"LISTSC\" WHERE X=1", "LISTSC"},
      {"SELECT A\nFROM\n\"FASCESC\" F", "FASCESC"},
      {"select * from \"LISTSC\"", ""},  // FROM is looked for case-sensitively
      {"SELECT * FROM LISTSC", ""},
      {"SELECT * FROM \"LISTSC", ""},
  };
  for (const auto& [sql, atteso] : casi) {
    griglia_->SQLIniziale.SetText(sql);
    EXPECT_EQ(griglia_->TabellaDaSQL(), atteso) << sql;
  }
}

}  // namespace
}  // namespace velmaro::testing
