// The comparison window driven as a user drives it, by control names: the product chooser, the
// year lists and spinners, the month chooser and the two views, the grid's red negatives, the
// product handed over by the suite, and the failures that must leave the window usable.
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "../../support/Elision.h"
#include "../../support/UiFixture.h"
#include "compare/ui/Statind1.h"
#include "indexdata/IndexLookup.h"
#include "platform/Format.h"
#include "report/ui/SheetActions.h"

using compare::ui::Statind1;
using namespace testsupport;  // the window tests' world and their control helpers

namespace {

// P1 "Fondo Alfa" (group A, category AZ) from Monday 03/03/2008 to Wednesday 30/06/2010, rising
// in 2008 and falling from 2009 on; P3 "Fondo Gamma" (B, BI); P4 "Fondo Senza Indici" (B, AA)
// without any index; P2 in a category of Tipo "S".
void fillInstallation(UiInstallation& inst) {
  inst.addGroup("A", "Azionari");
  inst.addGroup("B", "Bilanciati");
  inst.addCategory("AZ", "Azionari area euro");
  inst.addCategory("BI", "Bilanciati");
  inst.addCategory("AA", "Altri");
  inst.addCategory("SP", "Speciali", "S");
  inst.addProduct("P1", "Fondo Alfa", "EUR", "A", "AZ");
  inst.addProduct("P2", "Polizza Beta", "USD", "A", "SP");
  inst.addProduct("P3", "Fondo Gamma", "EUR", "B", "BI");
  inst.addProduct("P4", "Fondo Senza Indici", "EUR", "B", "AA");
  const int first = platform::dayNumber(2008, 3, 3), turn = platform::dayNumber(2009, 1, 1);
  inst.addBusinessDayValues("P1", first, platform::dayNumber(2010, 6, 30), [&](int day, int) {
    const int i = day - first;  // calendar days, so that the slope ignores the weekends
    return day < turn ? 100.0 + 0.1 * i : 200.0 - 0.1 * i;
  });
  inst.addIndexValues("P3", {{"2009-05-04", 10.0}, {"2009-06-30", 11.0}});
}

// The window's world without the main window: databases opened directly, message boxes
// scripted, the exit routine counted; the opener's start year 2009 and currency "EUR".
struct Session : testsupport::UiSession {
  Session(const UiInstallation& inst, const std::string& product) : UiSession(inst) {
    params.ownIniPath = inst.ini();
    params.productCode = product;
    params.standAlone = product.empty();
    params.usableWidth = 19320;
    params.compareStartYear = 2009;
    params.compareCurrency = "EUR";
    openDatabases(inst);
  }
};

struct Fixture {
  explicit Fixture(const std::string& handedOver = "") {
    fillInstallation(installation);
    session = std::make_unique<Session>(installation, handedOver);
    window = std::make_unique<Statind1>(session->ctx, nullptr);
    window->show();
  }
  QWidget* w() { return window.get(); }
  // Clicks the product's line in the chooser.
  void chooseProduct(const QString& code) {
    auto* list = child<QTreeWidget>(w(), "CmbProd");
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = list->topLevelItem(i);
      if (item->text(0) != code) continue;
      list->setCurrentItem(item);
      emit list->itemClicked(item, 1);
    }
  }
  QTreeWidget* chooser() { return child<QTreeWidget>(w(), "CmbProd"); }
  QComboBox* years(int i) { return child<QComboBox>(w(), QString("CmbAnno_%1").arg(i)); }
  QComboBox* months() { return child<QComboBox>(w(), "CmbMese"); }
  QTableView* grid() { return child<QTableView>(w(), "TdbgCompara"); }

  UiInstallation installation;
  std::unique_ptr<Session> session;
  std::unique_ptr<Statind1> window;
};

}  // namespace

class Statind1Test : public QObject {
  Q_OBJECT

 private slots:
  void chooserListsProductsByDescriptionAndSortsByHeader() {
    Fixture f;
    QTreeWidget* list = f.chooser();
    QVERIFY(child<QWidget>(f.w(), "Picture2")->isVisible());
    QCOMPARE(list->topLevelItemCount(), 4);  // the blank line, then P1, P3, P4: no Tipo "S"
    QCOMPARE(list->indexOfTopLevelItem(list->currentItem()), 0);
    QCOMPARE(list->topLevelItem(1)->text(0), QString("P1"));
    QCOMPARE(list->topLevelItem(1)->text(1), QString("Fondo Alfa"));
    QCOMPARE(list->topLevelItem(1)->text(4), QString("EUR"));
    QVERIFY(child<QPushButton>(f.w(), "LbTit_1")->property("opaque").toBool());
    QCOMPARE(f.window->graphModel().revision(), 0);  // nothing computed yet

    child<QPushButton>(f.w(), "LbTit_3")->click();  // "CATEGORIA": AA, AZ, BI
    QCOMPARE(list->topLevelItem(1)->text(0), QString("P4"));
    QCOMPARE(list->topLevelItem(3)->text(0), QString("P3"));
    QVERIFY(child<QPushButton>(f.w(), "LbTit_3")->property("opaque").toBool());
    QVERIFY(!child<QPushButton>(f.w(), "LbTit_1")->property("opaque").toBool());
    QCOMPARE(f.window->graphModel().revision(), 0);
  }

