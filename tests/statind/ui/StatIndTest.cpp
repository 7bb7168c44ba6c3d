// The index statistics window driven as a user drives it, by control names: the selection
// cascade, the period steppers and jumps over a March 2008 - June 2010 history, the product
// handed over by the suite, the saved chart options, the grid's cell styles, the layout and the
// function keys.
#include <QAbstractItemView>
#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QValueAxis>
#include <cmath>

#include "../../support/Elision.h"
#include "../../support/UiFixture.h"
#include "indexdata/IndexLookup.h"
#include "platform/Format.h"
#include "platform/ui/Twips.h"
#include "report/ui/SheetActions.h"
#include "statind/StatIndLayout.h"
#include "statind/ui/GraphView.h"
#include "statind/ui/StatInd.h"

using statind::StatIndLayout;
using statind::ui::StatInd;
using namespace testsupport;  // the window tests' world and their control helpers

namespace {

// Groups A and B; categories AZ, BI and SP (of Tipo "S"); P1 with index values on business days
// from Monday 03/03/2008 to Wednesday 30/06/2010 that rise and fall, P2 in the "S" category,
// P3 with a short history, P4 without any index.
void fillInstallation(UiInstallation& inst) {
  inst.addGroup("A", "Azionari");
  inst.addGroup("B", "Bilanciati");
  inst.addCategory("AZ", "Azionari area euro");
  inst.addCategory("BI", "Bilanciati");
  inst.addCategory("SP", "Speciali", "S");
  inst.addProduct("P1", "Fondo Alfa", "EUR", "A", "AZ");
  inst.addProduct("P2", "Polizza Beta", "USD", "A", "SP");
  inst.addProduct("P3", "Fondo Gamma", "EUR", "B", "BI");
  inst.addProduct("P4", "Fondo Senza Indici", "EUR", "B", "BI");
  inst.addBusinessDayValues("P1", platform::dayNumber(2008, 3, 3), platform::dayNumber(2010, 6, 30),
                            [](int, int i) { return 100 + 8 * std::sin(i / 17.0) + 0.01 * i; });
  inst.addIndexValues("P3", {{"2009-05-04", 10.0}, {"2009-06-30", 11.0}});
}

QStringList entries(QComboBox* list) {
  QStringList all;
  for (int i = 0; i < list->count(); ++i) all << list->itemText(i);
  return all;
}

int entryOf(QComboBox* list, const QString& prefix) {
  for (int i = 0; i < list->count(); ++i) {
    if (list->itemText(i).startsWith(prefix)) return i;
  }
  return -1;
}

// "2009/12": the year and the month (0 = whole year) the period lists show.
QString period(QWidget* window) {
  return child<QComboBox>(window, "CmbAnno")->currentText() + "/" +
         QString::number(child<QComboBox>(window, "CmbMese")->currentIndex());
}

// The grid's caption of column 0: the year of a year view, the month name of a month view.
QString gridTitle(QWidget* window) {
  return child<QTableView>(window, "TDBGrid1")->model()->headerData(0, Qt::Horizontal).toString();
}

// The window's world without the main window: the installation's databases opened directly,
// message boxes scripted, the exit routine counted. `commandLine` "suite" hands `product` over
// as the suite does.
struct Session : testsupport::UiSession {
  Session(const UiInstallation& inst, const std::string& product, bool suite) : UiSession(inst) {
    params.ownIniPath = inst.ini();
    params.workDbPath = inst.file("work/OPER/WorkDV.mdb");
    params.productCode = product;
    params.standAlone = !suite;
    params.usableWidth = 19320;
    openDatabases(inst);
    dbs.workDb = platform::Database::open(params.workDbPath);
  }
};

struct Fixture {
  explicit Fixture(const std::string& handedOver = "", const std::string& storedOptions = "<none>",
                   int usableWidth = 19320) {
    fillInstallation(installation);
    if (storedOptions != "<none>") installation.setIni("PARAMETRI", "indstat", storedOptions);
    session = std::make_unique<Session>(installation, handedOver, !handedOver.empty());
    session->params.usableWidth = usableWidth;
    window = std::make_unique<StatInd>(session->ctx, nullptr);
    window->show();
  }
  // Picks the product's line in the list's popup, as a click does.
  void chooseProduct(const QString& code) {
    auto* list = child<QComboBox>(window.get(), "CmbProd");
    const int at = entryOf(list, code + " ");
    list->setCurrentIndex(at);
    emit list->activated(at);
  }
  UiInstallation installation;
  std::unique_ptr<Session> session;
  std::unique_ptr<StatInd> window;
};

}  // namespace

