// A development aid for scripts/screenshot: when STATIND_SCREENSHOT_IMPORT_FILE names a price
// file, the window "Importa indici" is opened from the main window's menu, the file previewed
// for the product its name stands for ("VUOTO.csv": VUOTO) and the window saved as read (its
// unreadable line refusing the import) and with the unreadable lines set aside. Nothing is
// imported: the window is closed before "Importa".
#pragma once

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

#include "indeximport/ui/ImportaIndici.h"

namespace app {

class ImportShots {
 public:
  // Triggers "Mu_Importa" of `mainWindow` and saves importa-indici.png and
  // importa-indici-scarta.png into `folder` through `save(widget, path)`. Returns when the
  // window is closed; does nothing without the variable.
  template <typename Save>
  static void shoot(QWidget& mainWindow, const QString& folder, Save save) {
    const char* file = std::getenv("STATIND_SCREENSHOT_IMPORT_FILE");
    auto* open = mainWindow.findChild<QAction*>(QStringLiteral("Mu_Importa"));
    if (!file || !*file || !open) return;
    const QString path = QString::fromLocal8Bit(file);
    QTimer::singleShot(kOpenMs, &mainWindow, [path, folder, save] {
      QWidget* modal = QApplication::activeModalWidget();
      auto* window = qobject_cast<indeximport::ui::ImportaIndici*>(modal);
      // Whatever else came up would keep the program waiting for a user.
      if (!window) {
        if (modal) modal->close();
        return;
      }
      if (auto* product = window->findChild<QComboBox*>(QStringLiteral("CmbProd")))
        product->setCurrentIndex(product->findData(QFileInfo(path).completeBaseName()));
      window->setFile(path);
      settle();
      save(*window, QDir(folder).filePath(QStringLiteral("importa-indici.png")));
      if (auto* skip = window->findChild<QCheckBox*>(QStringLiteral("ChkScarta")))
        skip->setChecked(true);
      settle();
      save(*window, QDir(folder).filePath(QStringLiteral("importa-indici-scarta.png")));
      window->close();
    });
    open->trigger();
  }

 private:
  static constexpr int kOpenMs = 500;
  static void settle() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
  }
};

}  // namespace app
