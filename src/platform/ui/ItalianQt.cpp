#include "platform/ui/ItalianQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform::ui {

bool installItalianQt(QCoreApplication& app) {
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  auto* catalogue = new QTranslator(&app);
  if (!catalogue->load(QLocale(QLocale::Italian, QLocale::Italy), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete catalogue;
    return false;
  }
  return QCoreApplication::installTranslator(catalogue);
}

}  // namespace platform::ui
