// The in-memory table against a plain vector of structs on one million
// records of four fields: appending, sorting on two fields and locating a
// missing key (repeatedly on an unchanged table, and right after a change). Prints each ratio to
// the plain baseline measured in the same run, and the heap taken per record.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "db/rowstore.h"
#include "context/memorydata.h"
#include "ratio_reporter.h"

namespace {

constexpr int kRecords = 1000000;

struct Row {
  int n;
  std::string s;
  double f;
  double d;  // days since 30/12/1899, as the table stores dates
};

const std::vector<Row>& Source() {
  static const std::vector<Row> rows = [] {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> num(0, 999999), len(6, 12), letter(0, 25), day(0, 3649);
    std::uniform_real_distribution<double> real(-1000, 1000);
    std::vector<Row> out;
    out.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      std::string s(static_cast<size_t>(len(rng)), 'a');
      for (char& c : s) c = static_cast<char>('a' + letter(rng));
      out.push_back({num(rng), std::move(s), real(rng), 40000.0 + day(rng)});
    }
    return out;
  }();
  return rows;
}

void Define(velmaro::TRxMemoryData& t) {
  t.FieldDefs().push_back({"N", db::FieldType::Integer});
  t.FieldDefs().push_back({"S", db::FieldType::String, 20});
  t.FieldDefs().push_back({"F", db::FieldType::Float});
  t.FieldDefs().push_back({"D", db::FieldType::Date});
}

void Fill(velmaro::TRxMemoryData& t) {
  db::Field& n = t.FieldByName("N");
  db::Field& s = t.FieldByName("S");
  db::Field& f = t.FieldByName("F");
  db::Field& d = t.FieldByName("D");
  for (const Row& r : Source()) {
    t.Append();
    n.SetAsInteger(r.n);
    s.SetAsString(r.s);
    f.SetAsFloat(r.f);
    d.SetAsDateTime(r.d);
    t.Post();
  }
}

bool RowLess(const Row& a, const Row& b) {
  if (a.d != b.d) return a.d < b.d;
  return a.s < b.s;
}

void BM_AppendTable(benchmark::State& state) {
  for (auto _ : state) {
    velmaro::TRxMemoryData t;
    Define(t);
    t.Open();
    Fill(t);
    benchmark::DoNotOptimize(t.RecordCount());
  }
}

void BM_AppendVector(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<Row> v;
    for (const Row& r : Source()) v.push_back(r);
    benchmark::DoNotOptimize(v.data());
  }
}

velmaro::TRxMemoryData& SharedTable() {
  static velmaro::TRxMemoryData* t = [] {
    auto* table = new velmaro::TRxMemoryData;
    Define(*table);
    table->Open();
    Fill(*table);
    return table;
  }();
  return *t;
}

void BM_SortTable(benchmark::State& state) {
  velmaro::TRxMemoryData& t = SharedTable();
  for (auto _ : state) {
    state.PauseTiming();
    t.SortByFields("N");  // scramble the order the timed sort starts from
    state.ResumeTiming();
    t.SortByFields("D;S");
  }
}

void BM_SortVector(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<Row> v = Source();
    std::sort(v.begin(), v.end(), [](const Row& a, const Row& b) { return a.n < b.n; });
    state.ResumeTiming();
    std::sort(v.begin(), v.end(), RowLess);
    benchmark::DoNotOptimize(v.data());
  }
}

void BM_LocateTable(benchmark::State& state) {
  velmaro::TRxMemoryData& t = SharedTable();
  t.SortByFields("D;S");
  for (auto _ : state) benchmark::DoNotOptimize(t.Locate("S", db::Value("not-there")));
}

// The first Locate after a change scans the records themselves.
void BM_LocateTableAfterChange(benchmark::State& state) {
  velmaro::TRxMemoryData& t = SharedTable();
  t.SortByFields("D;S");
  for (auto _ : state) {
    state.PauseTiming();
    t.First();
    t.Edit();
    t.FieldByName("F").SetAsFloat(1.0);
    t.Post();
    state.ResumeTiming();
    benchmark::DoNotOptimize(t.Locate("S", db::Value("not-there")));
  }
}

void BM_LocateVector(benchmark::State& state) {
  static std::vector<Row> v = [] {
    std::vector<Row> out = Source();
    std::sort(out.begin(), out.end(), RowLess);
    return out;
  }();
  const std::string key = "not-there";
  for (auto _ : state) {
    size_t found = v.size();
    for (size_t i = 0; i < v.size(); ++i)
      if (v[i].s == key) {
        found = i;
        break;
      }
    benchmark::DoNotOptimize(found);
  }
}

BENCHMARK(BM_AppendTable)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AppendVector)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SortTable)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SortVector)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LocateTable)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_LocateTableAfterChange)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_LocateVector)->Unit(benchmark::kMillisecond)->Iterations(20);

// Small blocks and the large ones malloc maps on their own.
size_t HeapInUse() {
  struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

void PrintMemory() {
  Source();
  // Blocks kept from the benchmarks above would serve the table unseen, and
  // those the table's growth let go would count as its own: neither stays.
  db::largeblocks::ReleaseKept();
  size_t before = HeapInUse();
  {
    velmaro::TRxMemoryData t;
    Define(t);
    t.Open();
    Fill(t);
    db::largeblocks::ReleaseKept();
    size_t table = HeapInUse() - before;
    std::printf("memory per record: table %.1f bytes", static_cast<double>(table) / kRecords);
  }
  before = HeapInUse();
  std::vector<Row> v;
  for (const Row& r : Source()) v.push_back(r);
  v.shrink_to_fit();
  std::printf(", vector %.1f bytes\n", static_cast<double>(HeapInUse() - before) / kRecords);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ratio = [&](const char* what, const std::string& table, const std::string& plain,
                   const char* aim) {
    auto a = reporter.times.find(table), b = reporter.times.find(plain);
    if (a == reporter.times.end() || b == reporter.times.end() || b->second <= 0) return;
    std::printf("%-22s table/vector = %.2f %s\n", what, a->second / b->second, aim);
  };
  ratio("append", "BM_AppendTable/iterations:3", "BM_AppendVector/iterations:3", "");
  ratio("sort", "BM_SortTable/iterations:5", "BM_SortVector/iterations:5", "(aim <= 3)");
  ratio("locate", "BM_LocateTable/iterations:20", "BM_LocateVector/iterations:20", "(aim <= 2)");
  ratio("locate after a change", "BM_LocateTableAfterChange/iterations:20",
        "BM_LocateVector/iterations:20", "");
  PrintMemory();
  benchmark::Shutdown();
  return 0;
}
