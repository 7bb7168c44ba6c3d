#include "support/LibmdbTable.h"

#include <mdbtools.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace testsupport {

namespace {

constexpr int kBindSize =
    1 << 16;  // the longest memo of the tests; the library allocates it per value

using Handle = std::unique_ptr<MdbHandle, decltype(&mdb_close)>;

Handle open(const std::string& file) {
  Handle mdb(mdb_open(file.c_str(), MDB_NOFLAGS), &mdb_close);
  if (!mdb) throw std::runtime_error("libmdb cannot open " + file);
  return mdb;
}

// Whether the row mdb_fetch_row has just read carries the deleted flag in its page's row table.
bool markedDeleted(const MdbHandle& mdb, const MdbTableDef& table) {
  const int at = mdb.fmt->row_count_offset + 2 + 2 * (static_cast<int>(table.cur_row) - 1);
  return (mdb.pg_buf[at + 1] & 0x80) != 0;
}

}  // namespace

LibmdbTable LibmdbTable::read(const std::string& file, const std::string& name) {
  const Handle mdb = open(file);
  mdb_set_bind_size(mdb.get(), kBindSize);
  mdb_set_date_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
  std::string tableName = name;
  std::unique_ptr<MdbTableDef, decltype(&mdb_free_tabledef)> table(
      mdb_read_table_by_name(mdb.get(), tableName.data(), MDB_TABLE), &mdb_free_tabledef);
  if (!table) throw std::runtime_error("libmdb finds no table " + name + " in " + file);
  mdb_read_columns(table.get());
  mdb_rewind_table(table.get());

  LibmdbTable result;
  result.declaredRows = table->num_rows;
  result.usageMapType = table->usage_map[0];
  const unsigned count = table->num_cols;
  std::vector<std::vector<char>> values(count, std::vector<char>(kBindSize));
  std::vector<int> lengths(count);
  for (unsigned i = 0; i < count; ++i) {
    auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
    result.columns.push_back(column->name);
    result.types.push_back(column->col_type);
    mdb_bind_column(table.get(), static_cast<int>(i) + 1, values[i].data(), &lengths[i]);
  }
  while (mdb_fetch_row(table.get())) {
    if (markedDeleted(*mdb, *table)) {
      ++result.deletedRows;
      continue;
    }
    auto& row = result.rows.emplace_back();
    for (unsigned i = 0; i < count; ++i) {
      auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
      if (lengths[i] == 0) {
        row.emplace_back();
      } else if (column->col_type == MDB_OLE) {
        std::size_t size = 0;
        void* bytes = mdb_ole_read_full(mdb.get(), column, &size);
        row.emplace_back(std::string(static_cast<const char*>(bytes), size));
        std::free(bytes);
      } else {
        row.emplace_back(std::string(values[i].data(), lengths[i]));
      }
    }
  }
  return result;
}

std::vector<std::string> LibmdbTable::userTables(const std::string& file) {
  const Handle mdb = open(file);
  std::vector<std::string> names;
  if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) return names;
  for (unsigned i = 0; i < mdb->num_catalog; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (mdb_is_user_table(entry)) names.push_back(entry->object_name);
  }
  return names;
}

}  // namespace testsupport
