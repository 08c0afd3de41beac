// Fetching a 200,000-row price table through db::Query against a bare
// Firebird fetch loop in the same run; prints the ratio of the two and
// what a buffered row costs in memory: the process's peak resident size
// after the query's runs against the peak after the bare loop's (which
// keeps no rows), over the rows.
#include <benchmark/benchmark.h>
#include <firebird/Interface.h>
#include <sys/resource.h>

#include <cstring>
#include <filesystem>
#include <iostream>

#include "bare_firebird.h"
#include "db/database.h"
#include "db/engine.h"
#include "db/query.h"
#include "ratio_reporter.h"

namespace {

constexpr int kRows = 200000;
std::string g_path;
long g_peakBare = 0, g_peakQuery = 0;  // kilobytes, after each benchmark's runs

long PeakKilobytes() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

void CreateData() {
  db::Database d;
  g_path = CreateBenchDatabase(d, "velmaro-bench");
  ExecBench(d,
            "CREATE TABLE LISTSCDTNET (ID INTEGER NOT NULL, IDLISTINO INTEGER,"
            " CODICEARTICOLO VARCHAR(30), PREZZO NUMERIC(15,5), DATAINIZIOVALIDITA DATE,"
            " DATAFINEVALIDITA DATE)");
  InsertRows(d, kRows,
             "INSERT INTO LISTSCDTNET VALUES (:I, MOD(:I, 50), 'ART' || :I, :I * 1.25,"
             " DATE '2024-01-01' + MOD(:I, 365), DATE '2025-01-01');");
}

const char* kSelect =
    "SELECT ID, IDLISTINO, CODICEARTICOLO, PREZZO, DATAINIZIOVALIDITA, DATAFINEVALIDITA FROM "
    "LISTSCDTNET";

void BM_BareFetch(benchmark::State& state) {
  using namespace Firebird;
  BareAttachment bare(g_path);
  IAttachment* att = bare.att;
  ThrowStatusWrapper& st = bare.st;
  for (auto _ : state) {
    ITransaction* tra = att->startTransaction(&st, 0, nullptr);
    IStatement* stmt = att->prepare(&st, tra, 0, kSelect, 3, IStatement::PREPARE_PREFETCH_METADATA);
    IMessageMetadata* meta = stmt->getOutputMetadata(&st);
    std::vector<unsigned char> buf(meta->getMessageLength(&st));
    unsigned n = meta->getCount(&st);
    std::vector<unsigned> offs(n);
    for (unsigned i = 0; i < n; ++i) offs[i] = meta->getOffset(&st, i);
    IResultSet* rs = stmt->openCursor(&st, tra, nullptr, nullptr, meta, 0);
    std::int64_t sum = 0;
    std::size_t chars = 0;
    while (rs->fetchNext(&st, buf.data()) == IStatus::RESULT_OK) {
      std::int32_t id, listino, d1, d2;
      std::int64_t prezzo;
      unsigned short len;
      std::memcpy(&id, &buf[offs[0]], 4);
      std::memcpy(&listino, &buf[offs[1]], 4);
      std::memcpy(&len, &buf[offs[2]], 2);
      std::string code(reinterpret_cast<char*>(&buf[offs[2] + 2]), len);
      std::memcpy(&prezzo, &buf[offs[3]], 8);
      std::memcpy(&d1, &buf[offs[4]], 4);
      std::memcpy(&d2, &buf[offs[5]], 4);
      sum += id + listino + prezzo + d1 + d2;
      chars += code.size();
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(chars);
    rs->close(&st);
    meta->release();
    stmt->free(&st);
    tra->commit(&st);
  }
  g_peakBare = PeakKilobytes();
}

void BM_QueryFetch(benchmark::State& state) {
  db::Database d;
  OpenBenchDatabase(d, g_path);
  db::Transaction t(&d);
  for (auto _ : state) {
    db::Query q(&d, &t);
    q.SQL.Add(kSelect);
    q.Open();
    db::Field& id = q.FieldByName("ID");
    db::Field& listino = q.FieldByName("IDLISTINO");
    db::Field& code = q.FieldByName("CODICEARTICOLO");
    db::Field& prezzo = q.FieldByName("PREZZO");
    db::Field& d1 = q.FieldByName("DATAINIZIOVALIDITA");
    db::Field& d2 = q.FieldByName("DATAFINEVALIDITA");
    double sum = 0;
    std::size_t chars = 0;
    for (q.First(); !q.Eof(); q.Next()) {
      sum += id.AsInteger() + listino.AsInteger() + prezzo.AsFloat() + d1.AsDateTime() +
             d2.AsDateTime();
      chars += code.AsString().size();
    }
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(chars);
    q.Close();
    t.Commit();
  }
  g_peakQuery = PeakKilobytes();
}

BENCHMARK(BM_BareFetch)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_QueryFetch)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  db::ConfigureEngine(db::DefaultEngineConfigDir());
  CreateData();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double bare = reporter.TimeOf("BM_BareFetch"), query = reporter.TimeOf("BM_QueryFetch");
  if (bare > 0 && query > 0) std::cout << "db::Query / bare fetch = " << query / bare << "\n";
  if (g_peakBare > 0 && g_peakQuery > 0)
    std::cout << "bytes per buffered row = " << (g_peakQuery - g_peakBare) * 1024.0 / kRows << "\n";
  RemoveBenchDatabase(g_path);
  return 0;
}