class StatIndTest : public QObject {
  Q_OBJECT

 private slots:
  void groupAndCategoryNarrowTheProductsAndResetEachOther() {
    Fixture f;
    QWidget* w = f.window.get();
    auto* groups = child<QComboBox>(w, "CmbGrp");
    auto* categories = child<QComboBox>(w, "CmbCat");
    auto* products = child<QComboBox>(w, "CmbProd");
    QCOMPARE(entries(groups), QStringList({" ", "A Azionari", "B Bilanciati"}));
    QCOMPARE(entries(categories), QStringList({" ", "AZ - Azionari area euro", "BI - Bilanciati"}));
    QCOMPARE(products->count(), 5);  // blank + every product, by description
    QCOMPARE(products->itemText(1), QString("P1        - Fondo Alfa") + QString(41, ' ') + "~EUR");

    categories->setCurrentIndex(2);
    QCOMPARE(products->count(), 3);  // P3 and P4
    groups->setCurrentIndex(1);
    QCOMPARE(categories->currentIndex(), 0);
    QCOMPARE(products->count(), 2);  // P1 only: P2's category is of Tipo "S"
    QVERIFY(products->itemText(1).startsWith("P1 "));
    categories->setCurrentIndex(1);
    QCOMPARE(groups->currentIndex(), 0);

    // Picking the group already acted upon again refills nothing.
    groups->setCurrentIndex(2);
    products->addItem("marker");
    emit groups->activated(2);
    QCOMPARE(products->itemText(products->count() - 1), QString("marker"));
  }

  void choosingAProductShowsItsRunAndLaterGroupsListTheirOwn() {
    Fixture f;
    QWidget* w = f.window.get();
    QVERIFY(child<QWidget>(w, "PctScelta")->isVisible());
    QVERIFY(!child<QWidget>(w, "TDBGrid1")->isVisible());
    f.chooseProduct("P1");
    QCOMPARE(f.session->params.productCode, std::string("P1"));
    QVERIFY(child<QWidget>(w, "PctProd")->isVisible());
    QVERIFY(!child<QWidget>(w, "PctScelta")->isVisible());
    QCOMPARE(labelText(w, "LbProdotto"), QString("Fondo Alfa"));
    QCOMPARE(labelText(w, "LbData1"), QString("03/03/2008"));
    QCOMPARE(labelText(w, "LbData2"), QString("30/06/2010"));
    QCOMPARE(period(w), QString("2010/0"));
    QCOMPARE(gridTitle(w), QString("2010"));
    QCOMPARE(child<QTableView>(w, "TDBGrid1")->model()->rowCount(), 12);  // January to June
    QCOMPARE(f.window->graphModel().pointCount(), 7);

    // Hiding the product pane moves the focus out of it; that must not switch the pane back.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    child<QPushButton>(w, "CmdProd")->setFocus();
    child<QPushButton>(w, "CmdProd")->click();
    QVERIFY(child<QWidget>(w, "PctScelta")->isVisible());
    QVERIFY(!child<QWidget>(w, "PctProd")->isVisible());
    // A group picked after a product lists that group's products, not the product chosen.
    child<QComboBox>(w, "CmbGrp")->setCurrentIndex(2);
    const QStringList groupB = entries(child<QComboBox>(w, "CmbProd"));
    QCOMPARE(groupB.size(), 3);
    QVERIFY(groupB[1].startsWith("P3 ") && groupB[2].startsWith("P4 "));
    QCOMPARE(f.session->params.productCode, std::string("P1"));  // still what "&COMPARA" hands
    child<QComboBox>(w, "CmbCat")->setCurrentIndex(1);
    QCOMPARE(entries(child<QComboBox>(w, "CmbProd")).size(), 2);
    QVERIFY(child<QComboBox>(w, "CmbProd")->itemText(1).startsWith("P1 "));
  }

