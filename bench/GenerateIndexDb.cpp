// Writes the large database the benchmarks run on: IndiciDV.mdb with 1,000 products x 25 years
// of business-day values (03/01/2000 - 31/12/2024, about 6.5 million records) and a matching
// DatiDV.mdb (TabProdotti, TabGruppi, TabCategorie and the other data tables). Deterministic:
// the same files on every run. Other numbers of years end on 31/12/2024 too.
//
// Usage: GenerateIndexDb DATA_FOLDER [PRODUCTS [YEARS]]
// The files are written under a temporary name and renamed when complete, so a present file is
// always a whole one; existing files of these names are replaced.
#include <SQLiteCpp/SQLiteCpp.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "utilities/BusinessDays.h"
#include "utilities/DemoCatalogue.h"
#include "utilities/IndexWriter.h"
#include "utilities/MarketPath.h"
#include "utilities/PortableRandom.h"
#include "utilities/PriceWalk.h"
#include "utilities/ProductWriter.h"
#include "utilities/Schema.h"

namespace {

namespace fs = std::filesystem;
using platform::DayNumber;
using utilities::DemoProduct;

constexpr std::uint32_t kSeed = 6500000;

struct BenchProduct {
  std::string code, description, currency, group, category;
  DemoProduct shape;  // drives the walk
};

// Products cycle through the demo's indexed categories, each in the group the demo gives that
// category; every sixth is quoted in dollars.
std::vector<BenchProduct> makeProducts(int count) {
  using utilities::DemoCatalogue;
  std::vector<BenchProduct> products;
  std::vector<const utilities::DemoCategory*> categories;
  for (const auto& c : DemoCatalogue::categories())
    if (c.type != "S") categories.push_back(&c);
  utilities::PortableRandom random(kSeed);
  for (int i = 0; i < count; ++i) {
    const auto& category = *categories[i % categories.size()];
    std::string group = "A";
    for (const auto& p : DemoCatalogue::products())
      if (p.category == category.code) group = std::string(p.group);
    char code[16];
    std::snprintf(code, sizeof code, "%s%05d", group.c_str(), i + 1);
    BenchProduct p{code,
                   std::string(category.description) + " n. " + std::to_string(i + 1),
                   i % 6 == 5 ? "USD" : "EUR",
                   group,
                   std::string(category.code),
                   {}};
    p.shape.group = p.group;
    p.shape.startValue = random.between(5, 20);
    p.shape.risk = 0.5 + random.uniform();
    p.shape.yearlyCost = 0.0;
    products.push_back(std::move(p));
  }
  return products;
}

void writeDataDb(const fs::path& file, const std::vector<BenchProduct>& products) {
  utilities::createDataDb(file.string());
  SQLite::Database db(file.string(), SQLite::OPEN_READWRITE);
  SQLite::Transaction tx(db);
  utilities::ProductWriter writer(db);
  for (const auto& g : utilities::DemoCatalogue::groups())
    writer.addGroup(std::string(g.code), std::string(g.description));
  for (const auto& c : utilities::DemoCatalogue::categories())
    writer.addCategory(std::string(c.code), std::string(c.description), std::string(c.type));
  for (const auto& p : products)
    writer.addProduct(p.code, p.description, p.currency, p.group, p.category, false);
  tx.commit();
}

void writeIndexDb(const fs::path& file, const std::vector<BenchProduct>& products, DayNumber first,
                  DayNumber last) {
  SQLite::Database db(file.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
  // A throw-away file until it is renamed: no journal, no syncing, big pages and cache.
  db.exec("PRAGMA page_size = 8192");
  db.exec("PRAGMA journal_mode = OFF");
  db.exec("PRAGMA synchronous = OFF");
  db.exec("PRAGMA cache_size = -131072");
  db.exec("PRAGMA locking_mode = EXCLUSIVE");
  utilities::createIndexTableOnly(db);
  const utilities::MarketPath market(first, last, utilities::PortableRandom::seedFor(kSeed, "m"));
  SQLite::Transaction tx(db);
  utilities::IndexWriter writer(db);
  int shownPercent = -1;
  for (std::size_t i = 0; i < products.size(); ++i) {
    const auto& p = products[i];
    utilities::PriceWalk walk(utilities::DemoCatalogue::walkFor(p.shape),
                              utilities::PortableRandom::seedFor(kSeed, p.code));
    for (DayNumber day = first; day <= last; ++day) {
      if (!utilities::isBusinessDay(day)) continue;
      const double value = day == first ? walk.value() : walk.step(market.returnOn(day));
      const double stored = static_cast<double>(static_cast<long long>(value * 1000 + 0.5)) / 1000;
      writer.add(p.code, day, stored, stored);
    }
    const int percent = static_cast<int>((i + 1) * 90 / products.size());
    if (percent != shownPercent) {
      std::printf("\r%3d%% inserting records", percent);
      std::fflush(stdout);
      shownPercent = percent;
    }
  }
  tx.commit();
  std::printf("\r 90%% building index primaria");
  std::fflush(stdout);
  utilities::createIndexTableIndex(db);
  db.exec("ANALYZE");
  std::printf("\r100%% done, %lld records          \n",
              static_cast<long long>(writer.rowsWritten()));
}

void removeWithJournal(const fs::path& file) {
  for (const char* suffix : {"", "-journal", "-wal", "-shm"})
    fs::remove(fs::path(file.string() + suffix));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: %s DATA_FOLDER [PRODUCTS [YEARS]]\n", argv[0]);
    return 64;
  }
  try {
    const fs::path folder = argv[1];
    const int productCount = argc > 2 ? std::stoi(argv[2]) : 1000;
    const int years = argc > 3 ? std::stoi(argv[3]) : 25;
    if (productCount < 1 || years < 1 || years > 100)
      throw std::invalid_argument("PRODUCTS must be at least 1 and YEARS between 1 and 100");
    // Histories that end before today, whatever their length, as real ones do.
    const DayNumber first =
        utilities::firstBusinessDayFrom(platform::dayNumber(2025 - years, 1, 1));
    const DayNumber last = platform::dayNumber(2024, 12, 31);
    const auto started = std::chrono::steady_clock::now();
    fs::create_directories(folder);
    const fs::path data = folder / "DatiDV.mdb", index = folder / "IndiciDV.mdb";
    const fs::path dataPart = folder / "DatiDV.mdb.part", indexPart = folder / "IndiciDV.mdb.part";
    removeWithJournal(dataPart);
    removeWithJournal(indexPart);
    const auto products = makeProducts(productCount);
    writeDataDb(dataPart, products);
    writeIndexDb(indexPart, products, first, last);
    removeWithJournal(data);
    removeWithJournal(index);
    fs::rename(dataPart, data);
    fs::rename(indexPart, index);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::printf("wrote %s and %s in %.1f s\n", index.string().c_str(), data.string().c_str(),
                took.count());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "GenerateIndexDb: %s\n", e.what());
    return 2;
  }
}
