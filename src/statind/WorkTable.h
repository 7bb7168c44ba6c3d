// The work table WkStatInd of the work database: it holds the grid rows of the last statistics
// run, written as display text, and nothing else.
#pragma once

#include <vector>

#include "platform/Store.h"
#include "statind/PeriodStatistics.h"

namespace statind {

class WorkTable {
 public:
  explicit WorkTable(platform::Database& workDb) : workDb_(workDb) {}

  // Replaces the table's rows with `rows`, in order, in one transaction: on a storage failure
  // (StoreError) the table keeps the rows it had. Empty cells are stored as Null, as cells
  // that were never set. Returns the rows as stored (as read() gives them), read back inside
  // that transaction: another program's run that replaces them right after the commit cannot
  // slip its rows in.
  std::vector<GridRow> replace(const std::vector<GridRow>& rows);
  // Every row in the order it was stored; Null cells read as "".
  std::vector<GridRow> read();

 private:
  platform::Database& workDb_;
};

}  // namespace statind
