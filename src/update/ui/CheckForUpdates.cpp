#include "update/ui/CheckForUpdates.h"

#include <QApplication>
#include <QPointer>

#include "platform/Strings.h"
#include "startup/ui/AppContext.h"
#include "update/ui/Aggiorna.h"

namespace update::ui {

int checkForUpdates(startup::ui::AppContext& ctx, bool inform, QWidget* owner) {
  QPointer<QWidget> active = QApplication::activeWindow() ? QApplication::activeWindow() : owner;
  const QString savedCaption = active ? active->windowTitle() : QString();
  if (active)
    active->setWindowTitle(QString::fromStdString("Ricerca aggiornamenti di  '" +
                                                  platform::upperCase(ctx.env.programFileName) +
                                                  "'  in corso ..."));
  int status = Aggiorna::kUpToDate;
  {
    Aggiorna dialog(ctx, updateSiteFromIni(ctx.params.ownIniPath), owner);
    dialog.setAgInforma(inform);
    dialog.load();
    status = dialog.updateStatus();
    if (inform || status == Aggiorna::kNewVersion) dialog.exec();
  }
  if (active) active->setWindowTitle(savedCaption);
  return status;
}

}  // namespace update::ui
