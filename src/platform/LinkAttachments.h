// The files that a work database's links point at, attached to its connection once per file
// (the engine allows only a few attachments), and the temporary views that make each link
// queryable under its own name. Attachments live as long as the connection; nothing here is
// written into any file.
#pragma once

#include <map>
#include <set>
#include <string>

namespace platform {

class Database;

class LinkAttachments {
 public:
  explicit LinkAttachments(Database& db) : db_(db) {}

  // The alias under which the database file at `path` is attached, attaching it when it is not
  // yet, read-only when it can only be read as it stands (StoreFile::isUnchanging). Throws
  // StoreError when the file is missing, is a Jet file or cannot be attached; a missing file is
  // never created.
  std::string attach(const std::string& path);
  // True when the attached database `alias` has a table or view named `table` (ignoring case).
  bool hasTable(const std::string& alias, const std::string& table);
  // Makes `name` answer queries with the rows of `alias`.`source` (replacing an older view).
  void createView(const std::string& name, const std::string& alias, const std::string& source);
  // Drops the view `name` when there is one.
  void dropView(const std::string& name);
  // Detaches every attached file whose alias is not in `inUse`, or whose file has gone. Only
  // outside a transaction (the engine refuses it inside one); failures are ignored since an idle
  // attachment does no harm.
  void detachExcept(const std::set<std::string>& inUse);
  // The alias of the file at `path` when it is attached, "" otherwise.
  std::string aliasOf(const std::string& path) const;

 private:
  Database& db_;
  std::map<std::string, std::string> aliasByFile_;  // canonical file path -> alias
};

}  // namespace platform
