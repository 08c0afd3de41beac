#pragma once
// A host folder with the demo company, shared by the tests of one suite,
// and the operator context a list-exchange window is opened with.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "context/datamodule.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "common/fixture.h"
#include "hostinit.h"
#include "impexpcall.h"
#include "platform/hostfolder.h"
#include "ui/application.h"
#include "ui/make.h"

namespace velmaro::testing {

using Righe = std::vector<std::vector<std::string>>;

class AmbienteDemo {
 public:
  AmbienteDemo() : temp_("velmaro-impexp") {
    std::ostringstream riepilogo;
    host::InitHostFolder(temp_.Path() + "host", host::SqlFolder("/nessuna"), {true, false, ""},
                         riepilogo);
    paths_ = host::PathsOf(temp_.Path() + "host");
    plat::SetHostFolderOverride(paths_.root);
    contesto_ = std::make_unique<host::OperatorContext>(2);
  }
  ~AmbienteDemo() {
    contesto_.reset();
    ui::App().ProcessMessages();
    plat::ClearHostFolderOverride();
  }

  CellaDataModule* DM() { return contesto_->DataModule(); }
  const std::string& Archivio() const { return paths_.companyDb; }
  std::string File(const std::string& nome) const { return temp_.Path() + nome; }

  // On a connection of its own, committed.
  void Sql(const std::string& sql) const { HostFolder::Exec(paths_.companyDb, sql); }
  // In the operator's company transaction, as the editor writes, with a
  // retaining commit.
  void SqlContesto(const std::string& sql) {
    TTabXForm& tabx = DM()->Riferimento().TabX();
    db::Query q(tabx.IBDatabase1, tabx.IBTransaction1);
    q.SQL.Add(sql);
    q.ExecSQL();
    tabx.IBTransaction1->CommitRetaining();
  }
  std::vector<std::vector<std::string>> Righe(const std::string& sql) const {
    return HostFolder::Rows(paths_.companyDb, sql);
  }
  std::string Valore(const std::string& sql) const {
    return HostFolder::Scalar(paths_.companyDb, sql);
  }
  // A new list of the type, without rows; gives its ID.
  std::string NuovoListino(const char* tipo) {
    const std::string id = std::to_string(++ultimo_);
    SqlContesto("INSERT INTO LISTSC (ID, NOME, TIPO) VALUES (" + id + ", 'Prova', '" + tipo + "')");
    return id;
  }

  // Writes a file as a spreadsheet saves it: the lines as given (already
  // Windows-1252), each ended by CR LF.
  static void Scrivi(const std::string& file, const std::vector<std::string>& righe) {
    std::ofstream f(file, std::ios::binary);
    for (const std::string& r : righe) f << r << "\r\n";
  }
  static std::string Leggi(const std::string& file) {
    std::ifstream f(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }

 private:
  TempFolder temp_;
  host::HostPaths paths_;
  std::unique_ptr<host::OperatorContext> contesto_;
  int ultimo_ = 100;
};

// A suite of tests of one exchange window F, sharing one demo company.
template <class F>
class FinestraSuDemo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { amb = new AmbienteDemo; }
  static void TearDownTestSuite() {
    delete amb;
    amb = nullptr;
  }
  ui::Owned<F> Finestra(const std::string& id) {
    return ui::MakeOwned<F>(&ui::App(), id, amb->DM());
  }
  static inline AmbienteDemo* amb = nullptr;
};

// The log of a window as one text.
template <class F>
std::string TestoLog(const F& finestra) {
  return finestra.MemoLog->Lines.Text();
}

}  // namespace velmaro::testing
