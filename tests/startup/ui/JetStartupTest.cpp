// The program started as a user starts it on an installation whose databases are the suite's Jet
// files: it runs on their mirrors and leaves the Jet files as they were.
#include <QComboBox>
#include <QLabel>
#include <QTableView>
#include <QTest>

#include <filesystem>

#include "../../support/UiFixture.h"
#include "statind/ui/StatInd.h"
#include "support/SqliteToJet.h"

using testsupport::child;
using testsupport::UiInstallation;
using testsupport::UiSession;

namespace {

// Replaces the SQLite file at `path` by a Jet 4 file of the same tables and rows.
void toJet(const std::string& path) {
  const std::string jet = path + ".jet";
  jetfixture::copySqliteToJet({path, jet, {"Indici.IndData"}});
  std::filesystem::rename(jet, path);
}

}  // namespace

class JetStartupTest : public QObject {
  Q_OBJECT

 private slots:
  void runsOnTheMirrorsAndLeavesTheJetFilesAsTheyWere() {
    UiInstallation inst;
    inst.addGroup("AZ", "Azionari");
    inst.addCategory("AZI", "Azionari Italia");
    inst.addProduct("AZ001", "Fondo Città", "EUR", "AZ", "AZI");
    inst.addBusinessDayValues("AZ001", platform::dayNumber(2022, 1, 3),
                              platform::dayNumber(2024, 6, 28),
                              [](platform::DayNumber, int n) { return 100.0 + n * 0.1; });
    const std::vector<std::string> files = {inst.dataDb(), inst.file("base/OPER/VisiteDV.mdb"),
                                            inst.indexDb(), inst.file("work/OPER/WorkDV.mdb")};
    std::vector<std::string> before;
    for (const auto& file : files) {
      toJet(file);
      before.push_back(testsupport::TempFolder::read(file));
    }

    {
      UiSession session(inst);
      QCOMPARE(session.start(), startup::StartOutcome::Ready);
      QVERIFY2(session.desktop.shown.empty(), session.messages().c_str());
      QCOMPARE(session.dbs.indexFile.format, std::string("Jet 4"));
      QVERIFY(session.dbs.indexFile.mirrorRebuilt);
      QCOMPARE(session.dbs.workFile.opened, inst.file("work/OPER/WorkDV.statind.sqlite"));

      session.params.productCode = "AZ001";
      statind::ui::StatInd window(session.ctx, nullptr);
      window.show();
      auto* products = child<QComboBox>(&window, "CmbProd");
      QVERIFY(products->currentText().startsWith("AZ001"));
      QVERIFY(child<QTableView>(&window, "TDBGrid1")->model()->rowCount() > 0);
    }
    for (std::size_t i = 0; i < files.size(); ++i)
      QVERIFY2(testsupport::TempFolder::read(files[i]) == before[i], files[i].c_str());
  }
};

QTEST_MAIN(JetStartupTest)
#include "JetStartupTest.moc"
