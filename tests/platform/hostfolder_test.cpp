#include "platform/hostfolder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/temp_folder.h"

namespace {

using velmaro::testing::TempFolder;

TEST(HostFolder, OverrideAndExecutableFolder) {
  // Fault: host folder without its trailing delimiter, or the override sticking after clear.
  const std::string real = plat::HostFolder();
  ASSERT_FALSE(real.empty());
  EXPECT_EQ(real.back(), '/');
  EXPECT_TRUE(plat::FileExists(real + "platform_tests"));
  plat::SetHostFolderOverride("/opt/gest");
  EXPECT_EQ(plat::HostFolder(), "/opt/gest/");
  plat::SetHostFolderOverride("/opt/gest/");
  EXPECT_EQ(plat::HostFolder(), "/opt/gest/");
  plat::ClearHostFolderOverride();
  EXPECT_EQ(plat::HostFolder(), real);
}

TEST(HostFolder, NameSplittingAcceptsBothDelimiters) {
  // Fault: Windows-style names from stored settings split only at "/".
  EXPECT_EQ(plat::ExtractFilePath("C:\\gest\\archivio.fdb"), "C:\\gest\\");
  EXPECT_EQ(plat::ExtractFileName("/a/b\\c.txt"), "c.txt");
  EXPECT_EQ(plat::ExtractFileDir("/a/b/c.txt"), "/a/b");
  EXPECT_EQ(plat::ExtractFileExt("/a.b/c"), "");
  EXPECT_EQ(plat::ExtractFileExt("tmpqry.DB"), ".DB");
  EXPECT_EQ(plat::ChangeFileExt("/x/rep.lst", ".txt"), "/x/rep.txt");
  EXPECT_EQ(plat::ChangeFileExt("/x.d/rep", ".txt"), "/x.d/rep.txt");
  EXPECT_EQ(plat::IncludeTrailingPathDelimiter("C:\\gest\\"), "C:\\gest\\");
  EXPECT_EQ(plat::IncludeTrailingPathDelimiter("/a"), "/a/");
  EXPECT_EQ(plat::ExcludeTrailingPathDelimiter("/a//"), "/a");
  EXPECT_EQ(plat::ExcludeTrailingPathDelimiter("/"), "/");
}

TEST(HostFolder, FileSystemHelpers) {
  // Fault: "\" in composed names not understood, parents not created, rename overwriting.
  TempFolder dir;
  EXPECT_TRUE(plat::ForceDirectories(dir / "DUVIDAR\\USERCFG\\x"));
  EXPECT_TRUE(plat::DirectoryExists(dir / "DUVIDAR/USERCFG/x"));
  EXPECT_FALSE(plat::FileExists(dir / "DUVIDAR"));
  std::ofstream(dir / "DUVIDAR/a.txt") << "a";
  std::ofstream(dir / "DUVIDAR/b.txt") << "b";
  EXPECT_TRUE(plat::FileExists(dir / "DUVIDAR\\a.txt"));
  EXPECT_FALSE(plat::RenameFile(dir / "DUVIDAR/a.txt", dir / "DUVIDAR/b.txt"));
  EXPECT_TRUE(plat::RenameFile(dir / "DUVIDAR/a.txt", dir / "DUVIDAR/c.txt"));
  EXPECT_TRUE(plat::DeleteFile(dir / "DUVIDAR\\c.txt"));
  EXPECT_FALSE(plat::DeleteFile(dir / "DUVIDAR/c.txt"));
  EXPECT_FALSE(plat::DeleteFile(dir / "DUVIDAR"));
  EXPECT_FALSE(plat::CreateDir(dir / "no/such/parent"));
}

}  // namespace
