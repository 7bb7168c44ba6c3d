// The window "Importa indici" driven as a user would: a file chosen shows what it holds and
// what would happen without writing; a changed format is read again; "Importa" writes, and the
// statistics can then open on the product.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "../../support/Elision.h"
#include "../../support/UiFixture.h"
#include "indeximport/ui/ImportaIndici.h"

using namespace testsupport;  // the window tests' world and their control helpers

namespace {

struct Session : testsupport::UiSession {
  explicit Session(const UiInstallation& inst) : UiSession(inst) { openDatabases(inst); }
};

long long records(const UiInstallation& inst) {
  return SQLite::Database(inst.indexDb()).execAndGet("SELECT count(*) FROM Indici").getInt64();
}

}  // namespace

class ImportaIndiciTest : public QObject {
  Q_OBJECT

 private slots:
  void previewsThenImportsAndOpensTheStatistics() {
    UiInstallation inst;
    inst.addProduct("P1", "Fondo Alfa", "EUR", "", "");
    inst.addIndexValues("P1", {{"2024-01-03", 11}});
    const std::string path = inst.file("quote.csv");
    TempFolder::write(path,
                      "Data;Valore quota\r\n02/01/2024;10,5\r\n03/01/2024;11,25\r\n04/01/2024;"
                      "n.d.\r\n05/01/2024;1.012,5\r\n");
    Session session(inst);
    indeximport::ui::ImportaIndici window(session.ctx);
    window.show();
    window.setFile(QString::fromStdString(path));

    auto* grid = child<QTableWidget>(&window, "GrdAnteprima");
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(2, 2)->text(), QString("05/01/2024"));
    QCOMPARE(grid->item(2, 3)->text(), QString("1.012,5"));
    QVERIFY(labelText(&window, "LbFormati").contains("Colonne: Data (colonna 1), Valore quota"));
    QVERIFY(labelText(&window, "LbFormati").contains("Date: gg/mm/aaaa"));
    auto* problems = child<QListWidget>(&window, "LstProblemi");
    QVERIFY(problems->item(0)->text().contains("1 riga non leggibile"));
    QVERIFY(problems->item(1)->text().contains("\"Scarta le righe non leggibili\""));
    QVERIFY(problems->item(2)->text().startsWith("riga 4:"));
    auto* importa = child<QPushButton>(&window, "CmdImporta");
    QVERIFY(!importa->isEnabled());  // a bad line refuses the import
    QVERIFY(!labelText(&window, "LbConteggi").contains("da aggiungere"));
    // On the small screen (its frame taken off): the window fits and every text is whole.
    const QSize small(855, 617);
    const QStringList cut = elidedAt(&window, small);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    QCOMPARE(window.size(), small);

    child<QCheckBox>(&window, "ChkScarta")->setChecked(true);
    QVERIFY(importa->isEnabled());
    QVERIFY(labelText(&window, "LbConteggi").contains("da aggiungere: 2, invariati: 0"));
    QVERIFY(labelText(&window, "LbConteggi").contains("conflitti: 1"));
    QCOMPARE(records(inst), 1LL);
    if (const char* shots = std::getenv("STATIND_SCREENSHOT_DIR"))
      window.grab().save(QString(shots) + "/importa-indici.png");

    importa->click();
    QCOMPARE(records(inst), 3LL);
    QVERIFY(labelText(&window, "LbConteggi").contains("IMPORTATI"));
    QVERIFY(session.desktop.shown.empty());
    auto* statistics = child<QPushButton>(&window, "CmdStatistiche");
    QVERIFY(statistics->isEnabled());
    statistics->click();
    QCOMPARE(window.statisticsProduct(), std::string("P1"));
  }

  void theMenuOpensItByItsKey() {
    UiInstallation inst;
    inst.addProduct("P1", "Fondo Alfa", "EUR", "", "");
    testsupport::UiSession session(inst, "");
    QCOMPARE(session.start(), startup::StartOutcome::Ready);
    QString opened;
    QTimer::singleShot(0, [&] {
      if (QWidget* w = QApplication::activeModalWidget()) {
        opened = w->objectName();
        w->close();
      }
    });
    QTest::keyClick(session.window.get(), Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(opened, QString("ImportaIndici"));
  }
};

QTEST_MAIN(ImportaIndiciTest)
#include "ImportaIndiciTest.moc"
