// A development aid for scripts/screenshot: from the index statistics window, opens "Confronto
// prodotti" through its button on the product shown, adds three more products through the
// chooser as a user types them, picks the second as benchmark and saves the window and the
// chooser next to the statistics window's pictures, then closes it.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace app {

class VersusShots {
 public:
  // Presses "cmdConfronto" of `dialog` (the statistics window) and, once the comparison window
  // is up, saves it through `save(widget, path)` into `folder`. Returns when it is closed.
  template <typename Save>
  static void shoot(QWidget& dialog, const QString& folder, Save save) {
    auto* button = dialog.findChild<QPushButton*>(QStringLiteral("cmdConfronto"));
    if (!button) return;
    QTimer::singleShot(kOpenMs, &dialog, [folder, save] {
      QWidget* window = QApplication::activeModalWidget();
      if (!window || window->objectName() != QStringLiteral("ConfrontoProdotti")) return;
      auto* add = window->findChild<QPushButton*>(QStringLiteral("CmdAggiungi"));
      auto* search = window->findChild<QLineEdit*>(QStringLiteral("TxtCerca"));
      auto* benchmark = window->findChild<QComboBox*>(QStringLiteral("CmbBenchmark"));
      if (!add || !search || !benchmark) return;
      for (const char* typed : {"BI002", "obbligazionario euro breve", "MO001"}) {
        add->click();
        search->setText(QString::fromUtf8(typed));
        if (typed[0] == 'M') {
          settle();
          save(*window, QDir(folder).filePath(QStringLiteral("confronto-scelta.png")));
        }
        emit search->returnPressed();
      }
      benchmark->setCurrentIndex(2);
      settle();
      save(*window, QDir(folder).filePath(QStringLiteral("confronto.png")));
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
