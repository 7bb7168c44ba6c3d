#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "platform/SqlStatement.h"
#include "platform/Store.h"
#include "platform/Strings.h"

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

bool TableDefs::hasLinksTable() {
  SqlStatement exists(db_.engine().getHandle(),
                      "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1");
  exists.bindAll({kLinksTable});
  return exists.step();
}

std::vector<TableDef> TableDefs::links() {
  std::vector<TableDef> found;
  if (!hasLinksTable()) return found;
  SqlStatement rows(db_.engine().getHandle(),
                    "SELECT Name, Connect, SourceTableName, Attributes FROM MSysLinks");
  while (rows.step())
    found.push_back({textAt(rows, 0), rows.readInt(3), textAt(rows, 1), textAt(rows, 2)});
  return found;
}

std::vector<TableDef> TableDefs::list() {
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
  // Links first, so that a local table made later under a link's name sorts after the link.
  std::vector<std::pair<std::string, std::size_t>> order;
  for (std::size_t i = 0; i < defs.size(); ++i) order.emplace_back(lower(defs[i].name), i);
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<TableDef> sorted;
  sorted.reserve(defs.size());
  for (const auto& [key, i] : order) sorted.push_back(std::move(defs[i]));
  return sorted;
}

int TableDefs::count() {
  return static_cast<int>(list().size());
}

TableDef TableDefs::item(int position) {
  const auto defs = list();
  if (position < 0 || position >= static_cast<int>(defs.size()))
    throw StoreError("no table definition at position " + std::to_string(position), SQLITE_RANGE);
  return defs[static_cast<std::size_t>(position)];
}

std::optional<TableDef> TableDefs::find(const std::string& name) {
  sqlite3* db = db_.engine().getHandle();
  if (hasLinksTable()) {
    SqlStatement link(db,
                      "SELECT Name, Connect, SourceTableName, Attributes FROM MSysLinks WHERE "
                      "Name = ?1 COLLATE NOCASE");
    link.bindAll({name});
    if (link.step())
      return TableDef{textAt(link, 0), link.readInt(3), textAt(link, 1), textAt(link, 2)};
  }
  SqlStatement local(db,
                     "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE "
                     "NOCASE AND name NOT LIKE 'sqlite!_%' ESCAPE '!'");
  local.bindAll({name});
  if (!local.step()) return std::nullopt;
  TableDef def;
  def.name = textAt(local, 0);
  if (lower(def.name) == lower(kLinksTable)) def.attributes = TableDef::kSystemObject;
  return def;
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

void TableDefs::relink(const TableDef& def) {
  const auto existing = find(def.name);
  if (existing && (existing->attributes & TableDef::kAttachedTable) &&
      existing->connect == def.connect &&
      lower(existing->sourceTableName) == lower(sourceOf(def))) {
    // The same file and table: only whether the table is still there needs saying.
    const std::string alias = attachments_.attach(linkedFile(def.connect));
    if (!attachments_.hasTable(alias, sourceOf(def)))
      throw StoreError("no such table: " + sourceOf(def) + " in " + linkedFile(def.connect),
                       SQLITE_ERROR);
    return;
  }
  if (existing) remove(existing->name);
  append(def);
}

void TableDefs::refresh() {
  // A connection that has read no linked file yet reads them when a statement first needs them:
  // a run on the work database's own tables then never attaches the suite's files nor makes a
  // view for each link. A link that a local table's name would answer for is made at once.
  if (!attachments_.anyAttached() && !shadowsLocalTable()) {
    attachments_.defer([this] { show(); });
    return;
  }
  show();
}

bool TableDefs::shadowsLocalTable() {
  if (!hasLinksTable()) return false;
  SqlStatement shadowing(db_.engine().getHandle(),
                         "SELECT 1 FROM MSysLinks WHERE Name IN (SELECT name FROM "
                         "main.sqlite_master WHERE type IN ('table', 'view')) LIMIT 1");
  return shadowing.step();
}

void TableDefs::show() {
  attachments_.undefer();
  // Each file once, however many links name it: attached, then its tables listed.
  struct Source {
    std::string alias;  // "" when the file cannot be attached
    std::set<std::string> tables;
  };
  std::map<std::string, Source> byConnect;
  std::vector<LinkAttachments::View> views;
  std::set<std::string> inUse;
  for (const auto& def : links()) {
    auto [source, fresh] = byConnect.try_emplace(def.connect);
    if (fresh) {
      try {
        source->second.alias = attachments_.attach(linkedFile(def.connect));
        source->second.tables = attachments_.tables(source->second.alias);
      } catch (const StoreError&) {
        source->second.alias.clear();
      }
    }
    // A link that cannot be resolved (file gone, table gone) stays listed but answers no query.
    const Source& from = source->second;
    const bool resolved = !from.alias.empty() && from.tables.count(upperCase(sourceOf(def)));
    views.push_back({def.name, resolved ? from.alias : "", sourceOf(def)});
    if (resolved) inUse.insert(from.alias);
  }
  attachments_.showViews(views);
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
