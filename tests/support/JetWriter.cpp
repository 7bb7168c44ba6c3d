#include "support/JetWriter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <utility>

#include "platform/Format.h"
#include "support/JetText.h"

namespace jetfixture {

// Where the two versions differ in layout.
struct JetWriter::Format {
  int pageSize;
  int rowCountAt;       // data pages: the row count, the row offsets after it
  int rowsAt;           // table definition: the number of rows
  int tableTypeAt;      // table definition: the table type, the counts and map pointers after it
  int columnEntrySize;  // table definition: bytes per column
  int mapBytes;         // bitmap bytes of an inline usage map (a reference map has as many
                        // bytes of page pointers, plus the four of the start page)
  int headerMaskedBytes;
};

struct JetWriter::Table {
  std::string name;
  std::vector<Column> columns;
  TableOptions options;
  std::vector<int> fixedOffset;  // per column: offset in the fixed part of a row, -1 if variable
  std::vector<int> varIndex;     // per column: its place among the variable columns, or -1
  int fixedBytes = 0;
  int varCount = 0;
  std::uint32_t definitionPage = 0;
  std::vector<std::uint32_t> dataPages;
  std::uint32_t rows = 0;
};

namespace {

constexpr int kMaxRowsPerPage = 255;  // a row's number on its page is one byte in index entries
constexpr std::size_t kInlineLongValue = 64;     // longer memo and OLE values go to their own pages
constexpr std::size_t kCompressibleMemo = 1024;  // longer memos are never stored compressed
constexpr std::uint16_t kDeletedRow = 0x8000;
constexpr std::uint32_t kSystemObject = 0x80000002;

template <typename T>
void put(std::uint8_t* at, T value) {
  const auto bits = static_cast<std::uint64_t>(value);
  for (std::size_t i = 0; i < sizeof(T); ++i) at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

template <typename T>
void appendLe(std::string& out, T value) {
  std::uint8_t bytes[sizeof(T)];
  put(bytes, value);
  out.append(reinterpret_cast<const char*>(bytes), sizeof(T));
}

int get16(const std::vector<std::uint8_t>& page, int at) {
  return page[at] | (page[at + 1] << 8);
}

bool isFixed(ColumnType type) {
  return type != ColumnType::Text && type != ColumnType::Memo && type != ColumnType::Ole &&
         type != ColumnType::Binary;
}

// Bytes a fixed column takes in a row; a Boolean lives in the null mask only.
int fixedSize(ColumnType type) {
  switch (type) {
    case ColumnType::Boolean:
      return 0;
    case ColumnType::Byte:
      return 1;
    case ColumnType::Integer:
      return 2;
    case ColumnType::Long:
    case ColumnType::Single:
      return 4;
    default:
      return 8;
  }
}

// The key stream Jet masks the file header with: RC4 under the key 0x6B39DAC7.
std::vector<std::uint8_t> headerMask(int length) {
  const std::uint8_t key[4] = {0xC7, 0xDA, 0x39, 0x6B};
  std::uint8_t s[256];
  for (int i = 0; i < 256; ++i) s[i] = static_cast<std::uint8_t>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + s[i] + key[i % 4]) & 0xFF;
    std::swap(s[i], s[j]);
  }
  std::vector<std::uint8_t> mask(length);
  for (int n = 0, i = 0, j = 0; n < length; ++n) {
    i = (i + 1) & 0xFF;
    j = (j + s[i]) & 0xFF;
    std::swap(s[i], s[j]);
    mask[n] = s[(s[i] + s[j]) & 0xFF];
  }
  return mask;
}

std::invalid_argument badValue(const Column& column, const std::string& why) {
  return std::invalid_argument("column " + column.name + ": " + why);
}

double number(const Column& column, const Value& value) {
  if (const auto* i = std::get_if<std::int64_t>(&value)) return static_cast<double>(*i);
  if (const auto* d = std::get_if<double>(&value)) return *d;
  throw badValue(column, "a number is needed");
}

std::int64_t whole(const Column& column, const Value& value, std::int64_t low, std::int64_t high) {
  std::int64_t n = 0;
  if (const auto* i = std::get_if<std::int64_t>(&value))
    n = *i;
  else if (const double d = std::round(number(column, value)); std::abs(d) < 0x1p63)
    n = static_cast<std::int64_t>(d);
  else
    throw badValue(column, "number out of range");
  if (n < low || n > high) throw badValue(column, "number out of range: " + std::to_string(n));
  return n;
}

}  // namespace

