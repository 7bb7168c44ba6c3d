// One user table of a Jet file, read row by row through libmdb in the order the file holds the
// rows. Numbers, dates and bytes come from the values libmdb locates in the row; texts, currency
// and decimals from libmdb's own conversions (texts as UTF-8 from the file's code page or UCS-2).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "jet/JetField.h"

namespace jet {

class JetTable {
 public:
  // The SQLite type a column's values take: "TEXT", "INTEGER", "REAL", "BLOB", or "" for a
  // type the copy does not know (its values are Null).
  struct Column {
    std::string name;
    int jetType = 0;
    std::string sqlType;
  };

  struct Impl;
  explicit JetTable(std::unique_ptr<Impl> impl);
  ~JetTable();
  JetTable(const JetTable&) = delete;
  JetTable& operator=(const JetTable&) = delete;

  const std::string& name() const;
  const std::vector<Column>& columns() const;
  // The number of rows the table's definition records (the reader must meet as many).
  long long declaredRows() const;
  // Moves to the next row; false after the last one (or where the reader could go no further:
  // compare the rows read with declaredRows()).
  bool next();
  // The value of `column` in the current row. Throws JetError (Damaged) for a value that lies
  // outside its page. A date outside Jet's range becomes Null and counts as invalid.
  void read(std::size_t column, JetField& into);
  // Texts cut at the reader's buffer size, and values that were no valid date, so far.
  long long truncatedTexts() const;
  long long invalidValues() const;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace jet
