// How long a statistics run takes on the large database, next to its floor: the same reads
// (product row, category row and fixed-value seek once; a "<=" seek per lookup; ">=" seeks for
// the start values; "=" seeks for the days of a month) and the same work-table writes (empty,
// insert every row in one transaction, read back) done with bare prepared sqlite3 statements.
// The floor's schedule mirrors the run's for a year well inside the history, where no clamp
// applies; repeated lookups of one day count once, as the run makes them once.
//
// Usage: StatisticsBench DATA_FOLDER [benchmark options]
//        (or STATIND_BENCH_DATA=DATA_FOLDER); the folder holds IndiciDV.mdb and DatiDV.mdb. A
//        WorkDV.mdb is created in a temporary folder.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "platform/ScriptedDesktop.h"
#include "statind/PeriodStatistics.h"

namespace {

namespace fs = std::filesystem;
using benchsupport::Timing;
using platform::DayNumber;

constexpr std::size_t kProducts = 40;
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

// The bare statements a run needs, prepared once.
class Floor {
 public:
  Floor(const benchsupport::IndexStore& store, const std::string& workPath)
      : bare_(store, SQLITE_OPEN_READWRITE), work_(bare_.attach(workPath)) {
    greaterEqual_ = bare_.prepare(bare_.index,
                                  "SELECT rowid, IndProdotto, IndData, IndValoreMon FROM Indici "
                                  "WHERE IndProdotto=?1 AND IndData>=?2 ORDER BY IndData LIMIT 1");
    begin_ = bare_.prepare(work_, "BEGIN");
    empty_ = bare_.prepare(work_, "DELETE FROM WkStatInd");
    insert_ = bare_.prepare(work_,
                            "INSERT INTO WkStatInd (Data, indice, Percento1, Percento2, Percento3) "
                            "VALUES (?1, ?2, ?3, ?4, ?5)");
    commit_ = bare_.prepare(work_, "COMMIT");
    readBack_ = bare_.prepare(work_, "SELECT * FROM WkStatInd ORDER BY rowid");
  }

  // The reads of a run, inside one read transaction per file as the run holds them.
  double reads(const std::string& product, const Schedule& s) {
    return bare_.inReadTransactions([&] { return readAll(product, s); });
  }

  // The work database as the program opens it: write-ahead log, normal syncing.
  void relax() { sqlite3_exec(work_, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr); }

  double writes(const Schedule& s) {
    using benchsupport::drain;
    drain(begin_);
    drain(empty_);
    for (int i = 0; i < s.rows; ++i) {
      for (int c = 1; c <= 5; ++c) benchsupport::bindText(insert_, c, "12.345,67");
      drain(insert_);
    }
    drain(commit_);
    return drain(readBack_);
  }

 private:
  double readAll(const std::string& product, const Schedule& s) {
    using benchsupport::BareLookup;
    // The product's rows and its fixed value once, as a run reads them.
    double sum = bare_.productRows(product) + BareLookup::seek(bare_.equal, product, "2199-12-31");
    for (DayNumber day : s.lookups)
      sum += BareLookup::seek(bare_.lessEqual, product, platform::isoDate(day));
    for (DayNumber day : s.startSeeks)
      sum += BareLookup::seek(greaterEqual_, product, platform::isoDate(day));
    for (DayNumber day : s.daySeeks)
      sum += BareLookup::seek(bare_.equal, product, platform::isoDate(day));
    return sum;
  }

  benchsupport::BareLookup bare_;
  sqlite3* work_;
  sqlite3_stmt *greaterEqual_, *begin_, *empty_, *insert_, *commit_, *readBack_;
};

struct Bench {
  std::unique_ptr<benchsupport::IndexStore> store;
  std::unique_ptr<platform::Database> workDb;
  platform::ScriptedDesktop desktop;
  std::unique_ptr<Floor> floor;
  std::vector<benchsupport::RangedProduct> products;
};

Bench* bench = nullptr;

double runOnce(const std::string& product, const statind::ProductRange& range, int month) {
  statind::StatContext context{*bench->store->lookup, *bench->workDb, bench->desktop};
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

// The median of `work(i)` over every product i.
template <typename Work>
Timing measure(Work work) {
  return benchsupport::measure(bench->products.size(), work);
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

// The first year view of a process, as a console run makes it: a child opens the store and the
// work database afresh and times its one run (its first write to the work database included),
// for each product in turn; printed next to the same runs in this warm process. No connection
// of this process holds the work database meanwhile, as none does between two console runs.
void reportFreshProcess(const benchsupport::TempWorkDb& work) {
  bench->floor.reset();
  bench->workDb.reset();
  std::vector<double> walls, cpus;
  for (int round = 0; round < 3; ++round) {
    for (const auto& [code, range] : bench->products) {
      int channel[2];
      if (pipe(channel) != 0) throw std::runtime_error("no pipe");
      const pid_t child = fork();
      if (child < 0) throw std::runtime_error("no fork");
      if (child == 0) {
        close(channel[0]);
        double timing[2] = {-1, -1};
        try {
          benchsupport::IndexStore store(fs::path(bench->store->dataPath).parent_path());
          const auto workDb = work.open();
          statind::StatContext context{*store.lookup, *workDb, bench->desktop};
          const double cpuStart = benchsupport::threadCpuMillis();
          const auto start = std::chrono::steady_clock::now();
          statind::runStatistics(context, {code, kYear, 0, statind::StartRule::FirstUseful, range});
          timing[0] =
              std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                  .count();
          timing[1] = benchsupport::threadCpuMillis() - cpuStart;
        } catch (...) {
        }
        [[maybe_unused]] const auto written = write(channel[1], timing, sizeof timing);
        _exit(0);
      }
      close(channel[1]);
      double timing[2] = {-1, -1};
      const bool got = read(channel[0], timing, sizeof timing) == sizeof timing;
      close(channel[0]);
      waitpid(child, nullptr, 0);
      if (!got || timing[0] < 0) throw std::runtime_error("a fresh process's run failed");
      walls.push_back(timing[0]);
      cpus.push_back(timing[1]);
    }
  }
  const Timing fresh{benchsupport::median(walls), benchsupport::median(cpus)};
  bench->workDb = work.open();
  const Timing warm = measure([&](std::size_t i) {
    return runOnce(bench->products[i].first, bench->products[i].second, 0);
  });
  benchsupport::printRatio("year view, first run of a fresh process against a warm one", fresh,
                           warm);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const auto folder = benchsupport::takeDataFolder("StatisticsBench", argc, argv);
    const benchsupport::TempWorkDb work;
    Bench state;
    bench = &state;
    state.store = std::make_unique<benchsupport::IndexStore>(folder);
    state.workDb = work.open();
    state.floor = std::make_unique<Floor>(*state.store, work.path());
    state.floor->relax();
    state.products = benchsupport::chooseProducts(
        *state.store, [](auto& r) { return r.firstYear < kYear - 2 && r.lastYear > kYear; },
        kProducts);
    if (state.products.empty())
      throw std::runtime_error("no product covers " + std::to_string(kYear));

    benchsupport::runBenchmarks(argc, argv);
    report("year view", 0);
    report("month view", 1);
    reportFreshProcess(work);
    return 0;
  } catch (const std::exception& e) {
    return benchsupport::failed("StatisticsBench", e);
  }
}
