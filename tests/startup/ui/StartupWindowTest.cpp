// The main window driven as the suite and a user drive it: start-up on a small installation,
// menus, first activation, minimum size, background, position on the screen, function keys.
#include <QAction>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <optional>

#include "../../support/Elision.h"
#include "../../support/UiFixture.h"
#include "platform/Store.h"
#include "platform/ui/Twips.h"
#include "startup/ui/BackgroundArea.h"
#include "startup/ui/FunctionKeys.h"
#include "startup/ui/ProgramExit.h"
#include "utilities/ScreenCapture.h"
#include "utilities/ui/EspMovDt.h"

using platform::ui::pixelsToTwips;
using platform::ui::twipsToPixels;
using startup::StartOutcome;
using startup::ui::BackgroundArea;
using testsupport::UiInstallation;
using testsupport::UiSession;

namespace {

// A statistics window in miniature: an exit button and a key handler that asks the shared
// function keys first.
class KeyDialog : public QDialog {
 public:
  explicit KeyDialog(startup::ui::AppContext& ctx) : ctx_(ctx) {
    setObjectName(QStringLiteral("StatInd"));
    setWindowTitle(QStringLiteral("Statistiche sugli Indici"));
    exitButton = new QPushButton(QStringLiteral("&USCITA"), this);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
  }
  QPushButton* exitButton;
  bool handled = false;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    handled = startup::ui::handleFunctionKey(event->key(), event->modifiers(), this, ctx_);
    if (!handled) QDialog::keyPressEvent(event);
  }

 private:
  startup::ui::AppContext& ctx_;
};

QAction* action(QWidget* window, const char* name) {
  return window->findChild<QAction*>(QString::fromLatin1(name));
}

bool menuShown(QWidget* window, const char* name) {
  if (QAction* item = action(window, name)) return item->isVisible();
  return window->findChild<QMenu*>(QString::fromLatin1(name))->menuAction()->isVisible();
}

}  // namespace

class StartupWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void standAloneStartShowsOperatorProgressAndMenus() {
    UiInstallation installation;
    UiSession session(installation);
    QVERIFY2(session.start() == StartOutcome::Ready, session.messages().c_str());
    QWidget* window = session.window.get();
    QCOMPARE(window->windowTitle(), QStringLiteral("(OPER)"));
    QVERIFY(!window->findChild<QWidget*>(QStringLiteral("Picture1"))->isVisible());
    for (const char* name : {"Mu_end", "Mu_statistiche", "Mu_Stat0", "Mu_newexe"})
      QVERIFY2(menuShown(window, name), name);
    QVERIFY(action(window, "Mu_Stat0")->isEnabled());
    QVERIFY(action(window, "Mu_Stat1")->isEnabled());
    QVERIFY(action(window, "Mu_newexe")->isEnabled());
    QVERIFY(session.desktop.shown.empty());
  }

  // The main window offers the next steps with their keys, keyboard first: the first line has
  // the focus, the arrows move, Enter opens; a program driven by the suite offers only what its
  // menus still show.
  void actionPanelOffersTheNextStepsByKeyboard() {
    UiInstallation installation;
    UiSession session(installation);
    QCOMPARE(session.start(), StartOutcome::Ready);
    QWidget* window = session.window.get();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTRY_COMPARE(session.opened.size(), std::size_t{1});  // the first activation: code 9, nothing
    auto* first = window->findChild<QPushButton*>("Azione_0");
    QCOMPARE(first->text(), QString("Statistiche sugli indici"));
    QCOMPARE(window->findChild<QLabel*>("Azione_0_tasti")->text(), QString("Alt+S, S"));
    QCOMPARE(window->findChild<QLabel*>("Azione_1_tasti")->text(), QString("Alt+S, C"));
    QCOMPARE(window->findChild<QLabel*>("Azione_3_tasti")->text(), QString("Alt+S, O"));
    QCOMPARE(window->findChild<QLabel*>("Azione_4_tasti")->text(), QString("Ctrl+I"));
    QCOMPARE(window->findChild<QLabel*>("Azione_5_tasti")->text(), QString("Alt+V"));
    QVERIFY(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Down);
    auto* second = window->findChild<QPushButton*>("Azione_1");
    QVERIFY(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Return);
    QCOMPARE(session.opened.size(), std::size_t{2});
    QCOMPARE(session.opened.back().code, 1);
    for (const QSize size : {testsupport::kSmallScreen, window->minimumSize()}) {
      const QStringList cut = testsupport::elidedAt(window, size);
      QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    }

    UiInstallation driven;
    UiSession suite(driven, "oper|9");
    QCOMPARE(suite.start(), StartOutcome::Ready);
    QVERIFY(suite.window->findChild<QPushButton*>("Azione_0")->isHidden());
    QVERIFY(suite.window->findChild<QPushButton*>("Azione_3")->isHidden());
    QVERIFY(!suite.window->findChild<QPushButton*>("Azione_5")->isHidden());
  }

  void suiteStartHidesMenusAndOpensItsFunctionOnce() {
    UiInstallation installation;
    UiSession session(installation, "oper|0|abc|500|FONDO1");
    QCOMPARE(session.start(), StartOutcome::Ready);
    QWidget* window = session.window.get();
    QVERIFY(!menuShown(window, "Mu_end"));
    QVERIFY(!menuShown(window, "Mu_statistiche"));
    QVERIFY(menuShown(window, "Mu_newexe"));

    window->activateWindow();
    QTRY_COMPARE(session.opened.size(), std::size_t{1});
    QCOMPARE(session.opened[0].productCode, std::string("FONDO1"));

    // Activated again (back from the statistics window): the product is not handed over twice.
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(!window->isActiveWindow());
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
    QTRY_VERIFY(session.params.productCode.empty());
    QCOMPARE(session.opened.size(), std::size_t{1});

    // The menu still opens it, and records it as the function in use.
    session.params.startFunction = 9;
    action(window, "Mu_Stat0")->trigger();
    QCOMPARE(session.opened.size(), std::size_t{2});
    QCOMPARE(session.params.startFunction, 0);
  }

  void failingWindowIsReportedAndMainWindowGoesOn() {
    UiInstallation installation;
    UiSession session(installation);
    session.opener = [](int) { throw platform::StoreError("disk I/O error"); };
    QCOMPARE(session.start(), StartOutcome::Ready);
    session.desktop.setWaitCursor(true);
    action(session.window.get(), "Mu_Stat0")->trigger();
    QCOMPARE(session.desktop.shown.size(), std::size_t{1});
    QCOMPARE(session.desktop.shown[0].text, std::string("disk I/O error"));
    QVERIFY(!session.desktop.waitCursor);
    action(session.window.get(), "Mu_Stat0")->trigger();
    QCOMPARE(session.desktop.shown.size(), std::size_t{2});
  }

  // The lookup reads through the databases' tables, so it must go before they close.
  void exitMenuAndClosingRunTheExitRoutine() {
    UiInstallation installation;
    UiSession session(installation);
    QCOMPARE(session.start(), StartOutcome::Ready);
    action(session.window.get(), "Mu_end")->trigger();
    QCOMPARE(session.exits, 1);
    session.window->close();
    QCOMPARE(session.exits, 2);
    QVERIFY(session.ctx.lookup != nullptr);
    startup::ui::runExitRoutine(*session.window, session.ctx);
    QVERIFY(session.ctx.lookup == nullptr);
    QVERIFY(session.dbs.dataDb == nullptr);
  }

  void minimumSizeHoldsOnlyInTheNormalState() {
    UiInstallation installation;
    UiSession session(installation);
    QCOMPARE(session.start(), StartOutcome::Ready);
    QWidget* window = session.window.get();
    const QSize minimum(twipsToPixels(9640, window), twipsToPixels(5400, window));
    window->resize(twipsToPixels(5000, window), twipsToPixels(5000, window));
    QCOMPARE(window->size(), minimum);
    window->showMaximized();
    QTRY_VERIFY(window->isMaximized());
    QCOMPARE(window->minimumSize(), QSize(0, 0));
    window->showNormal();
    QTRY_VERIFY(!window->isMaximized());
    QCOMPARE(window->minimumSize(), minimum);
  }

  void backgroundColours() {
    QCOMPARE(BackgroundArea::fromWindowsColour("255"), std::optional<QColor>(QColor(255, 0, 0)));
    QCOMPARE(BackgroundArea::fromWindowsColour("16744448"),
             std::optional<QColor>(QColor(0, 128, 255)));
    for (const char* bad : {"", "abc", "12x", "-1", "16777216"})
      QVERIFY2(!BackgroundArea::fromWindowsColour(bad), bad);
  }

  void backgroundThatIsNoPictureIsReportedAndForgotten() {
    UiInstallation installation;
    const std::string path = installation.file("note.png");
    { std::ofstream(path) << "not a picture"; }
    installation.setIni("SFONDO", "image", path);
    installation.setIni("SFONDO", "colore", "65280");
    UiSession session(installation);
    QCOMPARE(session.start(), StartOutcome::Ready);
    QCOMPARE(session.window->findChild<BackgroundArea*>()->colour(),
             std::optional<QColor>(QColor(0, 255, 0)));
    QCOMPARE(session.desktop.shown.size(), std::size_t{1});
    QCOMPARE(session.desktop.shown[0].text, path);
    QCOMPARE(session.desktop.shown[0].title, std::string("IMMAGINE DI SFONDO NON APPLICABILE"));
    QCOMPARE(installation.readIni("SFONDO", "image"), std::string());

    // A picture that is simply not there is left for another day.
    const std::string missing = installation.file("altrove.png");
    installation.setIni("SFONDO", "image", missing);
    UiSession again(installation);
    QCOMPARE(again.start(), StartOutcome::Ready);
    QVERIFY(again.desktop.shown.empty());
    QCOMPARE(installation.readIni("SFONDO", "image"), missing);
  }

  void windowIsKeptOnTheScreen() {
    QCOMPARE(startup::ui::Startup::keptInside(100, 9640, 15120), 100);
    UiInstallation installation;
    UiSession session(installation, "OPER|9|20000|30000|");
    session.env.screenWidthTwips = 15000;
    session.env.screenHeightTwips = 11000;
    QCOMPARE(session.start(), StartOutcome::Ready);
    QWidget* window = session.window.get();
    const QRect frame = window->frameGeometry();
    const int width = pixelsToTwips(frame.width(), window);
    const int height = pixelsToTwips(frame.height(), window);
    QCOMPARE(session.params.windowLeft, 15120 - width);
    QCOMPARE(session.params.windowTop, 11120 - height);
    QCOMPARE(frame.topLeft(),
             QPoint(twipsToPixels(15120 - width, window), twipsToPixels(11120 - height, window)));
  }

  void f2PressesTheExitButtonAndCtrlAltF2AsksFirst() {
    UiInstallation installation;
    UiSession session(installation);
    QCOMPARE(session.start(), StartOutcome::Ready);
    KeyDialog dialog(session.ctx);
    dialog.show();
    QSignalSpy pressed(dialog.exitButton, &QPushButton::clicked);

    dialog.exitButton->setEnabled(false);
    QTest::keyClick(&dialog, Qt::Key_F2);
    QVERIFY(!dialog.handled);
    QCOMPARE(pressed.count(), 0);

    dialog.exitButton->setEnabled(true);
    QTest::keyClick(&dialog, Qt::Key_F2, Qt::ShiftModifier);
    QVERIFY(dialog.handled);
    QCOMPARE(pressed.count(), 1);
    QVERIFY(!dialog.isVisible());

    dialog.show();
    session.desktop.answers = {platform::Answer::No};
    QTest::keyClick(&dialog, Qt::Key_F2, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(session.desktop.shown.back().text, std::string("FINE DI VELTAR?"));
    QCOMPARE(session.desktop.shown.back().buttons, platform::Buttons::YesNoDefaultNo);
    QCOMPARE(session.exits, 0);
    QCOMPARE(pressed.count(), 1);

    session.desktop.answers = {platform::Answer::Yes};
    QTest::keyClick(&dialog, Qt::Key_F2, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(session.exits, 1);

    // The second key of the forced exit, which X on Linux lets through, and the menu showing it.
    session.desktop.answers = {platform::Answer::Yes};
    QTest::keyClick(&dialog, Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(session.desktop.shown.back().text, std::string("FINE DI VELTAR?"));
    QCOMPARE(session.exits, 2);
    QAction* forced = action(session.window.get(), "Mu_fine");
    QVERIFY(forced->text().endsWith("\tCtrl+Alt+F2, Ctrl+Maiusc+F2"));
    session.desktop.answers = {platform::Answer::No};
    forced->trigger();
    QCOMPARE(session.desktop.shown.back().title, std::string("USCITA FORZATA"));
    QCOMPARE(session.exits, 2);
  }

  void ctrlF8TogglesTheCaptionPerWindow() {
    UiInstallation installation;
    UiSession session(installation);
    QCOMPARE(session.start(), StartOutcome::Ready);
    KeyDialog first(session.ctx);
    KeyDialog second(session.ctx);
    second.setObjectName(QStringLiteral("Statind1"));
    second.setWindowTitle(QStringLiteral("Comparazioni"));

    QTest::keyClick(&first, Qt::Key_F8, Qt::ControlModifier);
    QCOMPARE(first.windowTitle(), QStringLiteral("StatInd !"));
    QTest::keyClick(&second, Qt::Key_F8, Qt::ControlModifier);
    QTest::keyClick(&first, Qt::Key_F8, Qt::ControlModifier);
    QCOMPARE(first.windowTitle(), QStringLiteral("Statistiche sugli Indici"));
    QTest::keyClick(&second, Qt::Key_F8, Qt::ControlModifier);
    QCOMPARE(second.windowTitle(), QStringLiteral("Comparazioni"));

    // F8 with other modifiers, or on a window without a frame, is not a function key.
    QTest::keyClick(&first, Qt::Key_F8, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!first.handled);
    first.setWindowFlag(Qt::FramelessWindowHint);
    QTest::keyClick(&first, Qt::Key_F8, Qt::ControlModifier);
    QVERIFY(!first.handled);
    QCOMPARE(first.windowTitle(), QStringLiteral("Statistiche sugli Indici"));
  }

  void f1ShowsTheActiveCompanyOnlyOnTheAzmNetwork() {
    UiInstallation installation;
    UiSession session(installation);
    QCOMPARE(session.start(), StartOutcome::Ready);
    KeyDialog dialog(session.ctx);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_F1);
    QVERIFY(!dialog.handled);

    session.params.networkSection = "AZM";
    session.params.activeCompany = "_AZ";
    QString active;
    bool switchShown = true;
    QTimer::singleShot(0, [&] {
      auto* company = qobject_cast<utilities::ui::EspMovDt*>(QApplication::activeModalWidget());
      if (!company) return;
      active = company->LbDitBase[0]->text();
      switchShown = company->Command1[1]->isVisible() || company->LbDitBase[1]->isVisible();
      QTest::keyClick(company, Qt::Key_F2);  // closes it like "&USCITA"
    });
    QTest::keyClick(&dialog, Qt::Key_F1);
    QVERIFY(dialog.handled);
    QCOMPARE(active, QStringLiteral(" RADAVI"));
    QVERIFY(!switchShown);
    QVERIFY(dialog.isVisible());
  }

  void suiteCaptureAndSearchKeys() {
    UiInstallation installation;
    UiSession session(installation);
    QCOMPARE(session.start(), StartOutcome::Ready);
    KeyDialog dialog(session.ctx);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(session.desktop.shown.back().text,
             installation.folder() + "/Raradazo.exe  NON TROVATO");
    QTest::keyClick(&dialog, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(session.desktop.shown.back().text,
             installation.folder() + "/Zavozaz.exe  NON TROVATO");

    QTest::keyClick(&dialog, Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(session.desktop.captures, std::vector<int>{1});
    QCOMPARE(session.desktop.shellOpened.back().target,
             std::string("mailto:") + utilities::kSupportMailAddress);
    QTest::keyClick(&dialog, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(session.desktop.shellOpened.back().target, std::string("/"));
    QVERIFY(session.desktop.programsStarted.size() == 2u);  // only the two missing programs
  }
};

QTEST_MAIN(StartupWindowTest)
#include "StartupWindowTest.moc"