  // After a product without index data the choice stays, naming the product chosen, and the
  // steppers and jumps are off until a product with data is chosen.
  void productWithoutIndexTellsTheUserAndKeepsTheChoice() {
    Fixture f;
    QWidget* w = f.window.get();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    f.chooseProduct("P1");
    child<QPushButton>(w, "CmdProd")->click();
    // A real message box runs the event loop while it waits for the user.
    f.session->desktop.onMessage = [](const platform::Message&) { QTest::qWait(5); };
    auto* products = child<QComboBox>(w, "CmbProd");
    const int p4 = entryOf(products, "P4 ");
    products->setCurrentIndex(p4);  // a user's pick: the change, then the activation
    emit products->activated(p4);
    QCOMPARE(f.session->desktop.shown.size(), std::size_t(1));
    QCOMPARE(f.session->desktop.shown[0].text, std::string("Nessun indice per il prodotto"));
    QCOMPARE(labelText(w, "LbProdotto"), QString("Fondo Senza Indici"));
    QVERIFY(!child<QWidget>(w, "TDBGrid1")->isVisible());
    const char* stepControls[] = {"SpinButton1_0", "SpinButton1_1", "cmdMoveM_0", "cmdMoveM_1",
                                  "cmdMoveM_2"};
    for (const char* name : stepControls) QVERIFY2(!child<QWidget>(w, name)->isEnabled(), name);
    child<QComboBox>(w, "CmbAnno")->setFocus();  // the period lists do not bring back an empty pane
    QVERIFY(child<QWidget>(w, "PctScelta")->isVisible());
    QVERIFY(!child<QWidget>(w, "PctProd")->isVisible());

    f.chooseProduct("P1");
    QVERIFY(child<QWidget>(w, "PctProd")->isVisible());
    for (const char* name : stepControls) QVERIFY2(child<QWidget>(w, name)->isEnabled(), name);
  }

