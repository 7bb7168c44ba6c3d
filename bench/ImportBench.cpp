// The import of a long-form price file of a million lines (160 products x 25 years of business
// days) into an empty index file, against its floor: the same records put in by one prepared
// sqlite3 insert in one transaction, with the same index on the table. Both start from a copy
// of the same empty file. Needs no data folder (one given, as scripts/bench does, is ignored).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "indeximport/FileTarget.h"
#include "indeximport/IndexImport.h"
#include "platform/Format.h"
#include "platform/Store.h"
#include "utilities/Schema.h"

namespace {

namespace fs = std::filesystem;

constexpr int kProducts = 160;
constexpr int kYears = 25;

struct Fixture {
  fs::path folder;
  std::string file;  // the price file's text
  long long lines = 0;
  std::unique_ptr<platform::Database> dataDb;

  Fixture() {
    folder = fs::temp_directory_path() / ("statind-import-bench-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    utilities::createDataDb((folder / "DatiDV.mdb").string());
    utilities::createIndexDb((folder / "empty.mdb").string());
    dataDb = platform::Database::open((folder / "DatiDV.mdb").string());
    platform::Database::Transaction tx(*dataDb);
    for (int p = 0; p < kProducts; ++p)
      dataDb->execute("INSERT INTO TabProdotti (Codice, NoIndici) VALUES (?1, 0)", {code(p)});
    tx.commit();
    const auto first = platform::dayNumber(2000, 1, 3);
    const auto last = platform::dayNumber(2000 + kYears, 1, 1);
    file.reserve(36u << 20);
    for (int p = 0; p < kProducts; ++p) {
      double value = 10 + p;
      for (auto day = first; day < last; ++day) {
        if (platform::weekday(day) > platform::kFriday) continue;
        value *= 1 + ((day * 7919 + p) % 200 - 99) / 20000.0;
        file += code(p) + ";" + platform::formatDate(day) + ";" +
                platform::formatNumber(value, "#0.0000") + "\n";
        ++lines;
      }
    }
  }
  ~Fixture() { fs::remove_all(folder); }

  static std::string code(int p) { return "FND" + std::to_string(1000 + p); }

  // A fresh copy of the empty index file.
  std::string emptyIndex() const {
    const fs::path target = folder / "IndiciDV.mdb";
    fs::copy_file(folder / "empty.mdb", target, fs::copy_options::overwrite_existing);
    return target.string();
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_ImportLongForm(benchmark::State& state) {
  Fixture& f = fixture();
  indeximport::ImportParams params;
  params.read.longForm = true;
  for (auto _ : state) {
    state.PauseTiming();
    auto db = platform::Database::open(f.emptyIndex());
    state.ResumeTiming();
    indeximport::FileTarget target(*db);
    const auto result = indeximport::importIndex(f.file, params, {*f.dataDb, target});
    if (result.total(&indeximport::ProductImport::added) != f.lines)
      throw std::runtime_error("import incomplete: " + result.message);
  }
  state.counters["lines"] = static_cast<double>(f.lines);
}

// The floor: the same records, already split and typed, inserted bare.
void BM_BareInserts(benchmark::State& state) {
  Fixture& f = fixture();
  struct Row {
    std::string code, date;
    double value;
  };
  std::vector<Row> rows;
  rows.reserve(static_cast<std::size_t>(f.lines));
  const auto first = platform::dayNumber(2000, 1, 3);
  const auto last = platform::dayNumber(2000 + kYears, 1, 1);
  for (int p = 0; p < kProducts; ++p)
    for (auto day = first; day < last; ++day)
      if (platform::weekday(day) <= platform::kFriday)
        rows.push_back({Fixture::code(p), platform::isoDate(day), 10.0 + day % 100});
  for (auto _ : state) {
    state.PauseTiming();
    const std::string path = f.emptyIndex();
    state.ResumeTiming();
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Indici (IndProdotto, IndData, IndValoreMon, IndValore) "
                       "VALUES (?1, ?2, ?3, ?3)",
                       -1, &insert, nullptr);
    for (const auto& row : rows) {
      sqlite3_bind_text(insert, 1, row.code.data(), static_cast<int>(row.code.size()),
                        SQLITE_STATIC);
      sqlite3_bind_text(insert, 2, row.date.data(), 10, SQLITE_STATIC);
      sqlite3_bind_double(insert, 3, row.value);
      if (sqlite3_step(insert) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db));
    sqlite3_close(db);
  }
  state.counters["lines"] = static_cast<double>(rows.size());
}

BENCHMARK(BM_BareInserts)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ImportLongForm)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  // scripts/bench hands every benchmark the data folder first; this one makes its own data.
  if (argc > 1 && argv[1][0] != '-') {
    for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
    --argc;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