double jetDate(int year, int month, int day, int hour, int minute, int second) {
  const double days = platform::dayNumber(year, month, day);
  const double time = (hour * 3600 + minute * 60 + second) / 86400.0;
  return days >= 0 ? days + time : days - time;
}

JetWriter::JetWriter(const std::string& path, JetVersion version) : path_(path), version_(version) {
  static const Format jet3{2048, 8, 12, 20, 18, 128, 126};
  static const Format jet4{4096, 12, 16, 40, 25, 64, 128};
  format_ = version == JetVersion::Jet3 ? &jet3 : &jet4;
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) throw std::runtime_error("cannot create " + path);
  // Page 0 is the header, page 1 the file's own usage map, page 2 the catalogue's definition.
  pageCount_ = 3;
}

JetWriter::~JetWriter() {
  if (!file_) return;
  std::fclose(file_);
  std::error_code ec;
  std::filesystem::remove(path_, ec);
}

void JetWriter::beginTable(const std::string& name, std::vector<Column> columns,
                           TableOptions options) {
  for (const auto& entry : catalog_)
    if (entry.name == name) throw std::invalid_argument("table written twice: " + name);
  endTable();
  const std::uint32_t page = newPage();
  openTable(name, std::move(columns), options, page);
  catalog_.push_back({name, page, static_cast<std::int32_t>(options.system ? kSystemObject : 0)});
}

void JetWriter::openTable(const std::string& name, std::vector<Column> columns,
                          TableOptions options, std::uint32_t definitionPage) {
  if (!file_) throw std::logic_error("the file is already finished");
  if (columns.empty()) throw std::invalid_argument("table without columns: " + name);
  auto t = std::make_unique<Table>();
  t->name = name;
  t->options = options;
  t->definitionPage = definitionPage;
  for (const auto& c : columns) {
    const bool fixed = isFixed(c.type);
    t->fixedOffset.push_back(fixed ? t->fixedBytes : -1);
    t->varIndex.push_back(fixed ? -1 : t->varCount);
    if (fixed)
      t->fixedBytes += fixedSize(c.type);
    else
      ++t->varCount;
    if ((c.type == ColumnType::Text || c.type == ColumnType::Binary) &&
        (c.length < 1 || c.length > 255))
      throw std::invalid_argument("column " + c.name + ": length must be 1 to 255");
  }
  t->columns = std::move(columns);
  (void)tableDefinition(*t, 0);  // refuses, before any row, a definition that does not fit
  table_ = std::move(t);
}

void JetWriter::addRow(const std::vector<Value>& values) {
  append(values, false);
}

void JetWriter::addDeletedRow(const std::vector<Value>& values) {
  append(values, true);
}

void JetWriter::append(const std::vector<Value>& values, bool deleted) {
  if (!table_) throw std::invalid_argument("no table to add a row to");
  if (values.size() != table_->columns.size())
    throw std::invalid_argument("table " + table_->name + ": " +
                                std::to_string(table_->columns.size()) + " values expected, " +
                                std::to_string(values.size()) + " given");
  try {
    placeRow(encodeRow(values), deleted);
  } catch (const std::invalid_argument& e) {
    throw std::invalid_argument("table " + table_->name + ": " + e.what());
  }
  if (!deleted) ++table_->rows;
}

