// One connection to a PostgreSQL server, for the index database when an office keeps it there.
// Statements take bound parameters only; every failure throws StoreError with the server's
// reason and its name; a counter of statements sent lets the benchmarks and tests count round
// trips. No wait on the server is longer than the connection's bound: a server that has
// connected can still fall silent (a broken network keeps the connection open), and neither the
// server nor the system would ever end that wait.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Store.h"

struct pg_conn;

namespace platform {

class PgConnection {
 public:
  // How long a statement waits for the server by default (INDICI_DB_ATTESA).
  static constexpr std::chrono::seconds kDefaultSilence{15};

  // Connects to the database named by the libpq URI `uri` (password from ~/.pgpass or
  // PGPASSWORD), giving up after 5 seconds. Throws StoreError whose text is the server's (or the
  // network's) reason when the server cannot be reached or refuses the login. Every later
  // statement waits at most `silence` for the server: past it the statement is cancelled, the
  // connection closed and StoreError thrown; every statement after that throws at once.
  static std::unique_ptr<PgConnection> open(const std::string& uri,
                                            std::chrono::milliseconds silence = kDefaultSilence);
  ~PgConnection();
  PgConnection(const PgConnection&) = delete;
  PgConnection& operator=(const PgConnection&) = delete;

  // Runs one statement with `params` bound to $1, $2... (Null as SQL null, numbers in their
  // exact C form, texts as they are) and returns its rows: float, numeric and integer columns as
  // numbers, everything else as text, SQL null as Null. A refused write (read-only server or
  // transaction, missing privilege, a lock not granted, a serialization failure) throws a
  // StoreError with writeRefused() true; any other failure a StoreError.
  std::vector<Row> run(const std::string& sql, const std::vector<Value>& params = {});
  // The fields of one row of a scan(), made into values only when asked for.
  class RawRow {
   public:
    // Field `column` as run() gives it (of a scan in text form only).
    Value value(int column) const;
    bool isNull(int column) const;
    // The field's bytes as the server sent them: its text, or in a binary scan its binary form.
    std::string_view bytes(int column) const;
    // The rows of the whole result.
    int rows() const;

   private:
    friend class PgConnection;
    RawRow(const void* result, int row) : result_(result), row_(row) {}
    const void* result_;
    int row_;
  };
  // Runs one statement as run() does, failures alike, and hands each row in turn to `each`
  // without copying its fields: for reads of many rows. With `binary` the fields come in the
  // server's binary forms (no number or date to parse), read through RawRow::bytes.
  void scan(const std::string& sql, const std::vector<Value>& params,
            const std::function<void(const RawRow&)>& each, bool binary = false);
  // Prepares `sql` under `name` on the server (one round trip; nothing when the name is prepared
  // already), for statements every run sends: the server then parses them once per connection
  // rather than each time.
  void prepare(const std::string& name, const std::string& sql);
  // Runs `query` (without parameters) and prepares `sql` under `name` in the same round trip,
  // as a connection's opening needs both. Returns the query's rows; when preparing fails, the
  // server's reason is in `prepareFailure` (empty otherwise) and the name stays unprepared, so
  // that the caller can first say what the rows tell. A failed query throws as run() does.
  std::vector<Row> runAndPrepare(const std::string& query, const std::string& name,
                                 const std::string& sql, std::string& prepareFailure);
  // scan() of the statement prepared under `name`.
  void scanPrepared(const std::string& name, const std::vector<Value>& params,
                    const std::function<void(const RawRow&)>& each, bool binary = false);
  // Statements sent to the server since the connection opened (each is one round trip).
  long long statements() const { return statements_; }
  // True while a transaction is open on the connection.
  bool inTransaction() const;
  // The URI without a password, for messages.
  const std::string& name() const { return name_; }

  // A transaction for the object's lifetime when none is open (else nothing): committed at the
  // end on every way out, rolled back when the commit fails or when abandon() was called.
  class Transaction {
   public:
    explicit Transaction(PgConnection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void abandon() { abandoned_ = true; }

   private:
    PgConnection& connection_;
    bool began_ = false;
    bool abandoned_ = false;
  };

  // `uri` with any password replaced by "***".
  static std::string withoutPassword(const std::string& uri);

 private:
  PgConnection(pg_conn* connection, std::string name, std::chrono::milliseconds silence);
  // Sends the statement (`sql`, or the one prepared under `prepared` when that is not empty);
  // returns its result (a PGresult) or throws as run() does.
  std::shared_ptr<void> execute(const std::string& sql, const std::vector<Value>& params,
                                bool binary = false, const std::string& prepared = {});
  // Waits for the answer to what was just sent (`sent`: libpq took it) and returns its last
  // result (a PGresult, null when there was none); the results before it, of a text of several
  // statements, go to `earlier` when given (the caller clears them), else are cleared. Throws
  // when the connection fails or past the bound.
  void* awaitResult(bool sent, std::vector<void*>* earlier = nullptr);
  // Throws as run() does when `result` (a PGresult) is a failure, or missing.
  void check(const void* result) const;
  // The rows of a result, as run() gives them.
  static std::vector<Row> rowsOf(void* result);
  // Waits until the socket is ready for `events`; false when the bound passed first.
  bool awaitSocket(short events) const;
  // Throws the connection's failure, naming the server.
  [[noreturn]] void fail() const;
  // Cancels the statement under way (waiting a moment at most), closes the connection and
  // throws.
  [[noreturn]] void giveUp();
  static void eachRow(const std::shared_ptr<void>& result,
                      const std::function<void(const RawRow&)>& each);
  pg_conn* connection_;  // null once closed after a silence
  std::string name_;
  std::chrono::milliseconds silence_;
  std::set<std::string> prepared_;
  long long statements_ = 0;
};

}  // namespace platform
