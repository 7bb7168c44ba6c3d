#include "support/JetWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>

#include "support/JetText.h"
#include "support/LibmdbTable.h"
#include "support/TempFolder.h"

namespace {

using jetfixture::Column;
using jetfixture::ColumnType;
using jetfixture::jetDate;
using jetfixture::JetVersion;
using jetfixture::JetWriter;
using jetfixture::Value;
using testsupport::LibmdbTable;
using Row = std::vector<std::optional<std::string>>;

const Value null = std::monostate{};
constexpr auto none = std::nullopt;

Value text(const std::string& s) {
  return s;
}
Value whole(std::int64_t n) {
  return n;
}

std::string repeated(const std::string& pattern, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += pattern;
  return out;
}

// The rows mdb-export prints for `table` (text quoted, Nulls as "<NULL>", binary in hex); an
// empty result when the program is missing.
std::optional<std::vector<Row>> exported(const std::string& file, const std::string& table) {
  const std::string command = "mdb-export -H -0 '<NULL>' -b hex -T '%Y-%m-%d %H:%M:%S' '" + file +
                              "' '" + table + "' 2>/dev/null";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string csv;
  char buffer[65536];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) csv.append(buffer, n);
  if (pclose(pipe) != 0) return std::nullopt;
  std::vector<Row> rows;
  Row row;
  std::string field;
  bool quoted = false, inQuotes = false;
  for (std::size_t i = 0; i < csv.size(); ++i) {
    const char c = csv[i];
    if (inQuotes) {
      if (c == '"' && i + 1 < csv.size() && csv[i + 1] == '"')
        field += csv[++i];
      else if (c == '"')
        inQuotes = false;
      else
        field += c;
    } else if (c == '"') {
      inQuotes = quoted = true;
    } else if (c == ',' || c == '\n') {
      row.push_back(!quoted && field == "<NULL>" ? std::nullopt : std::optional(field));
      field.clear();
      quoted = false;
      if (c == '\n') rows.push_back(std::exchange(row, {}));
    } else {
      field += c;
    }
  }
  return rows;
}

bool haveMdbExport() {
  return std::system("command -v mdb-export >/dev/null 2>&1") == 0;
}

std::string hex(const std::string& bytes) {
  std::string out;
  char digits[3];
  for (unsigned char b : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", b);
    out += digits;
  }
  return out;
}

// The columns of every type the writer knows, and rows covering their ranges, Nulls, text of
// the Windows-1252 range and beyond, stored compressed and plain, long values inline, on one
// page and on a chain of pages.
struct EveryType {
  std::vector<Column> columns = {
      {"Testo", ColumnType::Text, 60},    {"Nota", ColumnType::Memo},
      {"Piccolo", ColumnType::Byte},      {"Intero", ColumnType::Integer},
      {"Lungo", ColumnType::Long},        {"Singolo", ColumnType::Single},
      {"Doppio", ColumnType::Double},     {"Valuta", ColumnType::Currency},
      {"Flag", ColumnType::Boolean},      {"Data", ColumnType::DateTime},
      {"Oggetto", ColumnType::Ole},       {"Piano", ColumnType::Text, 60, false},
      {"Binario", ColumnType::Binary, 8},
  };
  std::string latin = "Città € – “virgolette” Œœ ÿ";
  std::string greek = "Ελληνικά и Кириллица";
  std::string onePage = repeated("Quota di partecipazione, ", 40);  // compressed
  std::string chained = repeated("Облигации и акции. ", 300);       // 5,700 characters
  std::string bytes = std::string("\x01\x02ole\x00\xFFz", 8);
  std::vector<std::vector<Value>> written = {
      {text(latin), text("nota breve"), whole(255), whole(-32768), whole(INT32_MIN), 1.5, 0.1,
       1234.5678, whole(1), jetDate(1899, 12, 30), text(bytes), text("semplice"), text("bin")},
      {text(greek), text(onePage), whole(0), whole(32767), whole(INT32_MAX), -2.25, -1e-300,
       -0.0001, whole(0), jetDate(1899, 12, 31, 6, 0, 0), text(std::string(3000, 'x')), text(greek),
       text("\x7F\x01")},
      {text("Misto Ελλ abc"), text(chained), whole(7), whole(-1), whole(0), 0.5, 1234567.125,
       12345678.9012, whole(1), jetDate(2199, 12, 31), null, text(""), null},
      {null, null, null, null, null, null, null, null, null, jetDate(2500, 6, 15, 13, 45, 30), null,
       null, null},
  };
  std::vector<Row> expected = {
      {latin, "nota breve", "255", "-32768", "-2147483648", "1.5", "0.1", "1234.5678", "1",
       "1899-12-30 00:00:00", bytes, "semplice", "bin"},
      {greek, onePage, "0", "32767", "2147483647", "-2.25", "-1e-300", "-0.0001", "0",
       "1899-12-31 06:00:00", std::string(3000, 'x'), greek, "\x7F\x01"},
      {"Misto Ελλ abc", chained, "7", "-1", "0", "0.5", "1234567.125", "12345678.9012", "1",
       "2199-12-31 00:00:00", none, none, none},
      {none, none, none, none, none, none, none, none, "0", "2500-06-15 13:45:30", none, none,
       none},
  };
};

