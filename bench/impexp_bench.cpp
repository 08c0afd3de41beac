// The classic net-price import of a 100,000-line file into an empty list
// (check, import, commit) and the export of those rows, each against a bare
// program in the same run: the bare import reads the same file and runs
// the same prepared statements on the same connection; the bare export
// runs the same select and writes the same bytes. Prints the ratios and
// the lines per second of the import.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "common/demo_fixture.h"
#include "context/datamodule.h"
#include "context/tabxform.h"
#include "db/query.h"
#include "db/sqlstatement.h"
#include "pricelists/scambio/filedataset.h"
#include "pricelists/scambio/impexpnetti.h"
#include "pricelists/scambio/importclassico.h"
#include "ratio_reporter.h"
#include "ui/application.h"
#include "ui/make.h"
#include "ui/stdctrls.h"

namespace {

constexpr int kRighe = 100000;
std::string g_cartella, g_file;
std::unique_ptr<velmaro::testing::DemoCompany> g_demo;
int g_listino = 1000;

velmaro::TTabXForm& TabX() { return g_demo->TabX(); }

void Esegui(const std::string& sql) {
  db::Query q(TabX().IBDatabase1, TabX().IBTransaction1);
  q.SQL.Add(sql);
  q.ExecSQL();
  TabX().IBTransaction1->CommitRetaining();
}

std::string NuovoListino() {
  const std::string id = std::to_string(++g_listino);
  Esegui("INSERT INTO LISTSC (ID, NOME, TIPO) VALUES (" + id + ", 'Bench', 'N')");
  return id;
}

// A new host folder with the demo company: each import starts from the
// same database, whatever ran before it.
void NuovoAmbiente() {
  g_demo.reset();
  g_demo = std::make_unique<velmaro::testing::DemoCompany>("velmaro-impexp-bench");
  g_listino = 1000;
}

void Prepara() {
  g_cartella = (std::filesystem::temp_directory_path() / "velmaro-impexp-bench").string() + "/";
  std::filesystem::remove_all(g_cartella);
  std::filesystem::create_directories(g_cartella);
  // Every box the window shows is answered at once.
  ui::App().SetInputSource([] {
    const auto& stack = ui::App().ModalStack();
    if (stack.empty() || !stack.back().box) return false;
    stack.back().box->Result = ui::mrOk;
    return true;
  });
  g_file = g_cartella + "netti.csv";
  std::ofstream f(g_file, std::ios::binary);
  f << "CODICE ARTICOLO;ESTENSIONE CODICE;PREZZO;DATA INIZIO VALIDITA;DATA FINE VALIDITA;"
       "QUANTITA SCAGLIONE;PROVVIGIONE;\r\n";
  char riga[128];
  for (int i = 0; i < kRighe; ++i) {
    std::snprintf(riga, sizeof riga, "B%06d;%d;%d,%02d;01/0%d/2025;;%d;%s;\r\n", i / 2, i % 2,
                  1 + i % 500, i % 100, 1 + i % 9, (i % 3) * 10, i % 4 ? "2,5" : "");
    f << riga;
  }
}

double MaxRssMB() {
  rusage r{};
  getrusage(RUSAGE_SELF, &r);
  return static_cast<double>(r.ru_maxrss) / 1024.0;
}

void BM_ImportClassico(benchmark::State& state) {
  NuovoAmbiente();
  const double rssPrima = MaxRssMB();
  for (auto _ : state) {
    state.PauseTiming();
    const std::string id = NuovoListino();
    auto f = ui::MakeOwned<velmaro::TImpExpLisNettiForm>(&ui::App(), id, g_demo->DM());
    f->EditDirImp->SetText(g_file);
    state.ResumeTiming();
    f->ImportClassico();
    state.PauseTiming();
    if (f->MemoLog->Lines.Text().find("Netti importati: 100000") == std::string::npos) {
      state.SkipWithError("import incomplete");
      break;
    }
    state.ResumeTiming();
  }
  state.counters["lines/s"] =
      benchmark::Counter(double(kRighe) * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["maxrss_growth_MB"] = MaxRssMB() - rssPrima;
}

// The same passes without the window: the file read and split, the same
// four statements prepared once on the same connection.
void BM_BareImport(benchmark::State& state) {
  NuovoAmbiente();
  for (auto _ : state) {
    state.PauseTiming();
    const std::string id = NuovoListino();
    state.ResumeTiming();
    db::Database* d = TabX().IBDatabase1;
    db::Transaction* t = TabX().IBTransaction1;
    auto prepara = [&](const std::vector<std::string>& righe) {
      auto s = std::make_unique<db::SqlStatement>(d, t);
      for (const std::string& r : righe) s->SQL.Add(r);
      s->Prepare();
      return s;
    };
    using velmaro::TImportClassico;
    const int n = std::stoi(id);
    auto successive =
        prepara(TImportClassico::TestoConta(n, "  DATAINIZIOVALIDITA>=:DATAINIZIOVALIDITA"));
    auto aperte = prepara(TImportClassico::TestoConta(
        n, "  (DATAFINEVALIDITA IS NULL OR DATAFINEVALIDITA>:DATAFINEVALIDITA)"));
    auto inserisci = prepara(TImportClassico::TestoInserisci(n));
    velmaro::TFileRecord r;
    for (int passo = 0; passo < 2; ++passo) {
      std::ifstream f(g_file, std::ios::binary);
      std::string riga;
      std::getline(f, riga);
      while (std::getline(f, riga)) {
        r.LeggiRiga(riga);
        if (passo == 0) {
          for (db::SqlStatement* s : {successive.get(), aperte.get()}) {
            s->ParamByName("CODICEARTICOLO").SetAsString(r.CodiceArticolo);
            s->ParamByName("ESTCODICE").SetAsString(r.Estensione());
            s->ParamByName(s == aperte.get() ? "DATAFINEVALIDITA" : "DATAINIZIOVALIDITA")
                .SetAsDate(r.DataInizio());
            s->ExecQuery();
            benchmark::DoNotOptimize(s->Fields(0).AsInt64());
            s->Close();
          }
          continue;
        }
        inserisci->ParamByName("CODICEARTICOLO").SetAsString(r.CodiceArticolo);
        inserisci->ParamByName("ESTCODICE").SetAsString(r.Estensione());
        inserisci->ParamByName("PREZZO").SetAsFloat(r.Prezzo());
        inserisci->ParamByName("DATAINIZIOVALIDITA").SetAsDate(r.DataInizio());
        inserisci->ParamByName("DATAFINEVALIDITA").Clear();
        inserisci->ParamByName("QUANTITASCAGLIONE")
            .SetAsFloat(r.TestoQuantita.empty() ? 0 : r.Quantita());
        if (r.Provvigione() == -1)
          inserisci->ParamByName("PROVVIGIONE").Clear();
        else
          inserisci->ParamByName("PROVVIGIONE").SetAsFloat(r.Provvigione());
        inserisci->ExecQuery();
      }
    }
    t->CommitRetaining();
  }
  state.counters["lines/s"] =
      benchmark::Counter(double(kRighe) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// The list the classic import filled first; filled here when the import
// did not run (a filter left it out).
const std::string kListinoEsportato = "1001";

void ListinoEsportato() {
  if (g_demo && g_listino >= 1001) return;
  NuovoAmbiente();
  auto f = ui::MakeOwned<velmaro::TImpExpLisNettiForm>(&ui::App(), NuovoListino(), g_demo->DM());
  f->EditDirImp->SetText(g_file);
  f->ImportClassico();
}

void BM_ExportClassico(benchmark::State& state) {
  ListinoEsportato();
  auto f = ui::MakeOwned<velmaro::TImpExpLisNettiForm>(&ui::App(), kListinoEsportato, g_demo->DM());
  f->EditDirExp->SetText(g_cartella + "esportato.csv");
  for (auto _ : state) f->ExportClassico();
}

void BM_BareExport(benchmark::State& state) {
  ListinoEsportato();
  for (auto _ : state) {
    std::ofstream out(g_cartella + "bare.csv", std::ios::binary);
    out << "CODICE ARTICOLO;ESTENSIONE CODICE;PREZZO;DATA INIZIO VALIDITA;DATA FINE VALIDITA;"
           "QUANTITA SCAGLIONE;PROVVIGIONE;\r\n";
    db::SqlStatement s(TabX().IBDatabase1, TabX().IBTransaction1);
    s.SQL.Add(
        "SELECT a.CODICEARTICOLO, a.ESTCODICE, a.PREZZO, a.DATAINIZIOVALIDITA, a.DATAFINEVALIDITA,"
        " a.QUANTITASCAGLIONE, a.PROVVIGIONE FROM LISTSCDTNET a WHERE a.IDLISTSC='" +
        kListinoEsportato + "' ORDER BY 1, 2, 4, 6, 3, 5, 7");
    std::string riga;
    for (s.ExecQuery(); !s.Eof(); s.Next()) {
      riga.clear();
      for (int i = 0; i < s.FieldCount(); ++i) (riga += s.Fields(i).AsString()) += ';';
      riga += "\r\n";
      out << riga;
    }
  }
}

BENCHMARK(BM_BareImport)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ImportClassico)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_BareExport)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportClassico)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  Prepara();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double bareImp = reporter.TimeOf("BM_BareImport"),
               imp = reporter.TimeOf("BM_ImportClassico");
  const double bareExp = reporter.TimeOf("BM_BareExport"),
               exp = reporter.TimeOf("BM_ExportClassico");
  if (bareImp > 0 && imp > 0) {
    std::cout << "classic import / bare import = " << imp / bareImp << "\n";
    std::cout << "classic import lines/s (wall clock; the lines/s column counts CPU time) = "
              << kRighe / (imp / 1000.0) << "\n";
  }
  if (bareExp > 0 && exp > 0)
    std::cout << "classic export / bare export = " << exp / bareExp << "\n";
  ui::App().SetInputSource(nullptr);
  g_demo.reset();
  std::filesystem::remove_all(g_cartella);
  return 0;
}
