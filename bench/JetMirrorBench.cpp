// The mirror of a Jet index database of the benchmark's size (1,000 products x 25 years of
// business days) against its floor: libmdb's bare fetch of the same table plus the bare SQLite
// inserts of the same rows and the index build, in the same run. Also what a start on an
// unchanged installation pays per Jet file: a look at the file and at the mirror's stamp.
// The Jet file is made once from the benchmark's SQLite index database (IndiciDV.jet.mdb).
// glib first: included inside the extern "C" of mdbtools.h, its C++ parts would not compile.
#include <glib.h>
#include <mdbtools.h>
#include <sys/resource.h>

#include "BenchSupport.h"
#include "jet/Mirror.h"
#include "support/SqliteToJet.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Record {
  std::string code, date;
  double valueMon = 0, value = 0;
  bool valueMonNull = false, valueNull = false;
};

double seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// CPU seconds (user and system) of this process, or of its finished children: the mirror reads
// in a child, and the machine is shared, so CPU time compares more fairly than wall time.
double cpuSeconds(int who) {
  rusage usage{};
  ::getrusage(who, &usage);
  const auto add = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return add(usage.ru_utime) + add(usage.ru_stime);
}

// libmdb's fetch of every row of Indici, the text column converted as it must be for any use.
long long bareFetch(const std::string& jetFile) {
  MdbHandle* mdb = mdb_open(jetFile.c_str(), MDB_NOFLAGS);
  if (!mdb) throw std::runtime_error("libmdb cannot open " + jetFile);
  char name[] = "Indici";
  MdbTableDef* table = mdb_read_table_by_name(mdb, name, MDB_TABLE);
  if (!table) throw std::runtime_error("no table Indici in " + jetFile);
  mdb_read_columns(table);
  mdb_rewind_table(table);
  std::vector<char> code(MDB_BIND_SIZE);
  mdb_bind_column(table, 1, code.data(), nullptr);
  long long rows = 0;
  while (mdb_fetch_row(table)) ++rows;
  mdb_free_tabledef(table);
  mdb_close(mdb);
  return rows;
}

std::vector<Record> readRecords(const std::string& sqliteFile) {
  sqlite3* db = benchsupport::openBare(sqliteFile, SQLITE_OPEN_READONLY);
  sqlite3_stmt* query = benchsupport::prepareBare(
      db, "SELECT IndProdotto, IndData, IndValoreMon, IndValore FROM Indici ORDER BY rowid");
  std::vector<Record> records;
  while (sqlite3_step(query) == SQLITE_ROW) {
    Record& r = records.emplace_back();
    r.code = reinterpret_cast<const char*>(sqlite3_column_text(query, 0));
    r.date = reinterpret_cast<const char*>(sqlite3_column_text(query, 1));
    r.valueMonNull = sqlite3_column_type(query, 2) == SQLITE_NULL;
    r.valueMon = sqlite3_column_double(query, 2);
    r.valueNull = sqlite3_column_type(query, 3) == SQLITE_NULL;
    r.value = sqlite3_column_double(query, 3);
  }
  sqlite3_finalize(query);
  sqlite3_close(db);
  return records;
}

