// The client sheet's pages as a reader of the PDF meets them: a table longer than a page goes on
// under its repeated header and every page is numbered out of the whole.
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <string>

#include "platform/Format.h"
#include "report/SheetFile.h"
#include "report/ui/SheetPdf.h"

namespace {

std::string pdfText(const std::string& path) {
  std::string text;
  if (std::FILE* pipe = popen(("pdftotext -layout '" + path + "' -").c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

int count(const std::string& text, const std::string& part) {
  int found = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

}  // namespace

class SheetPdfTest : public QObject {
  Q_OBJECT

 private slots:
  void longTableGoesOnUnderItsHeader() {
    report::ClientSheet sheet;
    sheet.product = "LUNGO - Tabella lunga";
    sheet.closing = "fine del foglio";
    report::SheetTable table{"Righe", {"riga", "valore"}, {1, 1}, {}};
    for (int i = 1; i <= 150; ++i)
      table.rows.push_back(
          {{std::to_string(i)}, report::gridCell(platform::formatNumber(-i, "#0.00"))});
    sheet.tables.push_back(table);
    QTemporaryDir folder;
    const std::string path = folder.filePath("lungo.pdf").toStdString();
    report::ui::saveSheetPdf(sheet, path);
    const std::string text = pdfText(path);
    const int pages = count(text, "\f");
    QVERIFY2(pages >= 3, text.c_str());
    QCOMPARE(count(text, "Righe (segue)"), pages - 1);
    QCOMPARE(count(text, "valore"), pages);  // the header row on every page
    for (int page = 1; page <= pages; ++page) {
      const std::string number = report::pageText(page, pages);
      QVERIFY2(text.find(number) != std::string::npos, number.c_str());
    }
    QVERIFY(text.find("-150,00") != std::string::npos);
    QCOMPARE(count(text, "fine del foglio"), 1);
  }
};

QTEST_MAIN(SheetPdfTest)
#include "SheetPdfTest.moc"
