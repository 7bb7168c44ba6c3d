// How long the risk figures of a whole 25-year history (every window together, with the class
// and the monthly map they draw their best and worst months from) and the monthly returns map
// alone take on the large database, next to their floor: the same reads (product row, category
// row, fixed-value seek, then the product's records in one range read) done with bare prepared
// sqlite3 statements, with the same settings, inside one read transaction per file.
//
// Usage: RiskBench DATA_FOLDER [benchmark options]
//        (or STATIND_BENCH_DATA=DATA_FOLDER); the folder holds IndiciDV.mdb and DatiDV.mdb.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "indexdata/IndexLookup.h"
#include "risk/RiskFigures.h"

namespace {

namespace fs = std::filesystem;

constexpr int kProducts = 40;
constexpr int kMinYears = 25;

sqlite3* openRaw(const std::string& path) {
  sqlite3* db = nullptr;
  // The same page cache and mapping as the store's connections.
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK ||
      sqlite3_exec(db, "PRAGMA cache_size = -16384; PRAGMA mmap_size = 1073741824", nullptr,
                   nullptr, nullptr) != SQLITE_OK)
    throw std::runtime_error("cannot open " + path);
  return db;
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(db));
  return statement;
}

// Steps `statement` with `product` bound to ?1 (and `date` to ?2) to its end; a sum of what it
// read, so that nothing is optimised away.
double drain(sqlite3_stmt* statement, const std::string& product, const char* date = nullptr) {
  sqlite3_bind_text(statement, 1, product.data(), static_cast<int>(product.size()),
                    SQLITE_TRANSIENT);
  if (date) sqlite3_bind_text(statement, 2, date, -1, SQLITE_STATIC);
  double sum = 0;
  while (sqlite3_step(statement) == SQLITE_ROW)
    for (int i = 0; i < sqlite3_column_count(statement); ++i)
      sum += sqlite3_column_double(statement, i) + sqlite3_column_bytes(statement, i);
  sqlite3_reset(statement);
  return sum;
}

// The reads of one figure run, as bare statements prepared once.
class Floor {
 public:
  Floor(const std::string& dataPath, const std::string& indexPath)
      : data_(openRaw(dataPath)), index_(openRaw(indexPath)) {
    product_ = prepare(data_, "SELECT NoIndici, Categoria FROM TabProdotti WHERE Codice=?1");
    category_ = prepare(data_, "SELECT Tipo FROM TabCategorie WHERE Codice=?1");
    fixed_ = prepare(index_,
                     "SELECT rowid, IndProdotto, IndData, IndValoreMon FROM Indici "
                     "WHERE IndProdotto=?1 AND IndData=?2 LIMIT 1");
    range_ = prepare(index_,
                     "SELECT IndData, IndValoreMon FROM Indici WHERE IndProdotto = ?1 "
                     "ORDER BY IndData");
  }
  ~Floor() {
    for (auto* s : {product_, category_, fixed_, range_}) sqlite3_finalize(s);
    for (auto* db : {data_, index_}) sqlite3_close(db);
  }
  Floor(const Floor&) = delete;
  Floor& operator=(const Floor&) = delete;

