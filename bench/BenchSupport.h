// What the benchmark programs share: the data folder named on their command line, the store
// opened on it as the program opens it, the products they run over, a throw-away work
// database, the bare sqlite3 connections and statements their floors read with, and the
// medians they print. Header only: every bench/*.cpp is a program of its own.
#pragma once

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "indexdata/IndexLookup.h"
#include "platform/Store.h"
#include "statind/PeriodStatistics.h"
#include "utilities/Schema.h"

namespace benchsupport {

namespace fs = std::filesystem;

// A command line the program cannot run with.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The data folder (it holds IndiciDV.mdb and DatiDV.mdb): the first argument when it is not an
// option, taken out of argv so that the benchmark library sees its own options only; else
// STATIND_BENCH_DATA. Throws UsageError naming `program` when neither gives one.
inline fs::path takeDataFolder(const char* program, int& argc, char** argv) {
  if (argc > 1 && argv[1][0] != '-') {
    fs::path folder = argv[1];
    for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
    --argc;
    return folder;
  }
  if (const char* env = std::getenv("STATIND_BENCH_DATA")) return env;
  std::string usage = "usage: ";
  usage += program;
  usage += " DATA_FOLDER (or STATIND_BENCH_DATA)";
  throw UsageError(usage);
}

// Prints "program: message" and gives the exit status: 64 for a usage error, 1 otherwise.
inline int failed(const char* program, const std::exception& e) {
  std::fprintf(stderr, "%s: %s\n", program, e.what());
  return dynamic_cast<const UsageError*>(&e) ? 64 : 1;
}

// Runs the benchmarks registered so far with the options left in argv.
inline void runBenchmarks(int& argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}

// The data and index files of a folder opened as the program opens them, with the index lookup
// over Indici on its index "primaria".
struct IndexStore {
  explicit IndexStore(const fs::path& folder)
      : dataPath((folder / "DatiDV.mdb").string()),
        indexPath((folder / "IndiciDV.mdb").string()),
        dataDb(platform::Database::open(dataPath)),
        indexDb(platform::Database::open(indexPath)),
        cursor(indexDb->openTable("Indici")) {
    cursor->setIndex("primaria");
    lookup = std::make_unique<indexdata::IndexLookup>(*dataDb, *cursor, "#,###,###,##0.00");
  }

  std::string dataPath, indexPath;
  std::unique_ptr<platform::Database> dataDb, indexDb;
  std::unique_ptr<platform::TableCursor> cursor;
  std::unique_ptr<indexdata::IndexLookup> lookup;
};

using RangedProduct = std::pair<std::string, statind::ProductRange>;

// Up to `limit` products of TabProdotti in code order, with the range of their history as of
// today, whose range `keep` accepts.
template <typename Keep>
std::vector<RangedProduct> chooseProducts(
    IndexStore& store, Keep keep, std::size_t limit = std::numeric_limits<std::size_t>::max()) {
  std::vector<RangedProduct> products;
  for (const auto& row : store.dataDb->snapshot("SELECT Codice FROM TabProdotti ORDER BY Codice")) {
    if (products.size() == limit) break;
    std::string code = platform::valueText(row.at(0));
    auto range = statind::productRange(*store.lookup, code, platform::today());
    if (range && keep(*range)) products.emplace_back(std::move(code), *range);
  }
  return products;
}

// An empty work database in a temporary folder of its own; the folder goes with this object, so
// it must outlive every connection to the file.
class TempWorkDb {
 public:
  TempWorkDb()
      : folder_(fs::temp_directory_path() / ("statind-bench-" + std::to_string(getpid()))) {
    fs::create_directories(folder_);
    utilities::createWorkDb(path());
  }
  ~TempWorkDb() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  TempWorkDb(const TempWorkDb&) = delete;
  TempWorkDb& operator=(const TempWorkDb&) = delete;

  std::string path() const { return (folder_ / "WorkDV.mdb").string(); }
  // The file opened as the program opens it: write-ahead log.
  std::unique_ptr<platform::Database> open() const {
    auto db = platform::Database::open(path());
    db->useWriteAheadLog();
    return db;
  }

 private:
  fs::path folder_;
};

// Opens `path` with `flags` and the same page cache and mapping as the store's connections, so
// that a ratio to a floor measures code, not cache.
inline sqlite3* openBare(const std::string& path, int flags) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK ||
      sqlite3_exec(db, "PRAGMA cache_size = -16384; PRAGMA mmap_size = 1073741824", nullptr,
                   nullptr, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    throw std::runtime_error("cannot open " + path);
  }
  return db;
}

inline sqlite3_stmt* prepareBare(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
      SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(db));
  return statement;
}

inline void bindText(sqlite3_stmt* statement, int position, const std::string& text,
                     sqlite3_destructor_type lifetime = SQLITE_TRANSIENT) {
  sqlite3_bind_text(statement, position, text.data(), static_cast<int>(text.size()), lifetime);
}

