#include "platform/library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/temp_folder.h"
#include "platform/hostfolder.h"

namespace {

using velmaro::testing::TempFolder;

class LibraryTest : public ::testing::Test {
 protected:
  void TearDown() override { plat::ClearHostFolderOverride(); }
};

TEST_F(LibraryTest, LoadsByNameFromHostFolder) {
  // Fault: the bare name searched on the system path instead of the host folder,
  // or a name differing from the file only in case not found.
  plat::SetHostFolderOverride(TEST_SIBLING_DIR);
  plat::Library lib = plat::Library::Load("TestSibling.dll");
  ASSERT_TRUE(lib.Loaded()) << lib.Error();
  auto somma = lib.Function<int (*)(int, int)>("SommaE");
  ASSERT_NE(somma, nullptr);
  EXPECT_EQ(somma(2, 3), 5);
  EXPECT_TRUE(plat::Library::Load("TESTSIBLING.DLL").Loaded());
  plat::Library moved = std::move(lib);
  EXPECT_FALSE(lib.Loaded());
  EXPECT_TRUE(moved.Loaded());
  moved.Free();
  EXPECT_FALSE(moved.Loaded());
  EXPECT_EQ(moved.Symbol("SommaE"), nullptr);
}

TEST_F(LibraryTest, MissingLibraryOrExportIsNotACrash) {
  // Fault: a missing library or export crashing or leaving no text for the message.
  TempFolder dir;
  plat::SetHostFolderOverride(dir.Path());
  plat::Library none = plat::Library::Load("Kestrin.dll");
  EXPECT_FALSE(none);
  EXPECT_FALSE(none.Error().empty());
  EXPECT_EQ(none.Symbol("ShowVuxRicercheFormY"), nullptr);

  std::ofstream(dir / "Rotta.dll") << "not a library";
  plat::Library broken = plat::Library::Load("Rotta.dll");
  EXPECT_FALSE(broken);
  EXPECT_FALSE(broken.Error().empty());

  plat::Library lib = plat::Library::Load(std::string(TEST_SIBLING_DIR) + "TestSibling.dll");
  ASSERT_TRUE(lib);
  EXPECT_EQ(lib.Symbol("NonEsiste"), nullptr);
  EXPECT_NE(lib.Error().find("NonEsiste"), std::string::npos);
}

}  // namespace
