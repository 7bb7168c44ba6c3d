// How long a statistics run takes on the large database, next to its floor: the same reads
// (product row, category row, fixed-value seek and "<=" seek per lookup; ">=" seeks for the
// start values; "=" seeks for the days of a month) and the same work-table writes (empty,
// insert every row in one transaction, read back) done with bare prepared sqlite3 statements.
// The floor's schedule mirrors the run's for a year well inside the history, where no clamp
// applies; repeated lookups of one day count once, as the run makes them once.
//
// Usage: StatisticsBench DATA_FOLDER [benchmark options]
//        (or STATIND_BENCH_DATA=DATA_FOLDER); the folder holds IndiciDV.mdb and DatiDV.mdb. A
//        WorkDV.mdb is created in a temporary folder.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "indexdata/IndexLookup.h"
#include "platform/ScriptedDesktop.h"
#include "statind/PeriodStatistics.h"
#include "utilities/Schema.h"

namespace {

namespace fs = std::filesystem;
using platform::DayNumber;

constexpr int kProducts = 40;
constexpr int kYear = 2012;

// The reads and writes of one run, as keys.
struct Schedule {
  std::set<DayNumber> lookups;
  std::vector<DayNumber> startSeeks;  // ">="
  std::vector<DayNumber> daySeeks;    // "="
  int rows = 0;
};

Schedule yearSchedule(int year) {
  Schedule s;
  for (int y = year - 2; y <= year; ++y) {
    s.startSeeks.push_back(platform::dayNumber(y, 1, 1));
    s.lookups.insert(platform::dayNumber(y, 12, 31));
  }
  for (int m = 1; m <= 12; ++m) {
    s.startSeeks.push_back(platform::dayNumber(year, m, 1));
    s.lookups.insert(platform::lastDayOfMonth(m, year));
    s.lookups.insert(platform::dayNumber(year, m, 1));  // chart
  }
  s.rows = 24;
  return s;
}

Schedule monthSchedule(int year, int month) {
  Schedule s;
  for (int y = year - 2; y <= year; ++y) {
    s.startSeeks.push_back(platform::dayNumber(y, month, 1));
    s.lookups.insert(platform::lastDayOfMonth(month, y));
  }
  for (auto d = platform::dayNumber(year, month, 1); d <= platform::lastDayOfMonth(month, year);
       ++d) {
    s.daySeeks.push_back(d);
    s.lookups.insert(d);  // the first is also the run's opening value
    ++s.rows;
  }
  return s;
}

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

// The bare statements a run needs, prepared once.
class Floor {
 public:
  Floor(const std::string& dataPath, const std::string& indexPath, const std::string& workPath)
      : data_(openRaw(dataPath)), index_(openRaw(indexPath)), work_(openRaw(workPath)) {
    product_ = prepare(data_, "SELECT NoIndici, Categoria FROM TabProdotti WHERE Codice=?1");
    category_ = prepare(data_, "SELECT Tipo FROM TabCategorie WHERE Codice=?1");
    const char* columns = "SELECT rowid, IndProdotto, IndData, IndValoreMon FROM Indici ";
    equal_ = prepare(
        index_, (std::string(columns) + "WHERE IndProdotto=?1 AND IndData=?2 LIMIT 1").c_str());
    lessEqual_ = prepare(index_, (std::string(columns) + "WHERE IndProdotto=?1 AND IndData<=?2 "
                                                         "ORDER BY IndData DESC LIMIT 1")
                                     .c_str());
    greaterEqual_ = prepare(index_, (std::string(columns) + "WHERE IndProdotto=?1 AND IndData>=?2 "
                                                            "ORDER BY IndData LIMIT 1")
                                        .c_str());
    begin_ = prepare(work_, "BEGIN");
    empty_ = prepare(work_, "DELETE FROM WkStatInd");
    insert_ = prepare(work_,
                      "INSERT INTO WkStatInd (Data, indice, Percento1, Percento2, Percento3) "
                      "VALUES (?1, ?2, ?3, ?4, ?5)");
    commit_ = prepare(work_, "COMMIT");
    readBack_ = prepare(work_, "SELECT * FROM WkStatInd ORDER BY rowid");
  }
  ~Floor() {
    for (auto* s : {product_, category_, equal_, lessEqual_, greaterEqual_, begin_, empty_, insert_,
                    commit_, readBack_})
      sqlite3_finalize(s);
    for (auto* db : {data_, index_, work_}) sqlite3_close(db);
  }
  Floor(const Floor&) = delete;
  Floor& operator=(const Floor&) = delete;

