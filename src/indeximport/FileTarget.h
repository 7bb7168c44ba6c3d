// The installation's index file as the target of an import: records read and written with
// statements prepared once, in one transaction of the file.
#pragma once

#include <memory>

#include "indeximport/IndexTarget.h"
#include "platform/SqlStatement.h"
#include "platform/Store.h"

namespace indeximport {

class FileTarget : public IndexTarget {
 public:
  // `db` must stay open while the target lives. Never write a suite's Jet file through it: the
  // caller checks the file first (platform::StoreFile::isJetFile).
  explicit FileTarget(platform::Database& db);
  ~FileTarget() override;

  void begin(bool forWriting) override;
  void commit() override;
  void rollback() noexcept override;
  std::vector<StoredRecord> records(const std::string& code) override;
  void insert(const std::string& code, platform::DayNumber day, double value) override;
  void update(const platform::Value& identity, double value) override;
  std::string name() const override { return db_.path(); }

 private:
  platform::Database& db_;
  std::unique_ptr<platform::Database::Transaction> transaction_;
  platform::SqlStatement select_, insert_, update_;
};

}  // namespace indeximport
