// The index table `indici` of a database server as a keyed cursor: the same seeks, fields and
// range read as the file's Indici on index "primaria", codes compared without regard to (ASCII)
// case and ordered as the file orders them, dates as dates. Values are always read as doubles
// and dates as dates, whatever the columns' types turn into after the check at the opening.
#pragma once

#include <string>
#include <vector>

#include "platform/PgConnection.h"
#include "platform/SeekCursor.h"

namespace platform {

class PgIndexCursor : public SeekCursor {
 public:
  // Checks that the server database holds table indici with columns it reads exactly
  // (checkColumns); throws StoreError (code 0) otherwise.
  explicit PgIndexCursor(PgConnection& connection);
  // Creates table indici and its index when they are missing.
  static void createSchema(PgConnection& connection);
  // Throws StoreError (code 0) naming every column of indici that is missing or whose type
  // cannot give back the program's values exactly, with the types it needs. For reading, a
  // code of text or varchar, dates of type date and values of double precision, real, integer,
  // smallint or numeric (read as the nearest double, as the file holds them); `forCopy`: the
  // copy's target must hold every double as it is, so values only of double precision.
  static void checkColumns(PgConnection& connection, bool forCopy);

  // Field names are those of the file's table: IndProdotto, IndData (ISO text), IndValoreMon,
  // IndValore. The second key is a date as ISO text.
  bool seek(SeekOp op, const Value& key1, const Value& key2) override;
  // One statement for all the seeks.
  std::vector<std::optional<std::vector<Value>>> seekEach(
      const Value& key1, const std::vector<std::pair<SeekOp, Value>>& seeks,
      const std::vector<std::string>& fields) override;
  bool noMatch() const override { return !hasCurrent_; }
  const Value& field(std::string_view name) const override;
  // The identity is the record's physical address (ctid): as text, or as the whole number of
  // readSeries. Records of one key follow each other in that order.
  Value identity() const override;
  bool seekPast(const Value& identity, bool backward) override;
  // Only a record whose value is still zero is deleted (the only deletion the program makes;
  // a record another desk changed meanwhile stays), and never by waiting: a record another run
  // is deleting counts as gone.
  void deleteCurrent() override;
  void deleteRecord(const Value& identity) override;
  std::unique_ptr<Hold> hold() override;
  // One statement, in binary form; never nullopt (the server's columns are typed).
  std::optional<SeriesSpan> readSeries(const std::string& key1, const std::string& after,
                                       const std::string& upTo,
                                       const std::string& pointKey) override;

  bool remote() const override { return true; }
  PgConnection& connection() { return db_; }

 private:
  // checkColumns on the rows of the columns' query.
  static void checkColumns(PgConnection& connection, const std::vector<Row>& rows, bool forCopy);
  // Keeps the first of `rows` (of the seek statements) as the current record.
  bool land(const std::vector<Row>& rows);

  PgConnection& db_;
  std::vector<Value> current_;
  Value identity_;
  bool hasCurrent_ = false;
};

}  // namespace platform
