// A year view and an all-months comparison over 25 years, on the large index database as a
// file and on a PostgreSQL server holding the same records, with the statements each run sends
// to the server (one round trip each). Each figure's floor is its run's one range read done
// bare: a prepared sqlite3 statement on the file, one libpq statement on the server.
//
// Usage: IndexServerBench DATA_FOLDER [benchmark options]
//        (or STATIND_BENCH_DATA=DATA_FOLDER). STATIND_BENCH_PG names the server database
//        (postgresql://user@host:port/dbname); when its indici is empty the file's records are
//        copied there first. Without it only the file is measured.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "compare/Comparison.h"
#include "indexdata/IndexLookup.h"
#include "platform/PgIndexCursor.h"
#include "platform/ScriptedDesktop.h"
#include "statind/PeriodStatistics.h"
#include "utilities/IndexCopy.h"

namespace {

constexpr std::size_t kProducts = 40;
constexpr int kYear = 2012;

struct Bench {
  std::unique_ptr<benchsupport::IndexStore> file;
  std::unique_ptr<platform::Database> workDb;
  std::unique_ptr<platform::PgConnection> server;
  std::unique_ptr<platform::PgIndexCursor> serverCursor;
  std::unique_ptr<indexdata::IndexLookup> serverLookup;
  sqlite3* raw = nullptr;
  sqlite3_stmt* rawSpan = nullptr;
  PGconn* rawServer = nullptr;
  std::vector<benchsupport::RangedProduct> products;
  platform::ScriptedDesktop desktop;
};

Bench* bench = nullptr;

double yearView(indexdata::IndexLookup& lookup, std::size_t i) {
  const auto& [code, range] = bench->products[i % bench->products.size()];
  statind::StatContext context{lookup, *bench->workDb, bench->desktop};
  return static_cast<double>(
      statind::runStatistics(context, {code, kYear, 0, statind::StartRule::FirstUseful, range})
          .rows.size());
}

double comparison(indexdata::IndexLookup& lookup, std::size_t i) {
  const auto& [code, range] = bench->products[i % bench->products.size()];
  compare::CompareParams params{
      code,  range.firstYear, range.lastYear, 0, statind::StartRule::FirstUseful,
      false, range,           19320};
  return static_cast<double>(compare::runComparison(lookup, params).chart.points.size());
}

// The bare range read of the years [first, last] of product `i`.
double fileFloor(std::size_t i, int first, int last) {
  const std::string& code = bench->products[i % bench->products.size()].first;
  const std::string from = std::to_string(first - 1) + "-12-31",
                    to = std::to_string(last) + "-12-31";
  sqlite3_exec(bench->raw, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_bind_text(bench->rawSpan, 1, code.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(bench->rawSpan, 2, from.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(bench->rawSpan, 3, to.c_str(), -1, SQLITE_TRANSIENT);
  double sum = 0;
  while (sqlite3_step(bench->rawSpan) == SQLITE_ROW)
    sum += sqlite3_column_double(bench->rawSpan, 2);
  sqlite3_reset(bench->rawSpan);
  sqlite3_exec(bench->raw, "COMMIT", nullptr, nullptr, nullptr);
  return sum;
}

double serverFloor(std::size_t i, int first, int last) {
  const std::string& code = bench->products[i % bench->products.size()].first;
  const std::string from = std::to_string(first - 1) + "-12-31",
                    to = std::to_string(last) + "-12-31";
  const char* values[] = {code.c_str(), from.c_str(), to.c_str()};
  PGresult* result = PQexecParams(
      bench->rawServer,
      "SELECT ctid, inddata, indvaloremon FROM indici WHERE lower(indprodotto COLLATE \"C\") = "
      "lower($1::text COLLATE \"C\") AND inddata > $2::date AND inddata <= $3::date",
      3, nullptr, values, nullptr, nullptr, 0);
  const double rows = PQntuples(result);
  PQclear(result);
  return rows;
}

void BM_YearViewFile(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(yearView(*bench->file->lookup, i++));
}
void BM_YearViewFileFloor(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(fileFloor(i++, kYear - 2, kYear));
}
void BM_Compare25File(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(comparison(*bench->file->lookup, i++));
}
void BM_Compare25FileFloor(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& range = bench->products[i % bench->products.size()].second;
    benchmark::DoNotOptimize(fileFloor(i++, range.firstYear, range.lastYear));
  }
}

// Runs `run` on the server and reports the statements sent per run.
template <typename Run>
void onServer(benchmark::State& state, Run run) {
  if (!bench->server) {
    state.SkipWithError("STATIND_BENCH_PG not set");
    return;
  }
  const auto before = bench->server->statements();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(run(*bench->serverLookup, i++));
  state.counters["statements"] = static_cast<double>(bench->server->statements() - before) /
                                 static_cast<double>(std::max<std::size_t>(i, 1));
}
void BM_YearViewServer(benchmark::State& state) {
  onServer(state, yearView);
}
void BM_Compare25Server(benchmark::State& state) {
  onServer(state, comparison);
}
void BM_YearViewServerFloor(benchmark::State& state) {
  if (!bench->rawServer) return state.SkipWithError("STATIND_BENCH_PG not set");
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(serverFloor(i++, kYear - 2, kYear));
}
void BM_Compare25ServerFloor(benchmark::State& state) {
  if (!bench->rawServer) return state.SkipWithError("STATIND_BENCH_PG not set");
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& range = bench->products[i % bench->products.size()].second;
    benchmark::DoNotOptimize(serverFloor(i++, range.firstYear, range.lastYear));
  }
}

BENCHMARK(BM_YearViewFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YearViewFileFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compare25File)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compare25FileFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YearViewServer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YearViewServerFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compare25Server)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compare25ServerFloor)->Unit(benchmark::kMillisecond);

