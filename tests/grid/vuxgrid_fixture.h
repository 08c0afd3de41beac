#pragma once
// A window holding one TVuxGrid on a query of a small table, set up as the
// module's windows set up their grids, on a company database in a temporary
// host folder with the grid's three tables. Two tables serve: a net-price
// table with a two-field key (VuxGridTest) and an article table with a
// column of each kind (GrigliaTest).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/fixture.h"
#include "db/database.h"
#include "db/datasource.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/tabellegriglia.h"
#include "grid/vuxgrid.h"
#include "ui/application.h"
#include "ui/driver.h"
#include "ui/form.h"
#include "ui/make.h"

namespace velmaro::testing {

// The grid's table, its rows and the codes the grid is opened with.
struct TabellaGriglia {
  std::string nome, crea;
  std::vector<std::string> righe, sqlBase, campiCodice;
  int situazione, utente;
};

class FinestraGrigliaTest : public ::testing::Test {
 protected:
  static constexpr int kProgetto = 501;
  explicit FinestraGrigliaTest(TabellaGriglia t)
      : tabella_(std::move(t)), sqlBase_(tabella_.sqlBase), utente_(tabella_.utente) {}

  void SetUp() override {
    host_.CreateCompanyDatabase();
    HostFolder::ExecAll(Archivio(),
                        {HostFolder::Joined(kCreaSTOASP1), HostFolder::Joined(kCreaSTOPOS1),
                         HostFolder::Joined(kCreaSETGRID), tabella_.crea});
    HostFolder::ExecAll(Archivio(), tabella_.righe);
    HostFolder::Attach(database_, Archivio());
  }

  void TearDown() override {
    if (griglia_ && salvaAllaChiusura_) ChiudiFinestra();
    if (query_.Active()) query_.Close();
    finestra_.reset();
    griglia_ = nullptr;
    query_.BeforeOpen = nullptr, query_.BeforeClose = nullptr, query_.AfterOpen = nullptr;
  }

  std::string Archivio() const { return host_.CompanyDatabasePath(); }

  // The window and its grid in the order the windows follow. Its BeforeOpen
  // writes the base SQL, copies it into SQLIniziale and loads the layout;
  // `copiaLetterale_` copies the query's SQL as it stands instead, without
  // writing the base first. Its BeforeClose stores the layout where
  // `salvaAllaChiusura_` asks it.
  void ApriFinestra(ui::PopupMenu* menuFinestra = nullptr) { Apri(menuFinestra, utente_); }
  void ApriFinestra(int utente) { Apri(nullptr, utente); }

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

  // The key of each record, in the query's order.
  std::vector<std::string> Codici() {
    std::vector<std::string> out;
    for (query_.First(); !query_.Eof(); query_.Next()) {
      std::string codice;
      for (const std::string& c : tabella_.campiCodice) codice += query_.FieldByName(c).AsString();
      out.push_back(codice);
    }
    return out;
  }

  TabellaGriglia tabella_;
  std::vector<std::string> sqlBase_;
  int utente_;
  HostFolder host_;
  db::Database database_;
  db::Transaction transazione_{&database_};
  db::Query query_{&database_, &transazione_};
  db::DataSource sorgente_{&query_};
  ui::Owned<ui::Form> finestra_;
  TVuxGrid* griglia_ = nullptr;
  bool copiaLetterale_ = false;
  bool salvaAllaChiusura_ = true;
  int aperture_ = 0;
  std::string eventi_;  // "I" and "F" for each start and end of a search

