// How long an all-months comparison over a product's whole history takes on the large database
// (about 300 month ends over 25 years), next to its floor: the reads the answer needs (product
// row, category row and fixed-value seek once, one "<=" seek per month end) done with bare
// prepared sqlite3 statements inside one read transaction per file, as the run holds them.
//
// Usage: CompareBench DATA_FOLDER [benchmark options]
//        (or STATIND_BENCH_DATA=DATA_FOLDER); the folder holds IndiciDV.mdb and DatiDV.mdb.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "compare/Comparison.h"

namespace {

using platform::DayNumber;

constexpr std::size_t kProducts = 40;

// The bare statements of the month-end lookups, prepared once.
class Floor {
 public:
  explicit Floor(const benchsupport::IndexStore& store) : bare_(store, SQLITE_OPEN_READONLY) {}

  double reads(const std::string& product, const std::vector<DayNumber>& days) {
    return bare_.inReadTransactions([&] {
      // The least the answer needs: the product's rows and its fixed-value record once, then
      // one "<=" seek a month end.
      double sum = bare_.productRows(product) + bare_.seek(bare_.equal, product, "2199-12-31");
      for (DayNumber day : days)
        sum += bare_.seek(bare_.lessEqual, product, platform::isoDate(day));
      return sum;
    });
  }

 private:
  benchsupport::BareLookup bare_;
};

struct Product {
  std::string code;
  statind::ProductRange range;
  std::vector<DayNumber> monthEnds;  // what the run looks up
};

struct Bench {
  std::unique_ptr<benchsupport::IndexStore> store;
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
  return compare::runComparison(*bench->store->lookup, params).chart.pointCount;
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

// The median of `work` over every product.
template <typename Work>
benchsupport::Timing measure(Work work) {
  return benchsupport::measure(bench->products.size(),
                               [&](std::size_t i) { return work(bench->products[i]); });
}

}  // namespace

int main(int argc, char** argv) {
  try {
    Bench state;
    bench = &state;
    state.store = std::make_unique<benchsupport::IndexStore>(
        benchsupport::takeDataFolder("CompareBench", argc, argv));
    state.floor = std::make_unique<Floor>(*state.store);
    // The products with the longest histories.
    for (auto& [code, range] :
         benchsupport::chooseProducts(*state.store, [](auto&) { return true; }))
      state.products.push_back({code, range, monthEnds(range)});
    std::stable_sort(state.products.begin(), state.products.end(),
                     [](auto& a, auto& b) { return a.monthEnds.size() > b.monthEnds.size(); });
    if (state.products.size() > kProducts) state.products.resize(kProducts);
    if (state.products.empty()) throw std::runtime_error("no product with index data");

    benchsupport::runBenchmarks(argc, argv);
    const auto run = measure(runOnce);
    const auto floor = measure(floorOnce);
    std::string name = "all-months comparison (";
    name += std::to_string(state.products.front().monthEnds.size());
    name += " month ends)";
    benchsupport::printRatio(name, run, floor);
    return 0;
  } catch (const std::exception& e) {
    return benchsupport::failed("CompareBench", e);
  }
}