void openServer(Bench& state, const std::string& uri) {
  state.server = platform::PgConnection::open(uri);
  platform::PgIndexCursor::createSchema(*state.server);
  if (std::get<std::int64_t>(state.server->run("SELECT count(*) FROM indici").front().at(0)) == 0) {
    std::fprintf(stderr, "IndexServerBench: copying the index database to the server\n");
    utilities::copyIndexToServer(*state.file->indexDb, *state.server, {});
  }
  state.serverCursor = std::make_unique<platform::PgIndexCursor>(*state.server);
  state.serverLookup = std::make_unique<indexdata::IndexLookup>(
      *state.file->dataDb, *state.serverCursor, "#,###,###,##0.00");
  state.rawServer = PQconnectdb(uri.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const auto folder = benchsupport::takeDataFolder("IndexServerBench", argc, argv);
    const benchsupport::TempWorkDb work;
    Bench state;
    bench = &state;
    state.file = std::make_unique<benchsupport::IndexStore>(folder);
    state.workDb = work.open();
    state.raw = benchsupport::openBare(state.file->indexPath, SQLITE_OPEN_READONLY);
    state.rawSpan = benchsupport::prepareBare(
        state.raw,
        "SELECT rowid, IndData, IndValoreMon FROM Indici WHERE IndProdotto = ?1 AND "
        "IndData > ?2 AND IndData <= ?3 ORDER BY IndProdotto, IndData");
    if (const char* uri = std::getenv("STATIND_BENCH_PG")) openServer(state, uri);
    state.products = benchsupport::chooseProducts(
        *state.file, [](auto& r) { return r.firstYear < kYear - 2 && r.lastYear > kYear; },
        kProducts);
    if (state.products.empty())
      throw std::runtime_error("no product covers " + std::to_string(kYear));
    benchsupport::runBenchmarks(argc, argv);
    sqlite3_finalize(state.rawSpan);
    sqlite3_close(state.raw);
    if (state.rawServer) PQfinish(state.rawServer);
    return 0;
  } catch (const std::exception& e) {
    return benchsupport::failed("IndexServerBench", e);
  }
}
