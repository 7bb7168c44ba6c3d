// A development aid for scripts/screenshot: when STATIND_SCREENSHOT_DIR names a folder, the
// program saves a picture of its main window there once it is up (and, on the "AZM" network, of
// the active-company window, or of the import window when a price file is named), then leaves
// through its ordinary exit. Without the variable nothing changes.
#pragma once

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "app/CompareShots.h"
#include "app/ImportShots.h"
#include "app/StatIndShots.h"
#include "app/UpdateShots.h"
#include "startup/ui/AppContext.h"
#include "startup/ui/FunctionKeys.h"

namespace app {

class ScreenshotHook {
 public:
  // The hook the environment asks for, or nothing.
  static std::optional<ScreenshotHook> fromEnvironment() {
    const char* folder = std::getenv("STATIND_SCREENSHOT_DIR");
    if (!folder || !*folder) return std::nullopt;
    return ScreenshotHook(QString::fromLocal8Bit(folder));
  }

  // Once the event loop has had time to paint `mainWindow`: saves it as startup.png (and the
  // update dialog's outcomes when a local update site is named, the import window's previews
  // when a price file is) and ends the program through ctx.exitProgram.
  void schedule(QWidget& mainWindow, startup::ui::AppContext& ctx) const {
    QTimer::singleShot(kSettleMs, &mainWindow, [folder = folder_, &mainWindow, &ctx] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal) {
        StatIndShots::shoot(*modal, folder, &ScreenshotHook::save);
        CompareShots::shoot(*modal, folder, &ScreenshotHook::save);
      }
      if (ctx.params.networkSection == "AZM")
        shootActiveCompany(modal ? *modal : mainWindow, ctx, folder);
      save(mainWindow, QDir(folder).filePath(QStringLiteral("startup.png")));
      UpdateShots::shoot(mainWindow, ctx, folder, &ScreenshotHook::save);
      if (!modal) ImportShots::shoot(mainWindow, folder, &ScreenshotHook::save);
      ctx.exitProgram();
    });
  }

  // Presses F1 on `window` and saves the active-company window it opens as espmovdt.png.
  static void shootActiveCompany(QWidget& window, startup::ui::AppContext& ctx,
                                 const QString& folder) {
    QTimer::singleShot(kSettleMs, &window, [folder] {
      QWidget* company = QApplication::activeModalWidget();
      if (!company || company->objectName() != QStringLiteral("EspMovDt")) return;
      save(*company, QDir(folder).filePath(QStringLiteral("espmovdt.png")));
      company->close();
    });
    startup::ui::handleFunctionKey(Qt::Key_F1, Qt::NoModifier, &window, ctx);
  }

  // Saves `window` as a PNG at `path` and names the file on stdout.
  static void save(QWidget& window, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (window.grab().save(path, "PNG"))
      std::printf("%s\n", qPrintable(path));
    else
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  }

 private:
  static constexpr int kSettleMs = 400;
  explicit ScreenshotHook(QString folder) : folder_(std::move(folder)) {}
  QString folder_;
};

}  // namespace app
