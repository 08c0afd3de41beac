#include "platform/ini.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/temp_folder.h"

namespace {

using velmaro::testing::ReadBytes;
using velmaro::testing::TempFolder;
using velmaro::testing::WriteBytes;

TEST(IniFile, MissingPiecesReadAsDefault) {
  // Fault: a missing file, section or key throws or reads as "" instead of the default.
  TempFolder dir;
  plat::IniFile none(dir / "nothing.ini");
  EXPECT_EQ(none.ReadString("CONFIG", "Alias", "def"), "def");
  EXPECT_TRUE(none.ReadSections().empty());
  WriteBytes(dir / "dati.ini", "[CONFIG]\r\nNome Server=srv\r\n");
  plat::IniFile ini(dir / "dati.ini");
  EXPECT_EQ(ini.ReadString("ALTRO", "Nome Server", "x"), "x");
  EXPECT_EQ(ini.ReadString("CONFIG", "Alias", "y"), "y");
  EXPECT_EQ(ini.ReadInteger("CONFIG", "Nome Server", 7), 7);
  EXPECT_FALSE(ini.ValueExists("CONFIG", "Alias"));
}

TEST(IniFile, NamesIgnoreCaseValuesAreTrimmedAndKeepEquals) {
  // Fault: lookups that depend on case, keep blanks around values, or cut a value at its own "=".
  TempFolder dir;
  WriteBytes(dir / "a.ini",
             "; comment\n[Config]\n  Nome Server =  srv1  \nFiltro=A=B\nQ=\"  quoted \"\nvuoto=\n");
  plat::IniFile ini(dir / "a.ini");
  EXPECT_EQ(ini.ReadString("CONFIG", "nome server", ""), "srv1");
  EXPECT_EQ(ini.ReadString("config", "FILTRO", ""), "A=B");
  EXPECT_EQ(ini.ReadString("Config", "Q", ""), "  quoted ");
  EXPECT_EQ(ini.ReadString("Config", "vuoto", "def"), "");
  EXPECT_EQ(ini.ReadSection("CONFIG"),
            (std::vector<std::string>{"Nome Server", "Filtro", "Q", "vuoto"}));
  EXPECT_EQ(ini.ReadSectionValues("CONFIG")[1], "Filtro=A=B");
}

TEST(IniFile, WritesCreateWithoutDisturbingOthers) {
  // Fault: a write that loses other sections, reorders keys, duplicates a key
  // written under another case, or fails to create file and folder content.
  TempFolder dir;
  const std::string path = dir / "dati.ini";
  plat::WriteString(path, "CONFIG", "Nome Server", "srv");
  EXPECT_EQ(ReadBytes(path), "[CONFIG]\r\nNome Server=srv\r\n");

  WriteBytes(path, "[A]\nx=1\ny=2\n\n[B]\nz=3\n");
  plat::IniFile ini(path);
  ini.WriteString("a", "X", "10");  // existing key, other case
  ini.WriteString("A", "w", "4");   // new key in existing section
  ini.WriteString("C", "k", "v");   // new section
  EXPECT_EQ(ReadBytes(path), "[A]\r\nx=10\r\ny=2\r\nw=4\r\n\r\n[B]\r\nz=3\r\n\r\n[C]\r\nk=v\r\n");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A", "B", "C"}));

  ini.DeleteKey("A", "y");
  ini.EraseSection("b");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"x", "w"}));
  EXPECT_EQ(ini.ReadString("C", "k", ""), "v");
}

TEST(IniFile, CrLfAndWindows1252OnDisk) {
  // Fault: CR kept in values, or accented text read/written in the wrong code page.
  TempFolder dir;
  const std::string path = dir / "utenti.ini";
  WriteBytes(path, "[Citt\xE0]\r\nNome=Perch\xE9 \x80\r\n");
  plat::IniFile ini(path);
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Città"}));
  EXPECT_EQ(ini.ReadString("Città", "Nome", ""), "Perché €");
  ini.WriteString("Città", "Altro", "però");
  EXPECT_EQ(ReadBytes(path), "[Citt\xE0]\r\nNome=Perch\xE9 \x80\r\nAltro=per\xF2\r\n");
}

TEST(IniFile, UnwritableFileThrows) {
  // Fault: a failed write reported as success.
  TempFolder dir;
  plat::IniFile ini(dir / "missing/folder/x.ini");
  EXPECT_THROW(ini.WriteString("S", "k", "v"), plat::IniError);
}

TEST(IniFile, WriteKeepsAPrivateFileAndALink) {
  // Fault: a configuration kept private (0600) made readable by all after
  // a write, or a link to a shared configuration replaced by a copy.
  TempFolder dir;
  WriteBytes(dir / "privato.ini", "[S]\r\nk=1\r\n");
  chmod((dir / "privato.ini").c_str(), 0600);
  std::filesystem::create_symlink("privato.ini", dir / "collegato.ini");
  plat::IniFile(dir / "collegato.ini").WriteString("S", "k", "2");
  struct stat st {};
  ASSERT_EQ(stat((dir / "privato.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "collegato.ini"));
  EXPECT_EQ(ReadBytes(dir / "privato.ini"), "[S]\r\nk=2\r\n");
}

TEST(IniText, PackedParameterText) {
  // Fault: packed LF-only text misread, or a rewrite that changes its line ends.
  plat::IniText t(
      "[DITTA1]\nArchivio=C:\\dati\\a.fdb\nDirectory di lavoro=C:\\tmp\n[DITTA2]\nArchivio=b\n");
  EXPECT_EQ(t.ReadString("ditta1", "archivio", ""), "C:\\dati\\a.fdb");
  EXPECT_EQ(t.ReadString("DITTA2", "Archivio", ""), "b");
  t.WriteString("DITTA2", "Archivio", "c");
  EXPECT_EQ(
      t.ToString(),
      "[DITTA1]\nArchivio=C:\\dati\\a.fdb\nDirectory di lavoro=C:\\tmp\n[DITTA2]\nArchivio=c\n");
}

}  // namespace