std::string JetWriter::encodeRow(const std::vector<Value>& values) {
  const Table& t = *table_;
  const bool jet4 = version_ == JetVersion::Jet4;
  const std::size_t count = t.columns.size();
  std::string fixed(t.fixedBytes, '\0');
  std::vector<std::string> vars(t.varCount);
  std::string nullMask((count + 7) / 8, '\0');
  std::string field;
  for (std::size_t i = 0; i < count; ++i) {
    field.clear();
    const bool present = encodeField(t.columns[i], values[i], field);
    if (present) nullMask[i / 8] = static_cast<char>(nullMask[i / 8] | (1 << (i % 8)));
    if (t.fixedOffset[i] >= 0)
      fixed.replace(t.fixedOffset[i], field.size(), field);
    else
      vars[t.varIndex[i]] = field;
  }

  std::string row;
  appendCount(row, count);
  row += fixed;
  std::vector<std::size_t> offsets;
  for (const auto& v : vars) {
    offsets.push_back(row.size());
    row += v;
  }
  if (t.varCount > 0) {
    // The end of the data, the offsets from the last column back to the first, their count.
    offsets.push_back(row.size());
    if (!jet4 && row.size() + offsets.size() + 1 + nullMask.size() > 255)
      throw std::invalid_argument(
          "Jet 3 rows longer than 255 bytes need a jump table, which this writer does not write");
    for (auto o = offsets.rbegin(); o != offsets.rend(); ++o) appendCount(row, *o);
    appendCount(row, t.varCount);
  }
  return row + nullMask;
}

// Appends the bytes of one value to `out`; false when the value is Null (or a false Boolean).
bool JetWriter::encodeField(const Column& c, const Value& value, std::string& out) {
  if (std::holds_alternative<std::monostate>(value)) return false;
  switch (c.type) {
    case ColumnType::Boolean:
      return number(c, value) != 0;
    case ColumnType::Byte:
      appendLe(out, static_cast<std::uint8_t>(whole(c, value, 0, 255)));
      break;
    case ColumnType::Integer:
      appendLe(out, static_cast<std::int16_t>(whole(c, value, -32768, 32767)));
      break;
    case ColumnType::Long:
      appendLe(out, static_cast<std::int32_t>(whole(c, value, INT32_MIN, INT32_MAX)));
      break;
    case ColumnType::Currency: {
      const double scaled = std::round(number(c, value) * 10000);
      if (!(std::abs(scaled) < 0x1p63)) throw badValue(c, "currency out of range");
      appendLe(out, static_cast<std::int64_t>(scaled));
      break;
    }
    case ColumnType::Single:
      appendLe(out, std::bit_cast<std::uint32_t>(static_cast<float>(number(c, value))));
      break;
    case ColumnType::Double:
    case ColumnType::DateTime:
      appendLe(out, std::bit_cast<std::uint64_t>(number(c, value)));
      break;
    case ColumnType::Text:
      out += text(c, value, c.length);
      break;
    case ColumnType::Memo:
      out += longValue(text(c, value, 0));
      break;
    case ColumnType::Binary:
    case ColumnType::Ole: {
      const auto* bytes = std::get_if<std::string>(&value);
      if (!bytes) throw badValue(c, "bytes are needed");
      if (c.type == ColumnType::Binary && bytes->size() > static_cast<std::size_t>(c.length))
        throw badValue(c, "value longer than the column");
      out += c.type == ColumnType::Binary ? *bytes : longValue(*bytes);
      break;
    }
  }
  return true;
}

// The stored bytes of a text value of at most `limit` characters (0: any length).
std::string JetWriter::text(const Column& c, const Value& value, std::size_t limit) {
  const auto* utf8 = std::get_if<std::string>(&value);
  if (!utf8) throw badValue(c, "text is needed");
  const std::u16string units = utf16Of(*utf8);
  if (limit > 0 && units.size() > limit)
    throw badValue(c, "text longer than " + std::to_string(limit) + " characters");
  if (version_ == JetVersion::Jet3) return windows1252Bytes(units);
  const bool compress =
      c.compressed && (c.type == ColumnType::Text || units.size() <= kCompressibleMemo);
  return jet4Bytes(units, compress);
}

