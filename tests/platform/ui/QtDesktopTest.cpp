// The program's desktop with real processes and files: starting a program detached, activating
// it by its number, the shell's result codes for what cannot be opened, and Qt's own texts in
// Italian.
#include <QAbstractButton>
#include <QLocale>
#include <QMessageBox>
#include <QTest>

#include <signal.h>

#include "../../support/TempFolder.h"
#include "platform/Processes.h"
#include "platform/ui/ItalianQt.h"
#include "platform/ui/QtDesktop.h"

class QtDesktopTest : public QObject {
  Q_OBJECT

 private slots:
  void startsAndActivatesARealProgram() {
    platform::ui::QtDesktop desktop;
    const platform::StartedProgram started =
        desktop.startProgram(STATIND_FAKE_PROCEDURE_PATH, {"OPER|1"});
    QVERIFY(started.processId > 0);
    QVERIFY(platform::processRunsProgram(started.processId, STATIND_FAKE_PROCEDURE_PATH));
    QVERIFY(desktop.activateProcess(started.processId));
    ::kill(static_cast<pid_t>(started.processId), SIGKILL);
    // Detached: not this test's child, so it is gone once the system has ended it.
    for (int i = 0; i < 100 && platform::processAlive(started.processId); ++i) QTest::qWait(10);
    QVERIFY(!desktop.activateProcess(started.processId));
    QCOMPARE(desktop.startProgram("/nonexistent/Raradazo.exe", {}).processId, 0LL);
  }

  // Qt's own buttons and dialogs in Italian, as the rest of the program.
  void qtsOwnTextsAreItalian() {
    QVERIFY(platform::ui::installItalianQt(*qApp));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QString("Annulla"));
    QCOMPARE(box.button(QMessageBox::Retry)->text(), QString("Riprova"));
    QCOMPARE(QLocale().toString(1234.5, 'f', 1), QString("1.234,5"));
  }

  void shellCodesForWhatCannotBeOpened() {
    testsupport::TempFolder temp;
    platform::ui::QtDesktop desktop;
    QCOMPARE(desktop.shellOpen(temp.file("missing.txt"), "", ""), 2);
    QCOMPARE(desktop.shellOpen(temp.file("missing/x.txt"), "", ""), 3);
    QCOMPARE(desktop.shellOpen(STATIND_FAKE_PROCEDURE_PATH, "", temp.file("nofolder")), 3);
  }
};

QTEST_MAIN(QtDesktopTest)
#include "QtDesktopTest.moc"
