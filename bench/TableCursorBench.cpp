// How far a seek through the store's index cursor stands from the same seek done with a bare
// prepared sqlite3 statement. Both sides run the same random (product, date) keys on the large
// generated index database; each comparison prints the median time per seek and the ratio.
//
// Usage: TableCursorBench DATA_FOLDER (or STATIND_BENCH_DATA=DATA_FOLDER); the folder holds
//        IndiciDV.mdb and DatiDV.mdb.
#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "platform/Store.h"

namespace {

constexpr std::size_t kKeyCount = 20000;
constexpr int kRounds = 5;

struct Key {
  std::string product;
  std::string date;
};

std::vector<Key> makeKeys(platform::Database& dataDb) {
  std::vector<std::string> products;
  for (const auto& row : dataDb.snapshot("SELECT Codice FROM TabProdotti"))
    products.push_back(platform::valueText(row.at(0)));
  std::mt19937 random(20240601);
  std::vector<Key> keys(kKeyCount);
  for (auto& key : keys) {
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", 2000 + static_cast<int>(random() % 25),
                  1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 28));
    key = {products[random() % products.size()], date};
  }
  return keys;
}

// Median nanoseconds per key of `kRounds` passes of `seek` over every key.
double medianNs(const std::vector<Key>& keys, const std::function<double(const Key&)>& seek) {
  std::vector<double> rounds;
  double sink = 0;
  for (int r = 0; r < kRounds; ++r) {
    const auto start = std::chrono::steady_clock::now();
    for (const auto& key : keys) sink += seek(key);
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    rounds.push_back(spent.count() / static_cast<double>(keys.size()));
  }
  if (sink == -1) std::puts("");  // keeps the reads from being optimised away
  return benchsupport::median(rounds);
}

// A bare statement: bind, step, read the row, reset.
double bareSeek(sqlite3_stmt* statement, const Key& key) {
  sqlite3_bind_text(statement, 1, key.product.data(), static_cast<int>(key.product.size()),
                    SQLITE_STATIC);
  sqlite3_bind_text(statement, 2, key.date.data(), static_cast<int>(key.date.size()),
                    SQLITE_STATIC);
  double value = 0;
  if (sqlite3_step(statement) == SQLITE_ROW)
    value = sqlite3_column_double(statement, 3) + sqlite3_column_bytes(statement, 1) +
            sqlite3_column_bytes(statement, 2);
  sqlite3_reset(statement);
  return value;
}

double cursorSeek(platform::TableCursor& cursor, platform::SeekOp op, const Key& key) {
  platform::Value product = key.product;  // as callers hold them: codes and ISO dates as values
  platform::Value date = key.date;
  if (!cursor.seek(op, product, date)) return 0;
  const auto& value = cursor.field("IndValoreMon");
  return (std::holds_alternative<double>(value) ? std::get<double>(value) : 0) +
         static_cast<double>(platform::valueText(cursor.field("IndProdotto")).size());
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const auto folder = benchsupport::takeDataFolder("TableCursorBench", argc, argv);
    auto dataDb = platform::Database::open((folder / "DatiDV.mdb").string());
    auto indexDb = platform::Database::open((folder / "IndiciDV.mdb").string());
    const auto keys = makeKeys(*dataDb);
    auto cursor = indexDb->openTable("Indici");
    cursor->setIndex("primaria");

    const std::string columns = "SELECT rowid, IndProdotto, IndData, IndValoreMon FROM Indici ";
    const std::vector<std::pair<platform::SeekOp, std::string>> cases = {
        {platform::SeekOp::Equal, "WHERE IndProdotto=?1 AND IndData=?2 LIMIT 1"},
        {platform::SeekOp::LessEqual,
         "WHERE IndProdotto=?1 AND IndData<=?2 ORDER BY IndData DESC LIMIT 1"},
        {platform::SeekOp::Greater,
         "WHERE IndProdotto=?1 AND IndData>?2 ORDER BY IndData LIMIT 1"}};
    const char* names[] = {"=", "<=", ">", ">="};
    sqlite3* db = indexDb->engine().getHandle();
    for (const auto& [op, where] : cases) {
      sqlite3_stmt* bare = benchsupport::prepareBare(db, columns + where);
      const double floor = medianNs(keys, [&](const Key& k) { return bareSeek(bare, k); });
      const double store = medianNs(keys, [&](const Key& k) { return cursorSeek(*cursor, op, k); });
      sqlite3_finalize(bare);
      std::printf("seek %-2s  cursor %7.0f ns  bare %7.0f ns  ratio %.2f\n",
                  names[static_cast<int>(op)], store, floor, store / floor);
    }
    return 0;
  } catch (const std::exception& e) {
    return benchsupport::failed("TableCursorBench", e);
  }
}
