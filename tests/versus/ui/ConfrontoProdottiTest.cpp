// The window "Confronto prodotti": opened from the statistics window by its key on the product
// shown, products added through the chooser by typing, a benchmark and chosen dates, a product
// that shares no period said beside the choices, and a storage failure reported with the window
// left usable.
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "../../support/Elision.h"
#include "../../support/UiFixture.h"
#include "statind/ui/StatInd.h"
#include "versus/ui/ConfrontoProdotti.h"
#include "versus/ui/VersusChart.h"

using namespace testsupport;  // the window tests' world and their control helpers

namespace {

// P1 and P2 from Monday 03/03/2008 to Wednesday 30/06/2010, P3 only in 2012, MON the money
// market over all of it.
void fillInstallation(UiInstallation& inst) {
  inst.addGroup("A", "Azionari");
  inst.addCategory("AZ", "Azionari area euro");
  inst.addProduct("P1", "Fondo Alfa", "EUR", "A", "AZ");
  inst.addProduct("P2", "Fondo Beta", "EUR", "A", "AZ");
  inst.addProduct("P3", "Fondo Gamma", "EUR", "A", "AZ");
  inst.addProduct("MON", "Monetario", "EUR", "A", "AZ");
  const auto first = platform::dayNumber(2008, 3, 3), last = platform::dayNumber(2010, 6, 30);
  inst.addBusinessDayValues("P1", first, last,
                            [](int, int i) { return 100 + 8 * std::sin(i / 17.0); });
  inst.addBusinessDayValues("P2", first, last, [](int, int i) { return 50 + i * 0.05; });
  inst.addBusinessDayValues("P3", platform::dayNumber(2012, 1, 2),
                            platform::dayNumber(2012, 12, 31),
                            [](int, int i) { return 10 + i * 0.01; });
  inst.addBusinessDayValues("MON", platform::dayNumber(2007, 1, 1), platform::dayNumber(2011, 1, 1),
                            [](int, int i) { return 100 + i * 0.01; });
  inst.setIni("PARAMETRI", "INDICE_MONETARIO", "MON");
}

struct Session : testsupport::UiSession {
  explicit Session(const UiInstallation& inst) : UiSession(inst) {
    params.ownIniPath = inst.ini();
    params.workDbPath = inst.file("work/OPER/WorkDV.mdb");
    params.productCode = "P1";
    params.usableWidth = 19320;
    openDatabases(inst);
    dbs.workDb = platform::Database::open(params.workDbPath);
  }
};

// Adds a product as a user does: "Aggiungi...", a few letters, Enter.
void addTyped(QWidget* w, const QString& typed) {
  child<QPushButton>(w, "CmdAggiungi")->click();
  QTest::keyClicks(child<QLineEdit>(w, "TxtCerca"), typed);
  QTest::keyClick(child<QLineEdit>(w, "TxtCerca"), Qt::Key_Return);
}

}  // namespace

class ConfrontoProdottiTest : public QObject {
  Q_OBJECT

 private slots:
  void openedByItsKeyThenProductsAddedBenchmarkAndDates() {
    UiInstallation inst;
    fillInstallation(inst);
    Session session(inst);
    statind::ui::StatInd statistics(session.ctx, nullptr);
    statistics.show();
    QVERIFY(QTest::qWaitForWindowExposed(&statistics));
    QString name, alone, shownLines, header, beta, riskFree, refused, period;
    int columns = 0, hiddenByTyping = 0;
    bool printable = false, refusedPrintable = true;
    QTimer::singleShot(0, [&] {
      QWidget* w = QApplication::activeModalWidget();
      if (!w) return;
      name = w->objectName();
      alone = labelText(w, "LbMessaggio");
      child<QPushButton>(w, "CmdAggiungi")->click();
      QTest::keyClicks(child<QLineEdit>(w, "TxtCerca"), "beta");
      auto* list = child<QListWidget>(w, "CmbProd");
      for (int row = 0; row < list->count(); ++row) hiddenByTyping += list->item(row)->isHidden();
      QTest::keyClick(child<QLineEdit>(w, "TxtCerca"), Qt::Key_Return);
      child<QComboBox>(w, "CmbBenchmark")->setCurrentIndex(1);  // P1
      auto* figures = child<QTableWidget>(w, "TbCifre");
      columns = figures->columnCount();
      header = figures->horizontalHeaderItem(1)->text();
      for (int r = 0; r < figures->rowCount(); ++r)
        if (figures->verticalHeaderItem(r)->text() == "beta verso P1")
          beta = figures->item(r, 1)->text();
      riskFree = labelText(w, "LbSenzaRischio");
      printable = child<QPushButton>(w, "CmdEsportaPdf")->isEnabled();

      addTyped(w, "P3");
      refused = labelText(w, "LbMessaggio");
      refusedPrintable = child<QPushButton>(w, "CmdEsportaPdf")->isEnabled();
      child<QListWidget>(w, "LstProdotti")->setCurrentRow(2);
      child<QPushButton>(w, "CmdTogli")->click();

      auto* periods = child<QComboBox>(w, "CmbPeriodo");
      periods->setCurrentIndex(periods->count() - 1);  // "date scelte"
      child<QDateEdit>(w, "DtDal")->setDate(QDate(2009, 6, 30));
      period = labelText(w, "LbPeriodo");
      w->close();
    });
    QTest::keyClick(&statistics, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(name, QString("ConfrontoProdotti"));
    QVERIFY(alone.contains("da 2 a 8"));
    QCOMPARE(hiddenByTyping, 3);  // every line but "P2 ... Fondo Beta"
    QCOMPARE(columns, 2);
    QCOMPARE(header, QString("P2"));
    QVERIFY2(!beta.isEmpty(), qPrintable(beta));
    QVERIFY2(riskFree.startsWith("Tasso senza rischio: MON - Monetario: "), qPrintable(riskFree));
    QVERIFY(printable);
    QVERIFY2(refused.contains("nessun periodo comune") && refused.contains("P3"),
             qPrintable(refused));
    QVERIFY(!refusedPrintable);
    QCOMPARE(period, QString("Periodo dal 30/06/2009 al 30/06/2010"));
    QVERIFY2(session.desktop.shown.empty(), session.messages().c_str());
  }

  void storageFailureIsReportedAndTheWindowStays() {
    UiInstallation inst;
    fillInstallation(inst);
    Session session(inst);
    versus::ui::ConfrontoProdotti window(session.ctx, {"P1", "P2"}, nullptr);
    window.show();
    QVERIFY(window.shown());
    QCOMPARE(window.shown()->chart.values.front().front(), 100.0);
    auto* chart = child<versus::ui::VersusChart>(&window, "GraficoConfronto");
    QVERIFY(chart->pointText(1).startsWith("31/03/2008\nP1 "));
    // On a small screen the legend wraps and the date axis thins out: nothing is cut.
    const QString legend = labelText(&window, "LegendaConfronto");
    QVERIFY2(legend.contains("P1") && legend.contains("P2"), qPrintable(legend));
    const QStringList cut = testsupport::elidedAt(&window);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    SQLite::Database(inst.indexDb(), SQLite::OPEN_READWRITE).exec("DROP TABLE Indici");
    child<QComboBox>(&window, "CmbBenchmark")->setCurrentIndex(2);
    QCOMPARE(session.desktop.shown.size(), std::size_t{1});
    QVERIFY(window.isVisible());
    QVERIFY(!window.addProduct("p2"));  // already there
  }
};

QTEST_MAIN(ConfrontoProdottiTest)
#include "ConfrontoProdottiTest.moc"
