// A development aid for scripts/screenshot: when the suite opened the comparison window with a
// product, pictures of its all-months view (line) over the last five years, of one month over
// the same years (bars with their legends) and of the product chooser are saved next to the
// main window's picture.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace app {

class CompareShots {
 public:
  // Drives `dialog` (object name "Statind1") by its control names and saves each view through
  // `save(widget, path)` into `folder`. Does nothing for any other window.
  template <typename Save>
  static void shoot(QWidget& dialog, const QString& folder, Save save) {
    if (dialog.objectName() != QStringLiteral("Statind1")) return;
    auto* from = dialog.findChild<QComboBox*>(QStringLiteral("CmbAnno_0"));
    auto* months = dialog.findChild<QComboBox*>(QStringLiteral("CmbMese"));
    auto* bars = dialog.findChild<QRadioButton*>(QStringLiteral("OptionS_1"));
    if (!from || !months || !bars) return;
    from->setCurrentIndex(std::max(0, from->count() - 6));
    if (auto* mean = dialog.findChild<QCheckBox*>(QStringLiteral("Check1_0")))
      mean->setChecked(true);
    settle();
    save(dialog, QDir(folder).filePath(QStringLiteral("statind1-months.png")));
    bars->setChecked(true);
    months->setCurrentIndex(3);
    settle();
    save(dialog, QDir(folder).filePath(QStringLiteral("statind1-month.png")));
    if (auto* back = dialog.findChild<QPushButton*>(QStringLiteral("CmdProd"))) back->click();
    settle();
    save(dialog, QDir(folder).filePath(QStringLiteral("statind1-choice.png")));
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