  // The reads of a run, inside one read transaction per file as the run holds them.
  double reads(const std::string& product, const Schedule& s) {
    sqlite3_exec(data_, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_exec(index_, "BEGIN", nullptr, nullptr, nullptr);
    const double sum = readAll(product, s);
    sqlite3_exec(index_, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(data_, "COMMIT", nullptr, nullptr, nullptr);
    return sum;
  }

  // The work database as the program opens it: write-ahead log, normal syncing.
  void relax() { sqlite3_exec(work_, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr); }

  double writes(const Schedule& s) {
    drain(begin_);
    drain(empty_);
    for (int i = 0; i < s.rows; ++i) {
      for (int c = 1; c <= 5; ++c) bindText(insert_, c, "12.345,67");
      drain(insert_);
    }
    drain(commit_);
    return drain(readBack_);
  }

 private:
  double readAll(const std::string& product, const Schedule& s) {
    double sum = 0;
    for (DayNumber day : s.lookups) {
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
    for (DayNumber day : s.startSeeks) sum += seek(greaterEqual_, product, platform::isoDate(day));
    for (DayNumber day : s.daySeeks) sum += seek(equal_, product, platform::isoDate(day));
    return sum;
  }

  double seek(sqlite3_stmt* statement, const std::string& product, const std::string& date) {
    bindText(statement, 1, product);
    bindText(statement, 2, date);
    return drain(statement);
  }

  sqlite3 *data_, *index_, *work_;
  sqlite3_stmt *product_, *category_, *equal_, *lessEqual_, *greaterEqual_;
  sqlite3_stmt *begin_, *empty_, *insert_, *commit_, *readBack_;
};

struct Bench {
  std::unique_ptr<platform::Database> dataDb, indexDb, workDb;
  std::unique_ptr<platform::TableCursor> cursor;
  std::unique_ptr<indexdata::IndexLookup> lookup;
  platform::ScriptedDesktop desktop;
  std::unique_ptr<Floor> floor;
  std::vector<std::pair<std::string, statind::ProductRange>> products;
};

Bench* bench = nullptr;

double runOnce(const std::string& product, const statind::ProductRange& range, int month) {
  statind::StatContext context{*bench->lookup, *bench->workDb, bench->desktop};
  auto result = statind::runStatistics(
      context, {product, kYear, month, statind::StartRule::FirstUseful, range});
  return static_cast<double>(result.rows.size());
}

double floorOnce(const std::string& product, int month, bool withWrites = true) {
  const Schedule s = month == 0 ? yearSchedule(kYear) : monthSchedule(kYear, month);
  double sum = bench->floor->reads(product, s);
  if (withWrites) sum += bench->floor->writes(s);
  return sum;
}

int monthOf(std::size_t i) {
  return static_cast<int>(i % 12) + 1;
}

void BM_YearView(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& [code, range] = bench->products[i++ % bench->products.size()];
    benchmark::DoNotOptimize(runOnce(code, range, 0));
  }
}
void BM_YearFloor(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(floorOnce(bench->products[i++ % bench->products.size()].first, 0));
}
void BM_MonthView(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& [code, range] = bench->products[i % bench->products.size()];
    benchmark::DoNotOptimize(runOnce(code, range, monthOf(i++)));
  }
}
void BM_MonthFloor(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& code = bench->products[i % bench->products.size()].first;
    benchmark::DoNotOptimize(floorOnce(code, monthOf(i++)));
  }
}
BENCHMARK(BM_YearView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YearFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthFloor)->Unit(benchmark::kMillisecond);

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
template <typename Work>
Timing measure(Work work) {
  std::vector<double> walls, cpus;
  for (int round = 0; round < 3; ++round) {
    for (std::size_t i = 0; i < bench->products.size(); ++i) {
      const double cpuStart = threadCpuMillis();
      const auto start = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(work(i));
      const auto stop = std::chrono::steady_clock::now();
      cpus.push_back(threadCpuMillis() - cpuStart);
      walls.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
    }
  }
  return {median(walls), median(cpus)};
}

void report(const char* name, int month) {
  const auto& products = bench->products;
  auto monthFor = [&](std::size_t i) { return month ? monthOf(i) : 0; };
  const Timing run = measure(
      [&](std::size_t i) { return runOnce(products[i].first, products[i].second, monthFor(i)); });
  const Timing reads =
      measure([&](std::size_t i) { return floorOnce(products[i].first, monthFor(i), false); });
  const Timing floor =
      measure([&](std::size_t i) { return floorOnce(products[i].first, monthFor(i)); });
  std::printf(
      "%s: run median %.3f ms (cpu %.3f), floor %.3f ms (cpu %.3f; reads alone %.3f ms, cpu "
      "%.3f), ratio %.2f (cpu %.2f)\n",
      name, run.wall, run.cpu, floor.wall, floor.cpu, reads.wall, reads.cpu, run.wall / floor.wall,
      run.cpu / floor.cpu);
}

std::string dataFolder(int& argc, char** argv) {
  if (argc > 1 && argv[1][0] != '-') {
    std::string folder = argv[1];
    for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
    --argc;
    return folder;
  }
  if (const char* env = std::getenv("STATIND_BENCH_DATA")) return env;
  throw std::runtime_error("usage: StatisticsBench DATA_FOLDER (or STATIND_BENCH_DATA)");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const fs::path data = dataFolder(argc, argv);
    const fs::path temp = fs::temp_directory_path() / ("statind-bench-" + std::to_string(getpid()));
    fs::create_directories(temp);
    const std::string workPath = (temp / "WorkDV.mdb").string();
    utilities::createWorkDb(workPath);

    Bench state;
    bench = &state;
    state.dataDb = platform::Database::open((data / "DatiDV.mdb").string());
    state.indexDb = platform::Database::open((data / "IndiciDV.mdb").string());
    state.workDb = platform::Database::open(workPath);
    state.workDb->useWriteAheadLog();
    state.cursor = state.indexDb->openTable("Indici");
    state.cursor->setIndex("primaria");
    state.lookup =
        std::make_unique<indexdata::IndexLookup>(*state.dataDb, *state.cursor, "#,###,###,##0.00");
    state.floor = std::make_unique<Floor>((data / "DatiDV.mdb").string(),
                                          (data / "IndiciDV.mdb").string(), workPath);
    state.floor->relax();
    for (const auto& row :
         state.dataDb->snapshot("SELECT Codice FROM TabProdotti ORDER BY Codice")) {
      const std::string code = platform::valueText(row.at(0));
      auto range = statind::productRange(*state.lookup, code, platform::today());
      if (range && range->firstYear < kYear - 2 && range->lastYear > kYear)
        state.products.emplace_back(code, *range);
      if (static_cast<int>(state.products.size()) == kProducts) break;
    }
    if (state.products.empty())
      throw std::runtime_error("no product covers " + std::to_string(kYear));

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    report("year view", 0);
    report("month view", 1);
    state.floor.reset();
    state.workDb.reset();
    fs::remove_all(temp);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "StatisticsBench: %s\n", e.what());
    return 1;
  }
}
