// How long an all-months comparison over a product's whole history takes on the large database
// (about 300 month ends over 25 years), next to its floor: the same reads (product row,
// category row, fixed-value seek and "<=" seek per month end) done with bare prepared sqlite3
// statements inside one read transaction per file, as the run holds them.
//
// Usage: CompareBench DATA_FOLDER [benchmark options]
//        (or STATIND_BENCH_DATA=DATA_FOLDER); the folder holds IndiciDV.mdb and DatiDV.mdb.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "compare/Comparison.h"
#include "indexdata/IndexLookup.h"
#include "platform/Store.h"

namespace {

namespace fs = std::filesystem;
using platform::DayNumber;

constexpr int kProducts = 40;

sqlite3* openRaw(const std::string& path) {
  sqlite3* db = nullptr;
  // The same page cache and mapping as the store's connections.
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
      sqlite3_exec(db, "PRAGMA cache_size = -16384; PRAGMA mmap_size = 1073741824", nullptr,
                   nullptr, nullptr) != SQLITE_OK)
    throw std::runtime_error("cannot open " + path);
  return db;
}

sqlite3_stmt* prepare(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
      SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(db));
  return statement;
}

void bindText(sqlite3_stmt* statement, int position, const std::string& text) {
  sqlite3_bind_text(statement, position, text.data(), static_cast<int>(text.size()),
                    SQLITE_TRANSIENT);
}

// Steps a statement to its end and resets it; returns a sum of what it read.
double drain(sqlite3_stmt* statement) {
  double sum = 0;
  while (sqlite3_step(statement) == SQLITE_ROW)
    for (int i = 0; i < sqlite3_column_count(statement); ++i)
      sum += sqlite3_column_double(statement, i) + sqlite3_column_bytes(statement, i);
  sqlite3_reset(statement);
  return sum;
}

// The bare statements of the month-end lookups, prepared once.
class Floor {
 public:
  Floor(const std::string& dataPath, const std::string& indexPath)
      : data_(openRaw(dataPath)), index_(openRaw(indexPath)) {
    product_ = prepare(data_, "SELECT NoIndici, Categoria FROM TabProdotti WHERE Codice=?1");
    category_ = prepare(data_, "SELECT Tipo FROM TabCategorie WHERE Codice=?1");
    const std::string columns = "SELECT rowid, IndProdotto, IndData, IndValoreMon FROM Indici ";
    equal_ = prepare(index_, columns + "WHERE IndProdotto=?1 AND IndData=?2 LIMIT 1");
    lessEqual_ = prepare(
        index_, columns + "WHERE IndProdotto=?1 AND IndData<=?2 ORDER BY IndData DESC LIMIT 1");
  }
  ~Floor() {
    for (auto* s : {product_, category_, equal_, lessEqual_}) sqlite3_finalize(s);
    for (auto* db : {data_, index_}) sqlite3_close(db);
  }
  Floor(const Floor&) = delete;
  Floor& operator=(const Floor&) = delete;

