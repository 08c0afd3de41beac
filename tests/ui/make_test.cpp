// How a window owns its parts: Make for controls and data objects, frames,
// and dialogs held for a moment.
#include "ui/make.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "ui/driver.h"
#include "ui/frame.h"
#include "ui/ui.h"
#include "ui_fixture.h"

namespace {

using MakeTest = UiTest;

// An object of no toolkit class that writes its name into a log when freed.
struct Part {
  explicit Part(std::string* log) : log_(log) {}
  ~Part() { *log_ += Name + ";"; }
  std::string Name;
  std::string* log_;
};

// A window whose constructor fails after it has made its parts.
class TFailingForm : public ui::Form {
 public:
  TFailingForm(ui::Component* owner, std::string* log) : Form(owner) {
    ui::Make<Part>(this, "Database", log);
    ui::Make<Part>(this, "Query", log);
    ui::Make<ui::Edit>(this, "Edit1");
    throw std::runtime_error("connessione fallita");
  }
};

TEST_F(MakeTest, PartsAreFreedInReverseOrderAlsoWhenTheConstructorThrows) {
  // Catches data objects leaked by a window whose constructor throws, and
  // a connection freed while a query made after it still lives.
  std::string log;
  EXPECT_THROW(TFailingForm(&ui::App(), &log), std::runtime_error);
  EXPECT_EQ(log, "Query;Database;");

  log.clear();
  auto* owner = new ui::Component();
  Part* p = ui::Make<Part>(owner, "Transazione2", &log);
  EXPECT_EQ(p->Name, "Transazione2");
  EXPECT_NE(owner->FindComponent("Transazione2"), nullptr);
  delete owner;
  EXPECT_EQ(log, "Transazione2;");
}

// A panel of the price lists, placed twice on one window.
class TFrameListini : public ui::Frame {
 public:
  explicit TFrameListini(ui::Component* owner) : Frame(owner) {
    GridListini = ui::Make<ui::DBGrid>(this, "GridListini", {0, 0, 300, 200});
    ButtonNuovo = ui::Make<ui::Button>(this, "ButtonNuovo", {0, 210, 80, 25}, "Nuovo");
  }
  ui::DBGrid* GridListini;
  ui::Button* ButtonNuovo;
};

class TLisFasEditForm : public ui::Form {
 public:
  TLisFasEditForm() : Form(&ui::App()) {
    FrameListini1 = ui::Make<TFrameListini>(this, "FrameListini1", {0, 0, 300, 240});
    FrameListini2 = ui::Make<TFrameListini>(this, "FrameListini2", {310, 0, 300, 240});
    DoCreate();
  }
  std::string ClassName() const override { return "TLisFasEditForm"; }
  TFrameListini* FrameListini1;
  TFrameListini* FrameListini2;
};

TEST_F(MakeTest, FramesAreReachedByPathAndEachCopyIsItsOwn) {
  // Catches a path that stops at the frame, two copies of one frame that
  // answer for each other, and a disabled frame whose controls still take
  // clicks.
  ui::Driver d;
  auto* w = new TLisFasEditForm();
  w->Show();
  EXPECT_EQ(&d.Find("TLisFasEditForm.FrameListini1.GridListini"), w->FrameListini1->GridListini);
  EXPECT_EQ(&d.Find("TLisFasEditForm.FrameListini2.GridListini"), w->FrameListini2->GridListini);
  std::string log;
  w->FrameListini1->ButtonNuovo->OnClick = [&](ui::Component*) { log += "1"; };
  w->FrameListini2->ButtonNuovo->OnClick = [&](ui::Component*) { log += "2"; };
  d.Click("TLisFasEditForm.FrameListini2.ButtonNuovo");
  d.Click("TLisFasEditForm.FrameListini1.ButtonNuovo");
  EXPECT_EQ(log, "21");
  w->FrameListini1->SetEnabled(false);
  EXPECT_THROW(d.Click("TLisFasEditForm.FrameListini1.ButtonNuovo"), ui::DriverError);
  EXPECT_NE(d.Render("TLisFasEditForm").find("GridListini"), std::string::npos);
}

TEST_F(MakeTest, AnOwnedDialogIsFreedThroughTheToolkit) {
  // Catches a dialog freed by a plain delete (its destroy handler never
  // runs), one left among the application's forms, and an owner that frees
  // the dialog a second time.
  auto* main = new ui::Form(&ui::App());
  int destroyed = 0;
  ui::ComponentRef ref;
  EXPECT_THROW(
      {
        auto dialog = ui::MakeOwned<ui::Form>(main);
        dialog->OnDestroy = [&](ui::Component*) { ++destroyed; };
        ref = dialog->Ref();
        throw std::runtime_error("errore nel dialogo");
      },
      std::runtime_error);
  EXPECT_FALSE(ref);
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(main->ComponentCount(), 0);
  EXPECT_EQ(ui::App().Forms().size(), 1u);
  ui::Free(main);
}

}  // namespace