 private:
  void Apri(ui::PopupMenu* menuFinestra, int utente) {
    finestra_ = ui::MakeOwned<ui::Form>(&ui::App());
    finestra_->SetName("FinestraGriglia");
    finestra_->SetBounds(0, 0, 700, 400);
    griglia_ = ui::Make<TVuxGrid>(finestra_.get(), "Griglia", {8, 8, 680, 380});
    if (menuFinestra) griglia_->SetPopupMenu(menuFinestra);
    griglia_->Loaded();
    query_.BeforeOpen = [this](db::DataSet&) {
      ++aperture_;
      if (griglia_->Tag != 0) return;
      if (!copiaLetterale_ || query_.SQL.Empty()) query_.SQL.Assign(sqlBase_);
      griglia_->SQLIniziale = query_.SQL;
      griglia_->CaricaAspettoGriglia();
      // What the layout load does on a closed query, where it is not linked in yet.
      const std::string& c = griglia_->CondizioneRicerca;
      if (!c.empty() && (query_.SQL.Empty() || query_.SQL.lines.back() != c)) query_.SQL.Add(c);
    };
    query_.BeforeClose = [this](db::DataSet&) {
      if (salvaAllaChiusura_ && griglia_->Tag == 0 && query_.Active() &&
          !griglia_->AspettoSostituito)
        griglia_->SalvaAspettoGriglia();
    };
    griglia_->OnInizioRicerca = [this](ui::Component*) { griglia_->Tag = 1, eventi_ += "I"; };
    griglia_->OnFineRicerca = [this](ui::Component*) { griglia_->Tag = 0, eventi_ += "F"; };
    griglia_->CodiceProgetto = kProgetto;
    griglia_->SetSituazione(tabella_.situazione);
    griglia_->Utente = utente;
    griglia_->NomeTabella = tabella_.nome;
    griglia_->SetDataSource(&sorgente_);
    griglia_->SetSorgenteDati(&query_);
    griglia_->TabellaPiccola = true;
    query_.Open();
    finestra_->Show();
  }
};

// The net-price table: a two-field key and rows out of key order.
class VuxGridTest : public FinestraGrigliaTest {
 protected:
  static constexpr int kSituazione = 41, kUtente = 3;
  inline static const std::vector<std::string> kBase = {
      "SELECT IDLISTSC, CODICEARTICOLO, DESCRIZIONE, PREZZO", "FROM NETTI"};

  VuxGridTest()
      : FinestraGrigliaTest(
            {"NETTI",
             "CREATE TABLE NETTI (IDLISTSC INTEGER NOT NULL, CODICEARTICOLO VARCHAR(20) NOT NULL,"
             " DESCRIZIONE VARCHAR(40), PREZZO NUMERIC(15,4),"
             " CONSTRAINT NETTI_PK PRIMARY KEY (IDLISTSC, CODICEARTICOLO))",
             {"INSERT INTO NETTI VALUES (2, 'B', 'bullone', 12.5)",
              "INSERT INTO NETTI VALUES (1, 'C', 'dado', 120)",
              "INSERT INTO NETTI VALUES (1, 'A', 'vite', 1.5)",
              "INSERT INTO NETTI VALUES (2, 'A', 'rondella', 0.25)"},
             kBase,
             {"IDLISTSC", "CODICEARTICOLO"},
             kSituazione,
             kUtente}) {
    salvaAllaChiusura_ = false;
  }

  // A stored layout row with a sort mark.
  void Marca(const std::string& campo, int posizione, int ordinamento) const {
    Esegui(
        "INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO,"
        " POSIZIONE, ORDINAMENTO, ORIGINE) VALUES (501, 41, 3, '" +
        campo + "', " + std::to_string(posizione) + ", " + std::to_string(ordinamento) +
        ", 'NETTI." + campo + "')");
  }
  // The lines the grid added past SQLIniziale.
  std::vector<std::string> Aggiunte() const {
    const auto& r = query_.SQL.lines;
    return {r.begin() + long(std::min(r.size(), griglia_->SQLIniziale.lines.size())), r.end()};
  }
};

// The article table: a text, a number, an integer and a date column.
class GrigliaTest : public FinestraGrigliaTest {
 protected:
  static constexpr int kSituazione = 40, kUtente = 2;
  inline static const std::vector<std::string> kSqlBase = {
      "SELECT CODICE, DESCRIZIONE, PREZZO, QUANTITA, DATAINIZIO", "FROM ARTICOLI"};

  GrigliaTest()
      : FinestraGrigliaTest(
            {"ARTICOLI",
             "CREATE TABLE ARTICOLI (CODICE VARCHAR(20) NOT NULL PRIMARY KEY,"
             " DESCRIZIONE VARCHAR(40), PREZZO NUMERIC(15,4),"
             " QUANTITA INTEGER, DATAINIZIO DATE)",
             {"INSERT INTO ARTICOLI VALUES ('A1', 'Vite d''acciaio', 1.5, 10, '2006-02-01')",
              "INSERT INTO ARTICOLI VALUES ('B2', 'bullone zincato', 12.5, 3, '2006-02-20')",
              "INSERT INTO ARTICOLI VALUES ('C3', 'Dado', 120, 7, '2006-03-05')",
              "INSERT INTO ARTICOLI VALUES ('D4', 'Rondella', 0.25, 100, '2005-12-31')"},
             kSqlBase,
             {"CODICE"},
             kSituazione,
             kUtente}) {}
};

}  // namespace velmaro::testing
