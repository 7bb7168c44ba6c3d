// Writes Access/Jet database files (Jet 4, the Access 2000-2003 format, and Jet 3, Access 97) for
// the tests and benchmarks of the Jet reading: the suite keeps its databases in such files, no
// packaged program writes them and no public sample carries a licence. Never linked into the
// programs, never used on a user's files.
//
// It writes what a reader meets in real files: tables of every common column type, Nulls,
// compressed and plain Unicode text, long values on their own pages, tables over many data pages
// with either kind of page usage map, rows marked deleted. It writes no indexes, relations or
// properties. Tables are written one after the other, their rows streamed to the file as the
// data pages fill, so a table of millions of rows takes little memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace jetfixture {

enum class JetVersion { Jet3, Jet4 };

// The type codes as the files store them.
enum class ColumnType : std::uint8_t {
  Boolean = 0x01,
  Byte = 0x02,
  Integer = 0x03,   // 16 bits
  Long = 0x04,      // 32 bits
  Currency = 0x05,  // 64 bits, in ten-thousandths
  Single = 0x06,
  Double = 0x07,
  DateTime = 0x08,  // days since 30/12/1899, the time as the fraction of a day
  Binary = 0x09,
  Text = 0x0A,
  Ole = 0x0B,  // long binary
  Memo = 0x0C  // long text
};

struct Column {
  std::string name;
  ColumnType type = ColumnType::Text;
  int length = 255;        // Text: characters, Binary: bytes (at most 255); others ignore it
  bool compressed = true;  // Jet 4 Text and Memo: values are stored compressed where shorter
};

// A cell: Null; a whole number; a real; text in UTF-8 (Text, Memo) or the bytes of a Binary or
// Ole value. Number columns take whole numbers and reals (a real rounded for the whole-number
// types), Currency to four decimals, DateTime the day number (see jetDate), Boolean any number
// (zero is false). A Null in a Boolean column is stored as false: the format keeps a Boolean's
// value where other columns keep their null flag.
using Value = std::variant<std::monostate, std::int64_t, double, std::string>;

// How a table records its data pages. Inline: a bitmap in the map record itself, for tables
// whose pages lie within a window of 512 pages (Jet 4) or 1,024 (Jet 3); reference: pointers to
// bitmap pages covering the whole file. Auto takes inline where it fits.
enum class UsageMap { Auto, Inline, Reference };

struct TableOptions {
  UsageMap usageMap = UsageMap::Auto;
  bool system = false;  // flagged in the catalogue as a system table (as "MSys..." tables are)
};

// The DateTime value of a date and time of day. Days before 30/12/1899 are negative, their time
// of day counted away from zero (29/12/1899 06:00 is -1.25), as Access stores them.
double jetDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

class JetWriter {
 public:
  // Creates (or replaces) the file at `path`. Throws std::runtime_error when it cannot.
  explicit JetWriter(const std::string& path, JetVersion version = JetVersion::Jet4);
  // A writer destroyed before finish() removes its unfinished file.
  ~JetWriter();
  JetWriter(const JetWriter&) = delete;
  JetWriter& operator=(const JetWriter&) = delete;

  // Starts a table (ending the one before). Throws std::invalid_argument for a table without
  // columns, a name used twice, or a definition that does not fit a page.
  void beginTable(const std::string& name, std::vector<Column> columns, TableOptions options = {});
  // Appends a row to the current table, one value per column. Throws std::invalid_argument when
  // there is no table, the count differs, a value does not fit its column (a number out of range,
  // a text too long, text in a number column) or the row does not fit a page; the row is then
  // not written and the writer stays usable.
  void addRow(const std::vector<Value>& values);
  // Appends a row already marked deleted, as a deletion leaves it: its bytes stay on the page with
  // the deleted flag in the page's row table, and the table's row count leaves it out.
  void addDeletedRow(const std::vector<Value>& values);
  // Writes the catalogue and the file header and closes the file. Nothing may be added after.
  void finish();

 private:
  struct Format;
  struct Table;
  struct CatalogEntry {
    std::string name;
    std::uint32_t definitionPage;
    std::int32_t flags;
  };
  using Page = std::vector<std::uint8_t>;

  void openTable(const std::string& name, std::vector<Column> columns, TableOptions options,
                 std::uint32_t definitionPage);
  void endTable();
  void append(const std::vector<Value>& values, bool deleted);
  std::string encodeRow(const std::vector<Value>& values);
  bool encodeField(const Column& column, const Value& value, std::string& out);
  std::string text(const Column& column, const Value& value, std::size_t limit);
  std::string longValue(const std::string& bytes);
  void placeRow(const std::string& row, bool deleted);
  void flushDataPage();
  std::uint32_t writeUsageMaps();
  Page tableDefinition(const Table& table, std::uint32_t mapPage) const;
  Page headerPage() const;
  Page dataPage(const char owner[4]) const;
  void addRowToPage(Page& page, const std::string& row, std::uint16_t flags) const;
  // A count or offset within a row or definition: two bytes in Jet 4, one in Jet 3.
  void appendCount(std::string& out, std::size_t value) const;
  std::uint32_t newPage() { return pageCount_++; }
  void writePage(std::uint32_t number, const Page& page);

  std::string path_;
  JetVersion version_;
  const Format* format_;
  std::FILE* file_ = nullptr;
  std::uint32_t pageCount_ = 0;
  std::unique_ptr<Table> table_;  // the table being written
  std::vector<CatalogEntry> catalog_;
  Page dataPage_;  // the current data page of the table, written when full
  std::uint32_t dataPageNumber_ = 0;
};

}  // namespace jetfixture
