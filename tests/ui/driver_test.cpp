// The operator's hand on a whole window: an edit, a grid on an embedded
// Firebird query, a modal dialog, a message box, a file dialog.
#include "ui/driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/temp_folder.h"
#include "db/database.h"
#include "db/datasource.h"
#include "db/query.h"
#include "db/transaction.h"
#include "testsets.h"
#include "ui/ui.h"

namespace {

class TNomeForm : public ui::Form {
 public:
  explicit TNomeForm(ui::Component* owner) : Form(owner) {
    SetCaption("Nuovo listino");
    EditNome = ui::Make<ui::Edit>(this, "EditNome");
    ui::Make<ui::Button>(this, "ButtonOK", {}, "OK")->ModalResult = ui::mrOk;
    DoCreate();
  }
  std::string ClassName() const override { return "TNomeForm"; }
  ui::Edit* EditNome;
};

class TListiniForm : public ui::Form {
 public:
  TListiniForm(ui::Component* owner, db::Database* db, db::Transaction* tr)
      : Form(owner), db_(db), tr_(tr), query_(db, tr), source_(&query_) {
    SetCaption("Listini");
    EditFiltro = ui::Make<ui::Edit>(this, "EditFiltro");
    EditFiltro->OnChange = [this](ui::Component*) { CaricaLista(); };
    GridListini = ui::Make<ui::DBGrid>(this, "GridListini");
    GridListini->SetDataSource(&source_);
    query_.SQL.Add("SELECT ID, NOME FROM LISTSC WHERE NOME LIKE :FILTRO ORDER BY ID");
    ui::Make<ui::Button>(this, "ButtonNuovo", {}, "&Nuovo")->OnClick = [this](ui::Component*) {
      ButtonNuovoClick();
    };
    ui::Make<ui::Button>(this, "ButtonElimina", {}, "&Elimina")->OnClick = [this](ui::Component*) {
      ButtonEliminaClick();
    };
    ui::Make<ui::Button>(this, "ButtonEsporta", {}, "Esporta")->OnClick = [this](ui::Component*) {
      auto* dlg = new ui::SaveDialog(this);
      dlg->Title = "Selezionare file export";
      dlg->DefaultExt = "csv";
      dlg->InitialDir = "/tmp";
      if (dlg->Execute()) FileScelto = dlg->FileName;
      delete dlg;
    };
    CaricaLista();
    DoCreate();
  }
  std::string ClassName() const override { return "TListiniForm"; }

  void CaricaLista() {
    query_.Close();
    query_.ParamByName("FILTRO").SetAsString(EditFiltro->Text() + "%");
    query_.Open();
  }
  void ButtonNuovoClick() {
    auto* dlg = new TNomeForm(this);
    if (dlg->ShowModal() == ui::mrOk) {
      db::Query ins(db_, tr_);
      ins.SQL.Add(
          "INSERT INTO LISTSC (ID, NOME) VALUES ((SELECT COALESCE(MAX(ID), 0) + 1 FROM LISTSC), "
          ":NOME)");
      ins.ParamByName("NOME").SetAsString(dlg->EditNome->Text());
      ins.ExecSQL();
      CaricaLista();
    }
    ui::Free(dlg);
  }
  void ButtonEliminaClick() {
    if (ui::MessageDlg("Eliminare il listino " + query_.FieldByName("NOME").AsString() + "?",
                       ui::MsgDlgType::Confirmation, ui::mbYesNo) != ui::mrYes)
      return;
    db::Query del(db_, tr_);
    del.SQL.Add("DELETE FROM LISTSC WHERE ID = :ID");
    del.ParamByName("ID").SetAsInteger(query_.FieldByName("ID").AsInteger());
    del.ExecSQL();
    CaricaLista();
  }

  ui::Edit* EditFiltro;
  ui::DBGrid* GridListini;
  std::string FileScelto;

