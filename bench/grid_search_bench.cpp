// One typed-search step of the grid (the statement composed from the typed
// text, the query reopened, the first screen of rows drawn) against a bare
// program preparing, executing and fetching the same first screen of the
// same statement, on a 200,000-row net-price table. Prints the ratios.
#include <benchmark/benchmark.h>
#include <firebird/Interface.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bare_firebird.h"
#include "db/database.h"
#include "db/datasource.h"
#include "db/engine.h"
#include "db/query.h"
#include "db/transaction.h"
#include "grid/rvuxgrid.h"
#include "grid/tabellegriglia.h"
#include "grid/vuxgrid.h"
#include "ratio_reporter.h"
#include "ui/application.h"
#include "ui/driver.h"
#include "ui/form.h"
#include "ui/make.h"

namespace {

constexpr int kRows = 200000;
constexpr int kScreen = 21;  // rows a 380-pixel grid shows
std::string g_path;

const std::vector<std::string> kBase = {
    "SELECT IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO, DATAINIZIOVALIDITA, DATAFINEVALIDITA,",
    "  QUANTITASCAGLIONE, PROVVIGIONE", "FROM LISTSCDTNET", "WHERE (IDLISTSC=1)"};

void Exec(db::Database& d, const std::string& sql) {
  db::Transaction t(&d);
  t.StartTransaction();
  db::Query q(&d, &t);
  q.ParamCheck = false;
  q.SQL.SetText(sql);
  q.ExecSQL();
  t.Commit();
}

std::string Text(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

void CreateData() {
  db::Database d;
  g_path = CreateBenchDatabase(d, "velmaro-gridsearch-bench");
  for (const auto* t : {&velmaro::kCreaSTOASP1, &velmaro::kCreaSTOPOS1, &velmaro::kCreaSETGRID})
    Exec(d, Text(*t));
  Exec(d,
       "CREATE TABLE LISTSCDTNET (IDLISTSC INTEGER NOT NULL, CODICEARTICOLO VARCHAR(20) NOT NULL,"
       " ESTCODICE VARCHAR(10), PREZZO NUMERIC(15,4), DATAINIZIOVALIDITA DATE, DATAFINEVALIDITA "
       "DATE,"
       " QUANTITASCAGLIONE NUMERIC(15,3) DEFAULT 0, PROVVIGIONE NUMERIC(9,4), OMA_CODICE "
       "VARCHAR(20),"
       " OMA_ESTENSIONE VARCHAR(10), OMA_QUANTITA NUMERIC(15,3), OMA_MULTIPLI NUMERIC(15,3),"
       " OMA_SOGLIA NUMERIC(15,3), PRIORITA_SU_ECCPROVV SMALLINT, IDPROMOVELOCE INTEGER)");
  Exec(d, "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < " + std::to_string(kRows) +
              ") DO BEGIN INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO,"
              " DATAINIZIOVALIDITA, DATAFINEVALIDITA, PROVVIGIONE) VALUES (1, 'ART' || :I, '', :I "
              "* 1.25,"
              " DATE '2024-01-01' + MOD(:I, 365), DATE '2025-01-01', 2.5); I = I + 1; END END");
  Exec(d, "CREATE INDEX LISTSCDTNET_ARTICOLO ON LISTSCDTNET (IDLISTSC, CODICEARTICOLO)");
  Exec(d, "CREATE INDEX LISTSCDTNET_CODICE ON LISTSCDTNET (CODICEARTICOLO)");
}

// The list-rows window in small: a grid set up as the windows set theirs up.
struct Window {
  db::Database database;
  db::Transaction transaction{&database};
  db::Query query{&database, &transaction};
  db::DataSource source{&query};
  ui::Owned<ui::Form> form;
  velmaro::TVuxGrid* grid = nullptr;

  Window() {
    database.DatabaseName = g_path;
    database.Params = {"user_name=SYSDBA"};
    database.Open();
    form = ui::MakeOwned<ui::Form>(&ui::App());
    form->SetName("Righe");
    grid = ui::Make<velmaro::TVuxGrid>(form.get(), "Griglia", {0, 0, 700, 380});
    grid->Loaded();
    query.BeforeOpen = [this](db::DataSet&) {
      if (grid->Tag != 0) return;
      query.SQL.Assign(kBase);
      grid->SQLIniziale = query.SQL;
      grid->CaricaAspettoGriglia();
    };
    grid->OnInizioRicerca = [this](ui::Component*) { grid->Tag = 1; };
    grid->OnFineRicerca = [this](ui::Component*) { grid->Tag = 0; };
    grid->CodiceProgetto = 501;
    grid->SetSituazione(12);
    grid->Utente = 1;
    grid->NomeTabella = "LISTSCDTNET";
    grid->SetDataSource(&source);
    grid->SetSorgenteDati(&query);
    grid->TabellaPiccola = true;
    query.Open();
    form->Show();
  }
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
  using namespace Firebird;
  BareAttachment bare(g_path);
  IAttachment* att = bare.att;
  ThrowStatusWrapper& st = bare.st;
  ITransaction* tra = att->startTransaction(&st, 0, nullptr);
  int i = 0;
  for (auto _ : state) {
    const std::string& sql = g_statements[upper][i++ % 2];
    IStatement* stmt =
        att->prepare(&st, tra, 0, sql.c_str(), 3, IStatement::PREPARE_PREFETCH_METADATA);
    IMessageMetadata* meta = stmt->getOutputMetadata(&st);
    std::vector<unsigned char> buf(meta->getMessageLength(&st));
    IResultSet* rs = stmt->openCursor(&st, tra, nullptr, nullptr, meta, 0);
    int fetched = 0;
    while (fetched < kScreen && rs->fetchNext(&st, buf.data()) == IStatus::RESULT_OK) ++fetched;
    benchmark::DoNotOptimize(buf.data());
    rs->close(&st);
    meta->release();
    stmt->free(&st);
  }
  tra->commit(&st);
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
  std::filesystem::remove_all(std::filesystem::path(g_path).parent_path());
  return 0;
}
