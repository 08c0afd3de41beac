#include "platform/hostfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "common/temp_folder.h"
#include "platform/ini.h"

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

TEST(HostFolder, NetworkNamesReachNothingHere) {
  // Fault: "\\server\share\..." turned into "//server/share/...", which the
  // local file system reads as "/server/share/...": files found, folders and
  // INI files made at the root. A temp folder under /tmp stands for the
  // share here, as \\tmp\... would have named it.
  TempFolder tmp("velmaro-unc");
  std::ofstream(tmp / "dati.ini") << "[CONFIG]\nNome Server=vicino\n";
  std::string unc = tmp.Path();
  for (char& c : unc)
    if (c == '/') c = '\\';
  unc = "\\" + unc;
  EXPECT_FALSE(plat::IsNetworkName("/tmp/x") || plat::IsNetworkName("\\tmp") ||
               plat::IsNetworkName("C:\\\\x"));
  // Also in the form "//tmp/...", which reads "/tmp/..." here.
  for (const std::string& rete : {unc, plat::NativePath(unc)}) {
    ASSERT_TRUE(plat::IsNetworkName(rete));
    EXPECT_FALSE(plat::DirectoryExists(rete));
    EXPECT_FALSE(plat::FileExists(rete + "dati.ini"));
    EXPECT_FALSE(plat::ForceDirectories(rete + "nuova\\sotto"));
    EXPECT_FALSE(plat::CreateDir(rete + "nuova"));
    EXPECT_FALSE(plat::DeleteFile(rete + "dati.ini"));
    EXPECT_FALSE(plat::RenameFile(rete + "dati.ini", tmp / "spostato.ini"));
    EXPECT_EQ(plat::ReadString(rete + "dati.ini", "CONFIG", "Nome Server", "?"), "?");
    EXPECT_THROW(plat::WriteString(rete + "dati.ini", "CONFIG", "Nome Server", "x"),
                 plat::IniError);
    EXPECT_THROW(plat::WriteString(rete + "altro.ini", "CONFIG", "Nome Server", "x"),
                 plat::IniError);
  }

  std::vector<std::string> left;
  for (const auto& e : std::filesystem::recursive_directory_iterator(tmp.Path()))
    left.push_back(e.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"dati.ini"});
  EXPECT_EQ(plat::ReadString(tmp / "dati.ini", "CONFIG", "Nome Server", "?"), "vicino");
}

}  // namespace