// The 12 bytes a memo or OLE value keeps in its row (its length and flags, where the rest is),
// followed by the value itself when short. A longer value goes to a page of its own ("LVAL"),
// or, when one page cannot hold it, to a chain of pages each naming the next.
std::string JetWriter::longValue(const std::string& bytes) {
  if (bytes.size() >= (1u << 24)) throw std::invalid_argument("long value of 16 MB or more");
  std::string header;
  const auto length = static_cast<std::uint32_t>(bytes.size());
  if (bytes.size() <= kInlineLongValue) {
    appendLe(header, length | 0x80000000u);
    appendLe(header, std::uint64_t{0});
    return header + bytes;
  }
  const std::size_t room = format_->pageSize - format_->rowCountAt - 4;  // one row, one offset
  if (bytes.size() <= room) {
    const std::uint32_t page = newPage();
    Page lval = dataPage("LVAL");
    addRowToPage(lval, bytes, 0);
    writePage(page, lval);
    appendLe(header, length | 0x40000000u);
    appendLe(header, page << 8);
    appendLe(header, std::uint32_t{0});
    return header;
  }
  const std::size_t piece = room - 4;
  const std::size_t pieces = (bytes.size() + piece - 1) / piece;
  const std::uint32_t first = pageCount_;
  pageCount_ += static_cast<std::uint32_t>(pieces);
  for (std::size_t k = 0; k < pieces; ++k) {
    std::string row;
    appendLe(row, k + 1 < pieces ? static_cast<std::uint32_t>(first + k + 1) << 8 : 0u);
    row += bytes.substr(k * piece, piece);
    Page lval = dataPage("LVAL");
    addRowToPage(lval, row, 0);
    writePage(first + static_cast<std::uint32_t>(k), lval);
  }
  appendLe(header, length);
  appendLe(header, first << 8);
  appendLe(header, std::uint32_t{0});
  return header;
}

void JetWriter::placeRow(const std::string& row, bool deleted) {
  const auto needed = static_cast<int>(row.size()) + 2;  // the row and its offset
  if (needed > format_->pageSize - format_->rowCountAt - 2)
    throw std::invalid_argument("row of " + std::to_string(row.size()) +
                                " bytes does not fit a page");
  if (!dataPage_.empty() &&
      (get16(dataPage_, format_->rowCountAt) == kMaxRowsPerPage || get16(dataPage_, 2) < needed))
    flushDataPage();
  if (dataPage_.empty()) {
    char owner[4];
    put(reinterpret_cast<std::uint8_t*>(owner), table_->definitionPage);
    dataPage_ = dataPage(owner);
    dataPageNumber_ = newPage();
    table_->dataPages.push_back(dataPageNumber_);
  }
  addRowToPage(dataPage_, row, deleted ? kDeletedRow : 0);
}

void JetWriter::flushDataPage() {
  if (dataPage_.empty()) return;
  writePage(dataPageNumber_, dataPage_);
  dataPage_.clear();
}

void JetWriter::endTable() {
  if (!table_) return;
  flushDataPage();
  writePage(table_->definitionPage, tableDefinition(*table_, writeUsageMaps()));
  table_.reset();
}

// Writes the page recording the table's usage map (the pages holding its rows) and its map of
// pages with free space (none: the pages are filled in order), and any bitmap pages a reference
// map points to; returns the number of the page holding the two maps.
std::uint32_t JetWriter::writeUsageMaps() {
  const auto& pages = table_->dataPages;
  const int bits = format_->mapBytes * 8;
  const std::uint32_t first = pages.empty() ? table_->definitionPage : pages.front();
  UsageMap kind = table_->options.usageMap;
  const bool fitsInline = pages.empty() || pages.back() - first < static_cast<std::uint32_t>(bits);
  if (kind == UsageMap::Auto) kind = fitsInline ? UsageMap::Inline : UsageMap::Reference;
  if (kind == UsageMap::Inline && !fitsInline)
    throw std::invalid_argument("table " + table_->name + ": too many pages for an inline map");

  std::string used(1 + 4 + format_->mapBytes, '\0');
  auto* map = reinterpret_cast<std::uint8_t*>(used.data());
  if (kind == UsageMap::Inline) {
    put(map + 1, first);
    for (std::uint32_t p : pages) map[5 + (p - first) / 8] |= 1 << ((p - first) % 8);
  } else {
    map[0] = 1;
    const std::uint32_t perPage = (format_->pageSize - 4) * 8;
    std::set<std::uint32_t> slots;
    for (std::uint32_t p : pages) slots.insert(p / perPage);
    for (std::uint32_t slot : slots) {
      if (1 + 4 * (slot + 1) > used.size())
        throw std::invalid_argument("file too large for a usage map");
      Page bitmap(format_->pageSize, 0);
      bitmap[0] = 0x05;
      bitmap[1] = 0x01;
      for (std::uint32_t p : pages)
        if (p / perPage == slot) bitmap[4 + (p % perPage) / 8] |= 1 << (p % 8);
      const std::uint32_t number = newPage();
      writePage(number, bitmap);
      put(map + 1 + 4 * slot, number);
    }
  }
  std::string free(used.size(), '\0');
  put(reinterpret_cast<std::uint8_t*>(free.data()) + 1, first);

  const std::uint32_t number = newPage();
  Page maps = dataPage("\0\0\0\0");
  addRowToPage(maps, used, 0);
  addRowToPage(maps, free, 0);
  writePage(number, maps);
  return number;
}