TEST(JetWriterTest, EveryTypeReadsBackThroughLibmdbAndMdbExport) {
  testsupport::TempFolder folder;
  const std::string file = folder.file("Tutti.mdb");
  const EveryType data;
  JetWriter writer(file);
  writer.beginTable("Tutti", data.columns);
  for (const auto& row : data.written) writer.addRow(row);
  writer.finish();

  const auto read = LibmdbTable::read(file, "Tutti");
  ASSERT_EQ(read.columns.size(), data.columns.size());
  for (std::size_t i = 0; i < data.columns.size(); ++i) {
    EXPECT_EQ(read.columns[i], data.columns[i].name);
    EXPECT_EQ(read.types[i], static_cast<int>(data.columns[i].type));
  }
  EXPECT_EQ(read.declaredRows, data.written.size());
  ASSERT_EQ(read.rows.size(), data.expected.size());
  for (std::size_t r = 0; r < data.expected.size(); ++r)
    for (std::size_t c = 0; c < data.columns.size(); ++c)
      EXPECT_EQ(read.rows[r][c], data.expected[r][c]) << "row " << r << " column " << c;

  if (!haveMdbExport()) GTEST_SKIP() << "mdb-export (package mdbtools) is not installed";
  const auto csv = exported(file, "Tutti");
  ASSERT_TRUE(csv);
  ASSERT_EQ(csv->size(), data.expected.size());
  for (std::size_t r = 0; r < data.expected.size(); ++r)
    for (std::size_t c = 0; c < data.columns.size(); ++c) {
      auto want = data.expected[r][c];
      const ColumnType type = data.columns[c].type;
      if (want && (type == ColumnType::Ole || type == ColumnType::Binary)) want = hex(*want);
      EXPECT_EQ((*csv)[r][c], want) << "row " << r << " column " << c;
    }
}

// Text is stored compressed only where that is shorter and the format allows it.
TEST(JetWriterTest, CompressesTextWhereShorterAndPossible) {
  using jetfixture::jet4Bytes;
  EXPECT_EQ(jet4Bytes(u"AZ001", true), std::string("\xFF\xFE"
                                                   "AZ001"));
  EXPECT_EQ(jet4Bytes(u"AZ001", false), std::string("A\0Z\0"
                                                    "0\0"
                                                    "0\0"
                                                    "1\0",
                                                    10));
  // One character is shorter plain; U+0100 has a zero low byte, which would read as a switch.
  EXPECT_EQ(jet4Bytes(u"A", true), std::string("A\0", 2));
  EXPECT_EQ(jet4Bytes(u"abcĀdef", true).substr(0, 2), std::string("a\0", 2));
  // Greek in the middle: one switch to two bytes a character, one back.
  EXPECT_EQ(jet4Bytes(u"abcdefΩΩxyz", true), std::string("\xFF\xFE"
                                                         "abcdef\0\xA9\x03\xA9\x03\0xyz",
                                                         17));
  EXPECT_EQ(jet4Bytes(u"", true), "");
}

TEST(JetWriterTest, TablesOverManyPagesWithDeletedRowsKeepEveryLiveRow) {
  testsupport::TempFolder folder;
  const std::string file = folder.file("Molte.mdb");
  const std::vector<Column> columns = {{"Codice", ColumnType::Text, 12},
                                       {"Numero", ColumnType::Long},
                                       {"Valore", ColumnType::Double}};
  struct Case {
    std::string table;
    int rows;
    jetfixture::UsageMap map;
    int mapType;
  };
  // 20,000 rows fill some 160 pages, within an inline map's window; 80,000 rows need a
  // reference map; the small table takes one because it is asked to.
  const std::vector<Case> cases = {{"Breve", 20000, jetfixture::UsageMap::Auto, 0},
                                   {"Lunga", 80000, jetfixture::UsageMap::Auto, 1},
                                   {"Rinvio", 500, jetfixture::UsageMap::Reference, 1}};
  std::vector<std::vector<Row>> expected(cases.size());
  JetWriter writer(file);
  for (std::size_t k = 0; k < cases.size(); ++k) {
    writer.beginTable(cases[k].table, columns, {.usageMap = cases[k].map});
    for (int i = 0; i < cases[k].rows; ++i) {
      char code[16];
      std::snprintf(code, sizeof code, "P%06d", 100000 + i);
      if (i % 7 == 3) {
        writer.addDeletedRow({text("CANCELLATA"), whole(-i), 0.5});
        continue;
      }
      writer.addRow({text(code), whole(i), i + 0.25});
      expected[k].push_back({std::string(code), std::to_string(i), std::to_string(i) + ".25"});
    }
  }
  writer.finish();

  for (std::size_t k = 0; k < cases.size(); ++k) {
    SCOPED_TRACE(cases[k].table);
    const auto read = LibmdbTable::read(file, cases[k].table);
    EXPECT_EQ(read.usageMapType, cases[k].mapType);
    EXPECT_EQ(read.declaredRows, expected[k].size());
    EXPECT_EQ(read.deletedRows, cases[k].rows - static_cast<int>(expected[k].size()));
    EXPECT_EQ(read.rows, expected[k]);
  }

  if (!haveMdbExport()) GTEST_SKIP() << "mdb-export (package mdbtools) is not installed";
  // mdb-export 1.0 lists the rows marked deleted too (its flags are read the wrong way round);
  // later versions leave them out. Either way the live rows come in order and unchanged.
  const auto csv = exported(file, "Breve");
  ASSERT_TRUE(csv);
  std::vector<Row> live;
  for (const auto& row : *csv)
    if (row[0] != "CANCELLATA") live.push_back(row);
  EXPECT_EQ(live, expected[0]);
}

