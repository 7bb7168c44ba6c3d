// How far the index lookup stands from the bare indexed reads it cannot avoid. Both sides run
// on the same random (product, date) pairs of the large generated database: indexValueAt
// through the store, and the floor doing the product row, the category row, the "=" seek on the
// fixed-value date and the "<=" seek with the raw sqlite3 API. Prints the medians and their ratio
// at the end.
//
// Usage: IndexLookupBench DATA_FOLDER [benchmark options]
//        (or STATIND_BENCH_DATA=DATA_FOLDER); the folder holds IndiciDV.mdb and DatiDV.mdb.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "platform/Format.h"

namespace {

constexpr std::size_t kKeyCount = 10000;
constexpr unsigned kSeed = 20240601;
constexpr int kPasses = 3;

struct Key {
  std::string product;
  platform::DayNumber date;
  std::string isoDate;
};

// The keys: products from TabProdotti, dates spread over the history of the first product and
// a month either side of it, so that a few lookups fall before the first record.
std::vector<Key> makeKeys(platform::Database& dataDb, platform::Database& indexDb) {
  std::vector<std::string> products;
  for (const auto& row : dataDb.snapshot("SELECT Codice FROM TabProdotti ORDER BY Codice"))
    products.push_back(platform::valueText(row.at(0)));
  if (products.empty()) throw std::runtime_error("TabProdotti is empty");
  const auto range = indexDb.snapshot(
      "SELECT MIN(IndData), MAX(IndData) FROM Indici WHERE IndProdotto=?1", {products.front()});
  const auto first = platform::parseIsoDate(platform::valueText(range.at(0).at(0)));
  const auto last = platform::parseIsoDate(platform::valueText(range.at(0).at(1)));
  if (!first || !last) throw std::runtime_error("no index records for " + products.front());
  std::mt19937 random(kSeed);
  std::uniform_int_distribution<std::size_t> pickProduct(0, products.size() - 1);
  std::uniform_int_distribution<platform::DayNumber> pickDate(*first - 30, *last + 30);
  std::vector<Key> keys;
  for (std::size_t i = 0; i < kKeyCount; ++i) {
    const platform::DayNumber date = pickDate(random);
    keys.push_back({products[pickProduct(random)], date, platform::isoDate(date)});
  }
  return keys;
}

// The floor: the same reads with prepared raw statements, nothing else; each statement is
// stepped to its first row only.
class Floor {
 public:
  explicit Floor(const benchsupport::IndexStore& store) : bare_(store, SQLITE_OPEN_READONLY) {}

  // One read transaction per file and lookup, as the store's lookup holds.
  double read(const Key& key) {
    return bare_.inReadTransactions([&] { return readAll(key); });
  }

 private:
  double readAll(const Key& key) {
    double value = 0;
    bind(bare_.product, key.product);
    std::string category;
    if (sqlite3_step(bare_.product) == SQLITE_ROW) {
      value += sqlite3_column_double(bare_.product, 0);
      if (const auto* text = sqlite3_column_text(bare_.product, 1))
        category = reinterpret_cast<const char*>(text);
    }
    sqlite3_reset(bare_.product);
    bind(bare_.category, category);
    if (sqlite3_step(bare_.category) == SQLITE_ROW)
      value += sqlite3_column_bytes(bare_.category, 0);
    sqlite3_reset(bare_.category);
    value += seek(bare_.equal, key.product, "2199-12-31");
    value += seek(bare_.lessEqual, key.product, key.isoDate);
    return value;
  }

  static void bind(sqlite3_stmt* statement, const std::string& text, int position = 1) {
    benchsupport::bindText(statement, position, text, SQLITE_STATIC);
  }
  static double seek(sqlite3_stmt* statement, const std::string& product, const std::string& date) {
    bind(statement, product);
    bind(statement, date, 2);
    double value = 0;
    if (sqlite3_step(statement) == SQLITE_ROW) {
      value = sqlite3_column_double(statement, 3) + sqlite3_column_bytes(statement, 1) +
              sqlite3_column_bytes(statement, 2) +
              static_cast<double>(sqlite3_column_int64(statement, 0));
    }
    sqlite3_reset(statement);
    return value;
  }

  benchsupport::BareLookup bare_;
};

// Times one call of `read` for every key, appending the microseconds to `times`.
template <typename Read>
void timeEach(const std::vector<Key>& keys, Read read, std::vector<double>& times) {
  double sink = 0;
  for (const Key& key : keys) {
    const auto start = std::chrono::steady_clock::now();
    sink += read(key);
    const auto stop = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::micro>(stop - start).count());
  }
  benchmark::DoNotOptimize(sink);
}

template <typename Read>
void registerOver(const char* name, const std::vector<Key>& keys, Read read) {
  benchmark::RegisterBenchmark(name, [&keys, read](benchmark::State& state) mutable {
    std::size_t next = 0;
    for (auto _ : state) {
      benchmark::DoNotOptimize(read(keys[next]));
      next = (next + 1) % keys.size();
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  try {
    benchsupport::IndexStore store(benchsupport::takeDataFolder("IndexLookupBench", argc, argv));
    Floor floor(store);
    const std::vector<Key> keys = makeKeys(*store.dataDb, *store.indexDb);

    auto lookupRead = [&store](const Key& key) {
      return store.lookup->indexValueAt(key.product, key.date);
    };
    auto floorRead = [&floor](const Key& key) { return floor.read(key); };
    registerOver("BM_IndexValueAt", keys, lookupRead);
    registerOver("BM_Floor", keys, floorRead);
    benchsupport::runBenchmarks(argc, argv);

    // Passes alternate so that neither side profits alone from what the other brought into the
    // system's file cache.
    std::vector<double> lookupTimes, floorTimes;
    for (int pass = 0; pass < kPasses; ++pass) {
      timeEach(keys, lookupRead, lookupTimes);
      timeEach(keys, floorRead, floorTimes);
    }
    const double lookupMedian = benchsupport::median(lookupTimes);
    const double floorMedian = benchsupport::median(floorTimes);
    std::printf("indexValueAt median %.2f us, floor %.2f us, ratio %.2f\n", lookupMedian,
                floorMedian, lookupMedian / floorMedian);
    return 0;
  } catch (const std::exception& e) {
    return benchsupport::failed("IndexLookupBench", e);
  }
}