JetWriter::Page JetWriter::tableDefinition(const Table& t, std::uint32_t mapPage) const {
  const Format& f = *format_;
  const bool jet4 = version_ == JetVersion::Jet4;
  Page page(f.pageSize, 0);
  page[0] = 0x02;
  page[1] = 0x01;
  if (!jet4) {
    page[2] = 'V';
    page[3] = 'C';
  }
  put(&page[f.rowsAt], t.rows);
  std::uint8_t* counts = &page[f.tableTypeAt];
  counts[0] = t.options.system ? 0x53 : 0x4E;
  put(counts + 1, static_cast<std::uint16_t>(t.columns.size()));  // columns a row may have
  put(counts + 3, static_cast<std::uint16_t>(t.varCount));
  put(counts + 5, static_cast<std::uint16_t>(t.columns.size()));
  // No indexes (two counts of 0), then where the usage map and the free-space map are.
  put(counts + 15, mapPage << 8);
  put(counts + 19, (mapPage << 8) | 1);

  std::string tail;  // the column entries, then their names
  for (std::size_t i = 0; i < t.columns.size(); ++i) {
    const Column& c = t.columns[i];
    std::string e(f.columnEntrySize, '\0');
    auto* entry = reinterpret_cast<std::uint8_t*>(e.data());
    const int n = jet4 ? 4 : 0;  // Jet 4 has four more bytes before the column number
    const bool textual = c.type == ColumnType::Text || c.type == ColumnType::Memo;
    entry[0] = static_cast<std::uint8_t>(c.type);
    put(entry + n + 1, static_cast<std::uint16_t>(i));
    put(entry + n + 3, static_cast<std::uint16_t>(std::max(t.varIndex[i], 0)));
    put(entry + n + 5, static_cast<std::uint16_t>(i));
    if (textual) put(entry + n + 7, std::uint16_t{0x0409});     // general sort order
    if (textual && !jet4) put(entry + 9, std::uint16_t{1252});  // code page
    entry[jet4 ? 15 : 13] = isFixed(c.type) ? 0x03 : 0x02;      // fixed, may be null
    if (jet4 && textual && c.compressed) entry[16] = 0x01;
    put(entry + (jet4 ? 21 : 14), static_cast<std::uint16_t>(std::max(t.fixedOffset[i], 0)));
    int length = isFixed(c.type) ? std::max(fixedSize(c.type), 1) : 0;
    if (c.type == ColumnType::Text) length = jet4 ? 2 * c.length : c.length;
    if (c.type == ColumnType::Binary) length = c.length;
    put(entry + (jet4 ? 23 : 16), static_cast<std::uint16_t>(length));
    tail += e;
  }
  for (const Column& c : t.columns) {
    const std::u16string units = utf16Of(c.name);
    const std::string name = jet4 ? jet4Bytes(units, false) : windows1252Bytes(units);
    appendCount(tail, name.size());
    tail += name;
  }
  appendLe(tail, std::uint16_t{0xFFFF});  // no list of long-value column maps

  const std::size_t start = f.tableTypeAt + 23;
  if (start + tail.size() > page.size())
    throw std::invalid_argument("table " + t.name + ": definition longer than a page");
  std::memcpy(&page[start], tail.data(), tail.size());
  const auto used = static_cast<std::uint32_t>(start + tail.size());
  put(&page[8], used - 8);
  if (jet4) put(&page[2], static_cast<std::uint16_t>(f.pageSize - used - 8));
  return page;
}

