// Ownership, parenthood and trackers.
#include <gtest/gtest.h>

#include "ui/ui.h"
#include "ui_fixture.h"

namespace {

struct Probe : ui::Component {
  explicit Probe(ui::Component* owner, int* deaths) : Component(owner), deaths_(deaths) {}
  ~Probe() override { ++*deaths_; }
  int* deaths_;
};

TEST(Component, OwnerFreesWhatItOwnsAndForgetsWhatDiesFirst) {
  // Catches owners that leak their components, and owners that free a
  // component twice after it was destroyed on its own.
  int deaths = 0;
  auto* owner = new ui::Component();
  auto* a = new Probe(owner, &deaths);
  a->SetName("Alfa");
  new Probe(owner, &deaths);
  EXPECT_EQ(owner->FindComponent("ALFA"), a);
  EXPECT_EQ(owner->FindComponent("nope"), nullptr);
  auto ref = a->Ref();
  delete a;
  EXPECT_FALSE(ref);
  EXPECT_EQ(owner->ComponentCount(), 1);
  delete owner;
  EXPECT_EQ(deaths, 2);
}

TEST(Component, ParentFreesChildrenAndChildDetachesFromParent) {
  // Catches a destroyed child left in its parent's list (a dangling pointer
  // for the next layout or render) and children that outlive their parent.
  auto* panel = new ui::Panel();
  auto* b1 = new ui::Button();
  auto* b2 = new ui::Button();
  b1->SetParent(panel);
  b2->SetParent(panel);
  delete b1;
  ASSERT_EQ(panel->Controls().size(), 1u);
  EXPECT_EQ(panel->Controls()[0], b2);
  auto ref = b2->Ref();
  delete panel;
  EXPECT_FALSE(ref);
}

TEST(Component, PopupMenuFreedFirstIsForgottenByItsControl) {
  // Catches a control keeping the address of a menu that was freed before it.
  auto* form = new ui::Form();
  auto* edit = new ui::Edit(form);
  edit->SetParent(form);
  auto* menu = new ui::PopupMenu(form);
  edit->SetPopupMenu(menu);
  delete menu;
  EXPECT_EQ(edit->PopupMenu(), nullptr);
  ui::Free(form);
}

TEST(Component, FindDescendantReachesThroughOwnersAndParents) {
  // Catches paths that stop at a frame owning its parts or at a page
  // parenting controls it does not own.
  auto* form = new ui::Form();
  auto* frame = ui::Make<ui::Panel>(form, "Frame1");
  auto* grid = ui::Make<ui::DBGrid>(frame, "Grid");
  auto* foreign = new ui::Edit(nullptr);
  foreign->SetName("Parented");
  foreign->SetParent(frame);
  EXPECT_EQ(ui::FindDescendant(form, "grid"), grid);
  EXPECT_EQ(ui::FindDescendant(form, "Parented"), foreign);
  EXPECT_EQ(ui::FindDescendant(form, "missing"), nullptr);
  ui::Free(form);
}

TEST(Control, AlignAndAnchorsFollowTheParentsSize) {
  // Catches aligned children that do not share the client area in order
  // (top, bottom, left, right, then the client), and right/bottom anchors
  // that do not keep their margins.
  auto* p = new ui::Panel();
  p->SetBounds(0, 0, 400, 300);
  auto* top = ui::Make<ui::Panel>(p, "Top");
  top->SetHeight(41);
  top->SetAlign(ui::Align::Top);
  auto* client = ui::Make<ui::Panel>(p, "Client");
  client->SetAlign(ui::Align::Client);
  auto* btn = new ui::Button(p);
  btn->SetBounds(300, 250, 80, 25);
  btn->Anchors = ui::akRight | ui::akBottom;
  btn->SetParent(p);
  EXPECT_EQ(top->Width(), 400);
  EXPECT_EQ(client->Top(), 41);
  EXPECT_EQ(client->Height(), 259);
  p->SetBounds(0, 0, 500, 400);
  EXPECT_EQ(client->Width(), 500);
  EXPECT_EQ(client->Height(), 359);
  EXPECT_TRUE(btn->Left() == 400 && btn->Top() == 350);
  delete p;
}

}  // namespace
