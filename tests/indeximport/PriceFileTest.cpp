// Price files as fund houses, data sites and spreadsheets write them, read into exactly the
// records they hold; and the files that must be refused, each with the line and the reason.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "indeximport/CsvText.h"
#include "indeximport/FileRead.h"

namespace {

using indeximport::DecimalStyle;
using indeximport::FileRead;
using indeximport::ReadOptions;
using platform::dayNumber;

// The records of series `s` as "dd/mm/yyyy=value@line" (without "@line" unless `lines`).
std::vector<std::string> records(const FileRead& read, std::size_t s = 0, bool lines = true) {
  std::vector<std::string> out;
  for (const auto& r : read.series.at(s).records) {
    std::string text = platform::formatDate(r.day) + "=" + std::to_string(r.value);
    if (lines) text.append("@").append(std::to_string(r.line));
    out.push_back(text);
  }
  return out;
}

std::vector<std::string> reasons(const FileRead& read) {
  std::vector<std::string> out;
  for (const auto& bad : read.badLines) out.push_back(std::to_string(bad.line) + " " + bad.reason);
  return out;
}

FileRead read(const std::string& bytes, ReadOptions options = {}) {
  return indeximport::readPriceFile(bytes, options);
}

TEST(PriceFile, ReadsEveryDialectIntoTheSameRecords) {
  const std::vector<std::string> expected = {"02/01/2024=1234.567800", "03/01/2024=12.500000",
                                             "04/01/2024=13.000000"};
  struct Case {
    const char* name;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"Italian, semicolon",
       "Data;Valore quota\n02/01/2024;1.234,5678\n03/01/2024;12,5\n4/1/2024;13\n"},
      {"English, comma, quoted, ISO dates",
       "Date,Close\n2024-01-02,\"1,234.5678\"\n2024-01-03,12.5\n2024-01-04,13\n"},
      {"tab, dotted dates, CRLF, BOM",
       "\xEF\xBB\xBF"
       "DATA\tNAV\r\n02.01.2024\t1234,5678\r\n03.01.2024\t12,5\r\n04.01.2024\t13\r\n"},
      {"Windows-1252 header with extra columns",
       "Fondo;Data;Quota "
       "(\x80);Note\nX;02-01-2024;1.234,5678;\nX;03-01-2024;12,50;ok\nX;04-01-2024;13;\n"},
      {"blank lines, blank trailing cells and a time of day",
       "Data;Chiusura;;\n\n02/01/2024 00:00;1.234,5678;;\n;;;\n03/01/2024;12,5;;\n04/01/2024 "
       "17:30:00;13;;\n\n"},
      {"lone CR line ends, no header", "\n02/01/2024;1.234,5678\r03/01/2024;12,5\r04/01/2024;13"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FileRead result = read(c.bytes);
    ASSERT_EQ(result.refusal, "");
    EXPECT_EQ(reasons(result), std::vector<std::string>{});
    EXPECT_EQ(result.linesRead, 3);
    ASSERT_EQ(result.series.size(), 1u);
    EXPECT_EQ(result.series[0].records.back().line,
              std::string(c.name).starts_with("blank lines") ? 6 : 4);
    std::vector<std::string> got = records(result, 0, false);
    EXPECT_EQ(got, expected);
  }
}

TEST(PriceFile, TellsWhatItDecided) {
  FileRead windows = read("Data;Valore quota (\x80)\r\n13/01/2024;1.234,5\r\n");
  EXPECT_EQ(windows.encoding, "Windows-1252");
  EXPECT_TRUE(windows.crlf);
  EXPECT_TRUE(windows.header);
  EXPECT_EQ(windows.columns, "Data (colonna 1), Valore quota (\u20AC) (colonna 2)");
  EXPECT_EQ(windows.dateFormat->name(), "dd/mm/yyyy");
  EXPECT_FALSE(windows.dateFormatAssumed);
  EXPECT_EQ(windows.decimal, DecimalStyle::Italian);

  FileRead ambiguous = read("2024-01-05;1.5\n03/04/2024;2,5\n04/03/2024;3,5\n");
  EXPECT_EQ(ambiguous.dateFormat->name(), "dd/mm/yyyy");
  EXPECT_TRUE(ambiguous.dateFormatAssumed);
  EXPECT_EQ(reasons(ambiguous),
            std::vector<std::string>{"1 data non valida per il formato dd/mm/yyyy: 2024-01-05"});

  // A day above 12 in second place decides month first for the whole file.
  FileRead american = read("Date,Price\n01/13/2024,1.5\n02/01/2024,2.5\n");
  EXPECT_EQ(american.dateFormat->name(), "mm/dd/yyyy");
  EXPECT_EQ(records(american),
            (std::vector<std::string>{"13/01/2024=1.500000@2", "01/02/2024=2.500000@3"}));

  ReadOptions forced;
  forced.dateFormat = indeximport::DateFormat::parse("mm/dd/yyyy");
  forced.decimal = DecimalStyle::English;
  FileRead monthFirst = read("03/04/2024;1,234\n", forced);
  EXPECT_EQ(records(monthFirst), std::vector<std::string>{"04/03/2024=1234.000000@1"});
}

TEST(PriceFile, RefusesWhatItCannotDecide) {
  EXPECT_NE(read("Data;Valore\n02/01/2024;1,234\n03/01/2024;1.250\n").refusal.find("--decimal"),
            std::string::npos);
  EXPECT_EQ(read("Data;Valore;Quota\n02/01/2024;1;2\n").refusal,
            "più colonne del valore possibili: indicarle con --columns");
  EXPECT_EQ(read("02/01/2024;1;2\n").refusal,
            "più colonne del valore possibili: indicarle con --columns");
  EXPECT_EQ(read("Data;Valore\n").refusal, "nessuna data riconosciuta nel file");
  EXPECT_NE(read("\xFF\xFE"
                 "D\0a\0")
                .refusal.find("UTF-16"),
            std::string::npos);

  ReadOptions named;
  named.columns = {"Data,Prezzo"};
  EXPECT_EQ(read("Data;Valore\n02/01/2024;1\n", named).refusal,
            "colonna \"Prezzo\" non trovata nell'intestazione");
  named.columns = {"1,3"};
  FileRead chosen = read("Data;Valore;Quota\n02/01/2024;1;2,5\n", named);
  EXPECT_EQ(records(chosen), std::vector<std::string>{"02/01/2024=2.500000@2"});
}

TEST(PriceFile, ListsEveryLineItCannotReadWithItsReason) {
  const std::string bytes =
      "Data;Valore\n"
      "02/01/2024;n.d.\n"
      "03/01/2024;0\n"
      "04/01/2024;999999\n"
      "05/01/2024;-3,5\n"
      "31/02/2024;3,5\n"
      "09/04/1900;3,5\n"
      "31/12/2199;3,5\n"
      "08/01/2024;\"3,5\n"
      "09/01/2024;3\"5\n"
      "10/01/2024;\n"
      "11/01/2024;1.23,5\n"
      "12/01/2024;0,75\n";
  FileRead result = read(bytes);
  EXPECT_EQ(result.refusal, "");
  EXPECT_EQ(reasons(result), (std::vector<std::string>{
                                 "2 valore non numerico: n.d.",
                                 "3 valore 0 (per la suite: indice da cancellare)",
                                 "4 valore 999999 (segnaposto della suite)",
                                 "5 valore negativo",
                                 "6 data non valida per il formato dd/mm/yyyy: 31/02/2024",
                                 "7 data fuori dall'intervallo 10/04/1900 - 30/12/2199",
                                 "8 data fuori dall'intervallo 10/04/1900 - 30/12/2199",
                                 "9 virgolette non chiuse",
                                 "10 virgolette nel mezzo di un campo",
                                 "11 valore mancante",
                                 "12 valore non numerico: 1.23,5",
                             }));
  EXPECT_EQ(result.badLines.front().text, "02/01/2024;n.d.");
  EXPECT_EQ(records(result), std::vector<std::string>{"12/01/2024=0.750000@13"});
}

TEST(PriceFile, ReadsSeveralProductsSideBySideOrInLongForm) {
  ReadOptions wide;
  wide.columns = {"Data,A", "data,b"};
  FileRead sideBySide = read("Data;A;B\n02/01/2024;1,5;\n03/01/2024;1,6;7,25\n", wide);
  EXPECT_EQ(reasons(sideBySide), std::vector<std::string>{});
  EXPECT_EQ(records(sideBySide, 0),
            (std::vector<std::string>{"02/01/2024=1.500000@2", "03/01/2024=1.600000@3"}));
  EXPECT_EQ(records(sideBySide, 1), std::vector<std::string>{"03/01/2024=7.250000@3"});

  ReadOptions longForm;
  longForm.longForm = true;
  FileRead lines = read(
      "AZ1;02/01/2024;1,5\nAZ2;02/01/2024;2,5\n AZ1 ;03/01/2024;1,75\n;03/01/2024;1\n", longForm);
  ASSERT_EQ(lines.series.size(), 2u);
  EXPECT_EQ(lines.series[0].code, "AZ1");
  EXPECT_EQ(records(lines, 0),
            (std::vector<std::string>{"02/01/2024=1.500000@1", "03/01/2024=1.750000@3"}));
  EXPECT_EQ(lines.series[1].code, "AZ2");
  EXPECT_EQ(reasons(lines), std::vector<std::string>{"4 codice prodotto mancante"});
  ASSERT_EQ(lines.head.size(), 3u);
  EXPECT_EQ(lines.head[1].code, "AZ2");
}

TEST(PriceFile, KeepsHostileInputWithinBounds) {
  // A line far too long, then a file too large: refused, never held or echoed whole.
  FileRead longLine = read("02/01/2024;1\n" + std::string(200000, 'x') + "\n03/01/2024;2\n");
  ASSERT_EQ(longLine.badLines.size(), 1u);
  EXPECT_EQ(longLine.badLines[0].reason, "riga troppo lunga");
  EXPECT_LT(longLine.badLines[0].text.size(), 200u);
  // Terminal escapes in a bad line are shown, not obeyed (ESC, BEL and a C1 control).
  FileRead escapes = read("Data;Valore\n02/01/2024;1\n03/01/2024;2\n\x1b]0;x\x07\xc2\x9b;2\n");
  ASSERT_EQ(escapes.badLines.size(), 1u);
  EXPECT_EQ(escapes.badLines[0].text, "?]0;x??;2");
  EXPECT_EQ(escapes.badLines[0].reason.find('\x1b'), std::string::npos);
  EXPECT_NE(read(std::string(indeximport::kMaxFileBytes + 1, '1')).refusal.find("troppo grande"),
            std::string::npos);
  std::string many = "Data;Valore\n";
  for (int i = 0; i < 100; ++i) many += "xx;yy\n";
  many += "02/01/2024;1\n";
  FileRead listed = read(many);
  EXPECT_EQ(listed.badCount, 100);
  EXPECT_EQ(listed.badLines.size(), indeximport::kListedLines);
}

}  // namespace
