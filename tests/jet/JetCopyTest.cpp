#include "jet/JetCopy.h"

#include <SQLiteCpp/SQLiteCpp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <thread>

#include "jet/ChildProcess.h"
#include "jet/IsolatedCopy.h"
#include "jet/JetError.h"
#include "jet/JetField.h"
#include "platform/Store.h"
#include "support/JetWriter.h"
#include "support/TempFolder.h"

namespace {

using jet::JetError;
using jet::JetFailure;
using jetfixture::Column;
using jetfixture::ColumnType;
using jetfixture::jetDate;
using jetfixture::JetVersion;
using jetfixture::JetWriter;
using jetfixture::Value;

const Value null = std::monostate{};

// The rows of `sql` in `file`, every value as text ("NULL" for Null, "x'..'" for bytes).
std::vector<std::vector<std::string>> rows(const std::string& file, const std::string& sql) {
  SQLite::Database db(file);
  SQLite::Statement query(db, sql);
  std::vector<std::vector<std::string>> out;
  while (query.executeStep()) {
    auto& row = out.emplace_back();
    for (int i = 0; i < query.getColumnCount(); ++i) {
      const SQLite::Column column = query.getColumn(i);
      if (column.isNull())
        row.push_back("NULL");
      else if (column.isBlob())
        row.push_back("x'" + column.getString() + "'");
      else
        row.push_back(column.getString());
    }
  }
  return out;
}

std::string typeOf(const std::string& file, const std::string& table, int column) {
  SQLite::Database db(file);
  SQLite::Statement query(db, "SELECT type FROM pragma_table_info(?1) WHERE cid = ?2");
  query.bind(1, table);
  query.bind(2, column);
  return query.executeStep() ? query.getColumn(0).getString() : "";
}

class JetCopyTest : public ::testing::Test {
 protected:
  std::string jetFile(const std::string& name = "in.mdb") { return folder.file(name); }
  static jet::CopyParams params(const std::string& from, const std::string& to) {
    jet::CopyParams params;
    params.from = from;
    params.to = to;
    return params;
  }
  jet::CopyResult copy(const std::string& from, const std::string& to) {
    return jet::copyJetFile(params(from, to));
  }
  testsupport::TempFolder folder;
};

TEST_F(JetCopyTest, CopiesEveryTypeWithNullsAndTextOfAnyScript) {
  const std::vector<Column> columns = {
      {"Testo", ColumnType::Text, 50},  {"Piano", ColumnType::Text, 50, false},
      {"Nota", ColumnType::Memo},       {"Piccolo", ColumnType::Byte},
      {"Intero", ColumnType::Integer},  {"Lungo", ColumnType::Long},
      {"Singolo", ColumnType::Single},  {"Doppio", ColumnType::Double},
      {"Valuta", ColumnType::Currency}, {"Sì", ColumnType::Boolean},
      {"Data", ColumnType::DateTime},   {"Bytes", ColumnType::Binary, 8},
      {"Oggetto", ColumnType::Ole}};
  {
    JetWriter writer(jetFile());
    writer.beginTable("Tutto", columns);
    writer.addRow({std::string("Città €"), std::string("Ελληνικά Кириллица"),
                   std::string(70000, 'm'), std::int64_t{255}, std::int64_t{-32768},
                   std::int64_t{-2147483648LL}, 0.5, 0.1, 1234.5678, std::int64_t{1},
                   jetDate(1850, 6, 15, 6, 30), std::string("\x01\x00\xff", 3),
                   std::string(5000, '\x7f')});
    writer.addRow({null, null, null, null, null, null, null, null, null, null, null, null, null});
    writer.addDeletedRow({std::string("cancellata"), null, null, null, null, std::int64_t{7}, null,
                          null, null, null, null, null, null});
    writer.addRow({std::string(""), std::string("x"), std::string("breve"), std::int64_t{0},
                   std::int64_t{32767}, std::int64_t{2147483647}, -2.5, 1e300, -0.0001,
                   std::int64_t{0}, jetDate(2150, 12, 31), null, null});
    writer.beginTable("Vuota", {{"Codice", ColumnType::Text, 10}});
    writer.finish();
  }
  const auto result = copy(jetFile(), folder.file("out.sqlite"));

  EXPECT_EQ(result.version, 4);
  ASSERT_EQ(result.tables.size(), 2u);
  EXPECT_EQ(result.tables[0].rows, 3);  // the deleted row is left out
  EXPECT_EQ(result.tables[1].rows, 0);
  const std::string out = folder.file("out.sqlite");
  const std::vector<std::string> types = {"TEXT",    "TEXT", "TEXT", "INTEGER", "INTEGER",
                                          "INTEGER", "REAL", "REAL", "REAL",    "INTEGER",
                                          "TEXT",    "BLOB", "BLOB"};
  for (int i = 0; i < 13; ++i) EXPECT_EQ(typeOf(out, "Tutto", i), types[i]) << i;
  const auto copied = rows(
      out,
      "SELECT Testo, Piano, length(Nota), Piccolo, Intero, Lungo, Singolo, Doppio, Valuta, "
      "\"Sì\", Data, quote(Bytes), length(Oggetto), typeof(Oggetto) FROM Tutto ORDER BY rowid");
  ASSERT_EQ(copied.size(), 3u);
  EXPECT_EQ(copied[0],
            (std::vector<std::string>{"Città €", "Ελληνικά Кириллица", "70000", "255", "-32768",
                                      "-2147483648", "0.5", "0.1", "1234.5678", "1",
                                      "1850-06-15 06:30:00", "X'0100FF'", "5000", "blob"}));
  EXPECT_EQ(copied[1],
            std::vector<std::string>({"NULL", "NULL", "NULL", "NULL", "NULL", "NULL", "NULL",
                                      "NULL", "NULL", "0", "NULL", "NULL", "NULL", "null"}));
  EXPECT_EQ(copied[2],
            (std::vector<std::string>{"", "x", "5", "0", "32767", "2147483647", "-2.5", "1.0e+300",
                                      "-0.0001", "0", "2150-12-31", "NULL", "NULL", "null"}));
  // Doubles arrive bit for bit, not through a shortened decimal text.
  EXPECT_EQ(rows(out, "SELECT Doppio = 0.1 FROM Tutto WHERE rowid = 1")[0][0], "1");
}

TEST_F(JetCopyTest, ReadsJet3TextInItsCodePageAndTablesOverManyPages) {
  {
    JetWriter writer(jetFile(), JetVersion::Jet3);
    writer.beginTable("Indici",
                      {{"IndProdotto", ColumnType::Text, 20},
                       {"IndData", ColumnType::DateTime},
                       {"IndValore", ColumnType::Double}},
                      {jetfixture::UsageMap::Reference});
    for (int i = 0; i < 20000; ++i) {
      if (i % 1000 == 7) writer.addDeletedRow({std::string("VIA"), jetDate(2000, 1, 1), 0.0});
      writer.addRow({std::string(i % 2 ? "perché" : "AZ001"), jetDate(2000, 1, 1) + i, i * 0.25});
    }
    writer.finish();
  }
  const auto result = copy(jetFile(), folder.file("out.sqlite"));
  EXPECT_EQ(result.version, 3);
  const auto copied = rows(folder.file("out.sqlite"),
                           "SELECT count(*), sum(IndValore), min(IndData), max(IndData), "
                           "sum(IndProdotto = 'perché') FROM Indici");
  EXPECT_EQ(copied[0],
            (std::vector<std::string>{"20000", "49997500.0", "2000-01-01", "2054-10-03", "10000"}));
}

TEST_F(JetCopyTest, TablesOfTheProgramGetItsCollationAndIndexes) {
  {
    JetWriter writer(jetFile());
    writer.beginTable("Indici", {{"IndProdotto", ColumnType::Text, 20},
                                 {"IndData", ColumnType::DateTime},
                                 {"IndValoreMon", ColumnType::Double},
                                 {"IndValore", ColumnType::Double}});
    writer.addRow({std::string("az001"), jetDate(2024, 1, 2), 1.0, 1.0});
    // Two products of one code apart from case: the unique index cannot hold, the lookup needs
    // the index all the same.
    writer.beginTable("TabProdotti",
                      {{"Codice", ColumnType::Text, 20}, {"Descrizione", ColumnType::Text, 50}});
    writer.addRow({std::string("AZ001"), std::string("uno")});
    writer.addRow({std::string("az001"), std::string("due")});
    writer.beginTable("Altro", {{"Codice", ColumnType::Text, 20}});
    writer.finish();
  }
  copy(jetFile(), folder.file("out.sqlite"));
  const std::string out = folder.file("out.sqlite");
  EXPECT_EQ(rows(out, "SELECT count(*) FROM Indici WHERE IndProdotto = 'AZ001'")[0][0], "1");
  EXPECT_EQ(rows(out, "SELECT count(*) FROM Altro WHERE Codice = 'X'")[0][0], "0");
  const auto indexes =
      rows(out, "SELECT name, tbl_name FROM sqlite_master WHERE type = 'index' ORDER BY name");
  EXPECT_EQ(indexes, (std::vector<std::vector<std::string>>{
                         {"primaria", "Indici"}, {"primaria_TabProdotti", "TabProdotti"}}));
  auto db = platform::Database::open(out);
  auto table = db->openTable("Indici");
  table->setIndex("primaria");
  EXPECT_TRUE(
      table->seek(platform::SeekOp::Equal, std::string("Az001"), std::string("2024-01-02")));
}

TEST_F(JetCopyTest, ADamagedFileIsAClearErrorAndLeavesNoCopy) {
  {
    JetWriter writer(jetFile());
    writer.beginTable("Indici",
                      {{"IndProdotto", ColumnType::Text, 20}, {"IndValore", ColumnType::Double}});
    for (int i = 0; i < 5000; ++i) writer.addRow({std::string("AZ001"), i * 1.0});
    writer.finish();
  }
  const std::string bytes = testsupport::TempFolder::read(jetFile());
  const std::string out = folder.file("out.sqlite");
  const auto failure = [&](const std::string& damaged) -> std::optional<JetError> {
    testsupport::TempFolder::write(jetFile("damaged.mdb"), damaged);
    try {
      jet::copyJetFileApart(params(jetFile("damaged.mdb"), out));
    } catch (const JetError& e) {
      EXPECT_NE(std::string(e.what()).find("damaged.mdb"), std::string::npos) << e.what();
      EXPECT_FALSE(std::filesystem::exists(out));
      return e;
    }
    return std::nullopt;
  };

  // Data pages wiped out: the table's rows end before those it records.
  std::string wiped = bytes;
  std::fill(wiped.begin() + 8 * 4096, wiped.begin() + 12 * 4096, '\0');
  const auto lost = failure(wiped);
  ASSERT_TRUE(lost);
  EXPECT_EQ(lost->kind(), JetFailure::Damaged);
  EXPECT_EQ(lost->table(), "Indici");

  // Cut short, or no Jet file at all behind a Jet name.
  EXPECT_TRUE(failure(bytes.substr(0, 6 * 4096)));
  const auto other = failure(std::string(8192, 'x'));
  ASSERT_TRUE(other);
  EXPECT_EQ(other->kind(), JetFailure::Unreadable);
}

TEST(ChildProcessTest, ACrashOrASilentChildIsAReasonNotAFall) {
  const auto crashed = jet::ChildProcess::run(
      [](const auto& say) {
        say("prima");
        std::abort();  // a fault the sanitizers, when built in, leave to the signal
        return 0;
      },
      {}, {}, std::chrono::seconds(10));
  EXPECT_FALSE(crashed.succeeded);
  EXPECT_NE(crashed.failure.find("segnale 6"), std::string::npos) << crashed.failure;

  std::vector<std::string> heard;
  const auto silent = jet::ChildProcess::run(
      [](const auto& say) {
        say("uno");
        std::this_thread::sleep_for(std::chrono::seconds(30));
        return 0;
      },
      [&heard](std::string_view line) { heard.emplace_back(line); }, {},
      std::chrono::milliseconds(300));
  EXPECT_FALSE(silent.succeeded);
  EXPECT_NE(silent.failure.find("non risponde"), std::string::npos);
  EXPECT_EQ(heard, std::vector<std::string>{"uno"});
}

TEST(JetDateTest, DaysAndTimesOnBothSidesOf1899) {
  EXPECT_EQ(jet::jetDateText(0.0), "1899-12-30");
  EXPECT_EQ(jet::jetDateText(2.0), "1900-01-01");
  EXPECT_EQ(jet::jetDateText(-1.25), "1899-12-29 06:00:00");
  EXPECT_EQ(jet::jetDateText(-0.5), "1899-12-30 12:00:00");
  EXPECT_EQ(jet::jetDateText(109574.0), "2199-12-31");
  // A time a hair before midnight is the next day, as the seconds round.
  EXPECT_EQ(jet::jetDateText(45000.9999999), "2023-03-16");
  EXPECT_EQ(jet::jetDateText(-657434.0), "0100-01-01");
  EXPECT_FALSE(jet::jetDateText(-657435.0));
  EXPECT_FALSE(jet::jetDateText(2958466.0));
  EXPECT_FALSE(jet::jetDateText(std::nan("")));
}

}  // namespace
