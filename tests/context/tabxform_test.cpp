#include "context/tabxform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "common/fixture.h"
#include "context/memorydata.h"
#include "db/database.h"
#include "db/error.h"
#include "db/query.h"
#include "db/transaction.h"
#include "platform/format.h"

namespace velmaro {
namespace {

using testing::AttemptLog;
using testing::HostFolder;
using testing::Operator;
using Names = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

const char* const kNull = testing::kNull;

// A host folder whose user database knows two operators.
struct Host : HostFolder {
  Host() {
    CreateUserDatabase();
    AddUser(1, "Rossi", "segreta", "Ditta Uno", 5);
    AddUser(2, "D'Amico", "", "L'Aquila", 0);
  }
};

TEST(TTabXForm, FirstStartOnEmptyHostFolder) {
  // Fault: the folder "user", the user database or TABSCRIPT not made on a
  // first start, or made again (with an error box) on the next one.
  HostFolder host;
  {
    Operator op;
    TTabXForm ctx(nullptr, 0);
    EXPECT_TRUE(std::filesystem::is_directory(host.Folder() + "user"));
    EXPECT_EQ(ctx.IBDatabaseUser->DatabaseName, host.UserDatabasePath());
    EXPECT_EQ(op.Texts(), Names{"Effettuata creazione data base"});
    EXPECT_THROW(ctx.SetUserPerNum(1), db::DbError);  // no UTENTI here
  }
  const std::string user = host.UserDatabasePath();
  EXPECT_EQ(
      HostFolder::Scalar(
          user, "SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME='TABSCRIPT'"),
      "9");
  Operator op;
  TTabXForm again(nullptr, 0);
  EXPECT_TRUE(op.Texts().empty());
}

TEST(TTabXForm, TwoOperatorsStartingAtOnceMakeTabScriptOnce) {
  // Fault: the check for TABSCRIPT and its creation race: the operator whose
  // creation fails because the other's came first was shown "Errore interno
  // di CREATE: impossibile creare la tabella TABSCRIPT".
  Host host;
  std::promise<void> createdNotCommitted;
  std::thread other([&] {
    db::Database d;
    HostFolder::Attach(d, host.UserDatabasePath());
    db::Transaction t(&d);
    t.StartTransaction();
    db::Query q(&d, &t);
    q.SQL.Add("CREATE TABLE TABSCRIPT(PROGETTO VARCHAR(15) NOT NULL)");
    q.ExecSQL();
    createdNotCommitted.set_value();
    // Long enough for this side to find the table missing and to start its
    // own creation, which then waits for this transaction.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    t.Commit();
  });
  createdNotCommitted.get_future().wait();
  Operator op;
  {
    TTabXForm ctx(nullptr, 0);
    EXPECT_TRUE(op.Texts().empty());
    ctx.SetUserPerNum(1);  // the user connection is usable afterwards
    EXPECT_EQ(ctx.GetNomeUser(), "Rossi");
  }
  other.join();
  EXPECT_EQ(HostFolder::Scalar(
                host.UserDatabasePath(),
                "SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME='TABSCRIPT'"),
            "1");  // the other's table stands
}

TEST(TTabXForm, UserDatabaseThatCannotBeMadeIsReported) {
  // Fault: a failed user database stopping the object's creation, or no
  // error box telling the operator.
  HostFolder host;
  std::filesystem::create_directories(host.UserDatabasePath());  // a folder in its place
  Operator op;
  TTabXForm ctx(nullptr, 0);
  ASSERT_FALSE(op.Texts().empty());
  EXPECT_EQ(op.Texts().back(), "Errore inizializzazione database utenti");
  EXPECT_FALSE(ctx.IBDatabaseUser->Connected());
}

TEST(TTabXForm, OperatorReads) {
  // Fault: a name with an apostrophe breaking the statements, a missing
  // operator giving stale data, or a wrong password check.
  Host host;
  host.AddParameter(42, "", "Archivio", "senza-ditta.fdb", 1);
  Operator op;
  TTabXForm ctx(nullptr, 0);
  ctx.SetUserPerNum(2);
  EXPECT_EQ(ctx.GetNomeUser(), "D'Amico");
  EXPECT_EQ(ctx.Ditta, "L'Aquila");
  EXPECT_EQ(ctx.LeggiCodiceUser("D'Amico"), 2);
  EXPECT_EQ(ctx.LeggiDittaUser("D'Amico"), "L'Aquila");
  EXPECT_EQ(ctx.LeggiCodiceUser("Nessuno"), 0);
  EXPECT_EQ(ctx.LeggiNomeUser(99), "");
  EXPECT_EQ(ctx.LeggiPasswordUser("Rossi"), "segreta");
  EXPECT_EQ(ctx.DecodificaNomeUser(1), "Rossi");
  EXPECT_TRUE(ctx.VerificaPasswordUser("Rossi", "segreta"));
  EXPECT_FALSE(ctx.VerificaPasswordUser("Rossi", "Segreta"));
  EXPECT_FALSE(ctx.VerificaPasswordUser("Nessuno", ""));
  EXPECT_TRUE(ctx.VerificaPasswordUser("D'Amico", "qualsiasi"));
  ctx.SetUserPerNome("Rossi");
  EXPECT_EQ(ctx.GetNumUser(), 1);
  EXPECT_EQ(ctx.ProfiloSicurezzaUtente(), 5);
  std::vector<std::string> list = {"prima"};
  ctx.CaricaUser(list);
  EXPECT_EQ(list, (Names{"prima", "Rossi", "D'Amico"}));

  // An operator without a row: everything empty, parameters of no company.
  ctx.SetUserPerNum(42);
  EXPECT_EQ(ctx.GetNomeUser() + ctx.Password + ctx.Ditta, "");
  std::string value;
  ctx.CaricaParametro("Archivio", value);
  EXPECT_EQ(value, "senza-ditta.fdb");
  EXPECT_TRUE(op.Texts().empty());
}

TEST(TTabXForm, ScritturaHandleDiApertura) {
  // Fault: the handle written to the wrong row, or a failed write reported
  // as success (or shown to the operator).
  Host host;
  HostFolder::Exec(host.UserDatabasePath(),
                   "INSERT INTO VORLOLOGFUNZ (IDFINESTRA, HANDLEFINESTRA) VALUES ('7', NULL)");
  Operator op;
  {
    TTabXForm ctx(nullptr, 0);
    EXPECT_TRUE(ctx.ScritturaHandleDiApertura(7, 65540));
    EXPECT_TRUE(ctx.ScritturaHandleDiApertura(8, 1));  // no such row: nothing to do
  }
  EXPECT_EQ(HostFolder::Rows(host.UserDatabasePath(),
                             "SELECT IDFINESTRA, HANDLEFINESTRA FROM VORLOLOGFUNZ"),
            (Rows{{"7", "65540"}}));

  HostFolder::Exec(host.UserDatabasePath(), "DROP TABLE VORLOLOGFUNZ");
  TTabXForm ctx(nullptr, 0);
  EXPECT_FALSE(ctx.ScritturaHandleDiApertura(7, 65540));
  EXPECT_TRUE(op.Texts().empty());
}

TEST(TTabXForm, ConnettiDatabase) {
  // Fault: a connection other than the operation's own used, a path without
  // a delimiter split wrongly, or a failure not reported.
  Host host;
  host.CreateCompanyDatabase();
  Operator op;
  TTabXForm ctx(nullptr, 0);
  ctx.Inserisci("BVN", "Archivio", "", host.CompanyDatabasePath(), "", "", "", "", "1");
  ctx.ConnettiDatabase1("Archivio");
  EXPECT_EQ(ctx.IBDatabase1->DatabaseName, host.CompanyDatabasePath());
  ctx.ConnettiDatabase2("Archivio");
  ctx.ConnettiDatabase5("Archivio");
  EXPECT_TRUE(ctx.IBDatabase2->Connected());
  EXPECT_TRUE(ctx.IBDatabase5->Connected());
  EXPECT_FALSE(ctx.IBDatabase3->Connected());
  ctx.IBDatabase1->Close();
  ctx.ConnettiDatabase0(host.CompanyDatabasePath());
  EXPECT_TRUE(ctx.IBDatabase1->Connected());
  EXPECT_TRUE(op.Texts().empty());

  // Without a delimiter the whole text is the file name (made in the working folder).
  ctx.Inserisci("BVN", "Solo", "", "solo.fdb", "", "", "", "", "1");
  AttemptLog log;
  ctx.ConnettiDatabase3("Solo");
  EXPECT_EQ(log.Names(), (Names{"solo.fdb", "solo.fdb"}));
  EXPECT_TRUE(ctx.IBDatabase3->Connected());

  // A named share with no path on the server: warned, then the failure.
  ctx.Inserisci("BVN", "Rete", "", "\\\\srv\\archivi\\a.fdb", "", "", "", "", "1");
  ctx.ConnettiDatabase4("Rete");
  EXPECT_FALSE(ctx.IBDatabase4->Connected());
  EXPECT_EQ(op.Texts().back(), "Errore apertura archivio");
}

TEST(MemTabX, InserisciGetVSetV) {
  // Fault: Inserisci adding a second row for the same type, name and
  // operator, texts not converted to the field types, GetV/SetV not working
  // by name alone, or GetV, GetM and SetV answering from the current row
  // when it has the name although an earlier row of another type has it too.
  Host host;
  Operator op;
  TTabXForm ctx(nullptr, 0);
  TRxMemoryData& m = *ctx.MemTabX;
  ctx.Inserisci("BVN", "Archivio", "", "uno", "", "", "", "", "1");
  ctx.Inserisci("BVN", "Archivio", "12345678901", "due", "05/03/2024", "nota", "3", "", "1");
  EXPECT_EQ(m.RecordCount(), 1);
  EXPECT_EQ(ctx.GetV("Archivio"), "due");
  EXPECT_EQ(ctx.GetM("Archivio"), "nota");
  EXPECT_EQ(m.FieldByName("Numero").AsLargeInt(), 12345678901LL);
  EXPECT_EQ(m.FieldByName("Data").AsDateTime(), plat::EncodeDate(2024, 3, 5));
  EXPECT_EQ(m.FieldByName("Livello1").AsInteger(), 3);
  EXPECT_TRUE(m.FieldByName("Livello2").IsNull());

  // Another operator or type makes a row of its own, before the current one.
  ctx.Inserisci("BVN", "Archivio", "", "tre", "", "", "", "", "2");
  EXPECT_EQ(m.RecordCount(), 2);
  EXPECT_EQ(ctx.GetV("Archivio"), "tre");
  ctx.Inserisci("TBX", "Colore", "", "rosso", "", "m-tbx", "", "", "1");
  ctx.Inserisci("BVN", "Colore", "", "verde", "", "m-bvn", "", "", "1");
  EXPECT_EQ(m.RecordCount(), 4);
  // Rewriting the TBX row leaves the cursor on it, after the BVN row.
  ctx.Inserisci("TBX", "Colore", "", "blu", "", "m-tbx", "", "", "1");
  ASSERT_EQ(m.FieldByName("Tipo").AsString(), "TBX");
  EXPECT_EQ(ctx.GetV("Colore"), "verde");
  const auto suTbx = [&] { m.Locate("Tipo;Nome", {db::Value("TBX"), db::Value("Colore")}); };
  suTbx();
  EXPECT_EQ(ctx.GetM("Colore"), "m-bvn");
  suTbx();
  EXPECT_TRUE(ctx.SetV("Colore", "giallo"));
  EXPECT_EQ(ctx.GetV("Colore"), "giallo");
  suTbx();
  EXPECT_EQ(m.FieldByName("Testo").AsString(), "blu");
  // No operator is a key value too.
  ctx.Inserisci("BVN", "Libero", "", "a", "", "", "", "", "");
  ctx.Inserisci("BVN", "Libero", "", "b", "", "", "", "", "");
  EXPECT_EQ(m.RecordCount(), 5);
  EXPECT_EQ(ctx.GetV("Libero"), "b");
  // A name no row has changes nothing and leaves the cursor where it was.
  const int dove = m.RecNo();
  EXPECT_FALSE(ctx.SetV("Assente", "x"));
  EXPECT_EQ(ctx.GetV("Assente"), "");
  EXPECT_EQ(m.RecNo(), dove);
  EXPECT_EQ(m.RecordCount(), 5);
  EXPECT_TRUE(op.Texts().empty());
}

TEST(Parametri, ReadWriteAndPackForApostrophes) {
  // Fault: an apostrophe in an operator's company, parameter name or value
  // breaking the statements; wrong PROGRESSIVO numbering; an empty value
  // stored as text; the packed copy out of order or with repeated headers.
  Host host;
  Operator op;
  TTabXForm ctx(nullptr, 0);
  ctx.SetUserPerNum(2);
  const std::string user = host.UserDatabasePath();

  ctx.ScriviParametroBrivane("L'Aquila", "Archivio", "/dati/l'archivio.fdb");
  ctx.ScriviParametroBrivane("Altra", "Dir'Lavoro", "");
  ctx.SettaParametro("Magazzino", "3");
  EXPECT_EQ(HostFolder::Rows(user,
                             "SELECT INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO FROM TABBRIVANE "
                             "WHERE UTENTE='2' ORDER BY PROGRESSIVO"),
            (Rows{{"L'Aquila", "Archivio", "/dati/l'archivio.fdb", "1"},
                  {"Altra", "Dir'Lavoro", kNull, "2"},
                  {"L'Aquila", "Magazzino", "3", "3"}}));
  std::string value;
  ctx.CaricaParametro("Archivio", value);
  EXPECT_EQ(value, "/dati/l'archivio.fdb");

  // Rewriting updates in place; emptying stores NULL.
  ctx.ScriviParametroBrivane("L'Aquila", "Archivio", "");
  EXPECT_EQ(HostFolder::Rows(user,
                             "SELECT VALORE, PROGRESSIVO FROM TABBRIVANE WHERE UTENTE='2' AND "
                             "PARAMETRO='Archivio'"),
            (Rows{{kNull, "1"}}));
  EXPECT_EQ(HostFolder::Scalar(user, "SELECT BRIVANE FROM UTENTI WHERE CODICE=2"),
            "[Altra]\nDir'Lavoro=\n[L'Aquila]\nArchivio=\nMagazzino=3\n");
  // The next operator's numbering starts again from 1.
  ctx.SetUserPerNum(1);
  ctx.SettaParametro("Archivio", "x");
  EXPECT_EQ(HostFolder::Scalar(user, "SELECT PROGRESSIVO FROM TABBRIVANE WHERE UTENTE='1'"), "1");
  EXPECT_TRUE(op.Texts().empty());
}

TEST(Parametri, PackingWithoutSectionsAndFailedWrite) {
  // Fault: rows without a section packed as bare "name=value" lines, or a
  // failed write skipping the packing or passing silently.
  Host host;
  const std::string user = host.UserDatabasePath();
  host.AddParameter(1, "", "Vuota", "v", 1);
  HostFolder::ExecAll(
      user, {"INSERT INTO TABBRIVANE (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) "
             "VALUES ('1', NULL, 'Nulla', 'n', 2)",
             "UPDATE UTENTI SET BRIVANE='vecchio' WHERE CODICE=1"});
  Operator op;
  TTabXForm ctx(nullptr, 0);
  ctx.SetUserPerNum(1);
  ctx.ScriviBrivane(1);
  EXPECT_EQ(HostFolder::Scalar(user, "SELECT BRIVANE FROM UTENTI WHERE CODICE=1"), kNull);

  // VALORE holds 1024 characters: a longer value cannot be inserted.
  ctx.ScriviParametroBrivane("Ditta Uno", "Lungo", std::string(1100, 'x'));
  EXPECT_EQ(op.Texts(),
            Names{"Errore interno di INSERT: impossibile aggiornare la tabella dei parametri"});
  ctx.ScriviParametroBrivane("Ditta Uno", "Breve", "b");
  EXPECT_EQ(HostFolder::Scalar(user, "SELECT BRIVANE FROM UTENTI WHERE CODICE=1"),
            "[Ditta Uno]\nBreve=b\n");
}

TEST(Parametri, AggiornaParametriTabX) {
  // Fault: stored values of the company database not merged into MemTabX
  // (existing rows duplicated, empty columns overwriting values).
  Host host;
  host.CreateCompanyDatabase();
  const std::string company = host.CompanyDatabasePath();
  HostFolder::ExecAll(
      company,
      {"INSERT INTO TABX VALUES (1, 501, 1, 'TBX', 'Colore', 5, 'rosso', NULL, NULL, 1, 2, 1)",
       "INSERT INTO TABX VALUES (2, 501, 1, 'TBX', 'Vuoto', NULL, NULL, NULL, NULL, 0, 0, 1)",
       "INSERT INTO TABX VALUES (3, 501, 1, 'TBX', 'Nuovo', NULL, 'n', '2024-03-05', 'm', 1, 1, 1)",
       "INSERT INTO TABX VALUES (4, 501, 1, 'TBX', 'Altrui', NULL, 'a', NULL, NULL, 0, 0, 2)"});
  Operator op;
  TTabXForm ctx(nullptr, 0);
  ctx.SetUserPerNum(1);
  ctx.ConnettiDatabase0(company);
  ctx.Inserisci("TBX", "Colore", "", "blu", "", "memo", "", "", "1");
  ctx.Inserisci("TBX", "Vuoto", "9", "pieno", "", "", "", "", "1");
  ctx.AggiornaParametriTabX();
  TRxMemoryData& m = *ctx.MemTabX;
  EXPECT_EQ(m.RecordCount(), 3);
  EXPECT_EQ(ctx.GetV("Colore"), "rosso");
  EXPECT_EQ(ctx.GetM("Colore"), "memo");
  EXPECT_EQ(m.FieldByName("Numero").AsLargeInt(), 5);
  ASSERT_TRUE(m.Locate("Nome", db::Value("Vuoto")));
  EXPECT_TRUE(m.FieldByName("Testo").IsNull());
  EXPECT_TRUE(m.FieldByName("Numero").IsNull());
  ASSERT_TRUE(m.Locate("Nome", db::Value("Nuovo")));
  EXPECT_EQ(m.FieldByName("Testo").AsString(), "n");
  EXPECT_EQ(m.FieldByName("Data").AsDateTime(), plat::EncodeDate(2024, 3, 5));
  EXPECT_EQ(ctx.GetV("Altrui"), "");
  EXPECT_TRUE(op.Texts().empty());
}

}  // namespace
}  // namespace velmaro
