#include "jet/ProgramSchema.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include "platform/Strings.h"
#include "utilities/Schema.h"

namespace jet {

namespace {

std::vector<std::string> texts(SQLite::Database& db, const std::string& sql, int column) {
  std::vector<std::string> values;
  SQLite::Statement query(db, sql);
  while (query.executeStep()) values.push_back(query.getColumn(column).getString());
  return values;
}

// A primary key shows as an automatic index the engine names itself; a copy creates it as an
// ordinary index under a name of its own.
std::string indexName(const std::string& table, const std::string& name) {
  return name.rfind("sqlite_autoindex_", 0) == 0 ? table + "_chiave" : name;
}

}  // namespace

ProgramSchema::ProgramSchema() {
  SQLite::Database db(":memory:", SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
  utilities::createDataTables(db);
  utilities::createVisitsTables(db);
  utilities::createIndexTables(db);
  for (const auto& name : texts(db, "SELECT name FROM sqlite_master WHERE type = 'table'", 0)) {
    Table& table = tables_[platform::upperCase(name)];
    const std::string quoted = "'" + name + "'";
    for (const auto& column : texts(db, "PRAGMA table_info(" + quoted + ")", 1)) {
      const char* collation = nullptr;
      sqlite3_table_column_metadata(db.getHandle(), "main", name.c_str(), column.c_str(), nullptr,
                                    &collation, nullptr, nullptr, nullptr);
      if (collation && platform::upperCase(collation) != "BINARY")
        table.collations[platform::upperCase(column)] = collation;
    }
    SQLite::Statement indexes(db, "PRAGMA index_list(" + quoted + ")");
    while (indexes.executeStep()) {
      Index index;
      const std::string engineName = indexes.getColumn(1).getString();
      index.name = indexName(name, engineName);
      index.unique = indexes.getColumn(2).getInt() != 0;
      index.columns = texts(db, "PRAGMA index_info('" + engineName + "')", 2);
      table.indexes.push_back(std::move(index));
    }
  }
}

const ProgramSchema::Table* ProgramSchema::find(const std::string& table) const {
  const auto found = tables_.find(platform::upperCase(table));
  return found == tables_.end() ? nullptr : &found->second;
}

std::string ProgramSchema::collationOf(const Table* table, const std::string& column) {
  if (!table) return "";
  const auto found = table->collations.find(platform::upperCase(column));
  return found == table->collations.end() ? "" : found->second;
}

}  // namespace jet