// The same rows into a new file with the copy's settings, then the index "primaria".
void bareInserts(const std::vector<Record>& records, const std::string& file) {
  fs::remove(file);
  sqlite3* db = benchsupport::openBare(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  sqlite3_exec(db,
               "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; PRAGMA cache_size = -131072;"
               "BEGIN; CREATE TABLE Indici (IndProdotto TEXT COLLATE NOCASE, IndData TEXT, "
               "IndValoreMon REAL, IndValore REAL)",
               nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = benchsupport::prepareBare(db, "INSERT INTO Indici VALUES (?, ?, ?, ?)");
  for (const Record& r : records) {
    sqlite3_bind_text(insert, 1, r.code.data(), static_cast<int>(r.code.size()), SQLITE_STATIC);
    sqlite3_bind_text(insert, 2, r.date.data(), static_cast<int>(r.date.size()), SQLITE_STATIC);
    if (r.valueMonNull)
      sqlite3_bind_null(insert, 3);
    else
      sqlite3_bind_double(insert, 3, r.valueMon);
    if (r.valueNull)
      sqlite3_bind_null(insert, 4);
    else
      sqlite3_bind_double(insert, 4, r.value);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  if (sqlite3_exec(db, "CREATE INDEX primaria ON Indici(IndProdotto, IndData); COMMIT", nullptr,
                   nullptr, nullptr) != SQLITE_OK)
    throw std::runtime_error(sqlite3_errmsg(db));
  sqlite3_close(db);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const fs::path folder = benchsupport::takeDataFolder(argv[0], argc, argv);
    const std::string sqliteFile = (folder / "IndiciDV.mdb").string();
    const std::string jetFile = (folder / "IndiciDV.jet.mdb").string();
    if (!fs::exists(jetFile)) {
      std::fprintf(stderr, "JetMirrorBench: writing %s\n", jetFile.c_str());
      jetfixture::copySqliteToJet({sqliteFile, jetFile, {"Indici.IndData"}});
    }
    const fs::path work = folder / "jet-mirror";
    fs::create_directories(work);
    const std::string mirror = (work / "IndiciDV.mirror.sqlite").string();
    const std::string floorFile = (work / "floor.sqlite").string();
    jet::MirrorParams params;
    params.source = jetFile;
    params.mirror = mirror;

    benchmark::RegisterBenchmark(
        "Mirror/copy",
        [&](benchmark::State& state) {
          long long rows = 0;
          for (auto _ : state) {
            fs::remove(mirror);
            const double cpu = cpuSeconds(RUSAGE_SELF) + cpuSeconds(RUSAGE_CHILDREN);
            const auto built = jet::ensureMirror(params);
            state.counters["cpu_s"] = cpuSeconds(RUSAGE_SELF) + cpuSeconds(RUSAGE_CHILDREN) - cpu;
            if (!built.rebuilt) throw std::runtime_error("the mirror was not copied");
            state.PauseTiming();
            rows = std::get<std::int64_t>(platform::Database::open(mirror)
                                              ->snapshot("SELECT count(*) FROM Indici")
                                              .front()
                                              .at(0));
            state.ResumeTiming();
          }
          state.counters["records"] = static_cast<double>(rows);
          state.counters["records/s"] = benchmark::Counter(
              static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate);
        })
        ->Unit(benchmark::kSecond)
        ->Iterations(1)
        ->Repetitions(3)
        ->UseRealTime();

    const std::vector<Record> records = readRecords(sqliteFile);
    benchmark::RegisterBenchmark(
        "Floor/fetch+inserts+index",
        [&](benchmark::State& state) {
          for (auto _ : state) {
            const double cpu = cpuSeconds(RUSAGE_SELF);
            const auto start = Clock::now();
            const long long fetched = bareFetch(jetFile);
            const double fetch = seconds(start);
            const auto insertStart = Clock::now();
            bareInserts(records, floorFile);
            state.SetIterationTime(fetch + seconds(insertStart));
            state.counters["fetch_s"] = fetch;
            state.counters["insert+index_s"] = seconds(insertStart);
            state.counters["cpu_s"] = cpuSeconds(RUSAGE_SELF) - cpu;
            if (fetched != static_cast<long long>(records.size()))
              throw std::runtime_error("libmdb fetched another number of rows");
          }
        })
        ->Unit(benchmark::kSecond)
        ->Iterations(1)
        ->Repetitions(3)
        ->UseManualTime();

    benchmark::RegisterBenchmark("Start/unchanged mirror", [&](benchmark::State& state) {
      for (auto _ : state)
        if (jet::ensureMirror(params).rebuilt) throw std::runtime_error("copied again");
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Start/open of the SQLite file", [&](benchmark::State& state) {
      for (auto _ : state) benchmark::DoNotOptimize(platform::Database::open(mirror));
    })->Unit(benchmark::kMicrosecond);

    benchsupport::runBenchmarks(argc, argv);
    fs::remove(floorFile);
    return 0;
  } catch (const std::exception& e) {
    return benchsupport::failed(argv[0], e);
  }
}
