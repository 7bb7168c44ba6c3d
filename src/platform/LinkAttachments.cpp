#include "platform/LinkAttachments.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <filesystem>
#include <string_view>
#include <utility>

#include "platform/SqlStatement.h"
#include "platform/Store.h"
#include "platform/StoreFile.h"
#include "platform/Strings.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

std::string canonicalFile(const std::string& path) {
  std::error_code error;
  const fs::path canonical = fs::weakly_canonical(fs::absolute(path, error), error);
  return error ? path : canonical.generic_string();
}

// The view of link `name` on `alias`.`source`, as the engine keeps its text after "CREATE VIEW ".
std::string viewBody(const std::string& name, const std::string& alias, const std::string& source) {
  return SqlStatement::quote(name) + " AS SELECT * FROM " + SqlStatement::quote(alias) + "." +
         SqlStatement::quote(source);
}

std::string textAt(const SqlStatement& statement, int column) {
  Value value;
  statement.read(column, value);
  return valueText(value);
}

void run(sqlite3* db, const std::string& sql, const std::vector<Value>& params = {}) {
  SqlStatement statement(db, sql);
  statement.bindAll(params);
  while (statement.step()) {
  }
}

}  // namespace

LinkAttachments::~LinkAttachments() {
  undefer();
}

void LinkAttachments::defer(std::function<void()> show) {
  show_ = std::move(show);
  // Statements prepared before are prepared again on their next run, under the watch.
  sqlite3_set_authorizer(db_.engine().getHandle(), &LinkAttachments::watch, this);
}

void LinkAttachments::undefer() {
  takeDeferred();
}

std::function<void()> LinkAttachments::takeDeferred() {
  std::function<void()> show;
  show.swap(show_);
  if (show) sqlite3_set_authorizer(db_.engine().getHandle(), nullptr, nullptr);
  return show;
}

int LinkAttachments::watch(void* self, int action, const char* first, const char*,
                           const char* schema, const char*) {
  auto& links = *static_cast<LinkAttachments*>(self);
  switch (action) {
    case SQLITE_PRAGMA:
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
      links.needed_ = true;
      break;
    case SQLITE_READ:
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
      // The engine's own catalogue is read for every statement; a link or an attached table is
      // anything outside the connection's own file.
      if (schema && std::string_view(schema) != "main" &&
          !(first && std::string_view(first).starts_with("sqlite_")))
        links.needed_ = true;
      break;
    default:
      break;
  }
  return SQLITE_OK;
}

SqlStatement LinkAttachments::prepare(const std::function<SqlStatement()>& make) {
  if (!show_) return make();
  needed_ = false;
  try {
    SqlStatement statement = make();
    if (!needed_) return statement;
  } catch (const StoreError&) {
    // Perhaps a link it names: tried again below once the links are there.
  }
  takeDeferred()();
  return make();
}

std::string LinkAttachments::aliasOf(const std::string& path) const {
  const auto found = aliasByFile_.find(canonicalFile(path));
  return found == aliasByFile_.end() ? "" : found->second;
}

std::string LinkAttachments::attach(const std::string& path) {
  StoreFile::checkOpenable(path);
  const std::string file = canonicalFile(path);
  if (const auto found = aliasByFile_.find(file); found != aliasByFile_.end()) return found->second;
  std::string alias;
  for (int n = 1; alias.empty(); ++n) {
    alias = "link" + std::to_string(n);
    for (const auto& [other, used] : aliasByFile_)
      if (used == alias) alias.clear();
  }
  sqlite3* db = db_.engine().getHandle();
  run(db, "ATTACH DATABASE ?1 AS " + SqlStatement::quote(alias),
      {StoreFile::uri(file, StoreFile::isUnchanging(file))});
  aliasByFile_[file] = alias;
  try {
    // Attaching is lazy as well: make a file that is no database fail here, not in a query.
    run(db, "SELECT count(*) FROM " + SqlStatement::quote(alias) + ".sqlite_master");
  } catch (const StoreError& e) {
    const std::string detach = "DETACH DATABASE " + SqlStatement::quote(alias);
    if (sqlite3_exec(db, detach.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK)
      aliasByFile_.erase(file);
    // The engine's words for it, and the linked file rather than the work database's.
    throw StoreError(std::string(sqlite3_errstr(e.code())) + ": " + path + " (collegamento)",
                     e.code());
  }
  return alias;
}

bool LinkAttachments::hasTable(const std::string& alias, const std::string& table) {
  SqlStatement find(db_.engine().getHandle(),
                    "SELECT 1 FROM " + SqlStatement::quote(alias) +
                        ".sqlite_master WHERE type IN ('table', 'view') AND name = ?1 COLLATE "
                        "NOCASE");
  find.bindAll({table});
  return find.step();
}

std::set<std::string> LinkAttachments::tables(const std::string& alias) {
  SqlStatement list(db_.engine().getHandle(), "SELECT name FROM " + SqlStatement::quote(alias) +
                                                  ".sqlite_master WHERE type IN ('table', 'view')");
  std::set<std::string> names;
  while (list.step()) names.insert(upperCase(textAt(list, 0)));
  return names;
}

void LinkAttachments::createView(const std::string& name, const std::string& alias,
                                 const std::string& source) {
  dropView(name);
  run(db_.engine().getHandle(), "CREATE TEMP VIEW " + viewBody(name, alias, source));
}

void LinkAttachments::showViews(const std::vector<View>& views) {
  std::map<std::string, std::string> shown;  // upper-cased name -> the engine's text of it
  {
    SqlStatement list(db_.engine().getHandle(),
                      "SELECT name, sql FROM sqlite_temp_master WHERE type = 'view'");
    while (list.step()) shown[upperCase(textAt(list, 0))] = textAt(list, 1);
  }
  // Every change in one batch: each statement of its own would be a transaction of its own.
  std::string batch;
  for (const View& view : views) {
    const std::string body = view.alias.empty() ? "" : viewBody(view.name, view.alias, view.source);
    if (const auto found = shown.find(upperCase(view.name)); found != shown.end()) {
      if (!body.empty() && found->second == "CREATE VIEW " + body) continue;
      batch += "DROP VIEW temp." + SqlStatement::quote(view.name) + ";\n";
    }
    if (!body.empty()) batch += "CREATE TEMP VIEW " + body + ";\n";
  }
  if (batch.empty()) return;
  Database::Transaction tx(db_);
  db_.execute(batch);
  tx.commit();
}

void LinkAttachments::dropView(const std::string& name) {
  run(db_.engine().getHandle(), "DROP VIEW IF EXISTS temp." + SqlStatement::quote(name));
}

void LinkAttachments::detachExcept(const std::set<std::string>& inUse) {
  sqlite3* db = db_.engine().getHandle();
  if (sqlite3_get_autocommit(db) == 0) return;
  for (auto it = aliasByFile_.begin(); it != aliasByFile_.end();) {
    std::error_code error;
    const bool gone = !fs::exists(it->first, error);
    const std::string detach = "DETACH DATABASE " + SqlStatement::quote(it->second);
    if ((gone || !inUse.count(it->second)) &&
        sqlite3_exec(db, detach.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK)
      it = aliasByFile_.erase(it);
    else
      ++it;
  }
}

}  // namespace platform
