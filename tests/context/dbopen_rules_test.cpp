#include <gtest/gtest.h>

#include <filesystem>

#include "context/dbopen.h"
#include "context/qelin.h"
#include "common/fixture.h"
#include "ui/form.h"

namespace velmaro {
namespace {

using testing::HostFolder;
using testing::Operator;

TEST(ChiediServerDatabase, FirstRunDialogIsDressedAndFreedThroughTheToolkit) {
  // Fault: the first-run question freed by a plain delete (its OnDestroy
  // never runs) or left with its owner, or shown without the caption,
  // label, font and label position the question asks for.
  HostFolder host;
  const std::string folder = host.Folder() + "gest/";
  std::filesystem::create_directories(folder);
  ui::Form owner;
  const int ownedBefore = owner.ComponentCount();
  const int designedTop = TQelIn2Form(nullptr).Label1->Top();

  Operator op;
  bool destroyed = false;
  std::string caption, label, fontName;
  int fontSize = 0, labelTop = 0;
  op.Then([&](ui::Form& f) {
    auto& dlg = dynamic_cast<TQelIn2Form&>(f);
    EXPECT_EQ(dlg.Owner(), &owner);
    caption = dlg.Caption();
    label = dlg.Label1->Caption();
    fontName = dlg.Font.Name;
    fontSize = dlg.Font.Size;
    labelTop = dlg.Label1->Top();
    dlg.OnDestroy = [&destroyed](ui::Component*) { destroyed = true; };
    dlg.CancelBtn->Click();
  });
  std::string server = "prima", letter = "Z";
  EXPECT_EQ(ChiediServerDatabase(server, letter, folder, &owner), "");

  EXPECT_TRUE(destroyed);
  EXPECT_EQ(owner.ComponentCount(), ownedBefore);
  EXPECT_EQ(caption, "Non trovato dati.ini");
  EXPECT_EQ(label,
            "Inserire il nome del computer e la lettera della sua\r\n"
            "unità disco dove risulta ospitato (o sarà ospitato) il database");
  EXPECT_EQ(fontName, "Arial");
  EXPECT_EQ(fontSize, 8);
  EXPECT_EQ(labelTop, designedTop - 10);
  EXPECT_EQ(op.Texts(), std::vector<std::string>{"Non trovato dati.ini"});
  // Nothing answered: server and letter are what dati.ini holds, nothing.
  EXPECT_EQ(server, "");
  EXPECT_EQ(letter, "");
}

}  // namespace
}  // namespace velmaro
