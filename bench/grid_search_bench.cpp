// One typed-search step of the grid (the statement composed from the typed
// text, the query reopened, the first screen of rows drawn) against a bare
// program preparing, executing and fetching the same first screen of the
// same statement, on a 200,000-row net-price table. Prints the ratios.
#include <benchmark/benchmark.h>

#include <iostream>
#include <string>
#include <vector>

#include "bare_firebird.h"
#include "bench_grid_window.h"
#include "db/engine.h"
#include "grid/rvuxgrid.h"
#include "ratio_reporter.h"
#include "ui/driver.h"

namespace {

constexpr int kRows = 200000;
constexpr int kScreen = 21;  // rows a 380-pixel grid shows
std::string g_path;

const std::vector<std::string> kBase = {
    "SELECT IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, DATAINIZIOVALIDITA, DATAFINEVALIDITA,",
    "  QUANTITASCAGLIONE, PROVVIGIONE", "FROM LISTSCDTNET", "WHERE (IDLISTSC=1)"};

void CreateData() {
  db::Database d;
  g_path = CreateBenchDatabase(d, "velmaro-gridsearch-bench");
  CreateGridTables(d);
  ExecBench(
      d,
      "CREATE TABLE LISTSCDTNET (IDLISTSC INTEGER NOT NULL, CODICEARTICOLO VARCHAR(20) NOT NULL,"
      " ESTCODICE VARCHAR(10), PREZZO NUMERIC(15,4), DATAINIZIOVALIDITA DATE,"
      " DATAFINEVALIDITA DATE, QUANTITASCAGLIONE NUMERIC(15,3) DEFAULT 0,"
      " PROVVIGIONE NUMERIC(9,4), OMA_CODICE VARCHAR(20), OMA_ESTENSIONE VARCHAR(10),"
      " OMA_QUANTITA NUMERIC(15,3), OMA_MULTIPLI NUMERIC(15,3), OMA_SOGLIA NUMERIC(15,3),"
      " PRIORITA_SU_ECCPROVV SMALLINT, IDPROMOVELOCE INTEGER)");
  InsertRows(d, kRows,
             "INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO,"
             " DATAINIZIOVALIDITA, DATAFINEVALIDITA, PROVVIGIONE) VALUES (1, 'ART' || :I, '',"
             " :I * 1.25, DATE '2024-01-01' + MOD(:I, 365), DATE '2025-01-01', 2.5);");
  ExecBench(d, "CREATE INDEX LISTSCDTNET_ARTICOLO ON LISTSCDTNET (IDLISTSC, CODICEARTICOLO)");
  ExecBench(d, "CREATE INDEX LISTSCDTNET_CODICE ON LISTSCDTNET (CODICEARTICOLO)");
}

// The list-rows window in small: a grid set up as the windows set theirs up.
struct Window : BenchGridWindow {
  Window() : BenchGridWindow(g_path, "Righe", kBase, "LISTSCDTNET", 12, 700, 380, false) {}
};

const char* const kTexts[2] = {"ART1234", "ART1235"};

// Runs `step` inside the open F5 dialog on CODICEARTICOLO, with the options given.
template <class Step>
void InSearchDialog(Window& w, bool upper, Step step) {
  ui::Driver d;
  d.SelectColumn("Righe.Griglia", "CODICEARTICOLO");
  d.Enqueue([&](ui::Driver& d) {
    d.Select("TRVuxGridForm.EditTipoRicerca", "LIKE %");
    d.Check("TRVuxGridForm.EditUpper", upper);
    step(*w.grid->FormRicerca);
    d.PressKey("TRVuxGridForm.EditStringa", ui::VK_ESCAPE);
  });
  w.grid->RicercaCampoCorrente();
}

std::vector<std::string> g_statements[2];  // [upper][text]: filled by the grid runs

void GridStep(benchmark::State& state, bool upper) {
  Window w;
  InSearchDialog(w, upper, [&](velmaro::TRVuxGridForm& dialog) {
    int i = 0;
    for (auto _ : state) {
      dialog.EditStringa->SetText(kTexts[i % 2]);
      ui::App().AdvanceClock(1000);
      benchmark::DoNotOptimize(w.grid->Render(kScreen));
      if (i < 2) g_statements[upper].push_back(w.query.SQL.Text());
      ++i;
    }
  });
}

void BareStep(benchmark::State& state, bool upper) {
  BareAttachment bare(g_path);
  Firebird::ITransaction* tra = bare.att->startTransaction(&bare.st, 0, nullptr);
  int i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(BareFirstRows(bare, tra, g_statements[upper][i++ % 2], kScreen));
  tra->commit(&bare.st);
}

void BM_GridTypedSearch_Upper(benchmark::State& s) { GridStep(s, true); }
void BM_BareFirstScreen_Upper(benchmark::State& s) { BareStep(s, true); }
void BM_GridTypedSearch_Indexed(benchmark::State& s) { GridStep(s, false); }
void BM_BareFirstScreen_Indexed(benchmark::State& s) { BareStep(s, false); }

// Grid runs first: they record the statements the bare runs execute.
BENCHMARK(BM_GridTypedSearch_Upper)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_BareFirstScreen_Upper)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_GridTypedSearch_Indexed)->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(BM_BareFirstScreen_Indexed)->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
  db::ConfigureEngine(db::DefaultEngineConfigDir());
  CreateData();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto ratio = [&](const char* grid, const char* bare) {
    const double g = reporter.times[grid], b = reporter.times[bare];
    return b > 0 ? g / b : 0.0;
  };
  std::cout << "(a) typed search step / bare first screen, Upper ticked (no index) = "
            << ratio("BM_GridTypedSearch_Upper/iterations:20",
                     "BM_BareFirstScreen_Upper/iterations:20")
            << " (aim 1.3)\n";
  std::cout << "(a) typed search step / bare first screen, Upper off (index prefix) = "
            << ratio("BM_GridTypedSearch_Indexed/iterations:200",
                     "BM_BareFirstScreen_Indexed/iterations:200")
            << " (aim 1.3)\n";
  if (!g_statements[1].empty()) std::cout << "statement of the step:\n" << g_statements[1][0];
  RemoveBenchDatabase(g_path);
  return 0;
}
