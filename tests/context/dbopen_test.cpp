#include "context/dbopen.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "context/qelin.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "fbserver.h"
#include "fixture.h"
#include "platform/ini.h"

namespace velmaro {
namespace {

using testing::AttemptLog;
using testing::FirebirdServer;
using testing::HostFolder;
using testing::Operator;
using Names = std::vector<std::string>;

const char* const kCreated = "Effettuata creazione data base";
const char* const kNoIni = "Non trovato dati.ini";
const char* const kFailed = "Apertura / creazione del database non riuscita!";

void WriteConfig(const std::string& folder, const std::string& key, const std::string& value) {
  plat::WriteString(folder + "dati.ini", "CONFIG", key, value);
}

// Makes every attach and create of `path` fail: a folder stands in its place.
void Block(const std::string& path) { std::filesystem::create_directories(path); }

TEST(ApriCreaDatabase, EmptyFileNameCreatesThenOpensArchivio) {
  // Fault: the default file name or the create-on-failure step missing, or a
  // second run creating again instead of opening.
  HostFolder host;
  const std::string folder = host.Folder() + "gest/";
  std::filesystem::create_directories(folder);
  Operator op;
  AttemptLog log;
  db::Database d;

  ASSERT_TRUE(ApriCreaDatabase(d, folder, "", "", "", nullptr));
  EXPECT_TRUE(d.Connected());
  EXPECT_EQ(log.Names(), (Names{folder + "archivio.fdb", folder + "archivio.fdb"}));
  EXPECT_FALSE(log.Attempts()[0].create);
  EXPECT_TRUE(log.Attempts()[1].create);
  EXPECT_EQ(op.Texts(), Names{kCreated});

  d.Close();
  log.Clear();
  ASSERT_TRUE(ApriCreaDatabase(d, folder, "", "", "", nullptr));
  EXPECT_EQ(log.Names(), Names{folder + "archivio.fdb"});
  EXPECT_EQ(d.Params, (Names{"user_name=SYSDBA", "password=pinecrane"}));
  EXPECT_EQ(op.Texts(), Names{kCreated});
}

TEST(ApriCreaDatabase, AliasFailingFallsBackToFolder) {
  // Fault: the alias rule stopping the opening when its server is away, or
  // mixing the folder into the alias name.
  HostFolder host;
  const std::string folder = host.Folder() + "gest/";
  std::filesystem::create_directories(folder);
  WriteConfig(folder, "Nome Server", "srv");
  WriteConfig(folder, "Alias", "ditta");
  Operator op;
  AttemptLog log;
  db::Database d;

  EXPECT_TRUE(ApriCreaDatabase(d, folder, "dati.fdb", "", "", nullptr));
  EXPECT_EQ(log.Names(),
            (Names{"srv:ditta", "srv:ditta", folder + "dati.fdb", folder + "dati.fdb"}));
}

TEST(ApriCreaDatabase, SharePathRuleIsFinal) {
  // Fault: a missing or doubled closing backslash of the share path, or the
  // later rules (and their questions) running after the share rule failed.
  HostFolder host;
  for (const std::string share : {"dati", "dati\\"}) {
    const std::string folder = host.Folder() + "g" + std::to_string(share.size()) + "/";
    std::filesystem::create_directories(folder);
    WriteConfig(folder, "Nome Server", "srv");
    WriteConfig(folder, "PercorsoDatabase", share);
    // The UNC name is a plain relative file name here: keep it from opening.
    Block(host.Folder() + "\\\\srv\\dati\\archivio.fdb");
    Operator op;
    AttemptLog log;
    db::Database d;

    EXPECT_FALSE(ApriCreaDatabase(d, folder, "", "", "", nullptr));
    EXPECT_EQ(log.Names(), (Names{"\\\\srv\\dati\\archivio.fdb", "\\\\srv\\dati\\archivio.fdb"}));
    EXPECT_TRUE(op.Texts().empty());
  }
}

TEST(ApriCreaDatabase, UncFolderSharedByLetterBecomesServerPath) {
  // Fault: the drive-letter share not turned into "server:letter:" or a
  // named-share warning shown for it.
  HostFolder host;
  Operator op;
  AttemptLog log;
  db::Database d;

  EXPECT_FALSE(ApriCreaDatabase(d, "\\\\srv\\D\\gest\\", "", "", "", nullptr));
  ASSERT_FALSE(log.Names().empty());
  EXPECT_EQ(log.Names()[0], "srv:D:\\gest\\archivio.fdb");
  // No server answers here, so the first-run question follows; it is closed.
  EXPECT_EQ(op.Texts(), (Names{kNoIni, kFailed}));
  EXPECT_EQ(op.FormsSeen(), Names{"TQelIn2Form"});
}

TEST(AvvisaCondivisioneNome, ShareKinds) {
  // Fault: a named share taken for a drive letter, the server's own path
  // ignored, or no warning when nothing tells where the files are.
  HostFolder host;
  Operator op;
  std::string path;
  bool named = false;

  EXPECT_FALSE(AvvisaCondivisioneNome("\\\\srv\\D\\dati\\", "", path, named));
  EXPECT_EQ(path, "srv:D:\\dati\\");
  EXPECT_FALSE(named);

  EXPECT_FALSE(AvvisaCondivisioneNome("\\\\srv\\archivi\\", "C:\\dati\\", path, named));
  EXPECT_EQ(path + "archivio.fdb", "srv:C:\\dati\\archivio.fdb");
  EXPECT_TRUE(named);
  EXPECT_TRUE(op.Texts().empty());

  named = false;
  path = "unchanged";
  EXPECT_TRUE(AvvisaCondivisioneNome("\\\\srv\\archivi\\", "", path, named));
  EXPECT_TRUE(named);
  EXPECT_EQ(path, "unchanged");
  ASSERT_EQ(op.Texts().size(), 1u);
  EXPECT_NE(op.Texts()[0].find("condiviso in rete con un nome - archivi - e non con la lettera"),
            std::string::npos);

  // Through the opening: the warning ends it, nothing is tried.
  AttemptLog log;
  db::Database d;
  EXPECT_FALSE(ApriCreaDatabase(d, "\\\\srv\\archivi\\", "", "", "", nullptr));
  EXPECT_TRUE(log.Names().empty());
  EXPECT_EQ(op.Texts().size(), 2u);
}

TEST(ApriCreaDatabase, StoredServerAndLetterUsedWithoutAsking) {
  // Fault: asking again although dati.ini knows the server, or the letter
  // not replacing the folder's drive.
  HostFolder host;
  // "C:\gest\dati.ini" is the relative file C:/gest/dati.ini here.
  std::filesystem::create_directories(host.Folder() + "C:/gest");
  WriteConfig(host.Folder() + "C:/gest/", "Nome Server", "srv");
  WriteConfig(host.Folder() + "C:/gest/", "Lettera Disco Server", "E");
  Operator op;
  AttemptLog log;
  db::Database d;

  EXPECT_FALSE(ApriCreaDatabase(d, "C:\\gest\\", "", "", "", nullptr));
  EXPECT_EQ(log.Names(), (Names{"C:\\gest\\archivio.fdb", "C:\\gest\\archivio.fdb",
                                "srv:E:\\gest\\archivio.fdb", "srv:E:\\gest\\archivio.fdb"}));
  EXPECT_TRUE(op.Texts().empty());
  EXPECT_TRUE(op.FormsSeen().empty());
}

TEST(ApriCreaDatabase, FirstRunQuestion) {
  // Fault: the answer not stored, an empty letter written or replacing the
  // drive, or a cancelled question treated as an answer.
  HostFolder host;
  std::filesystem::create_directories(host.Folder() + "C:/gest");
  const std::string ini = host.Folder() + "C:/gest/dati.ini";
  {
    Operator op;
    op.Then([](ui::Form& f) {
      auto& dlg = dynamic_cast<TQelIn2Form&>(f);
      EXPECT_EQ(dlg.Edit1->Text(), "");
      dlg.Edit1->SetText("srv");
      dlg.OKBtn->Click();
    });
    AttemptLog log;
    db::Database d;
    EXPECT_FALSE(ApriCreaDatabase(d, "C:\\gest\\", "", "", "", nullptr));
    EXPECT_EQ(log.Names().back(), "srv:C:\\gest\\archivio.fdb");
    EXPECT_EQ(op.Texts(), Names{kNoIni});
    EXPECT_EQ(plat::ReadString(ini, "CONFIG", "Nome Server", "?"), "srv");
    EXPECT_EQ(plat::ReadString(ini, "CONFIG", "Lettera Disco Server", "?"), "?");
  }
  std::filesystem::remove(ini);
  {
    Operator op;
    op.Then([](ui::Form& f) {
      auto& dlg = dynamic_cast<TQelIn2Form&>(f);
      dlg.Edit1->SetText("srv2");
      dlg.Edit2->SetText("F");
      dlg.OKBtn->Click();
    });
    AttemptLog log;
    db::Database d;
    EXPECT_FALSE(ApriCreaDatabase(d, "C:\\gest\\", "", "", "", nullptr));
    EXPECT_EQ(log.Names().back(), "srv2:F:\\gest\\archivio.fdb");
    EXPECT_EQ(plat::ReadString(ini, "CONFIG", "Lettera Disco Server", "?"), "F");
  }
  std::filesystem::remove(ini);
  {
    Operator op;  // closes the question with Cancel
    op.Then([](ui::Form& f) { dynamic_cast<TQelIn2Form&>(f).CancelBtn->Click(); });
    AttemptLog log;
    db::Database d;
    EXPECT_FALSE(ApriCreaDatabase(d, "C:\\gest\\", "", "", "", nullptr));
    EXPECT_EQ(log.Names().size(), 2u);
    EXPECT_EQ(op.Texts(), (Names{kNoIni, kFailed}));
    EXPECT_FALSE(std::filesystem::exists(ini));
  }
}

TEST(ApriCreaDatabase, AliasThroughRealServer) {
  // Fault: a "server:path" name not reaching a Firebird server at all, or
  // the alias rule opening the file some other way.
  HostFolder host;
  const std::string target = host.Folder() + "remote/archivio.fdb";
  HostFolder::CreateDatabase(target);
  FirebirdServer server;  // stopped after the connection below is closed
  if (!server.Running())
    GTEST_SKIP() << "no private Firebird server on 127.0.0.1: " << server.Reason();
  const std::string folder = host.Folder() + "gest/";
  std::filesystem::create_directories(folder);
  WriteConfig(folder, "Nome Server", server.Address());
  WriteConfig(folder, "Alias", target);
  Operator op;
  AttemptLog log;
  db::Database d;
  const std::string name = server.Address() + ":" + target;

  ASSERT_TRUE(ApriCreaDatabase(d, folder, "", "", "", nullptr));
  EXPECT_TRUE(d.Connected());
  EXPECT_EQ(d.DatabaseName, name);
  EXPECT_EQ(log.Names(), Names{name});  // opened at once, nothing created
  EXPECT_TRUE(op.Texts().empty());
  EXPECT_EQ(d.Params, (Names{"user_name=SYSDBA", "password=pinecrane"}));

  // The attachment is a TCP one, made by this process and served by the
  // server's.
  {
    db::Transaction t(&d);
    t.StartTransaction();
    db::Query q(&d, &t);
    q.SQL.Add(
        "SELECT TRIM(MON$REMOTE_PROTOCOL), MON$SERVER_PID, MON$REMOTE_PID FROM MON$ATTACHMENTS"
        " WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION");
    q.Open();
    ASSERT_FALSE(q.Eof());
    EXPECT_EQ(q.Fields()[0]->AsString(), "TCPv4");
    EXPECT_EQ(q.Fields()[1]->AsInteger(), server.Pid());
    EXPECT_EQ(q.Fields()[2]->AsInteger(), getpid());
    q.Close();
    t.Commit();
  }
  d.Close();
}

}  // namespace
}  // namespace velmaro