// Steps a statement to its end and resets it; returns a sum of what it read, so that nothing is
// optimised away.
inline double drain(sqlite3_stmt* statement) {
  double sum = 0;
  while (sqlite3_step(statement) == SQLITE_ROW)
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
      // Each column read in its stored form: asking a number for its bytes would make SQLite
      // write it out as text, work no run does. A text is taken as a run takes it, its bytes
      // and their length.
      const int type = sqlite3_column_type(statement, i);
      if (type == SQLITE_TEXT || type == SQLITE_BLOB) {
        const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(statement, i));
        const int size = sqlite3_column_bytes(statement, i);
        sum += size > 0 ? size + bytes[0] : 0;
      } else {
        sum += sqlite3_column_double(statement, i);
      }
    }
  sqlite3_reset(statement);
  return sum;
}

// The bare side of a floor: its own connections to the data and index files and the statements
// of the store's index lookup (product row, category row, "=" and "<=" seeks), prepared once.
// Further connections and statements opened through it close with it.
class BareLookup {
 public:
  BareLookup(const IndexStore& store, int flags)
      : flags_(flags), data(attach(store.dataPath)), index(attach(store.indexPath)) {
    product = prepare(data, "SELECT NoIndici, Categoria FROM TabProdotti WHERE Codice=?1");
    category = prepare(data, "SELECT Tipo FROM TabCategorie WHERE Codice=?1");
    const std::string columns = "SELECT rowid, IndProdotto, IndData, IndValoreMon FROM Indici ";
    equal = prepare(index, columns + "WHERE IndProdotto=?1 AND IndData=?2 LIMIT 1");
    lessEqual = prepare(
        index, columns + "WHERE IndProdotto=?1 AND IndData<=?2 ORDER BY IndData DESC LIMIT 1");
  }
  ~BareLookup() {
    for (auto* s : statements_) sqlite3_finalize(s);
    for (auto* db : connections_) sqlite3_close(db);
  }
  BareLookup(const BareLookup&) = delete;
  BareLookup& operator=(const BareLookup&) = delete;

  // Another file, opened as the data and index files are.
  sqlite3* attach(const std::string& path) {
    connections_.push_back(openBare(path, flags_));
    return connections_.back();
  }
  sqlite3_stmt* prepare(sqlite3* db, const std::string& sql) {
    statements_.push_back(prepareBare(db, sql));
    return statements_.back();
  }

  // `reads()` inside one read transaction per file, as the store's runs hold them.
  template <typename Reads>
  double inReadTransactions(Reads reads) {
    sqlite3_exec(data, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_exec(index, "BEGIN", nullptr, nullptr, nullptr);
    const double sum = reads();
    sqlite3_exec(index, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(data, "COMMIT", nullptr, nullptr, nullptr);
    return sum;
  }

  // The product's row, then its category's row.
  double productRows(const std::string& code) {
    double sum = 0;
    bindText(product, 1, code);
    std::string categoryCode;
    if (sqlite3_step(product) == SQLITE_ROW) {
      sum += sqlite3_column_double(product, 0);
      if (const auto* text = sqlite3_column_text(product, 1))
        categoryCode = reinterpret_cast<const char*>(text);
    }
    sqlite3_reset(product);
    bindText(category, 1, categoryCode);
    return sum + drain(category);
  }

  // `statement` run to its end with `code` and `date` bound to ?1 and ?2.
  static double seek(sqlite3_stmt* statement, const std::string& code, const std::string& date) {
    bindText(statement, 1, code);
    bindText(statement, 2, date);
    return drain(statement);
  }

 private:
  int flags_;
  std::vector<sqlite3*> connections_;
  std::vector<sqlite3_stmt*> statements_;

 public:
  // Declared after the lists above, as attach() fills them while these are initialised.
  sqlite3 *const data, *const index;
  sqlite3_stmt *product = nullptr, *category = nullptr, *equal = nullptr, *lessEqual = nullptr;
};

struct Timing {
  double wall = 0, cpu = 0;  // medians, milliseconds
};

inline double threadCpuMillis() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

inline double median(std::vector<double>& values) {
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}

// Median wall and CPU milliseconds of `work(i)` for every i in [0, count), three rounds. The
// machine may be shared: the CPU time shows what the work costs when it does not wait for a
// core or a disk.
template <typename Work>
Timing measure(std::size_t count, Work work) {
  std::vector<double> walls, cpus;
  for (int round = 0; round < 3; ++round) {
    for (std::size_t i = 0; i < count; ++i) {
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

// The line a run and its floor end with.
inline void printRatio(const std::string& name, const Timing& run, const Timing& floor) {
  std::printf(
      "%s: run median %.3f ms (cpu %.3f), floor %.3f ms (cpu %.3f), ratio %.2f (cpu %.2f)\n",
      name.c_str(), run.wall, run.cpu, floor.wall, floor.cpu, run.wall / floor.wall,
      run.cpu / floor.cpu);
}

}  // namespace benchsupport
