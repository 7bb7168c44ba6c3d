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

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "indexdata/IndexLookup.h"
#include "platform/Format.h"
#include "platform/Store.h"

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

// The floor: the same reads with prepared raw statements, nothing else.
class Floor {
 public:
  Floor(const std::string& dataPath, const std::string& indexPath) {
    open(dataPath, &data_);
    open(indexPath, &index_);
    product_ = prepare(data_, "SELECT NoIndici, Categoria FROM TabProdotti WHERE Codice=?1");
    category_ = prepare(data_, "SELECT Tipo FROM TabCategorie WHERE Codice=?1");
    equal_ = prepare(index_,
                     "SELECT rowid, IndProdotto, IndData, IndValoreMon FROM Indici "
                     "WHERE IndProdotto=?1 AND IndData=?2 LIMIT 1");
    lessEqual_ = prepare(index_,
                         "SELECT rowid, IndProdotto, IndData, IndValoreMon FROM Indici "
                         "WHERE IndProdotto=?1 AND IndData<=?2 ORDER BY IndData DESC LIMIT 1");
  }
  ~Floor() {
    for (sqlite3_stmt* s : {product_, category_, equal_, lessEqual_}) sqlite3_finalize(s);
    sqlite3_close(data_);
    sqlite3_close(index_);
  }
  Floor(const Floor&) = delete;
  Floor& operator=(const Floor&) = delete;

  // One read transaction per file and lookup, as the store's lookup holds.
  double read(const Key& key) {
    sqlite3_exec(data_, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_exec(index_, "BEGIN", nullptr, nullptr, nullptr);
    const double value = readAll(key);
    sqlite3_exec(index_, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_exec(data_, "COMMIT", nullptr, nullptr, nullptr);
    return value;
  }

 private:
  double readAll(const Key& key) {
    double value = 0;
    bind(product_, key.product);
    std::string category;
    if (sqlite3_step(product_) == SQLITE_ROW) {
      value += sqlite3_column_double(product_, 0);
      if (const auto* text = sqlite3_column_text(product_, 1))
        category = reinterpret_cast<const char*>(text);
    }
    sqlite3_reset(product_);
    bind(category_, category);
    if (sqlite3_step(category_) == SQLITE_ROW) value += sqlite3_column_bytes(category_, 0);
    sqlite3_reset(category_);
    value += seek(equal_, key.product, "2199-12-31");
    value += seek(lessEqual_, key.product, key.isoDate);
    return value;
  }

  // The same page cache and mapping as the store's connections, so that the ratio measures
  // code, not cache.
  static void open(const std::string& path, sqlite3** db) {
    if (sqlite3_open_v2(path.c_str(), db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
        sqlite3_exec(*db, "PRAGMA cache_size = -16384; PRAGMA mmap_size = 1073741824", nullptr,
                     nullptr, nullptr) != SQLITE_OK)
      throw std::runtime_error("cannot open " + path);
  }
  static sqlite3_stmt* prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
        SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db));
    return statement;
  }
  static void bind(sqlite3_stmt* statement, const std::string& text, int position = 1) {
    sqlite3_bind_text(statement, position, text.data(), static_cast<int>(text.size()),
                      SQLITE_STATIC);
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

  sqlite3* data_ = nullptr;
  sqlite3* index_ = nullptr;
  sqlite3_stmt* product_ = nullptr;
  sqlite3_stmt* category_ = nullptr;
  sqlite3_stmt* equal_ = nullptr;
  sqlite3_stmt* lessEqual_ = nullptr;
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

double median(std::vector<double>& times) {
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  return times[times.size() / 2];
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

std::string dataFolder(int argc, char** argv) {
  if (argc > 1) return argv[1];
  const char* env = std::getenv("STATIND_BENCH_DATA");
  return env ? env : "";
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const std::filesystem::path folder = dataFolder(argc, argv);
  if (folder.empty()) {
    std::fprintf(stderr, "usage: %s DATA_FOLDER (or STATIND_BENCH_DATA)\n", argv[0]);
    return 64;
  }
  try {
    const std::string dataPath = (folder / "DatiDV.mdb").string();
    const std::string indexPath = (folder / "IndiciDV.mdb").string();
    auto dataDb = platform::Database::open(dataPath);
    auto indexDb = platform::Database::open(indexPath);
    auto indexTable = indexDb->openTable("Indici");
    indexTable->setIndex("primaria");
    indexdata::IndexLookup lookup(*dataDb, *indexTable, "#,###,###,##0.00");
    Floor floor(dataPath, indexPath);
    const std::vector<Key> keys = makeKeys(*dataDb, *indexDb);

    auto lookupRead = [&lookup](const Key& key) {
      return lookup.indexValueAt(key.product, key.date);
    };
    auto floorRead = [&floor](const Key& key) { return floor.read(key); };
    registerOver("BM_IndexValueAt", keys, lookupRead);
    registerOver("BM_Floor", keys, floorRead);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    // Passes alternate so that neither side profits alone from what the other brought into the
    // system's file cache.
    std::vector<double> lookupTimes, floorTimes;
    for (int pass = 0; pass < kPasses; ++pass) {
      timeEach(keys, lookupRead, lookupTimes);
      timeEach(keys, floorRead, floorTimes);
    }
    const double lookupMedian = median(lookupTimes);
    const double floorMedian = median(floorTimes);
    std::printf("indexValueAt median %.2f us, floor %.2f us, ratio %.2f\n", lookupMedian,
                floorMedian, lookupMedian / floorMedian);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  }
  return 0;
}