 private:
  db::Database* db_;
  db::Transaction* tr_;
  db::Query query_;
  db::DataSource source_;
};

class DriverTest : public UiTest {
 protected:
  void SetUp() override {
    database = std::make_unique<db::Database>();
    database->DatabaseName = dir / "ui.fdb";
    database->Params = {"USER \"SYSDBA\"", "PASSWORD \"masterkey\"", "PAGE_SIZE 4096"};
    try {
      database->CreateDatabase();
    } catch (const std::exception& e) {
      GTEST_SKIP() << "no embedded Firebird: " << e.what();
    }
    tr = std::make_unique<db::Transaction>(database.get());
    database->DefaultTransaction = tr.get();
    for (const char* sql :
         {"CREATE TABLE LISTSC (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(40))",
          "INSERT INTO LISTSC VALUES (1, 'Base')",
          "INSERT INTO LISTSC VALUES (2, 'Rivenditori')"}) {
      db::Query q(database.get(), tr.get());
      q.SQL.Add(sql);
      q.ExecSQL();
      tr->CommitRetaining();
    }
  }
  void TearDown() override {
    UiTest::TearDown();
    tr.reset();
    database.reset();
  }
  velmaro::testing::TempFolder dir{"velmaro-ui"};
  std::unique_ptr<db::Database> database;
  std::unique_ptr<db::Transaction> tr;
};

TEST_F(DriverTest, OperatorDrivesAWholeWindow) {
  // Catches any break in the chain operator -> control -> handler -> query -> grid
  // -> render, a modal dialog or message box that blocks instead of taking the
  // queued answers, and typed apostrophes breaking SQL.
  ui::Driver d;
  auto* w = new TListiniForm(&ui::App(), database.get(), tr.get());
  w->Show();
  ASSERT_EQ(d.Render("TListiniForm"),
            "TListiniForm \"Listini\"\n"
            "  TEdit EditFiltro = \"\" [focused]\n"
            "  TDBGrid GridListini\n"
            "      | ID | NOME        |\n"
            "    > | 1  | Base        |\n"
            "      | 2  | Rivenditori |\n"
            "  TButton ButtonNuovo \"&Nuovo\"\n"
            "  TButton ButtonElimina \"&Elimina\"\n"
            "  TButton ButtonEsporta \"Esporta\"\n");

  d.Enqueue([](ui::Driver& d) {
    EXPECT_EQ(d.ListWindows().substr(d.ListWindows().find(' ') + 1, 33),
              "TNomeForm \"Nuovo listino\" [modal]");
    d.Type("TNomeForm.EditNome", "Dell'Aria");
    d.Click("TNomeForm.ButtonOK");
  });
  d.Click("TListiniForm.ButtonNuovo");
  EXPECT_EQ(d.Queued(), 0u);

  d.Type("TListiniForm.EditFiltro", "Riv");
  const std::string r = d.Render("TListiniForm");
  EXPECT_TRUE(r.find("| 2  | Rivenditori |") != std::string::npos &&
              r.find("Base") == std::string::npos)
      << r;
  d.Type("TListiniForm.EditFiltro", "");
  d.SelectRow("TListiniForm.GridListini", 3);
  EXPECT_NE(d.Render("TListiniForm").find("> | 3  | Dell'Aria"), std::string::npos);

  d.EnqueueAnswer("No");
  d.Click("TListiniForm.ButtonElimina");
  d.EnqueueAnswer("Yes");
  d.Click("TListiniForm.ButtonElimina");
  ASSERT_EQ(ui::App().Messages().size(), 2u);
  EXPECT_EQ(ui::DescribeMessageBox(ui::App().Messages()[1]),
            "[Confirmation] Eliminare il listino Dell'Aria? [Yes/No]");
  EXPECT_EQ(d.Render("TListiniForm").find("Dell'Aria"), std::string::npos);

  d.EnqueueFile("prezzi");
  d.Click("TListiniForm.ButtonEsporta");
  EXPECT_EQ(w->FileScelto, "/tmp/prezzi.csv");
}

TEST_F(DriverTest, StepsThatCannotBeTakenFailWithoutHanging) {
  // Catches a modal dialog that blocks when no answer is queued, clicks
  // reaching a window behind a modal one, and failures reported as success.
  ui::Driver d;
  auto* w = new TListiniForm(&ui::App(), database.get(), tr.get());
  w->Show();
  try {
    d.Click("TListiniForm.ButtonNuovo");
    FAIL() << "an unanswered dialog must fail the step";
  } catch (const ui::DriverError& e) {
    EXPECT_NE(std::string(e.what()).find("nothing to answer: modal window TNomeForm"),
              std::string::npos);
  }
  d.Enqueue([](ui::Driver& d) { d.Click("TListiniForm.ButtonElimina"); });
  d.Enqueue([](ui::Driver& d) { d.Click("TNomeForm.ButtonOK"); });  // never reached
  EXPECT_THROW(d.Click("TListiniForm.ButtonNuovo"), ui::DriverError);
  EXPECT_EQ(d.Queued(), 0u);
  EXPECT_TRUE(ui::App().Messages().empty());
  EXPECT_NE(d.Render("TListiniForm").find("| 2  | Rivenditori |"), std::string::npos);
  EXPECT_THROW(d.Click("TListiniForm.Missing"), ui::DriverError);
  EXPECT_THROW(d.Answer("OK"), ui::DriverError);
  EXPECT_THROW(d.Window("TNessunaForm"), ui::DriverError);
}

using DriverScriptTest = UiTest;

TEST_F(DriverScriptTest, ASourceFeedsModalLoopsLineByLine) {
  // Catches a driver that ignores its source once the queue is empty (the host's
  // script lines would never answer a box), and a source asked again after it ran out.
  ui::Driver d;
  std::vector<std::string> lines = {"answer Yes", "answer OK"};
  size_t next = 0, asked = 0;
  d.SetSource([&](ui::Driver& d) {
    ++asked;
    if (next == lines.size()) return false;
    d.Answer(lines[next++].substr(7));
    return true;
  });
  EXPECT_EQ(ui::MessageDlg("Procedere?", ui::MsgDlgType::Confirmation, ui::mbYesNo), ui::mrYes);
  ui::ShowMessage("Fatto");
  EXPECT_EQ(ui::App().Messages().back().Result, ui::mrOk);
  EXPECT_EQ(ui::App().MessageBox("Altro?", "", ui::MB_YESNO), ui::IDCANCEL);
  EXPECT_EQ(asked, 3u);
  EXPECT_EQ(d.Pending(), "");
}

}  // namespace
