// A development aid for scripts/screenshot: when STATIND_SCREENSHOT_UPDATE_SITE names a local
// update site ("127.0.0.1:port/"), the update dialog is loaded from its "up/", "new/" and
// "missing/" folders and saved in its three outcomes next to the main window's picture.
#pragma once

#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <string>

#include "startup/ui/AppContext.h"
#include "update/VersionPage.h"
#include "update/ui/Aggiorna.h"

namespace app {

class UpdateShots {
 public:
  // Saves aggiorna-uptodate.png, aggiorna-new.png and aggiorna-error.png into `folder` through
  // `save(widget, path)`, each dialog a child of `owner`. Does nothing without the variable.
  template <typename Save>
  static void shoot(QWidget& owner, startup::ui::AppContext& ctx, const QString& folder,
                    Save save) {
    const char* site = std::getenv("STATIND_SCREENSHOT_UPDATE_SITE");
    if (!site || !*site) return;
    const std::pair<const char*, const char*> outcomes[] = {{"up/", "aggiorna-uptodate.png"},
                                                            {"new/", "aggiorna-new.png"},
                                                            {"missing/", "aggiorna-error.png"}};
    for (const auto& [path, file] : outcomes) {
      update::ui::Aggiorna dialog(ctx, update::updateSite(std::string(site) + path, ""), &owner);
      dialog.setAgInforma(true);
      dialog.load();
      dialog.show();
      QEventLoop loop;
      QTimer::singleShot(300, &loop, &QEventLoop::quit);
      loop.exec();
      save(dialog, QDir(folder).filePath(QString::fromLatin1(file)));
    }
  }
};

}  // namespace app
