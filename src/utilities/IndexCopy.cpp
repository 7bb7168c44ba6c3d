#include "utilities/IndexCopy.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <algorithm>
#include <stdexcept>

#include "platform/Format.h"
#include "platform/PgIndexCursor.h"
#include "platform/SqlStatement.h"
#include "platform/TextEncoding.h"

namespace utilities {

namespace {

using platform::Value;

// A stored value as the server's double column holds it: numbers as they are, anything else
// Null (`blanked` counts the texts so lost).
Value asNumber(const Value& value, long long& blanked) {
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return static_cast<double>(*whole);
  if (std::holds_alternative<double>(value) || platform::isNull(value)) return value;
  ++blanked;
  return {};
}

std::string insertSql(std::size_t rows) {
  std::string sql = "INSERT INTO indici (indprodotto, inddata, indvaloremon, indvalore) VALUES ";
  for (std::size_t i = 0; i < rows; ++i) {
    sql += (i ? ",($" : "($") + std::to_string(i * 4 + 1) + ",$" + std::to_string(i * 4 + 2) +
           "::date,$" + std::to_string(i * 4 + 3) + "::float8,$" + std::to_string(i * 4 + 4) +
           "::float8)";
  }
  return sql;
}

}  // namespace

IndexCopyResult copyIndexToServer(platform::Database& source, platform::PgConnection& target,
                                  const IndexCopyParams& params) {
  IndexCopyResult result;
  platform::PgIndexCursor::createSchema(target);
  platform::PgConnection::Transaction transaction(target);
  const auto held = target.run("SELECT count(*) FROM indici");
  const auto present = std::get<std::int64_t>(held.front().at(0));
  if (present > 0) {
    if (!params.replace) {
      transaction.abandon();
      throw std::runtime_error("il database " + target.name() + " contiene già " +
                               std::to_string(present) + " indici (--replace per sostituirli)");
    }
    target.run("DELETE FROM indici");
  }

  platform::Database::ReadScope reading(source);
  sqlite3* file = source.engine().getHandle();
  platform::SqlStatement count(file, "SELECT count(*) FROM Indici");
  count.step();
  const long long total = count.readInt(0);
  platform::SqlStatement rows(
      file, "SELECT IndProdotto, IndData, IndValoreMon, IndValore FROM Indici ORDER BY rowid");
  const std::size_t batch = static_cast<std::size_t>(std::max(1, params.batch));
  const std::string fullBatch = insertSql(batch);
  std::vector<Value> values;
  long long done = 0;
  const auto flush = [&] {
    if (values.empty()) return;
    const std::size_t records = values.size() / 4;
    target.run(records == batch ? fullBatch : insertSql(records), values);
    result.copied += static_cast<long long>(records);
    values.clear();
    if (params.progress) params.progress(done, total);
  };
  Value code, date, value, valueMon;
  while (rows.step()) {
    ++done;
    rows.read(0, code);
    rows.read(1, date);
    rows.read(2, valueMon);
    rows.read(3, value);
    const auto day = platform::parseIsoDate(platform::valueText(date));
    if (platform::isNull(code) || !day) {
      ++result.skipped;
      continue;
    }
    std::string text = platform::valueText(code);
    if (!platform::isValidUtf8(text)) text = platform::cp1252ToUtf8(text);
    values.push_back(std::move(text));
    values.push_back(platform::isoDate(*day));
    values.push_back(asNumber(valueMon, result.blanked));
    values.push_back(asNumber(value, result.blanked));
    if (values.size() == batch * 4) flush();
  }
  flush();
  // The planner's figures for the new rows, so that the very first lookups use the index.
  target.run("ANALYZE indici");
  return result;
}

}  // namespace utilities
