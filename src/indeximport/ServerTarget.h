// The office's server as the target of an import: its indici read per product and written in
// batches of many records a statement (each statement is a round trip), in one transaction
// that keeps other desks from writing the table meanwhile.
#pragma once

#include "indeximport/IndexTarget.h"
#include "platform/PgConnection.h"

namespace indeximport {

class ServerTarget : public IndexTarget {
 public:
  // `connection` must stay open while the target lives.
  explicit ServerTarget(platform::PgConnection& connection) : db_(connection) {}
  ~ServerTarget() override { rollback(); }

  void begin(bool forWriting) override;
  // Sends the records still waiting, then commits.
  void commit() override;
  void rollback() noexcept override;
  std::vector<StoredRecord> records(const std::string& code) override;
  // Waits with the next ones until a batch is full (or commit()).
  void insert(const std::string& code, platform::DayNumber day, double value) override;
  void update(const platform::Value& identity, double value) override;
  std::string name() const override { return db_.name(); }

 private:
  void flush();

  platform::PgConnection& db_;
  bool open_ = false;  // a transaction of this run is open
  std::vector<platform::Value> waiting_;
};

}  // namespace indeximport
