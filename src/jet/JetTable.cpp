#include "jet/JetTable.h"

#include <charconv>
#include <cstring>
#include <vector>

#include "jet/JetError.h"
#include "jet/MdbAccess.h"

namespace jet {

namespace {

// Row offsets on a data page carry two flag bits above the offset proper: 0x8000 marks a
// deleted row, 0x4000 a row moved to another page. libmdb 1.0 takes the two the other way
// round, so it hands over the rows Access deleted: they are skipped here.
constexpr int kRowOffsetMask = 0x1fff;
constexpr int kDeletedRow = 0x8000;
// Bytes an OLE object may take in the copy: far beyond any real attachment, short of exhausting
// memory on a damaged chain of pages.
constexpr std::size_t kMaxObjectBytes = 256u * 1024 * 1024;

std::string sqlTypeOf(int jetType) {
  switch (jetType) {
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_DATETIME:
    case MDB_REPID:
      return "TEXT";
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX:
      return "INTEGER";
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_MONEY:
    case MDB_NUMERIC:
      return "REAL";
    case MDB_BINARY:
    case MDB_OLE:
      return "BLOB";
    default:
      return "";
  }
}

// Whether libmdb hands the column's value over as text in a bound buffer; the others are read
// from the row where libmdb found them.
bool boundAsText(int jetType) {
  switch (jetType) {
    case MDB_BOOL:
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_MONEY:
    case MDB_NUMERIC:
    case MDB_REPID:
    case MDB_OLE:
      return true;
    default:
      return false;
  }
}

}  // namespace

struct JetTable::Impl {
  MdbHandle* mdb = nullptr;
  MdbTableDef* table = nullptr;
  std::string file;
  std::string name;
  std::vector<Column> columns;
  std::vector<MdbColumn*> mdbColumns;
  std::vector<std::vector<char>> buffers;  // one per column bound as text, else empty
  std::vector<MdbField> cracked;           // the current row's fields, when asked for Null
  bool crackedValid = false;
  long long truncated = 0;
  long long invalid = 0;

  ~Impl() {
    if (table) mdb_free_tabledef(table);
  }

  [[noreturn]] void fail(const std::string& reason) const {
    throw JetError(JetFailure::Damaged, file, name, reason);
  }

  // The column's bytes in the current page, checked to lie inside it.
  unsigned char* valueBytes(const MdbColumn* col, int width) const {
    const int start = col->cur_value_start;
    if (start < 0 || width < 0 || start + width > static_cast<int>(sizeof mdb->pg_buf) ||
        start + width > static_cast<int>(mdb->fmt->pg_size))
      fail("valore fuori dalla pagina nella colonna " + std::string(col->name));
    return mdb->pg_buf + start;
  }

  // A value of length zero is Null or an empty text: only the row's null mask tells, so the
  // row is taken apart again (rarely: only for empty variable-length values).
  bool isNull(std::size_t column) {
    if (!crackedValid) {
      int start = 0;
      size_t length = 0;
      if (table->cur_row == 0 ||
          mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &length) != 0)
        return true;
      cracked.assign(table->num_cols, MdbField{});
      if (mdb_crack_row(table, start & kRowOffsetMask, length, cracked.data()) < 0) return true;
      crackedValid = true;
    }
    for (const MdbField& field : cracked)
      if (field.colnum == static_cast<int>(column)) return field.is_null != 0;
    return true;
  }

  void readText(std::size_t column, JetField& into) {
    const char* text = buffers[column].data();
    const std::size_t length = ::strnlen(text, buffers[column].size());
    if (length + 1 >= kBindSize) ++truncated;
    into.kind = JetField::Kind::Text;
    into.bytes.assign(text, length);
  }

  void readNumberText(std::size_t column, JetField& into) {
    const char* text = buffers[column].data();
    const char* end = text + ::strnlen(text, buffers[column].size());
    double value = 0;
    if (std::from_chars(text, end, value).ec != std::errc()) {
      ++invalid;
      into.kind = JetField::Kind::Null;
      return;
    }
    into.kind = JetField::Kind::Real;
    into.real = value;
  }

  void readObject(MdbColumn* col, JetField& into) {
    char header[MDB_MEMO_OVERHEAD];
    std::memcpy(header, col->bind_ptr, sizeof header);
    into.kind = JetField::Kind::Blob;
    into.bytes.clear();
    std::size_t length = mdb_ole_read(mdb, col, header, kBindSize);
    while (length > 0) {
      if (into.bytes.size() + length > kMaxObjectBytes)
        fail("oggetto OLE oltre 256 MiB nella colonna " + std::string(col->name));
      into.bytes.append(static_cast<const char*>(col->bind_ptr), length);
      length = mdb_ole_read_next(mdb, col, header);
    }
  }
};

