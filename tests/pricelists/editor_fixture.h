#pragma once
// The price-list editor opened by its export on the sample company of a
// fresh host folder, as the host opens it for operator 2.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/temp_folder.h"
#include "common/fixture.h"
#include "db/database.h"
#include "db/query.h"
#include "db/transaction.h"
#include "hostinit.h"
#include "platform/hostfolder.h"
#include "pricelists/editor/lisfasedit.h"
#include "ui/application.h"

namespace velmaro::testing {

// Another operator's session on the company database: a concurrency,
// no-wait transaction holding what its statement wrote until it rolls back
// (a statement meeting a lock held elsewhere throws at once).
class AltraSessione {
 public:
  AltraSessione(const std::string& archivio, const std::string& sql) {
    HostFolder::Attach(db_, archivio);
    t_.Params = {"isc_tpb_concurrency", "isc_tpb_nowait"};
    t_.StartTransaction();
    q_.SQL.Add(sql);
    q_.ExecSQL();
  }
  void Rilascia() { t_.Rollback(); }

 private:
  db::Database db_;
  db::Transaction t_{&db_};
  db::Query q_{&db_, &t_};
};

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ostringstream out;
    host::InitOptions opzioni;
    opzioni.demoData = true;
    host::InitHostFolder(Cartella(), host::SqlFolder("/nonexistent"), opzioni, out);
    plat::SetHostFolderOverride(Cartella());
    IDFasciaSelezionata.clear();
  }
  void TearDown() override {
    Chiudi();
    plat::ClearHostFolderOverride();
  }

  std::string Cartella() const { return cartella_.Path() + "h"; }
  std::string Archivio() const { return host::PathsOf(Cartella()).companyDb; }
  void Esegui(const std::string& sql) const { HostFolder::Exec(Archivio(), sql); }
  std::string Valore(const std::string& sql) const { return HostFolder::Scalar(Archivio(), sql); }

  // Opens the editor through the launch road; the operator's answers to
  // the boxes of start-up come from `op`.
  TLisFasEditForm& Apri(int idApertura = 7001) {
    ApriLisFasEditForm(2, idApertura);
    w_ = nullptr;
    for (ui::Form* f : ui::App().Forms())
      if (auto* e = dynamic_cast<TLisFasEditForm*>(f)) w_ = e;
    if (!w_) throw std::runtime_error("the editor did not open");
    return *w_;
  }
  void Chiudi() {
    if (!w_) return;
    w_->Close();
    ui::App().ProcessMessages();
    w_ = nullptr;
  }

  TempFolder cartella_{"velmaro-editor"};
  TLisFasEditForm* w_ = nullptr;
};

}  // namespace velmaro::testing
