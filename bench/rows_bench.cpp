// The net-price page of the price-list editor on a list of 100,000 rows:
// the page opened (its statement, the grid's layout, the price formats) and
// moved to its last row, against a bare program on the Firebird API that
// runs the same statement and fetches the same rows. Prints the ratio.
#include <benchmark/benchmark.h>
#include <firebird/Interface.h>
#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <sstream>
#include <vector>

#include "bare_firebird.h"
#include "db/database.h"
#include "db/engine.h"
#include "db/query.h"
#include "db/transaction.h"
#include "hostinit.h"
#include "platform/hostfolder.h"
#include "pricelists/editor/frames.h"
#include "pricelists/editor/lisfasedit.h"
#include "ratio_reporter.h"
#include "sqlrun.h"
#include "ui/application.h"

namespace {

constexpr int kRighe = 100000;
constexpr const char* kLista = "40";
const std::string kSql = "SELECT * FROM LISTSCDTNET WHERE IDLISTSC='" + std::string(kLista) + "'";
std::string g_cartella, g_archivio;

void CreaDati() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "velmaro-rows-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) std::abort();
  g_cartella = tmpl + "/h";
  std::ostringstream out;
  host::InitOptions opzioni;
  opzioni.demoData = true;  // the editor starts without a question
  host::InitHostFolder(g_cartella, host::SqlFolder("/nonexistent"), opzioni, out);
  g_archivio = host::PathsOf(g_cartella).companyDb;
  db::Database d;
  host::OpenHostDatabase(d, g_archivio);
  for (const std::string& sql :
       {"INSERT INTO LISTSC (ID, NOME, TIPO) VALUES (" + std::string(kLista) + ", 'Grande', 'N')",
        "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < " + std::to_string(kRighe) +
            ") DO BEGIN INSERT INTO LISTSCDTNET (IDLISTSC, CODICEARTICOLO, ESTCODICE, PREZZO,"
            " DATAINIZIOVALIDITA, QUANTITASCAGLIONE, PROVVIGIONE) VALUES (" +
            kLista +
            ", 'A' || LPAD(:I, 6, '0'), '0', MOD(:I * 7919, 100003) * 0.01,"
            " DATE '2024-01-01' + MOD(:I, 365), MOD(:I, 3) * 10, 1.5); I = I + 1; END END"}) {
    db::Transaction t(&d);
    db::Query q(&d, &t);
    q.ParamCheck = false;
    q.SQL.Add(sql);
    q.ExecSQL();
    t.Commit();
  }
}

void BM_Bare(benchmark::State& state) {
  using namespace Firebird;
  BareAttachment bare(g_archivio);
  int n = 0;
  for (auto _ : state) {
    ITransaction* tra = bare.att->startTransaction(&bare.st, 0, nullptr);
    IStatement* stmt =
        bare.att->prepare(&bare.st, tra, 0, kSql.c_str(), 3, IStatement::PREPARE_PREFETCH_METADATA);
    IMessageMetadata* meta = stmt->getOutputMetadata(&bare.st);
    std::vector<unsigned char> buf(meta->getMessageLength(&bare.st));
    IResultSet* rs = stmt->openCursor(&bare.st, tra, nullptr, nullptr, meta, 0);
    n = 0;
    while (rs->fetchNext(&bare.st, buf.data()) == IStatus::RESULT_OK) ++n;
    rs->close(&bare.st);
    meta->release();
    stmt->free(&bare.st);
    tra->commit(&bare.st);
  }
  state.counters["rows"] = n;
}

void BM_PaginaNetti(benchmark::State& state) {
  plat::SetHostFolderOverride(g_cartella);
  velmaro::ApriLisFasEditForm(2, 9001);
  velmaro::TLisFasEditForm* w = nullptr;
  for (ui::Form* f : ui::App().Forms())
    if (auto* e = dynamic_cast<velmaro::TLisFasEditForm*>(f)) w = e;
  if (!w) {
    state.SkipWithError("the editor did not open");
    return;
  }
  db::Query& q = *w->FrameDettNetti1->QueryDettNetti;
  int n = 0;
  for (auto _ : state) {
    w->IDListinoCorrente = kLista;
    w->CaricaListaDettNetti();
    q.Last();
    n = q.RecNo();
    q.Close();  // the next opening starts from a closed page, as entering it does
  }
  state.counters["rows"] = n;
  w->Close();
  ui::App().ProcessMessages();
  plat::ClearHostFolderOverride();
}

BENCHMARK(BM_Bare)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PaginaNetti)->Unit(benchmark::kMillisecond)->Iterations(5);

double Tempo(const RatioReporter& r, const std::string& nome) {
  for (const auto& [name, t] : r.times)
    if (name.find(nome) == 0) return t;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  db::ConfigureEngine(db::DefaultEngineConfigDir());
  CreaDati();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double bare = Tempo(reporter, "BM_Bare"), pagina = Tempo(reporter, "BM_PaginaNetti");
  if (bare > 0 && pagina > 0)
    std::cout << "net-row page opened and at its last row / bare fetch = " << pagina / bare
              << " (aim 1.5)\n";
  std::filesystem::remove_all(std::filesystem::path(g_cartella).parent_path());
  return 0;
}
