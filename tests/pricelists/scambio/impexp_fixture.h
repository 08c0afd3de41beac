#pragma once
// A host folder with the demo company, shared by the tests of one suite,
// and the objects a list-exchange window is opened with.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "common/demo_fixture.h"
#include "common/fixture.h"
#include "context/datamodule.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "ui/application.h"
#include "ui/make.h"

namespace velmaro::testing {

using Righe = std::vector<std::vector<std::string>>;

class AmbienteDemo {
 public:
  CellaDataModule* DM() { return demo_.DM(); }
  const std::string& Archivio() const { return demo_.CompanyDatabase(); }
  std::string File(const std::string& nome) const { return demo_.File(nome); }

  // On a connection of its own, committed.
  void Sql(const std::string& sql) const { HostFolder::Exec(Archivio(), sql); }
  // In the operator's company transaction, as the editor writes, with a
  // retaining commit.
  void SqlContesto(const std::string& sql) {
    TTabXForm& tabx = demo_.TabX();
    db::Query q(tabx.IBDatabase1, tabx.IBTransaction1);
    q.SQL.Add(sql);
    q.ExecSQL();
    tabx.IBTransaction1->CommitRetaining();
  }
  std::vector<std::vector<std::string>> Righe(const std::string& sql) const {
    return HostFolder::Rows(Archivio(), sql);
  }
  std::string Valore(const std::string& sql) const { return HostFolder::Scalar(Archivio(), sql); }
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
  DemoCompany demo_{"velmaro-impexp"};
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
