#include <SQLiteCpp/SQLiteCpp.h>

#include "platform/SqlStatement.h"
#include "platform/Store.h"

namespace platform {

struct PreparedQuery::Impl {
  SqlStatement statement;
  std::shared_ptr<const std::vector<std::string>> names;

  // Binds and steps to the first row; the caller reads it and resets.
  bool start(const std::vector<Value>& params) {
    statement.reset();
    statement.bindAll(params, false);  // the caller's values live through the run
    return statement.step();
  }

  Row currentRow() {
    // The engine recompiles a statement when the schema changes, so the names are taken again
    // only when the shape of the result moved.
    if (!names || static_cast<int>(names->size()) != statement.columnCount())
      names = std::make_shared<const std::vector<std::string>>(statement.columnNames());
    std::vector<Value> values(names->size());
    for (std::size_t i = 0; i < values.size(); ++i) statement.read(static_cast<int>(i), values[i]);
    return Row(names, std::move(values));
  }
};

PreparedQuery::PreparedQuery(Database& db, const std::string& sql)
    : impl_(std::make_unique<Impl>(Impl{db.prepare(sql, true), {}})) {}

PreparedQuery::~PreparedQuery() = default;

std::vector<Row> PreparedQuery::run(const std::vector<Value>& params) {
  std::vector<Row> rows;
  for (bool more = impl_->start(params); more; more = impl_->statement.step())
    rows.push_back(impl_->currentRow());
  impl_->statement.reset();
  return rows;
}

std::optional<Row> PreparedQuery::first(const std::vector<Value>& params) {
  std::optional<Row> row;
  if (impl_->start(params)) row = impl_->currentRow();
  impl_->statement.reset();
  return row;
}

}  // namespace platform
