#include "support/SqliteToJet.h"

#include <SQLiteCpp/SQLiteCpp.h>

#include <cctype>
#include <stdexcept>
#include <vector>

#include "platform/Format.h"

namespace jetfixture {

namespace {

std::string identifier(const std::string& name) {
  std::string out = "\"";
  for (char c : name) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

ColumnType typeOf(std::string declared) {
  for (char& c : declared) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto has = [&](const char* part) { return declared.find(part) != std::string::npos; };
  if (has("INT")) return ColumnType::Long;
  if (has("REAL") || has("FLOA") || has("DOUB")) return ColumnType::Double;
  if (has("BLOB")) return ColumnType::Ole;
  return ColumnType::Text;
}

bool digits(const std::string& text, std::size_t at, std::size_t count) {
  for (std::size_t i = at; i < at + count; ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  return true;
}

// The DateTime value of "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS".
double dateValue(const std::string& text, const std::string& column) {
  const auto day = platform::parseExactIsoDate(text.substr(0, 10));
  const bool timed = text.size() == 19 && text[10] == ' ' && text[13] == ':' && text[16] == ':' &&
                     digits(text, 11, 2) && digits(text, 14, 2) && digits(text, 17, 2);
  if (!day || (text.size() != 10 && !timed))
    throw std::invalid_argument("column " + column + ": not a date: " + text);
  const auto civil = platform::civilDate(*day);
  const auto part = [&](std::size_t at) { return std::stoi(text.substr(at, 2)); };
  return timed ? jetDate(civil.year, civil.month, civil.day, part(11), part(14), part(17))
               : jetDate(civil.year, civil.month, civil.day);
}

std::vector<Column> columnsOf(SQLite::Database& db, const std::string& table,
                              const std::set<std::string>& dateColumns) {
  std::vector<Column> columns;
  SQLite::Statement info(db, "PRAGMA table_info(" + identifier(table) + ")");
  while (info.executeStep()) {
    Column c{info.getColumn(1).getString(), typeOf(info.getColumn(2).getString())};
    if (dateColumns.count(table + "." + c.name)) {
      c.type = ColumnType::DateTime;
    } else if (c.type == ColumnType::Text) {
      SQLite::Statement longest(
          db, "SELECT max(length(" + identifier(c.name) + ")) FROM " + identifier(table));
      longest.executeStep();
      if (longest.getColumn(0).getInt64() > 255) c.type = ColumnType::Memo;
    }
    columns.push_back(c);
  }
  return columns;
}

}  // namespace

std::int64_t copySqliteToJet(const SqliteToJetParams& params) {
  SQLite::Database db(params.from, SQLite::OPEN_READONLY);
  std::vector<std::string> tables;
  SQLite::Statement list(db,
                         "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                         "'sqlite\\_%' ESCAPE '\\' ORDER BY rowid");
  while (list.executeStep()) tables.push_back(list.getColumn(0).getString());

  JetWriter writer(params.to, params.version);
  std::int64_t copied = 0;
  for (const auto& table : tables) {
    const std::vector<Column> columns = columnsOf(db, table, params.dateColumns);
    writer.beginTable(table, columns);
    SQLite::Statement rows(db, "SELECT * FROM " + identifier(table) + " ORDER BY rowid");
    std::vector<Value> values(columns.size());
    while (rows.executeStep()) {
      for (std::size_t i = 0; i < columns.size(); ++i) {
        const SQLite::Column cell = rows.getColumn(static_cast<int>(i));
        if (cell.isNull()) {
          values[i] = std::monostate{};
        } else if (cell.isInteger()) {
          values[i] = cell.getInt64();
        } else if (cell.isFloat()) {
          values[i] = cell.getDouble();
        } else {
          std::string bytes(static_cast<const char*>(cell.getBlob()), cell.getBytes());
          if (columns[i].type == ColumnType::DateTime)
            values[i] = dateValue(bytes, columns[i].name);
          else
            values[i] = std::move(bytes);
        }
      }
      writer.addRow(values);
      ++copied;
    }
  }
  writer.finish();
  return copied;
}

}  // namespace jetfixture
