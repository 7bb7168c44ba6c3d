#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "platform/SqlStatement.h"
#include "platform/Store.h"

namespace platform {

namespace {

// The store's own bookkeeping table of links, listed among the definitions as a system object.
constexpr const char* kLinksTable = "MSysLinks";
constexpr std::string_view kConnectPrefix = ";DATABASE=";

std::string lower(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

// The file named by a link's connect string; throws when the string names none.
std::string linkedFile(const std::string& connect) {
  if (connect.size() <= kConnectPrefix.size() ||
      lower(connect.substr(0, kConnectPrefix.size())) != lower(kConnectPrefix))
    throw StoreError("connect string names no database: '" + connect + "'", SQLITE_ERROR);
  return connect.substr(kConnectPrefix.size());
}

std::string sourceOf(const TableDef& def) {
  return def.sourceTableName.empty() ? def.name : def.sourceTableName;
}

std::string textAt(SqlStatement& statement, int column) {
  Value value;
  statement.read(column, value);
  return valueText(value);
}

void run(Database& db, const std::string& sql, const std::vector<Value>& params = {}) {
  SqlStatement statement(db.engine().getHandle(), sql);
  statement.bindAll(params);
  while (statement.step()) {
  }
}

}  // namespace

std::vector<TableDef> TableDefs::links() {
  std::vector<TableDef> found;
  SqlStatement exists(db_.engine().getHandle(),
                      "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1");
  exists.bindAll({kLinksTable});
  if (!exists.step()) return found;
  SqlStatement rows(db_.engine().getHandle(),
                    "SELECT Name, Connect, SourceTableName, Attributes FROM MSysLinks");
  while (rows.step())
    found.push_back({textAt(rows, 0), rows.readInt(3), textAt(rows, 1), textAt(rows, 2)});
  return found;
}

std::vector<TableDef> TableDefs::all() {
  std::vector<TableDef> defs = links();
  SqlStatement tables(db_.engine().getHandle(),
                      "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                      "'sqlite!_%' ESCAPE '!'");
  while (tables.step()) {
    TableDef def;
    def.name = textAt(tables, 0);
    if (lower(def.name) == lower(kLinksTable)) def.attributes = TableDef::kSystemObject;
    defs.push_back(def);
  }
  std::sort(defs.begin(), defs.end(),
            [](const TableDef& a, const TableDef& b) { return lower(a.name) < lower(b.name); });
  return defs;
}

int TableDefs::count() {
  return static_cast<int>(all().size());
}

TableDef TableDefs::item(int position) {
  const auto defs = all();
  if (position < 0 || position >= static_cast<int>(defs.size()))
    throw StoreError("no table definition at position " + std::to_string(position), SQLITE_RANGE);
  return defs[static_cast<std::size_t>(position)];
}

std::optional<TableDef> TableDefs::find(const std::string& name) {
  for (auto& def : all())
    if (lower(def.name) == lower(name)) return def;
  return std::nullopt;
}

void TableDefs::remove(const std::string& name) {
  const auto def = find(name);
  if (!def) throw StoreError("no such table definition: " + name, SQLITE_ERROR);
  if (def->attributes & TableDef::kAttachedTable) return removeLink(def->name);
  if (def->attributes & TableDef::kSystemObject)
    throw StoreError("cannot remove system object " + def->name, SQLITE_ERROR);
  run(db_, "DROP TABLE " + SqlStatement::quote(def->name));
}

void TableDefs::removeLink(const std::string& name) {
  {
    Database::Transaction tx(db_);
    run(db_, "DELETE FROM MSysLinks WHERE Name = ?1", {name});
    attachments_.dropView(name);
    tx.commit();
  }
  detachUnused();
}

void TableDefs::append(const TableDef& def) {
  if (def.name.empty()) throw StoreError("a table definition needs a name", SQLITE_ERROR);
  if (find(def.name)) throw StoreError("table " + def.name + " already exists", SQLITE_ERROR);
  const std::string file = linkedFile(def.connect);
  const std::string source = sourceOf(def);
  try {
    const std::string alias = attachments_.attach(file);
    if (!attachments_.hasTable(alias, source))
      throw StoreError("no such table: " + source + " in " + file, SQLITE_ERROR);
    Database::Transaction tx(db_);
    run(db_,
        "CREATE TABLE IF NOT EXISTS MSysLinks (Name TEXT NOT NULL COLLATE NOCASE PRIMARY KEY, "
        "Connect TEXT NOT NULL, SourceTableName TEXT NOT NULL, Attributes INTEGER NOT NULL)");
    run(db_,
        "INSERT INTO MSysLinks (Name, Connect, SourceTableName, Attributes) VALUES (?1, ?2, "
        "?3, ?4)",
        {def.name, def.connect, source, def.attributes | TableDef::kAttachedTable});
    attachments_.createView(def.name, alias, source);
    tx.commit();
  } catch (const StoreError&) {
    detachUnused();
    throw;
  }
}

void TableDefs::refresh() {
  std::set<std::string> inUse;
  for (const auto& def : links()) {
    // A link that cannot be resolved (file gone, table gone) stays listed but answers no query.
    try {
      attachments_.dropView(def.name);
      const std::string alias = attachments_.attach(linkedFile(def.connect));
      if (!attachments_.hasTable(alias, sourceOf(def))) continue;
      attachments_.createView(def.name, alias, sourceOf(def));
      inUse.insert(alias);
    } catch (const StoreError&) {
    }
  }
  attachments_.detachExcept(inUse);
}

void TableDefs::detachUnused() {
  std::set<std::string> inUse;
  for (const auto& def : links()) {
    try {
      const std::string alias = attachments_.aliasOf(linkedFile(def.connect));
      if (!alias.empty()) inUse.insert(alias);
    } catch (const StoreError&) {
    }
  }
  attachments_.detachExcept(inUse);
}

}  // namespace platform
