#include "context/dbopen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "common/fixture.h"
#include "context/qelin.h"
#include "db/database.h"
#include "platform/ini.h"

namespace velmaro {
namespace {

using testing::AttemptLog;
using testing::HostFolder;
using testing::Operator;
using Names = std::vector<std::string>;

const char* const kCreated = "Effettuata creazione data base";
const char* const kNoIni = "Non trovato dati.ini";
const char* const kFailed = "Apertura / creazione del database non riuscita!";

void WriteConfig(const std::string& folder, const std::string& key, const std::string& value) {
  plat::WriteString(folder + "dati.ini", "CONFIG", key, value);
}

// A folder under the host folder holding dati.ini with the given CONFIG keys.
std::string Folder(const HostFolder& host, const std::string& name,
                   std::vector<std::pair<std::string, std::string>> config = {}) {
  const std::string folder = host.Folder() + name;
  std::filesystem::create_directories(folder);
  for (auto& [k, v] : config) WriteConfig(folder, k, v);
  return folder;
}

// One opening, watched: the boxes and forms shown, the names tried.
struct Opening {
  Operator op;
  AttemptLog log;
  db::Database d;
  bool Run(const std::string& folder, const std::string& file = "") {
    return ApriCreaDatabase(d, folder, file, "", "", nullptr);
  }
};

TEST(ApriCreaDatabase, EmptyFileNameCreatesThenOpensArchivio) {
  // Fault: the default file name or the create-on-failure step missing, or a
  // second run creating again instead of opening.
  HostFolder host;
  const std::string folder = Folder(host, "gest/");
  Opening o;
  ASSERT_TRUE(o.Run(folder));
  EXPECT_TRUE(o.d.Connected());
  EXPECT_EQ(o.log.Names(), (Names{folder + "archivio.fdb", folder + "archivio.fdb"}));
  EXPECT_TRUE(!o.log.Attempts()[0].create && o.log.Attempts()[1].create);
  EXPECT_EQ(o.op.Texts(), Names{kCreated});

  o.d.Close();
  o.log.Clear();
  ASSERT_TRUE(o.Run(folder));
  EXPECT_EQ(o.log.Names(), Names{folder + "archivio.fdb"});
  EXPECT_EQ(o.d.Params, (Names{"user_name=SYSDBA", "password=pinecrane"}));
  EXPECT_EQ(o.op.Texts(), Names{kCreated});
}

TEST(ApriCreaDatabase, AliasFailingFallsBackToFolder) {
  // Fault: the alias rule stopping the opening when its server is away, or
  // mixing the folder into the alias name.
  HostFolder host;
  const std::string folder = Folder(host, "gest/", {{"Nome Server", "srv"}, {"Alias", "ditta"}});
  Opening o;
  EXPECT_TRUE(o.Run(folder, "dati.fdb"));
  EXPECT_EQ(o.log.Names(),
            (Names{"srv:ditta", "srv:ditta", folder + "dati.fdb", folder + "dati.fdb"}));
}

// Every entry under a folder, recursively, as paths relative to it.
Names Tree(const std::string& folder) {
  Names out;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
    out.push_back(std::filesystem::relative(e.path(), folder).string());
  std::sort(out.begin(), out.end());
  return out;
}

TEST(ApriCreaDatabase, SharePathGoesToTheServerNeverToALocalFile) {
  // Fault: the share path \\srv\dati\archivio.fdb taken by the embedded
  // engine for a relative local file, created in the working folder and
  // reported as "Effettuata creazione data base"; or the later rules (and
  // their questions) running after the share rule failed.
  HostFolder host;
  for (const std::string share : {"dati", "dati\\"}) {
    const std::string folder = Folder(host, "g" + std::to_string(share.size()) + "/",
                                      {{"Nome Server", "srv"}, {"PercorsoDatabase", share}});
    const Names before = Tree(host.Folder());
    Opening o;
    EXPECT_FALSE(o.Run(folder));
    EXPECT_FALSE(o.d.Connected());
    EXPECT_EQ(o.log.Names(), (Names{"srv:dati/archivio.fdb", "srv:dati/archivio.fdb"}));
    EXPECT_TRUE(o.op.Texts().empty());
    EXPECT_EQ(Tree(host.Folder()), before);  // the working folder is the host folder
  }
  // A server named with its port keeps it.
  Opening withPort;
  EXPECT_FALSE(withPort.Run(
      Folder(host, "gp/", {{"Nome Server", "srv/3051"}, {"PercorsoDatabase", "dati"}})));
  ASSERT_FALSE(withPort.log.Names().empty());
  EXPECT_EQ(withPort.log.Names()[0], "srv/3051:dati/archivio.fdb");
  // A share written with slashes is the same server's, not a local path.
  Opening slashes;
  EXPECT_FALSE(slashes.Run("//srv/dati/"));
  ASSERT_FALSE(slashes.log.Names().empty());
  EXPECT_EQ(slashes.log.Names()[0], "srv:dati/archivio.fdb");
  // No server known: the name reaches nothing and nothing is tried.
  Opening o;
  EXPECT_FALSE(o.Run(Folder(host, "g0/", {{"PercorsoDatabase", "dati"}})));
  EXPECT_TRUE(o.log.Names().empty());
  EXPECT_TRUE(o.op.Texts().empty());
}

TEST(ChiediServerDatabase, FirstRunDialogAndANetworkFolderOutOfReach) {
  // Fault: a folder in network form read and written as a local path from
  // the root: \\tmp\x\ is /tmp/x/ to the local file system, so a dati.ini
  // there was read, and the first-run answer written into it. Also: the
  // question shown without the caption, label, font and label position it
  // asks for, or freed by a plain delete (its OnDestroy never runs) or left
  // with its owner.
  HostFolder host;
  const std::string local = Folder(host, "archivi/", {{"Nome Server", "vicino"}}) + "dati.ini";
  std::string network = host.Folder() + "archivi\\";
  std::replace(network.begin(), network.end(), '/', '\\');
  network = "\\" + network;  // "/tmp/..." becomes "\\tmp\..."
  const Names before = Tree(host.Folder());
  ui::Form owner;
  const int ownedBefore = owner.ComponentCount();
  const int designedTop = TQelIn2Form(nullptr).Label1->Top();

  Operator op;
  bool destroyed = false;
  op.Then([&](ui::Form& f) {
    auto& dlg = dynamic_cast<TQelIn2Form&>(f);
    EXPECT_EQ(dlg.Owner(), &owner);
    EXPECT_EQ(dlg.Caption(), kNoIni);
    EXPECT_EQ(dlg.Label1->Caption(),
              "Inserire il nome del computer e la lettera della sua\r\n"
              "unità disco dove risulta ospitato (o sarà ospitato) il database");
    EXPECT_TRUE(dlg.Font.Name == "Arial" && dlg.Font.Size == 8);
    EXPECT_EQ(dlg.Label1->Top(), designedTop - 10);
    dlg.OnDestroy = [&destroyed](ui::Component*) { destroyed = true; };
    dlg.Edit1->SetText("lontano");
    dlg.Edit2->SetText("E");
    dlg.OKBtn->Click();
  });
  std::string server, letter;
  EXPECT_EQ(ChiediServerDatabase(server, letter, network, &owner), "lontano");
  EXPECT_EQ(letter, "E");
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(owner.ComponentCount(), ownedBefore);
  EXPECT_EQ(op.Texts(), Names{kNoIni});  // nothing read: the question comes
  EXPECT_EQ(plat::ReadString(local, "CONFIG", "Nome Server", ""), "vicino");
  EXPECT_EQ(plat::ReadString(local, "CONFIG", "Lettera Disco Server", "?"), "?");
  EXPECT_EQ(Tree(host.Folder()), before);
}

TEST(AvvisaCondivisioneNome, ShareKinds) {
  // Fault: a named share taken for a drive letter (or a letter share not
  // turned into "server:letter:", or warned about as a named one), the server's own path
  // ignored, or no warning when nothing tells where the files are.
  HostFolder host;
  {
    Opening o;
    EXPECT_FALSE(o.Run("\\\\srv\\D\\gest\\"));
    ASSERT_FALSE(o.log.Names().empty());
    EXPECT_EQ(o.log.Names()[0], "srv:D:\\gest\\archivio.fdb");
    // No server answers here, so the first-run question follows; it is closed.
    EXPECT_EQ(o.op.Texts(), (Names{kNoIni, kFailed}));
    EXPECT_EQ(o.op.FormsSeen(), Names{"TQelIn2Form"});
  }
  Opening o;
  std::string path;
  bool named = false;
  EXPECT_FALSE(AvvisaCondivisioneNome("\\\\srv\\archivi\\", "C:\\dati\\", path, named));
  EXPECT_EQ(path, "srv:C:\\dati\\");
  EXPECT_TRUE(named);
  EXPECT_TRUE(o.op.Texts().empty());

  named = false;
  path = "unchanged";
  EXPECT_TRUE(AvvisaCondivisioneNome("\\\\srv\\archivi\\", "", path, named));
  EXPECT_TRUE(named);
  EXPECT_EQ(path, "unchanged");
  ASSERT_EQ(o.op.Texts().size(), 1u);
  EXPECT_NE(o.op.Texts()[0].find("condiviso in rete con un nome - archivi - e non con la lettera"),
            std::string::npos);

  // Through the opening: the warning ends it, nothing is tried.
  EXPECT_FALSE(o.Run("\\\\srv\\archivi\\"));
  EXPECT_TRUE(o.log.Names().empty());
  EXPECT_EQ(o.op.Texts().size(), 2u);
}

TEST(ApriCreaDatabase, StoredServerAndLetterUsedWithoutAsking) {
  // Fault: asking again although dati.ini knows the server, or the letter
  // not replacing the folder's drive.
  HostFolder host;
  // "C:\gest\dati.ini" is the relative file C:/gest/dati.ini here.
  Folder(host, "C:/gest/", {{"Nome Server", "srv"}, {"Lettera Disco Server", "E"}});
  Opening o;
  EXPECT_FALSE(o.Run("C:\\gest\\"));
  EXPECT_EQ(o.log.Names(), (Names{"C:\\gest\\archivio.fdb", "C:\\gest\\archivio.fdb",
                                  "srv:E:\\gest\\archivio.fdb", "srv:E:\\gest\\archivio.fdb"}));
  EXPECT_TRUE(o.op.Texts().empty());
  EXPECT_TRUE(o.op.FormsSeen().empty());
}

TEST(ApriCreaDatabase, FirstRunQuestion) {
  // Fault: the answer not stored, an empty letter written or replacing the
  // drive, or a cancelled question treated as an answer.
  HostFolder host;
  const std::string ini = Folder(host, "C:/gest/") + "dati.ini";
  struct Case {
    std::string server, letter, tried, stored;  // empty server: Cancel
  };
  for (const Case& c : {Case{"srv", "", "srv:C:\\gest\\archivio.fdb", "?"},
                        Case{"srv2", "F", "srv2:F:\\gest\\archivio.fdb", "F"}, Case{}}) {
    std::filesystem::remove(ini);
    Opening o;
    o.op.Then([&](ui::Form& f) {
      auto& dlg = dynamic_cast<TQelIn2Form&>(f);
      EXPECT_EQ(dlg.Edit1->Text(), "");
      if (c.server.empty()) return dlg.CancelBtn->Click();
      dlg.Edit1->SetText(c.server);
      if (!c.letter.empty()) dlg.Edit2->SetText(c.letter);
      dlg.OKBtn->Click();
    });
    EXPECT_FALSE(o.Run("C:\\gest\\"));
    if (c.server.empty()) {
      EXPECT_EQ(o.log.Names().size(), 2u);
      EXPECT_EQ(o.op.Texts(), (Names{kNoIni, kFailed}));
      EXPECT_FALSE(std::filesystem::exists(ini));
      continue;
    }
    EXPECT_EQ(o.log.Names().back(), c.tried);
    EXPECT_EQ(o.op.Texts(), Names{kNoIni});
    EXPECT_EQ(plat::ReadString(ini, "CONFIG", "Nome Server", "?"), c.server);
    EXPECT_EQ(plat::ReadString(ini, "CONFIG", "Lettera Disco Server", "?"), c.stored);
  }
}

}  // namespace
}  // namespace velmaro
