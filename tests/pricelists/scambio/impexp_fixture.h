#pragma once
// A host folder with the demo company, shared by the tests of one suite,
// and the objects a list-exchange window is opened with.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/demo_fixture.h"
#include "common/fixture.h"
#include "context/datamodule.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "ui/application.h"
#include "ui/make.h"
#include "ui/stdctrls.h"
#include "ui/strings.h"

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
  // Writes the file again in place with lines of its old length, and
  // dates it an hour before it was: a rewrite its size does not tell.
  static void RiscriviStessaMisura(const std::string& file, const std::vector<std::string>& righe) {
    namespace fs = std::filesystem;
    const auto misura = fs::file_size(file);
    const auto ora = fs::last_write_time(file);
    Scrivi(file, righe);
    ASSERT_EQ(fs::file_size(file), misura) << "the rewrite must keep the file's size";
    fs::last_write_time(file, ora - std::chrono::hours(1));
  }
  // Puts a new file with these lines in the name's place, as an export
  // does: written beside it, then renamed over it.
  static void Sostituisci(const std::string& file, const std::vector<std::string>& righe) {
    Scrivi(file + ".nuovo", righe);
    std::filesystem::rename(file + ".nuovo", file);
  }
  // Whether another session can write the list's header now: false while
  // a hold of the list stands.
  bool AltroScrive(const std::string& id) const {
    db::Database d;
    HostFolder::Attach(d, Archivio());
    db::Transaction t(&d);
    t.Params = {"isc_tpb_concurrency", "isc_tpb_nowait"};
    t.StartTransaction();
    db::Query q(&d, &t);
    q.SQL.Add("UPDATE LISTSC SET NOME=NOME WHERE ID=" + id);
    try {
      q.ExecSQL();
    } catch (const std::exception&) {
      return false;
    }
    t.Rollback();
    return true;
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

// Runs `azione` once, the first time the window's log gets a line that
// starts with `inizio`: something that happens while a command runs.
template <class F>
void AlLog(F& finestra, std::string inizio, std::function<void()> azione) {
  ui::Strings& log = finestra.MemoLog->Lines;
  log.OnChange = [&log, prima = log.OnChange, inizio = std::move(inizio),
                  azione = std::move(azione), fatto = false]() mutable {
    if (prima) prima();
    if (fatto || log.Count() == 0 || log[log.Count() - 1].rfind(inizio, 0) != 0) return;
    fatto = true;
    azione();
  };
}

// While it lives, runs `azione` whenever a box whose text starts with
// `inizio` is to be answered, before the input source that was there (an
// Operator made earlier) answers it.
class AlBox {
 public:
  AlBox(std::string inizio, std::function<void()> azione)
      : inizio_(std::move(inizio)), azione_(std::move(azione)) {
    prima_ = ui::App().SetInputSource([this] {
      const auto& stack = ui::App().ModalStack();
      if (!stack.empty() && stack.back().box && stack.back().box->Text.rfind(inizio_, 0) == 0)
        azione_();
      return prima_();
    });
  }
  ~AlBox() { ui::App().SetInputSource(std::move(prima_)); }
  AlBox(const AlBox&) = delete;
  AlBox& operator=(const AlBox&) = delete;

 private:
  std::string inizio_;
  std::function<void()> azione_;
  ui::Application::InputSource prima_;
};

// The log of a window as one text.
template <class F>
std::string TestoLog(const F& finestra) {
  return finestra.MemoLog->Lines.Text();
}

}  // namespace velmaro::testing
