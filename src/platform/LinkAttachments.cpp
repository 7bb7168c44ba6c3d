#include "platform/LinkAttachments.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <filesystem>

#include "platform/SqlStatement.h"
#include "platform/Store.h"
#include "platform/StoreFile.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

std::string canonicalFile(const std::string& path) {
  std::error_code error;
  const fs::path canonical = fs::weakly_canonical(fs::absolute(path, error), error);
  return error ? path : canonical.generic_string();
}

// A URI naming the file in read-write mode (read-only for a mirror of a Jet file): unlike a
// plain name it never creates the file.
std::string fileUri(const std::string& file) {
  std::string uri = file.empty() || file[0] != '/' ? "file:///" : "file:";
  for (char c : file) {
    if (c == '%' || c == '?' || c == '#') {
      static const char* hex = "0123456789ABCDEF";
      uri += '%';
      uri += hex[static_cast<unsigned char>(c) >> 4];
      uri += hex[static_cast<unsigned char>(c) & 15];
    } else {
      uri += c;
    }
  }
  return uri + (StoreFile::isMirrorFile(file) ? "?mode=ro" : "?mode=rw");
}

void run(sqlite3* db, const std::string& sql, const std::vector<Value>& params = {}) {
  SqlStatement statement(db, sql);
  statement.bindAll(params);
  while (statement.step()) {
  }
}

}  // namespace

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
  run(db, "ATTACH DATABASE ?1 AS " + SqlStatement::quote(alias), {fileUri(file)});
  aliasByFile_[file] = alias;
  try {
    // Attaching is lazy as well: make a file that is no database fail here, not in a query.
    run(db, "SELECT count(*) FROM " + SqlStatement::quote(alias) + ".sqlite_master");
  } catch (const StoreError& e) {
    const std::string detach = "DETACH DATABASE " + SqlStatement::quote(alias);
    if (sqlite3_exec(db, detach.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK)
      aliasByFile_.erase(file);
    throw StoreError(std::string(e.what()) + ": " + path, e.code());
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

void LinkAttachments::createView(const std::string& name, const std::string& alias,
                                 const std::string& source) {
  dropView(name);
  run(db_.engine().getHandle(), "CREATE TEMP VIEW " + SqlStatement::quote(name) +
                                    " AS SELECT * FROM " + SqlStatement::quote(alias) + "." +
                                    SqlStatement::quote(source));
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
