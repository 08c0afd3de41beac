#pragma once
// The grid benchmarks' window: one house grid on a query of a bench
// database, set up as the module's windows set theirs up, and the grid's
// three tables.
#include <string>
#include <vector>

#include "bare_firebird.h"
#include "db/datasource.h"
#include "grid/tabellegriglia.h"
#include "grid/vuxgrid.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/make.h"

inline void CreateGridTables(db::Database& d) {
  for (const auto* tabella :
       {&velmaro::kCreaSTOASP1, &velmaro::kCreaSTOPOS1, &velmaro::kCreaSETGRID}) {
    std::string sql;
    for (const auto& riga : *tabella) sql += riga + "\n";
    ExecBench(d, sql);
  }
}

struct BenchGridWindow {
  db::Database database;
  db::Transaction transaction{&database};
  db::Query query{&database, &transaction};
  db::DataSource source{&query};
  ui::Owned<ui::Form> form;
  velmaro::TVuxGrid* grid = nullptr;

  // The grid on `base` of `table`, `width` by `height` pixels; the query's
  // close stores the layout where `saveOnClose` asks it.
  BenchGridWindow(const std::string& path, const char* name, std::vector<std::string> base,
                  const char* table, int situazione, int width, int height, bool saveOnClose) {
    OpenBenchDatabase(database, path);
    form = ui::MakeOwned<ui::Form>(&ui::App());
    form->SetName(name);
    form->SetBounds(0, 0, width, height + 22);
    grid = ui::Make<velmaro::TVuxGrid>(form.get(), "Griglia", {0, 0, width, height});
    grid->Loaded();
    query.BeforeOpen = [this, base](db::DataSet&) {
      if (grid->Tag != 0) return;
      query.SQL.Assign(base);
      grid->SQLIniziale = query.SQL;
      grid->CaricaAspettoGriglia();
    };
    if (saveOnClose)
      query.BeforeClose = [this](db::DataSet&) {
        if (grid->Tag == 0 && query.Active() && !grid->AspettoSostituito)
          grid->SalvaAspettoGriglia();
      };
    grid->OnInizioRicerca = [this](ui::Component*) { grid->Tag = 1; };
    grid->OnFineRicerca = [this](ui::Component*) { grid->Tag = 0; };
    grid->CodiceProgetto = 501;
    grid->SetSituazione(situazione);
    grid->Utente = 2;
    grid->NomeTabella = table;
    grid->SetDataSource(&source);
    grid->SetSorgenteDati(&query);
    grid->TabellaPiccola = true;
    query.Open();
    form->Show();
  }
  ~BenchGridWindow() {
    query.Close();
    form.reset();
  }
  BenchGridWindow(const BenchGridWindow&) = delete;
  BenchGridWindow& operator=(const BenchGridWindow&) = delete;
};