JetTable::JetTable(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
JetTable::~JetTable() = default;

const std::string& JetTable::name() const {
  return impl_->name;
}

const std::vector<JetTable::Column>& JetTable::columns() const {
  return impl_->columns;
}

long long JetTable::declaredRows() const {
  return impl_->table->num_rows;
}

long long JetTable::truncatedTexts() const {
  return impl_->truncated;
}

long long JetTable::invalidValues() const {
  return impl_->invalid;
}

bool JetTable::next() {
  Impl& d = *impl_;
  for (;;) {
    d.crackedValid = false;
    if (!mdb_fetch_row(d.table)) return false;
    int start = 0;
    size_t length = 0;
    if (mdb_find_row(d.mdb, static_cast<int>(d.table->cur_row) - 1, &start, &length) != 0 ||
        !(start & kDeletedRow))
      return true;
  }
}

void JetTable::read(std::size_t column, JetField& into) {
  Impl& d = *impl_;
  MdbColumn* col = d.mdbColumns.at(column);
  const int type = col->col_type;
  if (type == MDB_BOOL) {
    into.kind = JetField::Kind::Integer;
    into.integer = d.buffers[column][0] == '1' ? 1 : 0;
    return;
  }
  if (col->cur_value_len == 0 && (col->is_fixed || d.isNull(column))) {
    into.kind = JetField::Kind::Null;
    return;
  }
  into.kind = JetField::Kind::Integer;
  switch (type) {
    case MDB_BYTE:
      into.integer = *d.valueBytes(col, 1);
      return;
    case MDB_INT:
      into.integer = static_cast<std::int16_t>(mdb_get_int16(d.valueBytes(col, 2), 0));
      return;
    case MDB_LONGINT:
    case MDB_COMPLEX:
      into.integer = static_cast<std::int32_t>(mdb_get_int32(d.valueBytes(col, 4), 0));
      return;
    case MDB_FLOAT:
      into.kind = JetField::Kind::Real;
      into.real = mdb_get_single(d.valueBytes(col, 4), 0);
      return;
    case MDB_DOUBLE:
      into.kind = JetField::Kind::Real;
      into.real = mdb_get_double(d.valueBytes(col, 8), 0);
      return;
    case MDB_DATETIME:
      if (auto text = jetDateText(mdb_get_double(d.valueBytes(col, 8), 0))) {
        into.kind = JetField::Kind::Text;
        into.bytes = std::move(*text);
      } else {
        ++d.invalid;
        into.kind = JetField::Kind::Null;
      }
      return;
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_REPID:
      d.readText(column, into);
      return;
    case MDB_MONEY:
    case MDB_NUMERIC:
      d.readNumberText(column, into);
      return;
    case MDB_BINARY: {
      const unsigned char* bytes = d.valueBytes(col, col->cur_value_len);
      into.kind = JetField::Kind::Blob;
      into.bytes.assign(reinterpret_cast<const char*>(bytes), col->cur_value_len);
      return;
    }
    case MDB_OLE:
      d.readObject(col, into);
      return;
    default:
      into.kind = JetField::Kind::Null;
      return;
  }
}

std::unique_ptr<JetTable> openTable(MdbHandle* mdb, MdbCatalogEntry* entry,
                                    const std::string& file) {
  auto impl = std::make_unique<JetTable::Impl>();
  impl->mdb = mdb;
  impl->file = file;
  impl->name = entry->object_name;
  impl->table = mdb_read_table(entry);
  if (!impl->table) impl->fail("definizione della tabella illeggibile");
  if (!mdb_read_columns(impl->table) || !impl->table->columns ||
      impl->table->columns->len != impl->table->num_cols)
    impl->fail("colonne illeggibili");
  if (impl->table->num_cols == 0) impl->fail("tabella senza colonne");
  MdbTableDef* table = impl->table;
  impl->buffers.resize(table->num_cols);
  for (unsigned int i = 0; i < table->num_cols; ++i) {
    auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
    impl->mdbColumns.push_back(col);
    impl->columns.push_back({col->name, col->col_type, sqlTypeOf(col->col_type)});
    if (!boundAsText(col->col_type)) continue;
    impl->buffers[i].assign(kBindSize, '\0');
    if (mdb_bind_column(table, static_cast<int>(i) + 1, impl->buffers[i].data(), nullptr) < 0)
      impl->fail("colonna " + std::string(col->name) + " non leggibile");
  }
  mdb_rewind_table(table);
  return std::make_unique<JetTable>(std::move(impl));
}

}  // namespace jet