TEST(JetWriterTest, CatalogueListsUserTablesAndEmptyTablesReadBack) {
  testsupport::TempFolder folder;
  const std::string file = folder.file("Catalogo.mdb");
  JetWriter writer(file);
  writer.beginTable("Vuota", {{"Codice", ColumnType::Text}, {"Importo", ColumnType::Currency}});
  writer.beginTable("MSysNascosta", {{"Id", ColumnType::Long}}, {.system = true});
  writer.addRow({whole(1)});
  writer.beginTable("Numeri", {{"N", ColumnType::Long}, {"D", ColumnType::Double}});
  writer.addRow({whole(5), 2.5});
  writer.finish();

  EXPECT_EQ(LibmdbTable::userTables(file), (std::vector<std::string>{"Vuota", "Numeri"}));
  const auto empty = LibmdbTable::read(file, "Vuota");
  EXPECT_EQ(empty.columns, (std::vector<std::string>{"Codice", "Importo"}));
  EXPECT_TRUE(empty.rows.empty());
  // A table of fixed columns only: its rows carry no table of variable columns.
  EXPECT_EQ(LibmdbTable::read(file, "Numeri").rows, (std::vector<Row>{{"5", "2.5"}}));
}

TEST(JetWriterTest, Jet3FilesStoreTextInWindows1252) {
  testsupport::TempFolder folder;
  const std::string file = folder.file("Access97.mdb");
  const std::string chained = repeated("Società per azioni. ", 250);
  JetWriter writer(file, JetVersion::Jet3);
  writer.beginTable("Vecchia", {{"Testo", ColumnType::Text, 40},
                                {"Nota", ColumnType::Memo},
                                {"Valore", ColumnType::Double},
                                {"Data", ColumnType::DateTime},
                                {"Flag", ColumnType::Boolean}});
  writer.addRow({text("Città € Œ"), text(chained), 2.5, jetDate(2024, 2, 29), whole(1)});
  writer.addRow({text("Ελλάδα"), text("breve"), null, null, null});
  writer.finish();

  const auto read = LibmdbTable::read(file, "Vecchia");
  EXPECT_EQ(read.rows, (std::vector<Row>{{"Città € Œ", chained, "2.5", "2024-02-29 00:00:00", "1"},
                                         {"??????", "breve", none, none, "0"}}));
}

TEST(JetWriterTest, RefusesValuesThatDoNotFitAndStaysUsable) {
  testsupport::TempFolder folder;
  const std::string file = folder.file("Rifiuti.mdb");
  {
    JetWriter writer(file);
    std::vector<Column> wide;
    for (int i = 0; i < 10; ++i) wide.push_back({"T" + std::to_string(i), ColumnType::Text, 255});
    writer.beginTable("Larga", wide);
    EXPECT_THROW(writer.addRow(std::vector<Value>(10, text(repeated("Ω", 255)))),
                 std::invalid_argument);
    writer.beginTable("Numeri", {{"B", ColumnType::Byte}, {"T", ColumnType::Text, 3}});
    EXPECT_THROW(writer.addRow({whole(256), text("a")}), std::invalid_argument);
    EXPECT_THROW(writer.addRow({text("1"), text("a")}), std::invalid_argument);
    EXPECT_THROW(writer.addRow({whole(1), text("abcd")}), std::invalid_argument);
    EXPECT_THROW(writer.addRow({whole(1)}), std::invalid_argument);
    writer.addRow({whole(1), text("abc")});
    writer.finish();
  }
  EXPECT_EQ(LibmdbTable::read(file, "Numeri").rows, (std::vector<Row>{{"1", "abc"}}));

  // A writer given up before finish() leaves no half-written file.
  const std::string unfinished = folder.file("Interrotta.mdb");
  {
    JetWriter writer(unfinished);
    writer.beginTable("T", {{"N", ColumnType::Long}});
  }
  EXPECT_FALSE(std::filesystem::exists(unfinished));
}

TEST(JetWriterTest, DatesCountDaysFromTheEndOf1899) {
  EXPECT_EQ(jetDate(1899, 12, 30), 0.0);
  EXPECT_EQ(jetDate(1900, 1, 1, 12), 2.5);
  EXPECT_EQ(jetDate(1899, 12, 29, 6), -1.25);  // the time counts away from zero
  EXPECT_EQ(jetDate(2199, 12, 31), 109574.0);
}

}  // namespace
