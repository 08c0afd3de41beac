#pragma once
// A window holding one TVuxGrid on a query of a small net-price table, set
// up as the module's windows set up their grids, on a company database in a
// temporary host folder with the grid's three tables.
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
#include "ui/application.h"
#include "ui/driver.h"
#include "ui/form.h"
#include "ui/make.h"

namespace velmaro::testing {

inline std::string Righe(const std::vector<std::string>& righe) {
  std::string s;
  for (const std::string& r : righe) s += r + "\n";
  return s;
}

class VuxGridTest : public ::testing::Test {
 protected:
  static constexpr int kProgetto = 501, kSituazione = 41, kUtente = 3;
  inline static const std::vector<std::string> kBase = {
      "SELECT IDLISTSC, CODICEARTICOLO, DESCRIZIONE, PREZZO", "FROM NETTI"};

  void SetUp() override {
    host_.CreateCompanyDatabase();
    HostFolder::ExecAll(
        Archivio(),
        {Righe(kCreaSTOASP1), Righe(kCreaSTOPOS1), Righe(kCreaSETGRID),
         "CREATE TABLE NETTI (IDLISTSC INTEGER NOT NULL, CODICEARTICOLO VARCHAR(20) NOT NULL,"
         " DESCRIZIONE VARCHAR(40), PREZZO NUMERIC(15,4),"
         " CONSTRAINT NETTI_PK PRIMARY KEY (IDLISTSC, CODICEARTICOLO))"});
    HostFolder::ExecAll(Archivio(), {"INSERT INTO NETTI VALUES (2, 'B', 'bullone', 12.5)",
                                     "INSERT INTO NETTI VALUES (1, 'C', 'dado', 120)",
                                     "INSERT INTO NETTI VALUES (1, 'A', 'vite', 1.5)",
                                     "INSERT INTO NETTI VALUES (2, 'A', 'rondella', 0.25)"});
    HostFolder::Attach(database_, Archivio());
  }

  void TearDown() override {
    if (query_.Active()) query_.Close();
    finestra_.reset();
  }

  std::string Archivio() const { return host_.CompanyDatabasePath(); }

  // The window and its grid in the order the windows follow. Its BeforeOpen
  // writes the base SQL, copies it into SQLIniziale and loads the layout;
  // `copiaLetterale` copies the query's SQL as it stands instead, without
  // writing the base first.
  void ApriFinestra(ui::PopupMenu* menuFinestra = nullptr) {
    finestra_ = ui::MakeOwned<ui::Form>(&ui::App());
    finestra_->SetName("FinestraGriglia");
    finestra_->SetBounds(0, 0, 700, 400);
    griglia_ = ui::Make<TVuxGrid>(finestra_.get(), "Griglia", {8, 8, 680, 380});
    if (menuFinestra) griglia_->SetPopupMenu(menuFinestra);
    griglia_->Loaded();
    query_.BeforeOpen = [this](db::DataSet&) {
      ++aperture_;
      if (griglia_->Tag != 0) return;
      if (!copiaLetterale_ || query_.SQL.Empty()) query_.SQL.Assign(kBase);
      griglia_->SQLIniziale = query_.SQL;
      griglia_->CaricaAspettoGriglia();
      // What the layout load does on a closed query, where it is not linked in yet.
      const std::string& c = griglia_->CondizioneRicerca;
      if (!c.empty() && (query_.SQL.Empty() || query_.SQL.lines.back() != c)) query_.SQL.Add(c);
    };
    griglia_->OnInizioRicerca = [this](ui::Component*) { griglia_->Tag = 1; };
    griglia_->OnFineRicerca = [this](ui::Component*) { griglia_->Tag = 0; };
    griglia_->CodiceProgetto = kProgetto;
    griglia_->SetSituazione(kSituazione);
    griglia_->Utente = kUtente;
    griglia_->NomeTabella = "NETTI";
    griglia_->SetDataSource(&sorgente_);
    griglia_->SetSorgenteDati(&query_);
    griglia_->TabellaPiccola = true;
    query_.Open();
    finestra_->Show();
  }

  // Whether the layout save stores rows (it may still be a placeholder).
  bool SalvataggioAttivo() {
    griglia_->SalvaAspettoGriglia();
    return Valore("SELECT COUNT(*) FROM STOASP1") != "0";
  }

  std::vector<std::string> Codici() {
    std::vector<std::string> out;
    for (query_.First(); !query_.Eof(); query_.Next())
      out.push_back(query_.FieldByName("IDLISTSC").AsString() +
                    query_.FieldByName("CODICEARTICOLO").AsString());
    return out;
  }
  std::string Valore(const std::string& sql) const { return HostFolder::Scalar(Archivio(), sql); }
  void Esegui(const std::string& sql) const { HostFolder::Exec(Archivio(), sql); }
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

  HostFolder host_;
  db::Database database_;
  db::Transaction transazione_{&database_};
  db::Query query_{&database_, &transazione_};
  db::DataSource sorgente_{&query_};
  ui::Owned<ui::Form> finestra_;
  TVuxGrid* griglia_ = nullptr;
  bool copiaLetterale_ = false;
  int aperture_ = 0;
};

}  // namespace velmaro::testing
