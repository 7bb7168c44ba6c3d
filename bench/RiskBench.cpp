// How long the risk figures of a product's whole history (every window together, with the class
// and the monthly map they draw their best and worst months from) and the monthly returns map
// alone take on the large database (25 years), or on one of longer histories, next to their
// floor: the same reads (product row, category row, fixed-value seek, then the product's
// records in one range read) done with bare prepared sqlite3 statements, with the same settings,
// inside one read transaction per file.
//
// Usage: RiskBench DATA_FOLDER [benchmark options]
//        (or STATIND_BENCH_DATA=DATA_FOLDER); the folder holds IndiciDV.mdb and DatiDV.mdb.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "risk/RiskFigures.h"

namespace {

constexpr std::size_t kProducts = 40;
constexpr int kMinYears = 25;
int years = 0;  // of the shortest history measured

// The reads of one figure run, as bare statements prepared once.
class Floor {
 public:
  explicit Floor(const benchsupport::IndexStore& store)
      : bare_(store, SQLITE_OPEN_READWRITE),
        range_(bare_.prepare(bare_.index,
                             "SELECT IndData, IndValoreMon FROM Indici WHERE IndProdotto = ?1 "
                             "ORDER BY IndData")) {}

  double reads(const std::string& product) {
    return bare_.inReadTransactions([&] {
      double sum = bare_.productRows(product);
      sum += bare_.seek(bare_.equal, product, "2199-12-31");
      benchsupport::bindText(range_, 1, product);
      return sum + benchsupport::drain(range_);
    });
  }

 private:
  benchsupport::BareLookup bare_;
  sqlite3_stmt* range_;
};

struct Bench {
  std::unique_ptr<benchsupport::IndexStore> store;
  std::unique_ptr<Floor> floor;
  std::vector<benchsupport::RangedProduct> products;
};

Bench* bench = nullptr;

double figuresOnce(std::size_t i) {
  const auto& [code, range] = bench->products[i % bench->products.size()];
  risk::RiskParams params;
  params.product = code;
  params.range = range;
  const auto result = risk::computeRisk(*bench->store->lookup, params);
  return result.windows.back().change + result.mrm.returns;
}

double mapOnce(std::size_t i) {
  const auto& [code, range] = bench->products[i % bench->products.size()];
  auto series =
      risk::IndexSeries::read(*bench->store->lookup, code, statind::StartRule::FirstUseful);
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

void report(const std::string& name, double (*work)(std::size_t)) {
  const std::size_t count = bench->products.size();
  const auto run = benchsupport::measure(count, work);
  benchsupport::printRatio(name + " (" + std::to_string(years) + " years)", run,
                           benchsupport::measure(count, &floorOnce));
}

}  // namespace

int main(int argc, char** argv) {
  try {
    Bench state;
    bench = &state;
    state.store = std::make_unique<benchsupport::IndexStore>(
        benchsupport::takeDataFolder("RiskBench", argc, argv));
    state.floor = std::make_unique<Floor>(*state.store);
    state.products = benchsupport::chooseProducts(
        *state.store, [](auto& r) { return r.lastYear - r.firstYear + 1 >= kMinYears; }, kProducts);
    if (state.products.empty())
      throw std::runtime_error("no product with " + std::to_string(kMinYears) + " years");
    years = std::numeric_limits<int>::max();
    for (const auto& [code, range] : state.products)
      years = std::min(years, range.lastYear - range.firstYear + 1);

    benchsupport::runBenchmarks(argc, argv);
    report("risk figures, all windows", &figuresOnce);
    report("monthly returns map", &mapOnce);
    return 0;
  } catch (const std::exception& e) {
    return benchsupport::failed("RiskBench", e);
  }
}
