#pragma once
// A window with one TVuxGrid on a query of a small article table, set up
// as the module's windows set up their grids, on a company database in a
// temporary host folder that holds the grid's three tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "context/fixture.h"
#include "db/database.h"
#include "db/datasource.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/tabellegriglia.h"
#include "grid/vuxgrid.h"
#include "ui/driver.h"
#include "ui/form.h"
#include "ui/make.h"
#include "vuxgrid_fixture.h"

namespace velmaro::testing {

class GrigliaTest : public ::testing::Test {
 protected:
  static constexpr int kProgetto = 501, kSituazione = 40, kUtente = 2;
  inline static const std::vector<std::string> kSqlBase = {
      "SELECT CODICE, DESCRIZIONE, PREZZO, QUANTITA, DATAINIZIO", "FROM ARTICOLI"};

  void SetUp() override {
    host_.CreateCompanyDatabase();
    HostFolder::ExecAll(
        Archivio(),
        {testing::Righe(kCreaSTOASP1), testing::Righe(kCreaSTOPOS1), testing::Righe(kCreaSETGRID),
         "CREATE TABLE ARTICOLI (CODICE VARCHAR(20) NOT NULL PRIMARY KEY,"
         " DESCRIZIONE VARCHAR(40), PREZZO NUMERIC(15,4),"
         " QUANTITA INTEGER, DATAINIZIO DATE)"});
    HostFolder::ExecAll(
        Archivio(), {"INSERT INTO ARTICOLI VALUES ('A1', 'Vite d''acciaio', 1.5, 10, '2006-02-01')",
                     "INSERT INTO ARTICOLI VALUES ('B2', 'bullone zincato', 12.5, 3, '2006-02-20')",
                     "INSERT INTO ARTICOLI VALUES ('C3', 'Dado', 120, 7, '2006-03-05')",
                     "INSERT INTO ARTICOLI VALUES ('D4', 'Rondella', 0.25, 100, '2005-12-31')"});
    HostFolder::Attach(database_, Archivio());
  }

  void TearDown() override {
    if (griglia_) ChiudiFinestra();
    query_.BeforeOpen = nullptr, query_.BeforeClose = nullptr, query_.AfterOpen = nullptr;
  }

  std::string Archivio() const { return host_.CompanyDatabasePath(); }

  // The window and its grid, set up in the order the windows follow; the
  // query's BeforeOpen writes the base SQL, copies it and loads the layout.
  void ApriFinestra(int utente = kUtente) {
    finestra_ = ui::MakeOwned<ui::Form>(&ui::App());
    finestra_->SetName("FinestraProva");
    finestra_->SetBounds(0, 0, 700, 400);
    griglia_ = ui::Make<TVuxGrid>(finestra_.get(), "Griglia", {8, 8, 680, 380});
    griglia_->Loaded();
    query_.BeforeOpen = [this](db::DataSet&) {
      if (griglia_->Tag != 0) return;
      query_.SQL.Assign(sqlBase_);
      griglia_->SQLIniziale = query_.SQL;
      griglia_->CaricaAspettoGriglia();
    };
    query_.BeforeClose = [this](db::DataSet&) {
      if (griglia_->Tag == 0 && query_.Active() && !griglia_->AspettoSostituito)
        griglia_->SalvaAspettoGriglia();
    };
    griglia_->OnInizioRicerca = [this](ui::Component*) { griglia_->Tag = 1, eventi_ += "I"; };
    griglia_->OnFineRicerca = [this](ui::Component*) { griglia_->Tag = 0, eventi_ += "F"; };
    griglia_->CodiceProgetto = kProgetto;
    griglia_->SetSituazione(kSituazione);
    griglia_->Utente = utente;
    griglia_->NomeTabella = "ARTICOLI";
    griglia_->SetDataSource(&sorgente_);
    griglia_->SetSorgenteDati(&query_);
    griglia_->TabellaPiccola = true;
    query_.Open();
    finestra_->Show();
  }

  void ChiudiFinestra() {
    if (query_.Active()) griglia_->SalvaAspettoGriglia();
    query_.Close();
    finestra_.reset();
    griglia_ = nullptr;
  }

  std::vector<std::vector<std::string>> Righe(const std::string& sql) const {
    return HostFolder::Rows(Archivio(), sql);
  }
  std::string Valore(const std::string& sql) const { return HostFolder::Scalar(Archivio(), sql); }
  void Esegui(const std::string& sql) const { HostFolder::Exec(Archivio(), sql); }

  std::vector<std::string> Codici() {
    std::vector<std::string> out;
    for (query_.First(); !query_.Eof(); query_.Next())
      out.push_back(query_.FieldByName("CODICE").AsString());
    return out;
  }

  std::vector<std::string> sqlBase_ = kSqlBase;
  HostFolder host_;
  db::Database database_;
  db::Transaction transazione_{&database_};
  db::Query query_{&database_, &transazione_};
  db::DataSource sorgente_{&query_};
  ui::Owned<ui::Form> finestra_;
  TVuxGrid* griglia_ = nullptr;
  std::string eventi_;
};

}  // namespace velmaro::testing