JetWriter::Page JetWriter::dataPage(const char owner[4]) const {
  Page page(format_->pageSize, 0);
  page[0] = 0x01;
  page[1] = 0x01;
  std::memcpy(&page[4], owner, 4);
  put(&page[2], static_cast<std::uint16_t>(format_->pageSize - format_->rowCountAt - 2));
  return page;
}

void JetWriter::appendCount(std::string& out, std::size_t value) const {
  if (version_ == JetVersion::Jet4)
    appendLe(out, static_cast<std::uint16_t>(value));
  else
    appendLe(out, static_cast<std::uint8_t>(value));
}

// Puts `row` below the rows already on the page, which must have room for it; keeps the page's
// count of free bytes.
void JetWriter::addRowToPage(Page& page, const std::string& row, std::uint16_t flags) const {
  const int at = format_->rowCountAt;
  const int rows = get16(page, at);
  const int top = rows == 0 ? format_->pageSize : get16(page, at + 2 * rows) & 0x1FFF;
  const int start = top - static_cast<int>(row.size());
  std::memcpy(&page[start], row.data(), row.size());
  put(&page[at + 2 + 2 * rows], static_cast<std::uint16_t>(start | flags));
  put(&page[at], static_cast<std::uint16_t>(rows + 1));
  put(&page[2], static_cast<std::uint16_t>(start - (at + 2 + 2 * (rows + 1))));
}

JetWriter::Page JetWriter::headerPage() const {
  Page page(format_->pageSize, 0);
  page[1] = 0x01;
  std::memcpy(&page[4], "Standard Jet DB", 15);
  page[0x14] = version_ == JetVersion::Jet4 ? 1 : 0;
  put(&page[0x3C], std::uint16_t{1252});  // code page; the page key at 0x3E stays 0: no encryption
  put(&page[version_ == JetVersion::Jet4 ? 0x6E : 0x3A], std::uint16_t{0x0409});  // sort order
  const auto mask = headerMask(format_->headerMaskedBytes);
  for (std::size_t i = 0; i < mask.size(); ++i) page[0x18 + i] ^= mask[i];
  return page;
}

void JetWriter::finish() {
  endTable();
  if (!file_) throw std::logic_error("the file is already finished");
  const std::vector<Column> columns = {
      {"Id", ColumnType::Long},        {"ParentId", ColumnType::Long},
      {"Name", ColumnType::Text, 128}, {"Type", ColumnType::Integer},
      {"Flags", ColumnType::Long},     {"LvProp", ColumnType::Ole}};
  std::vector<CatalogEntry> entries = {
      {"MSysObjects", 2, static_cast<std::int32_t>(kSystemObject)}};
  entries.insert(entries.end(), catalog_.begin(), catalog_.end());
  openTable("MSysObjects", columns, {.usageMap = UsageMap::Auto, .system = true}, 2);
  for (const auto& e : entries)
    append({std::int64_t{e.definitionPage}, std::int64_t{0}, e.name, std::int64_t{1},
            std::int64_t{e.flags}, std::monostate{}},
           false);
  endTable();
  writePage(1, dataPage("\0\0\0\0"));
  writePage(0, headerPage());
  if (std::fclose(std::exchange(file_, nullptr)) != 0) {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
    throw std::runtime_error("cannot write " + path_);
  }
}

void JetWriter::writePage(std::uint32_t number, const Page& page) {
  const auto offset = static_cast<off_t>(number) * format_->pageSize;
  if (fseeko(file_, offset, SEEK_SET) != 0 ||
      std::fwrite(page.data(), 1, page.size(), file_) != page.size())
    throw std::runtime_error("cannot write " + path_);
}

}  // namespace jetfixture
