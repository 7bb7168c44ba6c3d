// The window "Rischio e rendimento": opened from the statistics window by its key, showing the
// product's figures, class and map; a storage failure while it recomputes is reported and the
// window stays as it was.
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "../../support/Elision.h"
#include "../../support/UiFixture.h"
#include "indexdata/IndexLookup.h"
#include "platform/Format.h"
#include "risk/ui/RischioRendimento.h"
#include "statind/ui/StatInd.h"

using namespace testsupport;  // the window tests' world and their control helpers

namespace {

// P1: business days from Monday 03/03/2008 to Wednesday 30/06/2010, rising and falling.
void fillInstallation(UiInstallation& inst) {
  inst.addGroup("A", "Azionari");
  inst.addCategory("AZ", "Azionari area euro");
  inst.addProduct("P1", "Fondo Alfa", "EUR", "A", "AZ");
  inst.addBusinessDayValues("P1", platform::dayNumber(2008, 3, 3), platform::dayNumber(2010, 6, 30),
                            [](int, int i) { return 100 + 8 * std::sin(i / 17.0); });
  inst.addProduct("P2", "Fondo Fermo", "EUR", "A", "AZ");
  inst.addBusinessDayValues("P2", platform::dayNumber(2008, 3, 3), platform::dayNumber(2010, 6, 30),
                            [](int, int) { return 10.0; });
}

// The databases opened directly, the product handed over as the suite does.
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

}  // namespace

class RischioRendimentoTest : public QObject {
  Q_OBJECT

 private slots:
  void openedByItsKeyOnTheProductAndYearShown() {
    UiInstallation inst;
    fillInstallation(inst);
    Session session(inst);
    statind::ui::StatInd statistics(session.ctx, nullptr);
    statistics.show();
    QVERIFY(QTest::qWaitForWindowExposed(&statistics));
    // Read while the modal window runs, checked once it is closed.
    QString name, year, lastDay, threeYears, riskClass, february, march;
    int columns = 0, years = 0;
    QTimer::singleShot(0, [&] {
      QWidget* w = QApplication::activeModalWidget();
      if (!w) return;
      name = w->objectName();
      auto* figures = child<QTableWidget>(w, "TbFigure");
      columns = figures->columnCount();
      year = figures->horizontalHeaderItem(0)->text();
      lastDay = figures->item(1, 4)->text();
      threeYears = figures->item(0, 2)->text();
      riskClass = child<QLabel>(w, "LbVev")->text();
      auto* map = child<QTableWidget>(w, "TbMappa");
      years = map->rowCount();
      february = map->item(0, 1)->text();
      march = map->item(0, 2)->text();
      w->close();
    });
    QTest::keyClick(&statistics, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(name, QString("RischioRendimento"));
    QCOMPARE(columns, 5);
    QCOMPARE(year, QString::fromUtf8("anno 2010 (1° indice utile)"));
    QCOMPARE(lastDay, QString("30/06/2010"));       // "al" of the whole history
    QCOMPARE(threeYears, QString("storia breve"));  // not three years of it
    QVERIFY(riskClass.startsWith("classe "));
    QCOMPARE(years, 3);
    QVERIFY(february.isEmpty());                         // before the history
    QVERIFY(!march.isEmpty() && !march.endsWith(" P"));  // from Monday 03/03/2008
    QVERIFY(session.desktop.shown.empty());
  }

  // On a small screen both pages are read whole; a product that never fell still gets a scale
  // under water whose labels are distinct and never "-0".
  void nothingIsCutOnASmallScreenAndFlatScalesReadWell() {
    UiInstallation inst;
    fillInstallation(inst);
    Session session(inst);
    risk::RiskParams params;
    params.product = "P1";
    params.year = 2009;
    params.range = *statind::productRange(*session.ctx.lookup, "P1", platform::today());
    {
      risk::ui::RischioRendimento window(session.ctx, params, "P1 - Fondo Alfa", nullptr);
      window.show();
      QStringList cut = elidedAt(&window, QSize(855, 617));  // 95 % of the screen
      QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
      window.tabs()->setCurrentIndex(1);
      cut = elidedAt(&window, QSize(855, 617));
      QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    }
    params.product = "P2";
    params.range = *statind::productRange(*session.ctx.lookup, "P2", platform::today());
    risk::ui::RischioRendimento window(session.ctx, params, "P2 - Fondo Fermo", nullptr);
    window.show();
    const QStringList cut = elidedAt(&window, QSize(855, 617));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    const auto views = window.findChild<QWidget*>("GraficoStorico")->findChildren<QChartView*>();
    QCOMPARE(views.size(), 2);
    auto* depth = qobject_cast<QCategoryAxis*>(views[1]->chart()->axes(Qt::Vertical).value(0));
    QVERIFY(depth);
    const QStringList labels = depth->categoriesLabels();
    QVERIFY(labels.size() >= 2);
    QCOMPARE(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());
    QVERIFY2(labels.filter(QRegularExpression("^-0(,0*)?$")).isEmpty(),
             qPrintable(labels.join(' ')));
  }

  void storageFailureWhileRecomputingLeavesTheWindowAsItWas() {
    UiInstallation inst;
    fillInstallation(inst);
    Session session(inst);
    risk::RiskParams params;
    params.product = "P1";
    params.range = *statind::productRange(*session.ctx.lookup, "P1", platform::today());
    risk::ui::RischioRendimento window(session.ctx, params, "P1 - Fondo Alfa", nullptr);
    window.show();
    const QString before = child<QLabel>(&window, "LbVev")->text();
    SQLite::Database(inst.indexDb(), SQLite::OPEN_READWRITE).exec("DROP TABLE Indici");
    child<QSpinBox>(&window, "SpAnni")->setValue(3);
    QCOMPARE(session.desktop.shown.size(), std::size_t{1});
    QVERIFY(window.isVisible());
    QCOMPARE(child<QLabel>(&window, "LbVev")->text(), before);
  }
};

QTEST_MAIN(RischioRendimentoTest)
#include "RischioRendimentoTest.moc"
