// A development aid for scripts/screenshot: when the suite opened the index statistics window
// with a product, pictures of its year view with every chart overlay, of the file dialog and
// the print preview it opens, of a month view, of the screen after a few steps, of the risk
// window's two pages, of the comparison of products and of the product choice are saved next to
// the main window's picture.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QImage>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include "app/RiskShots.h"
#include "app/VersusShots.h"

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
    // Qt's own dialogs, as the user meets them: in Italian, the file dialog's columns whole.
    shootModal(dialog, "CmdEsportaPdf", QDir(folder).filePath(QStringLiteral("dialogo-file.png")),
               save);
    shootModal(dialog, "CmdStampa", QDir(folder).filePath(QStringLiteral("anteprima.png")), save);
    months->setCurrentIndex(3);
    settle();
    save(dialog, QDir(folder).filePath(QStringLiteral("statind-month.png")));
    // A user's stepping, pictured as the screen shows it (a widget grab would paint afresh and
    // hide anything left over from the earlier charts).
    press(dialog, "SpinButton1_1", "up");
    press(dialog, "SpinButton1_0", "down");
    press(dialog, "cmdMoveM_0");
    saveScreen(dialog, QDir(folder).filePath(QStringLiteral("statind-steps.png")));
    months->setCurrentIndex(0);
    settle();
    RiskShots::shoot(dialog, folder, save);
    VersusShots::shoot(dialog, folder, save);
    if (auto* back = dialog.findChild<QPushButton*>(QStringLiteral("CmdProd"))) back->click();
    settle();
    save(dialog, QDir(folder).filePath(QStringLiteral("statind-choice.png")));
  }

 private:
  // Clicks the button `name`, saves the modal window it opens as `path` and closes that window.
  template <typename Save>
  static void shootModal(QWidget& dialog, const char* name, const QString& path, Save save) {
    QTimer::singleShot(800, &dialog, [path, save] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      save(*modal, path);
      modal->close();
    });
    press(dialog, name);
  }

  // Clicks the button `name`, or the arrow `arrow` ("down", "up") of the stepper `name`.
  static void press(QWidget& dialog, const char* name, const char* arrow = nullptr) {
    QWidget* control = dialog.findChild<QWidget*>(QString::fromLatin1(name));
    if (control && arrow) control = control->findChild<QWidget*>(QString::fromLatin1(arrow));
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->click();
    settle();
  }

  // Saves the pixels the screen shows for `dialog`, and says on stderr when they differ from a
  // fresh paint of the same window (something of an earlier state left on screen).
  static void saveScreen(QWidget& dialog, const QString& path) {
    QScreen* screen = dialog.screen();
    const QImage shown = screen ? screen->grabWindow(dialog.winId()).toImage() : QImage();
    if (shown.isNull() || !shown.save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return;
    }
    std::printf("%s\n", qPrintable(path));
    const QImage fresh = dialog.grab().toImage().convertToFormat(shown.format());
    if (fresh != shown) std::fprintf(stderr, "stale pixels on screen: %s\n", qPrintable(path));
  }

  // Lets the chart lay itself out and paint before the picture is taken.
  static void settle() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
  }
};

}  // namespace app
