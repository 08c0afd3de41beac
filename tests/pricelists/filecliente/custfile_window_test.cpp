// The customer-price-file window on the sample company: the delayed reload
// of the band's lists, their selection and painting, the AND button, and a
// generation that fails; its progress rounding and band check.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "common/fixture.h"
#include "common/temp_folder.h"
#include "context/memorydata.h"
#include "hostinit.h"
#include "platform/hostfolder.h"
#include "pricelists/filecliente/filecliente.h"
#include "pricelists/filecliente/generafileclienti.h"
#include "ui/application.h"
#include "ui/extctrls.h"
#include "ui/stdctrls.h"
#include "ui/timer.h"

namespace velmaro {
namespace {

using testing::Operator;

TEST(FileClienti, ProgressRoundsHalvesToEven) {
  // Fault: halves rounded up (or truncated), or a division by an empty
  // article count.
  EXPECT_EQ(PercentualeAvanzamento(1, 8), 12);  // 12.5
  EXPECT_EQ(PercentualeAvanzamento(3, 8), 38);  // 37.5
  EXPECT_EQ(PercentualeAvanzamento(1, 3), 33);
  EXPECT_EQ(PercentualeAvanzamento(2, 3), 67);
  EXPECT_EQ(PercentualeAvanzamento(8, 8), 100);
  EXPECT_EQ(PercentualeAvanzamento(5, 0), 100);
}

TEST(FileClienti, OnlyWholeNumbersAreBands) {
  // Fault: a band text that is no number reaching a statement (where the
  // text would be SQL of the operator's making).
  struct Caso {
    const char* testo;
    bool intera;
    const char* numero;
  } casi[] = {{"12", true, "12"}, {" 7 ", true, "7"},      {"090", true, "90"},
              {"-3", true, "-3"}, {"9x", false, ""},       {"", false, ""},
              {"1.5", false, ""}, {"1 OR 1=1", false, ""}, {"99999999999", false, ""}};
  for (const Caso& c : casi) {
    std::string numero;
    EXPECT_EQ(FasciaIntera(c.testo, numero), c.intera) << c.testo;
    if (c.intera) {
      EXPECT_EQ(numero, c.numero) << c.testo;
    }
  }
}

class FinestraFileClienti : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    cartella_ = new velmaro::testing::TempFolder("velmaro-custfile");
    std::ostringstream out;
    host::InitOptions opzioni;
    opzioni.demoData = true;
    host::InitHostFolder(cartella_->Path() + "h", host::SqlFolder("/nonexistent"), opzioni, out);
  }
  static void TearDownTestSuite() {
    delete cartella_;
    cartella_ = nullptr;
  }
  void SetUp() override {
    plat::SetHostFolderOverride(cartella_->Path() + "h");
    ApriGeneraFileClientiForm(2, 5001);
    for (ui::Form* f : ui::App().Forms())
      if (auto* g = dynamic_cast<TGeneraFileClientiForm*>(f)) w_ = g;
    ASSERT_NE(w_, nullptr);
  }
  void TearDown() override {
    if (w_) {
      w_->Close();
      ui::App().ProcessMessages();
    }
    plat::ClearHostFolderOverride();
  }
  std::vector<std::string> Stati() {
    std::vector<std::string> s;
    TRxMemoryData& t = *w_->MemTab;
    const db::Bookmark b = t.GetBookmark();
    for (t.First(); !t.Eof(); t.Next()) s.push_back(t.FieldByName("S").AsString());
    t.GotoBookmark(b);
    return s;
  }
  static std::string Leggi(const std::string& percorso) {
    std::ifstream f(percorso, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
  }

  static velmaro::testing::TempFolder* cartella_;
  TGeneraFileClientiForm* w_ = nullptr;
};

velmaro::testing::TempFolder* FinestraFileClienti::cartella_ = nullptr;

TEST_F(FinestraFileClienti, ReloadsTheBandsListsOneSecondAfterTheLastChange) {
  // Fault: a reload on every keystroke, a timer that is not restarted by a
  // change (the first pause wins), or one that keeps firing.
  EXPECT_EQ(w_->EditFileExp->Text(), cartella_->Path() + "h/dati/file.csv");
  EXPECT_FALSE(w_->TimerFascia->Enabled());
  w_->EditFascia->SetText("2");
  ui::App().AdvanceClock(600);
  w_->EditFascia->SetText("5");
  ui::App().AdvanceClock(600);
  EXPECT_EQ(w_->MemTab->RecordCount(), 0);
  ui::App().AdvanceClock(400);
  EXPECT_EQ(w_->MemTab->RecordCount(), 2);  // band 5: lists 5 and 1, in band order
  EXPECT_EQ(w_->MemTab->FieldByName("IDListino").AsInteger(), 5);
  EXPECT_FALSE(w_->TimerFascia->Enabled());
  EXPECT_EQ(Stati(), (std::vector<std::string>{"1", "1"}));
  // An emptied band empties the list and runs nothing.
  w_->EditFascia->SetText("");
  ui::App().AdvanceClock(1000);
  EXPECT_EQ(w_->MemTab->RecordCount(), 0);
}

TEST_F(FinestraFileClienti, F3DoubleClickAndButtonsSelectAndPaintTheRows) {
  // Fault: a toggle that only selects, F3 ignored, the buttons leaving the
  // cursor on the last row, or the painting not following the selection.
  Operator op;
  w_->EditFascia->SetText("2");
  ui::App().AdvanceClock(1000);
  ASSERT_EQ(w_->MemTab->RecordCount(), 4);
  ui::Word f3 = ui::VK_F3;
  w_->GridTab->KeyUp(f3, 0);
  EXPECT_EQ(Stati(), (std::vector<std::string>{"0", "1", "1", "1"}));
  w_->MemTab->Next();
  w_->GridTab->DblClick();
  w_->MemTab->First();
  w_->GridTab->DblClick();
  EXPECT_EQ(Stati(), (std::vector<std::string>{"1", "0", "1", "1"}));

  ui::RenderedGrid r = w_->GridTab->Render();
  ASSERT_EQ(r.Titles, (std::vector<std::string>{"IDListino", "NomeListino"}));
  ASSERT_EQ(r.Rows.size(), 4u);
  EXPECT_EQ(r.Rows[0][1].BrushColor, ui::clBackground);
  EXPECT_EQ(r.Rows[1][1].BrushColor, ui::clWindow);
  EXPECT_EQ(r.Rows[1][1].FontColor, ui::clBlack);
  EXPECT_EQ(r.Rows[1][1].Text, "Listino rivenditori");

  w_->MemTab->Last();
  w_->ButtonDeSel->Click();
  EXPECT_EQ(Stati(), (std::vector<std::string>{"0", "0", "0", "0"}));
  EXPECT_EQ(w_->MemTab->RecNo(), 1);
  w_->ButtonSel->Click();
  EXPECT_EQ(Stati(), (std::vector<std::string>{"1", "1", "1", "1"}));
  EXPECT_TRUE(op.Texts().empty());
}

TEST_F(FinestraFileClienti, AndJoinsTheNonEmptyLines) {
  // Fault: empty lines kept between two AND, a single line touched, or an
  // existing "AND" line swallowed.
  ui::Strings& righe = w_->MemoCriteriEscl->Lines;
  righe.SetText("CODICE='X'");
  w_->ButtonAND->Click();
  EXPECT_EQ(w_->MemoCriteriEscl->Text(), "CODICE='X'");
  righe.SetText("A=1\n\n  \nB=2\nAND\nC=3");
  w_->ButtonAND->Click();
  EXPECT_EQ(w_->MemoCriteriEscl->Text(), "A=1\nAND\nB=2\nAND\nAND\nAND\nC=3");
}

TEST_F(FinestraFileClienti, AFailedGenerationLeavesThePreviousFile) {
  // Fault: what stood at the target changed by a generation that then
  // fails, a temporary file left behind, or success reported after a
  // failure. A target that is a folder cannot be replaced.
  const std::string file = cartella_->Path() + "h/dati/prova.csv";
  std::filesystem::create_directory(file);
  { std::ofstream(file + "/leggimi.txt", std::ios::binary) << "vecchio"; }
  auto nomi = [&] {
    std::set<std::string> n;
    for (const auto& e : std::filesystem::directory_iterator(cartella_->Path() + "h/dati"))
      n.insert(e.path().filename());
    return n;
  };
  const std::set<std::string> prima = nomi();
  w_->EditFileExp->SetText(file);
  w_->EditFascia->SetText("5");
  ui::App().AdvanceClock(1000);
  {
    Operator op;
    w_->ButtonGenera->Click();
    ASSERT_EQ(op.Texts().size(), 1u);
    EXPECT_NE(op.Texts()[0].find("Impossibile creare il file"), std::string::npos);
  }
  EXPECT_EQ(Leggi(file + "/leggimi.txt"), "vecchio");
  EXPECT_EQ(nomi(), prima);

  std::filesystem::remove_all(file);
  Operator op;
  w_->ButtonGenera->Click();
  EXPECT_EQ(op.Texts(), (std::vector<std::string>{"Generazione completata"}));
  EXPECT_TRUE(Leggi(file).starts_with("ARTICOLO;DESCRIZIONE;"));
  EXPECT_EQ(nomi(), prima);
  EXPECT_EQ(w_->ProgressExp->Position(), 100);

  // A folder with an accented name is a folder like any other.
  const std::string accentata = cartella_->Path() + "h/dati/città/";
  std::filesystem::create_directories(std::filesystem::u8path(accentata));
  w_->EditFileExp->SetText(accentata + "prova.csv");
  w_->ButtonGenera->Click();
  EXPECT_EQ(op.Texts().back(), "Generazione completata");
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(accentata + "prova.csv")));
}

}  // namespace
}  // namespace velmaro