  double reads(const std::string& product) {
    sqlite3_exec(data_, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_exec(index_, "BEGIN", nullptr, nullptr, nullptr);
    const double sum = drain(product_, product) + drain(category_, "") +
                       drain(fixed_, product, "2199-12-31") + drain(range_, product);
    sqlite3_exec(index_, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(data_, "COMMIT", nullptr, nullptr, nullptr);
    return sum;
  }

 private:
  sqlite3 *data_, *index_;
  sqlite3_stmt *product_, *category_, *fixed_, *range_;
};

struct Bench {
  std::unique_ptr<platform::Database> dataDb, indexDb;
  std::unique_ptr<platform::TableCursor> cursor;
  std::unique_ptr<indexdata::IndexLookup> lookup;
  std::unique_ptr<Floor> floor;
  std::vector<std::pair<std::string, statind::ProductRange>> products;
};

Bench* bench = nullptr;

double figuresOnce(std::size_t i) {
  const auto& [code, range] = bench->products[i % bench->products.size()];
  risk::RiskParams params;
  params.product = code;
  params.range = range;
  const auto result = risk::computeRisk(*bench->lookup, params);
  return result.windows.back().change + result.mrm.returns;
}

double mapOnce(std::size_t i) {
  const auto& [code, range] = bench->products[i % bench->products.size()];
  auto series = risk::IndexSeries::read(*bench->lookup, code, statind::StartRule::FirstUseful);
  return static_cast<double>(risk::returnsMap(series, range).years.size());
}

double floorOnce(std::size_t i) {
  return bench->floor->reads(bench->products[i % bench->products.size()].first);
}

template <double (*Work)(std::size_t)>
void run(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(Work(i++));
}
BENCHMARK(run<figuresOnce>)->Name("BM_RiskAllWindows")->Unit(benchmark::kMillisecond);
BENCHMARK(run<mapOnce>)->Name("BM_ReturnsMap25Years")->Unit(benchmark::kMillisecond);
BENCHMARK(run<floorOnce>)->Name("BM_RangeReadFloor")->Unit(benchmark::kMillisecond);

struct Timing {
  double wall = 0, cpu = 0;  // medians, milliseconds
};

double threadCpuMillis() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double median(std::vector<double>& values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// Median wall and CPU milliseconds of `work` over every product (three rounds). The machine may
// be shared: the CPU time shows what the work costs when it does not wait for a core or a disk.
Timing measure(double (*work)(std::size_t)) {
  std::vector<double> walls, cpus;
  for (std::size_t i = 0; i < 3 * bench->products.size(); ++i) {
    const double cpuStart = threadCpuMillis();
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(work(i));
    const auto stop = std::chrono::steady_clock::now();
    cpus.push_back(threadCpuMillis() - cpuStart);
    walls.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
  }
  return {median(walls), median(cpus)};
}

void report(const char* name, double (*work)(std::size_t)) {
  const Timing run = measure(work), floor = measure(&floorOnce);
  std::printf(
      "%s: run median %.3f ms (cpu %.3f), floor %.3f ms (cpu %.3f), ratio %.2f (cpu %.2f)\n", name,
      run.wall, run.cpu, floor.wall, floor.cpu, run.wall / floor.wall, run.cpu / floor.cpu);
}

std::string dataFolder(int& argc, char** argv) {
  if (argc > 1 && argv[1][0] != '-') {
    std::string folder = argv[1];
    for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
    --argc;
    return folder;
  }
  if (const char* env = std::getenv("STATIND_BENCH_DATA")) return env;
  throw std::runtime_error("usage: RiskBench DATA_FOLDER (or STATIND_BENCH_DATA)");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const fs::path data = dataFolder(argc, argv);
    Bench state;
    bench = &state;
    state.dataDb = platform::Database::open((data / "DatiDV.mdb").string());
    state.indexDb = platform::Database::open((data / "IndiciDV.mdb").string());
    state.cursor = state.indexDb->openTable("Indici");
    state.cursor->setIndex("primaria");
    state.lookup =
        std::make_unique<indexdata::IndexLookup>(*state.dataDb, *state.cursor, "#,###,###,##0.00");
    state.floor =
        std::make_unique<Floor>((data / "DatiDV.mdb").string(), (data / "IndiciDV.mdb").string());
    for (const auto& row :
         state.dataDb->snapshot("SELECT Codice FROM TabProdotti ORDER BY Codice")) {
      const std::string code = platform::valueText(row.at(0));
      auto range = statind::productRange(*state.lookup, code, platform::today());
      if (range && range->lastYear - range->firstYear + 1 >= kMinYears)
        state.products.emplace_back(code, *range);
      if (static_cast<int>(state.products.size()) == kProducts) break;
    }
    if (state.products.empty())
      throw std::runtime_error("no product with " + std::to_string(kMinYears) + " years");

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    report("risk figures, all windows", &figuresOnce);
    report("monthly returns map", &mapOnce);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "RiskBench: %s\n", e.what());
    return 1;
  }
}