  // Typing narrows the chooser by code or description and opens nothing; Enter opens the line
  // standing first, a long description is whole in its tooltip.
  void typingSearchesTheChooserAndEnterChooses() {
    Fixture f;
    QTreeWidget* list = f.chooser();
    f.w()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.w()));
    QTest::keyClicks(list, "p");
    QCOMPARE(child<QLineEdit>(f.w(), "TxtCerca")->text(), QString("p"));
    QVERIFY(child<QWidget>(f.w(), "Picture2")->isVisible());
    QCOMPARE(f.window->graphModel().revision(), 0);
    QTest::keyClicks(list, "3");
    QVERIFY(list->topLevelItem(1)->isHidden() && !list->topLevelItem(2)->isHidden());
    QTest::keyClick(list, Qt::Key_Backspace);
    QTest::keyClicks(list, "gamma");  // "pgamma": nothing holds it
    QVERIFY(list->topLevelItem(2)->isHidden());
    child<QLineEdit>(f.w(), "TxtCerca")->setText("GAMMA");
    QCOMPARE(list->topLevelItem(2)->toolTip(1), QString("Fondo Gamma"));
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(!child<QWidget>(f.w(), "Picture2")->isVisible());
    QCOMPARE(labelText(f.w(), "LbProdotto"), QString("Fondo Gamma"));
  }

  // At the design's smallest screen every text is whole: the chooser, the all-months chart with
  // its years, one month in bars with their legends.
  void nothingIsCutOnASmallScreen() {
    Fixture f;
    QStringList cut = elidedAt(f.w());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    f.chooseProduct("P1");
    f.years(0)->setCurrentIndex(0);
    cut = elidedAt(f.w());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    child<QRadioButton>(f.w(), "OptionS_1")->setChecked(true);
    f.months()->setCurrentIndex(6);
    cut = elidedAt(f.w());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    // One month plots changes: its series says so, as the printed sheet does.
    QCOMPARE(f.window->graphModel().seriesName(), std::string("Variazione %"));
  }

  void allMonthsThenOneMonthBesideItsGrid() {
    Fixture f;
    f.chooseProduct("P1");
    QVERIFY(!child<QWidget>(f.w(), "Picture2")->isVisible());
    QCOMPARE(labelText(f.w(), "LbProdotto"), QString("Fondo Alfa"));
    QCOMPARE(labelText(f.w(), "LbData1"), QString("03/03/2008"));
    QCOMPARE(labelText(f.w(), "LbData2"), QString("30/06/2010"));
    QCOMPARE(labelText(f.w(), "LbMon"), QString("EUR"));
    QCOMPARE(f.years(0)->currentText(), QString("2009"));
    QCOMPARE(f.years(1)->currentText(), QString("2010"));
    QVERIFY(child<QWidget>(f.w(), "PctMese")->isVisible());
    QCOMPARE(f.window->graphModel().pointCount(), 18);  // January 2009 to June 2010
    QVERIFY(!f.grid()->isVisible());
    auto* chart = child<QWidget>(f.w(), "Graph1");
    QCOMPARE(chart->x(), 0);

    press(f.w(), "SbMese", "up");  // from the blank entry
    QCOMPARE(f.months()->currentText(), QString("GENNAIO"));
    QVERIFY(f.grid()->isVisible());
    QCOMPARE(f.grid()->model()->rowCount(), 2);
    QCOMPARE(f.window->graphModel().title(), std::string("GENNAIO"));
    QVERIFY(chart->x() >= f.grid()->width());
    press(f.w(), "SbMese", "down");
    QCOMPARE(f.months()->currentText(), QString("DICEMBRE"));
    QCOMPARE(f.grid()->model()->rowCount(), 1);  // December 2010 is after the history

    // A to-year before the from-year compares the same span.
    f.years(1)->setCurrentIndex(0);
    QCOMPARE(f.grid()->model()->rowCount(), 2);  // December 2008 and 2009
    press(f.w(), "SbAnno_1", "down");            // already the first year: nothing
    QCOMPARE(f.years(1)->currentIndex(), 0);

    child<QPushButton>(f.w(), "Command1")->click();
    QCOMPARE(f.months()->currentIndex(), 0);
    QVERIFY(!f.grid()->isVisible());
    QCOMPARE(chart->x(), 0);

    // The same year in both lists: no month chooser, all months.
    press(f.w(), "SbMese", "up");
    f.years(0)->setCurrentIndex(0);
    QVERIFY(!child<QWidget>(f.w(), "PctMese")->isVisible());
    QCOMPARE(f.months()->currentIndex(), 0);
    QVERIFY(!f.grid()->isVisible());
  }

  void negativeChangesAreRed() {
    Fixture f;
    f.chooseProduct("P1");
    f.years(0)->setCurrentIndex(0);
    f.months()->setCurrentIndex(6);  // June: up in 2008, down in 2009 and 2010
    auto* model = f.grid()->model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->data(model->index(0, 3), Qt::ForegroundRole), QVariant());
    QVERIFY(model->data(model->index(1, 3)).toString().startsWith("-"));
    QCOMPARE(model->data(model->index(1, 3), Qt::ForegroundRole).value<QColor>(),
             QColor(255, 0, 0));
  }

  // The comparison on screen saved as CSV (the CLI's lines) and PDF, named by span and month.
  void exportsTheComparisonShown() {
    Fixture f;
    QVERIFY(!child<QPushButton>(f.w(), "CmdEsportaCsv")->isEnabled());
    f.chooseProduct("P1");
    f.years(0)->setCurrentIndex(0);
    f.months()->setCurrentIndex(6);
    QTemporaryDir folder;
    QString suggested;
    f.w()->findChild<report::ui::SheetActions*>()->setFileChooser(
        [&](const QString&, const QString& name, const QString&) {
          suggested = name;
          return folder.filePath("confronto");
        });
    child<QPushButton>(f.w(), "CmdEsportaCsv")->click();
    QVERIFY2(suggested.endsWith("/P1_2008-2010-06.csv"), qPrintable(suggested));
    const auto csv = testsupport::TempFolder::read(folder.filePath("confronto.csv").toStdString());
    QVERIFY2(csv.starts_with("ANNO;INIZIO;FINE;%\n2008;"), csv.c_str());
    QCOMPARE(std::count(csv.begin(), csv.end(), '\n'), 4);
    child<QPushButton>(f.w(), "CmdEsportaPdf")->click();
    QVERIFY(testsupport::TempFolder::read(folder.filePath("confronto.pdf").toStdString())
                .starts_with("%PDF"));
  }

  // Opened on a product (the suite's function 1, or "&COMPARA"), the window shows the comparison
  // at once: chart points with values, the month chooser for two different years, and the
  // sheet's buttons ready.
  void handedOverProductOpensComputedAndClosingSavesAndExits() {
    Fixture f("P1");
    QVERIFY(!child<QWidget>(f.w(), "Picture2")->isVisible());
    QCOMPARE(f.chooser()->topLevelItemCount(), 2);  // only the product handed over
    QCOMPARE(f.years(0)->currentText(), QString("2009"));
    QVERIFY(child<QWidget>(f.w(), "PctMese")->isVisible());
    const auto& points = f.window->graphModel().points();
    QCOMPARE(points.size(), std::size_t{18});  // January 2009 to June 2010
    QVERIFY(points.front().value && points.back().value);
    QVERIFY(*points.front().value > *points.back().value);  // falling from 2009 on
    QVERIFY(child<QPushButton>(f.w(), "CmdStampa")->isEnabled());
    QVERIFY(child<QPushButton>(f.w(), "CmdEsportaPdf")->isEnabled());
    QVERIFY(child<QRadioButton>(f.w(), "OptionS_0")->isChecked());
    QCOMPARE(f.window->graphModel().type(), 6);
    child<QRadioButton>(f.w(), "OptionS_1")->setChecked(true);
    QCOMPARE(f.window->graphModel().type(), 3);
    QTest::keyClick(f.w(), Qt::Key_F2);  // the shared keys press "&USCITA"
    QVERIFY(!f.window->isVisible());
    QCOMPARE(f.installation.readIni("PARAMETRI", "indstat1"), std::string("10000011"));
    QCOMPARE(f.session->exits, 1);
  }

  void failuresAreShownAndTheWindowStaysUsable() {
    Fixture f;
    f.chooseProduct("P4");
    QCOMPARE(f.session->messages(), std::string(": Nessun indice per il prodotto\n"));
    QVERIFY(child<QWidget>(f.w(), "Picture2")->isVisible());
    f.chooseProduct("P1");
    QVERIFY(!child<QWidget>(f.w(), "Picture2")->isVisible());

    {
      SQLite::Database index(f.installation.indexDb(), SQLite::OPEN_READWRITE);
      index.exec("ALTER TABLE Indici RENAME TO Altro");
    }
    f.months()->setCurrentIndex(3);
    QCOMPARE(f.session->desktop.shown.size(), std::size_t{2});
    QVERIFY(f.window->isVisible());
    child<QPushButton>(f.w(), "CmdProd")->click();
    QVERIFY(child<QWidget>(f.w(), "Picture2")->isVisible());
    QCOMPARE(f.chooser()->indexOfTopLevelItem(f.chooser()->currentItem()), 0);
  }
};

QTEST_MAIN(Statind1Test)
#include "Statind1Test.moc"
