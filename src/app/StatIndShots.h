// A development aid for scripts/screenshot: when the suite opened the index statistics window
// with a product, pictures of its year view with every chart overlay, of a month view, of the
// risk window's two pages and of the product choice are saved next to the main window's picture.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "app/RiskShots.h"

namespace app {

class StatIndShots {
 public:
  // Drives `dialog` (object name "StatInd") by its control names and saves each view through
  // `save(widget, path)` into `folder`. Does nothing for any other window.
  template <typename Save>
  static void shoot(QWidget& dialog, const QString& folder, Save save) {
    if (dialog.objectName() != QStringLiteral("StatInd")) return;
    for (const char* box : {"Check1_0", "Check1_1", "Check1_2", "Check1_3", "Check2_1"}) {
      if (auto* check = dialog.findChild<QCheckBox*>(QString::fromLatin1(box)))
        check->setChecked(true);
    }
    auto* months = dialog.findChild<QComboBox*>(QStringLiteral("CmbMese"));
    if (!months) return;
    months->setCurrentIndex(0);
    settle();
    save(dialog, QDir(folder).filePath(QStringLiteral("statind-year.png")));
    months->setCurrentIndex(3);
    settle();
    save(dialog, QDir(folder).filePath(QStringLiteral("statind-month.png")));
    months->setCurrentIndex(0);
    settle();
    RiskShots::shoot(dialog, folder, save);
    if (auto* back = dialog.findChild<QPushButton*>(QStringLiteral("CmdProd"))) back->click();
    settle();
    save(dialog, QDir(folder).filePath(QStringLiteral("statind-choice.png")));
  }

 private:
  // Lets the chart lay itself out and paint before the picture is taken.
  static void settle() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
  }
};

}  // namespace app