  // Tab walks the period strip as it reads, each list followed by its stepper's arrows (pressed
  // with the space bar), and leaves the grid.
  void tabReachesTheSteppersAndLeavesTheGrid() {
    Fixture f;
    QWidget* w = f.window.get();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    f.chooseProduct("P1");
    child<QComboBox>(w, "CmbAnno")->setFocus();
    QStringList walked;
    for (int i = 0; i < 7; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* at = QApplication::focusWidget();
      QString name = at->objectName();
      if (qobject_cast<QToolButton*>(at)) name.prepend(at->parentWidget()->objectName() + ".");
      walked << name;
    }
    QCOMPARE(walked,
             QStringList({"SpinButton1_0.down", "SpinButton1_0.up", "CmbMese", "SpinButton1_1.down",
                          "SpinButton1_1.up", "cmdMoveM_0", "cmdMoveM_1"}));
    QCOMPARE(period(w), QString("2010/0"));
    child<QWidget>(w, "SpinButton1_0")->findChild<QToolButton*>("down")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(period(w), QString("2009/0"));

    auto* grid = child<QTableView>(w, "TDBGrid1");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != grid);
  }

  // In a small window the month's rows need the vertical scroll bar: the columns make room for
  // it, each keeping its widest text whole.
  void gridColumnsFitBesideTheScrollBar() {
    Fixture f;
    StatInd& w = *f.window;
    w.setWindowState(Qt::WindowNoState);
    w.resize(900, 650);
    f.chooseProduct("P1");
    child<QComboBox>(&w, "CmbMese")->setCurrentIndex(3);
    auto* grid = child<QTableView>(&w, "TDBGrid1");
    QAbstractItemModel* model = grid->model();
    QTRY_VERIFY(grid->verticalScrollBar()->isVisible());  // laid out by the event loop
    const QFontMetrics metrics(grid->font());
    for (int c = 0; c < model->columnCount(); ++c) {
      int widest = metrics.horizontalAdvance(model->headerData(c, Qt::Horizontal).toString());
      for (int r = 0; r < model->rowCount(); ++r) {
        widest = std::max(widest, metrics.horizontalAdvance(model->index(r, c).data().toString()));
      }
      QVERIFY2(grid->columnWidth(c) > widest, qPrintable(QString::number(c)));
    }
    QVERIFY(grid->horizontalHeader()->length() <= grid->viewport()->width());
    QVERIFY(!grid->horizontalScrollBar()->isVisible());
  }

  // The stepping rules themselves are checked in the core; here, that each press shows its run.
  void steppersAndJumpsShowTheirPeriod() {
    Fixture f;
    QWidget* w = f.window.get();
    f.chooseProduct("P1");
    child<QComboBox>(w, "CmbMese")->setCurrentIndex(1);
    QCOMPARE(gridTitle(w), QString("GENNAIO"));
    press(w, "SpinButton1_1", "down");
    QCOMPARE(period(w), QString("2009/12"));
    QCOMPARE(gridTitle(w), QString("DICEMBRE"));
    QCOMPARE(labelText(w, "LbAnno_2"), QString("DIC '09"));
    press(w, "SpinButton1_0", "down");
    QCOMPARE(period(w), QString("2008/12"));
    child<QPushButton>(w, "cmdMoveM_2")->click();
    QCOMPARE(gridTitle(w), QString("2008"));
    child<QPushButton>(w, "cmdMoveM_0")->click();
    QCOMPARE(period(w), QString("2008/3"));
    QCOMPARE(gridTitle(w), QString("MARZO"));
    child<QPushButton>(w, "cmdMoveM_1")->click();
    QCOMPARE(period(w), QString("2010/6"));
    QCOMPARE(child<QTableView>(w, "TDBGrid1")->model()->rowCount(), 30);
  }

  void failedRunLeavesNoEarlierResultsOnShow() {
    Fixture f;
    QWidget* w = f.window.get();
    f.chooseProduct("P1");
    {
      SQLite::Database work(f.session->params.workDbPath, SQLite::OPEN_READWRITE);
      work.exec("DROP TABLE WkStatInd");
    }
    child<QComboBox>(w, "CmbMese")->setCurrentIndex(2);
    QCOMPARE(f.session->desktop.shown.size(), std::size_t(1));
    QVERIFY(!f.session->desktop.waitCursor);
    QVERIFY(!child<QWidget>(w, "TDBGrid1")->isVisible());
    QCOMPARE(child<QTableView>(w, "TDBGrid1")->model()->rowCount(), 0);
    QVERIFY(w->isVisible());  // the window stays usable
  }

  void handedOverProductOpensOnItsLastMonth() {
    Fixture f("P1", "01111100");
    QWidget* w = f.window.get();
    QCOMPARE(entries(child<QComboBox>(w, "CmbProd")).size(), 2);
    QVERIFY(child<QComboBox>(w, "CmbProd")->currentText().startsWith("P1 "));
    QCOMPARE(period(w), QString("2010/6"));  // December, clamped to the last index
    QCOMPARE(gridTitle(w), QString("GIUGNO"));
    // The stored options give way to "00000011".
    QVERIFY(child<QRadioButton>(w, "Option1_0")->isChecked());
    QCOMPARE(f.window->graphModel().overlayMask(), 0);
    QCOMPARE(f.window->graphModel().yAxisMode(), 1);
    QCOMPARE(f.window->graphModel().gridStyle(), 3);

    child<QPushButton>(w, "CmdEnd")->click();  // the suite drives: closing ends the program
    QCOMPARE(f.session->exits, 1);
  }

  void storedOptionsAreRestoredAndSaved_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("previousRule");
    QTest::addColumn<int>("yAxisMode");
    QTest::newRow("missing key") << "<none>" << false << 0;
    QTest::newRow("one digit") << "1" << true << 1;
  }
  void storedOptionsAreRestoredAndSaved() {
    QFETCH(QString, stored);
    QFETCH(bool, previousRule);
    QFETCH(int, yAxisMode);
    Fixture f("", stored.toStdString());
    QWidget* w = f.window.get();
    QCOMPARE(child<QRadioButton>(w, "Option1_1")->isChecked(), previousRule);
    QCOMPARE(f.window->graphModel().overlayMask(), 0);
    QCOMPARE(f.window->graphModel().yAxisMode(), yAxisMode);
    QCOMPARE(f.window->graphModel().gridStyle(), 0);

    child<QCheckBox>(w, "Check1_0")->setChecked(true);
    child<QCheckBox>(w, "Check1_3")->setChecked(true);
    QCOMPARE(f.window->graphModel().overlayMask(), 9);
    child<QCheckBox>(w, "Check2_1")->setChecked(true);
    QCOMPARE(f.window->graphModel().gridStyle(), 1);
    child<QCheckBox>(w, "Check2_2")->setChecked(true);
    QCOMPARE(f.window->graphModel().gridStyle(), 3);
    child<QCheckBox>(w, "Check2_1")->setChecked(false);
    QCOMPARE(f.window->graphModel().gridStyle(), 2);
    child<QRadioButton>(w, "Option1_1")->setChecked(true);
    child<QCheckBox>(w, "Check2_0")->setChecked(false);
    QCOMPARE(f.window->graphModel().yAxisMode(), 1);

    child<QPushButton>(w, "CmdEnd")->click();
    QVERIFY(!w->isVisible());
    QCOMPARE(f.installation.readIni("PARAMETRI", "indstat"), std::string("11001001"));
    QCOMPARE(f.session->exits, 0);  // started by hand: the program goes on
  }

  void startRuleReruns() {
    Fixture f;
    QWidget* w = f.window.get();
    f.chooseProduct("P3");  // values on 04/05/2009 (10) and 30/06/2009 (11) only
    child<QComboBox>(w, "CmbMese")->setCurrentIndex(6);
    QCOMPARE(labelText(w, "LbVal1_2"), QString("11,00"));  // first value on or after 01/06
    child<QRadioButton>(w, "Option1_1")->setChecked(true);
    QCOMPARE(labelText(w, "LbVal1_2"), QString("10,00"));  // the value in force on 01/06
  }

  void chartShowsTheTickedOverlays() {
    Fixture f("", "01111110");
    QWidget* w = f.window.get();
    f.chooseProduct("P1");
    QChart* chart = child<statind::ui::GraphView>(w, "Graph1")->chart();
    // Each overlay named with its figures, as on the printed sheet.
    QStringList names;
    for (auto* series : chart->series()) names << series->name();
    const QString all = names.join(',');
    for (const char* name :
         {"Indice", "Media \\d+,\\d\\d", "Min \\d+,\\d\\d", "Max \\d+,\\d\\d",
          "StdDev \\d+,\\d\\d - \\d+,\\d\\d", "BestFit da \\d+,\\d\\d a \\d+,\\d\\d"}) {
      QVERIFY2(names.indexOf(QRegularExpression(QString("^") + name + "$")) >= 0, qPrintable(all));
    }
    auto* axisY = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    QVERIFY(axisY);
    QCOMPARE(axisY->min(), 0.0);  // "Origine Y=0"
    child<QCheckBox>(w, "Check2_0")->setChecked(false);
    axisY = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).value(0));
    QVERIFY(axisY->min() > 50);  // follows the data (about 100)

    // A point under the mouse tells its date and value; the terse controls say what they do.
    const QString first = child<statind::ui::GraphView>(w, "Graph1")->pointText(0);
    QVERIFY2(QRegularExpression("^01/01/2010: \\d+,\\d\\d$").match(first).hasMatch(),
             qPrintable(first));
    for (const char* name :
         {"cmdMoveM_0", "cmdMoveM_1", "cmdMoveM_2", "Check1_2", "Check1_3", "Check2_0"})
      QVERIFY2(!child<QWidget>(w, name)->toolTip().isEmpty(), name);
    QCOMPARE(child<QToolButton>(child<QWidget>(w, "SpinButton1_1"), "up")->toolTip(),
             QString("mese successivo"));
  }

  void gridCellsAreStyledFromTheirValues() {
    Fixture f;
    QWidget* w = f.window.get();
    f.chooseProduct("P1");
    child<QComboBox>(w, "CmbAnno")->setCurrentIndex(1);  // 2009, whole year
    QAbstractItemModel* model = child<QTableView>(w, "TDBGrid1")->model();
    QCOMPARE(model->rowCount(), 24);
    QCOMPARE(model->index(0, 0).data().toString(), QString("GENNAIO"));
    QVERIFY(model->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    QVERIFY(model->index(1, 0).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    int red = 0, black = 0;
    for (int row = 1; row < model->rowCount(); row += 2) {
      const QString change = model->index(row, 2).data().toString();
      const bool isRed = model->index(row, 2).data(Qt::ForegroundRole).isValid();
      QCOMPARE(isRed, change.startsWith('-'));
      (isRed ? red : black)++;
    }
    QVERIFY(red > 0 && black > 0);

    child<QComboBox>(w, "CmbMese")->setCurrentIndex(2);
    QCOMPARE(model->index(0, 0).data().toString(), QString("01 D  "));
    QVERIFY(model->index(0, 0).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    QVERIFY(!model->index(0, 0).data(Qt::FontRole).value<QFont>().bold());
  }

  void layoutKeepsItsMinimumAndGridWidth() {
    Fixture f("", "<none>", 9000);  // a narrow screen
    StatInd& window = *f.window;
    window.setWindowState(Qt::WindowNoState);
    const QSize minimum = platform::ui::twipsToPixels(QSize(9600, 5000), &window);
    window.resize(100, 100);
    QVERIFY(window.width() >= minimum.width() && window.height() >= minimum.height());
    const int expected =
        platform::ui::twipsToPixels(StatIndLayout::designGridWidth() + 230, &window);
    for (int grow : {0, 200, 50}) {
      window.resize(minimum.width() + grow, minimum.height() + grow);
      QCOMPARE(child<QWidget>(&window, "TDBGrid1")->width(), expected);
    }
    // At the minimum size every chart option box is whole inside its frame.
    window.resize(minimum);
    auto* options = child<QWidget>(&window, "FrameStat");
    options->layout()->activate();
    for (auto* box : options->findChildren<QCheckBox*>()) {
      QVERIFY2(options->rect().contains(box->geometry()), qPrintable(box->text()));
    }
  }

  void functionKeys() {
    Fixture f("", "00000100");
    StatInd& w = *f.window;
    child<QCheckBox>(&w, "Check1_1")->setChecked(true);
    // The grid and the lists leave the program-wide keys to the window.
    QTest::keyClick(child<QWidget>(&w, "TDBGrid1"), Qt::Key_1, Qt::ControlModifier);
    QTest::keyClick(child<QWidget>(&w, "CmbProd"), Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(f.session->desktop.captures, (std::vector<int>{1, 0}));
    QTest::keyClick(&w, Qt::Key_F2);
    QVERIFY(!w.isVisible());  // as the exit button: options saved, window closed
    QCOMPARE(f.installation.readIni("PARAMETRI", "indstat"), std::string("00100100"));
  }

  // Typing searches the products by code or description and commits nothing until Enter; the
  // arrows open the list instead of opening product after product.
  void typingSearchesTheProductsAndEnterCommits() {
    Fixture f;
    QWidget* w = f.window.get();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto* list = child<QComboBox>(w, "CmbProd");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QVERIFY(list->view()->isVisible());
    list->hidePopup();
    QTest::keyClicks(list->lineEdit(), "GAM");
    QCOMPARE(list->completer()->completionCount(), 1);
    QVERIFY(child<QWidget>(w, "PctScelta")->isVisible());
    QVERIFY(f.session->params.productCode.empty());
    QTest::keyClick(list->lineEdit(), Qt::Key_Return);
    QCOMPARE(f.session->params.productCode, std::string("P3"));
    QCOMPARE(labelText(w, "LbProdotto"), QString("Fondo Gamma"));

    child<QPushButton>(w, "CmdProd")->click();
    list->lineEdit()->setText("p1");
    QTest::keyClick(list->lineEdit(), Qt::Key_Return);
    QCOMPARE(f.session->params.productCode, std::string("P1"));
  }

  // At the design's smallest screen every text is whole: the choice, the year view with its
  // overlays, a month view's thirty-one day labels.
  void nothingIsCutOnASmallScreen() {
    Fixture f("", "01111110");
    QWidget* w = f.window.get();
    QStringList cut = elidedAt(w);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    f.chooseProduct("P1");
    child<QComboBox>(w, "CmbAnno")->setCurrentIndex(1);  // 2009, a whole year
    cut = elidedAt(w);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    child<QComboBox>(w, "CmbMese")->setCurrentIndex(3);  // March: 31 days
    cut = elidedAt(w);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    press(w, "SpinButton1_1", "up");  // a new series in a chart already laid out
    cut = elidedAt(w);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    QCOMPARE(labelText(w, "LbPerc_2"), QString("%"));  // the month's change is a percentage too
  }

  // The whole window by keyboard: Ctrl+R from the year list (where the focus is after choosing a
  // year), Enter on a focused button, Esc as "&USCITA".
  void keyboardReachesRiskButtonsAndExit() {
    Fixture f("", "00000100");
    StatInd& w = *f.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    f.chooseProduct("P1");
    auto* years = child<QComboBox>(&w, "CmbAnno");
    years->setFocus();
    QString opened;
    QTimer::singleShot(0, [&] {
      if (QWidget* risk = QApplication::activeModalWidget()) {
        opened = risk->objectName();
        risk->close();
      }
    });
    QTest::keyClick(years, Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(opened, QString("RischioRendimento"));

    auto* first = child<QPushButton>(&w, "cmdMoveM_0");
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    QCOMPARE(period(&w), QString("2008/3"));

    child<QCheckBox>(&w, "Check1_0")->setChecked(true);
    QTest::keyClick(years, Qt::Key_Escape);
    QVERIFY(!w.isVisible());
    QCOMPARE(f.installation.readIni("PARAMETRI", "indstat"), std::string("01000100"));
  }

  // The run on screen printed and exported: names suggested from the product and period, the
  // CLI's CSV, a one-page preview, and a folder that does not exist shown as a message.
  void printAndExportTheRunShown() {
    Fixture f;
    QWidget* w = f.window.get();
    auto* print = child<QPushButton>(w, "CmdStampa");
    QVERIFY(!print->isEnabled());
    f.chooseProduct("P1");
    QVERIFY(print->isEnabled());
    QCOMPARE(print->shortcut(), QKeySequence("Ctrl+P"));
    QTemporaryDir folder;
    QString suggested, target = folder.filePath("foglio");
    w->findChild<report::ui::SheetActions*>()->setFileChooser(
        [&](const QString&, const QString& name, const QString&) {
          suggested = name;
          return target;
        });
    child<QPushButton>(w, "CmdEsportaCsv")->click();
    QVERIFY2(suggested.endsWith("/P1_2010.csv"), qPrintable(suggested));
    const auto csv = testsupport::TempFolder::read(target.toStdString() + ".csv");
    QVERIFY2(csv.starts_with("2010;indice;% mese;% trim.;% sem.\nGENNAIO;;;;\n"), csv.c_str());
    child<QPushButton>(w, "CmdEsportaPdf")->click();
    QVERIFY(suggested.endsWith("/P1_2010.pdf"));
    QVERIFY(testsupport::TempFolder::read(target.toStdString() + ".pdf").starts_with("%PDF"));

    int pages = 0;
    QTimer::singleShot(0, [&] {
      auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
      if (!preview) return;
      auto* view = preview->findChild<QPrintPreviewWidget*>();
      if (!QTest::qWaitFor([&] { return view->pageCount() > 0; })) return;
      pages = view->pageCount();
      preview->reject();
    });
    print->click();
    QCOMPARE(pages, 1);

    target = folder.filePath("manca/foglio.csv");
    child<QPushButton>(w, "CmdEsportaCsv")->click();
    QVERIFY2(f.session->messages().find("impossibile scrivere") != std::string::npos,
             f.session->messages().c_str());
    QVERIFY(w->isVisible());
  }
};

QTEST_MAIN(StatIndTest)
#include "StatIndTest.moc"
