// A development aid for scripts/screenshot: from the index statistics window, opens "Rischio e
// rendimento" through its button and saves its two pages (figures and chart, monthly map) next
// to the statistics window's pictures, then closes it.
#pragma once

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>

namespace app {

class RiskShots {
 public:
  // Presses "cmdRischio" of `dialog` (the statistics window) and, once the risk window is up,
  // saves it through `save(widget, path)` into `folder`. Returns when the risk window is closed.
  template <typename Save>
  static void shoot(QWidget& dialog, const QString& folder, Save save) {
    auto* button = dialog.findChild<QPushButton*>(QStringLiteral("cmdRischio"));
    if (!button) return;
    QTimer::singleShot(kOpenMs, &dialog, [folder, save] {
      QWidget* window = QApplication::activeModalWidget();
      if (!window || window->objectName() != QStringLiteral("RischioRendimento")) return;
      auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("TabRischio"));
      settle();
      save(*window, QDir(folder).filePath(QStringLiteral("rischio.png")));
      if (tabs) tabs->setCurrentIndex(1);
      settle();
      save(*window, QDir(folder).filePath(QStringLiteral("rischio-mappa.png")));
      window->close();
    });
    button->click();
  }

 private:
  static constexpr int kOpenMs = 500;
  static void settle() {
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
  }
};

}  // namespace app
