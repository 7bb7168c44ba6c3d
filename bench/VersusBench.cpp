// How long a comparison of eight products over 25 years takes on the large database (every
// product read, figures, years, pairs against the benchmark, the whole correlation matrix and
// the rebased chart), next to its floor: the same reads (each product's row and description,
// its category's row, its fixed-value seek, then its records in one range read) done with bare
// prepared sqlite3 statements, with the same settings, inside one read transaction per file.
//
// Usage: VersusBench DATA_FOLDER [benchmark options]
//        (or STATIND_BENCH_DATA=DATA_FOLDER); the folder holds IndiciDV.mdb and DatiDV.mdb.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "risk/IndexSeries.h"
#include "versus/Versus.h"

namespace {

constexpr std::size_t kProducts = 40, kCompared = 8;
constexpr int kMinYears = 25;

// The reads of one comparison, as bare statements prepared once.
class Floor {
 public:
  explicit Floor(const benchsupport::IndexStore& store)
      : bare_(store, SQLITE_OPEN_READWRITE),
        description_(bare_.prepare(
            bare_.data, "SELECT Codice, Descrizione FROM TabProdotti WHERE Codice = ?1")),
        range_(bare_.prepare(bare_.index,
                             "SELECT IndData, IndValoreMon FROM Indici WHERE IndProdotto = ?1 "
                             "ORDER BY IndData")) {}

  double reads(const std::vector<std::string>& products) {
    return bare_.inReadTransactions([&] {
      double sum = 0;
      for (const std::string& product : products) {
        benchsupport::bindText(description_, 1, product);
        sum += benchsupport::drain(description_);
        sum += bare_.productRows(product);
        sum += bare_.seek(bare_.equal, product, "2199-12-31");
        sum += records(product);
      }
      return sum;
    });
  }

 private:
  // The product's records as the run reads them: the date's text and the value as a number
  // (draining both columns as text would add a conversion the run does not make).
  double records(const std::string& product) {
    benchsupport::bindText(range_, 1, product);
    double sum = 0;
    while (sqlite3_step(range_) == SQLITE_ROW)
      sum += sqlite3_column_bytes(range_, 0) + sqlite3_column_double(range_, 1);
    sqlite3_reset(range_);
    return sum;
  }

  benchsupport::BareLookup bare_;
  sqlite3_stmt* description_;
  sqlite3_stmt* range_;
};

struct Bench {
  std::unique_ptr<benchsupport::IndexStore> store;
  std::unique_ptr<Floor> floor;
  std::vector<std::string> products;
};

Bench* bench = nullptr;

// The i-th set of eight products, taken in turn from those chosen.
std::vector<std::string> compared(std::size_t i) {
  std::vector<std::string> codes;
  for (std::size_t k = 0; k < kCompared; ++k)
    codes.push_back(bench->products[(i * kCompared + k) % bench->products.size()]);
  return codes;
}

double versusOnce(std::size_t i) {
  versus::VersusParams params;
  params.products = compared(i);
  params.benchmark = params.products.front();
  const auto result = versus::computeVersus(*bench->store->lookup, params);
  return result.products.back().figures.change + result.chart.values.back().back();
}

// Only the reading: the eight products' records as the risk figures read them, in one hold.
double readsOnce(std::size_t i) {
  indexdata::IndexLookup& lookup = *bench->store->lookup;
  platform::Database::ReadScope dataScope(lookup.dataDb());
  const auto hold = lookup.indexTable().hold();
  double sum = 0;
  for (const std::string& code : compared(i))
    sum += static_cast<double>(
        risk::IndexSeries::read(lookup, code, statind::StartRule::FirstUseful).usable().size());
  return sum;
}

double floorOnce(std::size_t i) {
  return bench->floor->reads(compared(i));
}

template <double (*Work)(std::size_t)>
void run(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(Work(i++));
}
BENCHMARK(run<versusOnce>)->Name("BM_VersusEightProducts25Years")->Unit(benchmark::kMillisecond);
BENCHMARK(run<readsOnce>)->Name("BM_EightSeriesRead")->Unit(benchmark::kMillisecond);
BENCHMARK(run<floorOnce>)->Name("BM_EightRangeReadsFloor")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  try {
    Bench state;
    bench = &state;
    state.store = std::make_unique<benchsupport::IndexStore>(
        benchsupport::takeDataFolder("VersusBench", argc, argv));
    state.floor = std::make_unique<Floor>(*state.store);
    for (auto& [code, range] : benchsupport::chooseProducts(
             *state.store, [](auto& r) { return r.lastYear - r.firstYear + 1 >= kMinYears; },
             kProducts))
      state.products.push_back(code);
    if (state.products.size() < kCompared)
      throw std::runtime_error("fewer than 8 products with " + std::to_string(kMinYears) +
                               " years");

    benchsupport::runBenchmarks(argc, argv);
    const std::size_t sets = state.products.size();
    const auto floor = benchsupport::measure(sets, &floorOnce);
    benchsupport::printRatio("comparison of 8 products over 25 years",
                             benchsupport::measure(sets, &versusOnce), floor);
    benchsupport::printRatio("their records read as the risk figures read them",
                             benchsupport::measure(sets, &readsOnce), floor);
    return 0;
  } catch (const std::exception& e) {
    return benchsupport::failed("VersusBench", e);
  }
}
