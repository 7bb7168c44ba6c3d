// The files that a work database's links point at, attached to its connection once per file
// (the engine allows only a few attachments), and the temporary views that make each link
// queryable under its own name. Attachments live as long as the connection; nothing here is
// written into any file. Making them can wait until a statement first needs them.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace platform {

class Database;
class SqlStatement;

class LinkAttachments {
 public:
  // What a link shows under its name: the table `source` of the attached file `alias`, or
  // nothing when `alias` is empty (its file or table cannot be found).
  struct View {
    std::string name, alias, source;
  };

  explicit LinkAttachments(Database& db) : db_(db) {}
  ~LinkAttachments();
  LinkAttachments(const LinkAttachments&) = delete;
  LinkAttachments& operator=(const LinkAttachments&) = delete;

  // Leaves the links to be made by `show` when a statement prepared through prepare() first
  // needs them, instead of now. Replaces a deferral already pending.
  void defer(std::function<void()> show);
  // Ends a pending deferral without calling it (the caller makes the links itself).
  void undefer();
  // The statement `make` prepares on this connection (it may be called twice). While the links
  // are deferred, a statement that reads or writes outside the connection's own file, runs a
  // pragma, attaches or detaches a file, or cannot be prepared as it stands has them made first
  // and is prepared again. Throws StoreError as `make` does.
  SqlStatement prepare(const std::function<SqlStatement()>& make);
  // True when some file is attached.
  bool anyAttached() const { return !aliasByFile_.empty(); }

  // The alias under which the database file at `path` is attached, attaching it when it is not
  // yet, read-only when it can only be read as it stands (StoreFile::isUnchanging). Throws
  // StoreError when the file is missing, is a Jet file or cannot be attached; a missing file is
  // never created.
  std::string attach(const std::string& path);
  // True when the attached database `alias` has a table or view named `table` (ignoring case).
  bool hasTable(const std::string& alias, const std::string& table);
  // The names of the tables and views of the attached database `alias`, in upper case.
  std::set<std::string> tables(const std::string& alias);
  // Makes `name` answer queries with the rows of `alias`.`source` (replacing an older view).
  void createView(const std::string& name, const std::string& alias, const std::string& source);
  // Drops the view `name` when there is one.
  void dropView(const std::string& name);
  // Makes every view of `views` what it says, in one transaction (a savepoint inside one already
  // open): a view that already shows the same table of the same attachment is left as it is,
  // so a connection whose links are in place writes nothing. Throws StoreError.
  void showViews(const std::vector<View>& views);
  // Detaches every attached file whose alias is not in `inUse`, or whose file has gone. Only
  // outside a transaction (the engine refuses it inside one); failures are ignored since an idle
  // attachment does no harm.
  void detachExcept(const std::set<std::string>& inUse);
  // The alias of the file at `path` when it is attached, "" otherwise.
  std::string aliasOf(const std::string& path) const;

 private:
  // The engine's authorizer while the links are deferred: it allows everything and only notes
  // whether the statement being prepared needs the links.
  static int watch(void* self, int action, const char* first, const char* second,
                   const char* schema, const char* view);
  // The pending deferral, ended (an empty function when there is none).
  std::function<void()> takeDeferred();

  Database& db_;
  std::map<std::string, std::string> aliasByFile_;  // canonical file path -> alias
  std::function<void()> show_;                      // the deferred making of the links
  bool needed_ = false;                             // the statement being prepared needs the links
};

}  // namespace platform