  double reads(const std::string& product, const std::vector<DayNumber>& days) {
    sqlite3_exec(data_, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_exec(index_, "BEGIN", nullptr, nullptr, nullptr);
    double sum = 0;
    for (DayNumber day : days) {
      bindText(product_, 1, product);
      std::string category;
      if (sqlite3_step(product_) == SQLITE_ROW) {
        sum += sqlite3_column_double(product_, 0);
        if (const auto* text = sqlite3_column_text(product_, 1))
          category = reinterpret_cast<const char*>(text);
      }
      sqlite3_reset(product_);
      bindText(category_, 1, category);
      sum += drain(category_);
      sum +=
          seek(equal_, product, "2199-12-31") + seek(lessEqual_, product, platform::isoDate(day));
    }
    sqlite3_exec(index_, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(data_, "COMMIT", nullptr, nullptr, nullptr);
    return sum;
  }

 private:
  double seek(sqlite3_stmt* statement, const std::string& product, const std::string& date) {
    bindText(statement, 1, product);
    bindText(statement, 2, date);
    return drain(statement);
  }

  sqlite3 *data_, *index_;
  sqlite3_stmt *product_, *category_, *equal_, *lessEqual_;
};

struct Product {
  std::string code;
  statind::ProductRange range;
  std::vector<DayNumber> monthEnds;  // what the run looks up
};

struct Bench {
  std::unique_ptr<platform::Database> dataDb, indexDb;
  std::unique_ptr<platform::TableCursor> cursor;
  std::unique_ptr<indexdata::IndexLookup> lookup;
  std::unique_ptr<Floor> floor;
  std::vector<Product> products;
};

Bench* bench = nullptr;

std::vector<DayNumber> monthEnds(const statind::ProductRange& r) {
  std::vector<DayNumber> days;
  for (int y = r.firstYear; y <= r.lastYear; ++y)
    for (int m = y == r.firstYear ? r.firstMonth : 1; m <= (y == r.lastYear ? r.lastMonth : 12);
         ++m)
      days.push_back(platform::lastDayOfMonth(m, y));
  return days;
}

double runOnce(const Product& p) {
  compare::CompareParams params;
  params.product = p.code;
  params.fromYear = p.range.firstYear;
  params.toYear = p.range.lastYear;
  params.range = p.range;
  params.usableWidth = 19320;
  return compare::runComparison(*bench->lookup, params).chart.pointCount;
}

double floorOnce(const Product& p) {
  return bench->floor->reads(p.code, p.monthEnds);
}

void BM_AllMonths(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(runOnce(bench->products[i++ % bench->products.size()]));
}
void BM_AllMonthsFloor(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(floorOnce(bench->products[i++ % bench->products.size()]));
}
BENCHMARK(BM_AllMonths)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllMonthsFloor)->Unit(benchmark::kMillisecond);

double threadCpuMillis() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double median(std::vector<double>& values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// Median wall and CPU milliseconds of `work` over every product (three rounds); the CPU time
// shows what the work costs when it does not wait for a shared core or the disk.
template <typename Work>
std::pair<double, double> measure(Work work) {
  std::vector<double> walls, cpus;
  for (int round = 0; round < 3; ++round) {
    for (const Product& p : bench->products) {
      const double cpuStart = threadCpuMillis();
      const auto start = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(work(p));
      const auto stop = std::chrono::steady_clock::now();
      cpus.push_back(threadCpuMillis() - cpuStart);
      walls.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
  }
  return {median(walls), median(cpus)};
}

std::string dataFolder(int& argc, char** argv) {
  if (argc > 1 && argv[1][0] != '-') {
    std::string folder = argv[1];
    for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
    --argc;
    return folder;
  }
  if (const char* env = std::getenv("STATIND_BENCH_DATA")) return env;
  throw std::runtime_error("usage: CompareBench DATA_FOLDER (or STATIND_BENCH_DATA)");
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
    // The products with the longest histories.
    for (const auto& row : state.dataDb->snapshot("SELECT Codice FROM TabProdotti")) {
      const std::string code = platform::valueText(row.at(0));
      if (auto range = statind::productRange(*state.lookup, code, platform::today()))
        state.products.push_back({code, *range, monthEnds(*range)});
    }
    std::stable_sort(state.products.begin(), state.products.end(),
                     [](auto& a, auto& b) { return a.monthEnds.size() > b.monthEnds.size(); });
    if (state.products.size() > kProducts) state.products.resize(kProducts);
    if (state.products.empty()) throw std::runtime_error("no product with index data");

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const auto run = measure(runOnce);
    const auto floor = measure(floorOnce);
    std::printf(
        "all-months comparison (%zu month ends): run median %.3f ms (cpu %.3f), floor %.3f ms "
        "(cpu %.3f), ratio %.2f (cpu %.2f)\n",
        state.products.front().monthEnds.size(), run.first, run.second, floor.first, floor.second,
        run.first / floor.first, run.second / floor.second);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "CompareBench: %s\n", e.what());
    return 1;
  }
}
