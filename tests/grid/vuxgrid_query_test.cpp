// F8: the query window on the grid's table, and what it leaves behind.
#include <fstream>

#include "common/rowset.h"
#include "context/memorydata.h"
#include "context/tabxform.h"
#include "db/table.h"
#include "platform/windowsfolder.h"
#include "query/iblquery.h"
#include "query/iblqueryform.h"
#include "ui/dbgrid.h"
#include "ui/menus.h"
#include "vuxgrid_fixture.h"

namespace velmaro::testing {
namespace {

class QueryWindowTest : public VuxGridTest {
 protected:
  void SetUp() override {
    VuxGridTest::SetUp();
    host_.CreateUserDatabase();
    host_.AddUser(kUtente, "Mario", "pw", "DEMO");
    plat::SetWindowsFolderOverride(host_.Folder() + "windows");
    std::filesystem::create_directories(host_.Folder() + "windows");
  }
  void TearDown() override {
    VuxGridTest::TearDown();
    plat::ClearWindowsFolderOverride();
  }
  static void Scrivi(const std::string& path, const std::string& testo) {
    std::ofstream(path) << testo;
  }
  // Runs `apri` with one queued look at the query window, which then closes.
  void Guarda(const std::function<void()>& apri,
              const std::function<void(TIBLQueryForm&)>& guarda) {
    ui::Driver d;
    bool vista = false;
    d.Enqueue([&](ui::Driver& dr) {
      auto& f = dynamic_cast<TIBLQueryForm&>(dr.Window("TIBLQueryForm"));
      guarda(f);
      vista = true;
      dr.CloseWindow("TIBLQueryForm");
    });
    apri();
    EXPECT_TRUE(vista);
  }
};

// Catches a query window on the caller's own connection or transaction, or
// for another operator, and a caller's data set moved, closed or
// disconnected once the window is gone. The caption, and one window when
// the row grids also click "Query" at key-up, show in grid_commands.vms and
// rows_tasti.vms.
TEST_F(QueryWindowTest, F8OpensTheTableAndLeavesTheCallerAsItWas) {
  transazione_.Params = {"isc_tpb_concurrency", "isc_tpb_nowait"};
  ApriFinestra();
  griglia_->Ditta = "DEMO";
  griglia_->BinDir = "/opt/bin";
  query_.First();
  query_.Next();
  const std::string corrente = query_.FieldByName("CODICEARTICOLO").AsString();
  const size_t finestre = ui::App().Forms().size();
  ui::Driver d;
  d.Enqueue([&](ui::Driver& dr) {
    auto& f = dynamic_cast<TIBLQueryForm&>(dr.Window("TIBLQueryForm"));
    EXPECT_NE(f.IBDatabase(), &database_);
    EXPECT_EQ(f.IBDatabase()->DatabaseName, database_.DatabaseName);
    EXPECT_EQ(f.IBTransaction()->Params, transazione_.Params);
    EXPECT_EQ(f.IBTable()->TableName, "NETTI");
    EXPECT_EQ(f.BinDir, "/opt/bin");
    ASSERT_NE(f.Contesto(), nullptr);
    EXPECT_EQ(f.Contesto()->GetNumUser(), kUtente);
    EXPECT_EQ(f.DBGrid1->Render().TotalRows, 4);
    dr.CloseWindow("TIBLQueryForm");
  });
  d.PressKey("FinestraGriglia.Griglia", ui::VK_F8);
  EXPECT_EQ(d.Queued(), 0u);
  EXPECT_EQ(ui::App().Forms().size(), finestre);
  EXPECT_TRUE(database_.Connected());
  ASSERT_TRUE(query_.Active());
  EXPECT_EQ(query_.FieldByName("CODICEARTICOLO").AsString(), corrente);
  EXPECT_EQ(query_.RecNo(), 2);
}

// Catches folders not read from Brivane.ini when the grid gives none, and
// the file looked for in the wrong folder.
TEST_F(QueryWindowTest, FoldersComeFromBrivaneIni) {
  Scrivi(host_.Folder() + "windows/Brivane.ini",
         "[DEMO]\nDirectory bin=C:\\Brivane\\bin\nDirectory di lavoro=C:\\Lavoro\n");
  ApriFinestra();
  griglia_->Ditta = "DEMO";
  Guarda([&] { griglia_->ApriQuery(); },
         [&](TIBLQueryForm& f) {
           EXPECT_EQ(f.BinDir, "C:\\Brivane\\bin");
           EXPECT_EQ(f.WorkDir, "C:\\Lavoro");
         });
  // With a folder "ini_log_err" the host folder's file counts.
  std::filesystem::create_directories(host_.Folder() + "ini_log_err");
  Scrivi(host_.Folder() + "Brivane.ini", "[DEMO]\nDirectory bin=D:\\bin\n");
  Guarda([&] { griglia_->ApriQuery(); },
         [&](TIBLQueryForm& f) {
           EXPECT_EQ(f.BinDir, "D:\\bin");
           EXPECT_EQ(f.WorkDir, plat::ExcludeTrailingPathDelimiter(plat::WindowsFolder()));
         });
}

// Catches the in-memory rows not copied into the support table (or copied
// on top of the previous copy), and a null turned into a value.
TEST_F(QueryWindowTest, InMemoryRowsGoThroughTheSupportTable) {
  Esegui("CREATE TABLE APPOGGIO (CODICE VARCHAR(10), PREZZO NUMERIC(15,4))");
  ApriFinestra();
  db::Transaction trAppoggio(&database_);
  db::Table appoggio(&database_, &trAppoggio);
  appoggio.TableName = "APPOGGIO";
  TRxMemoryData memoria;
  memoria.CreateField("CODICE", db::FieldType::String, 10);
  memoria.CreateField("PREZZO", db::FieldType::Float);
  griglia_->DatabaseImpostazioni = &database_;
  griglia_->TabellaAppoggio = &appoggio;
  griglia_->SetSorgenteDati(&memoria);
  memoria.Open();
  AppendRow(memoria, {"X1", 2.5});
  AppendRow(memoria, {"X2"});
  for (int volta = 0; volta < 2; ++volta)
    Guarda([&] { griglia_->ApriQuery(); },
           [&](TIBLQueryForm& f) { EXPECT_EQ(f.DBGrid1->Render().TotalRows, 2); });
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM APPOGGIO"), "2");
  EXPECT_EQ(Valore("SELECT COUNT(*) FROM APPOGGIO WHERE PREZZO IS NULL"), "1");
  EXPECT_EQ(memoria.RecNo(), 2) << "the in-memory cursor stays where it was";
  griglia_->SetSorgenteDati(&query_);
}

// Catches a table that cannot be opened leaving a window or a connection
// behind, or the error not reaching the caller.
TEST_F(QueryWindowTest, ATableThatCannotBeOpenedFailsCleanly) {
  ApriFinestra();
  griglia_->NomeTabella = "NONESISTE";
  const size_t finestre = ui::App().Forms().size();
  EXPECT_ANY_THROW(griglia_->ApriQuery());
  EXPECT_EQ(ui::App().Forms().size(), finestre);
  EXPECT_TRUE(query_.Active());
}

}  // namespace
}  // namespace velmaro::testing
