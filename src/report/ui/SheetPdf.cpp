#include "report/ui/SheetPdf.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <memory>

#include "platform/Version.h"
#include "report/SheetFile.h"
#include "report/ui/SheetPainter.h"

namespace report::ui {

namespace {

// A console program has no application object: fonts need one. The offscreen platform needs no
// display, so a sheet is made the same way on a server as on a desk.
void ensureApplication() {
  if (QCoreApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // A console command run without a session has no runtime folder; Qt's notice about it is noise.
  static const QtMessageHandler standard = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (!text.startsWith(QStringLiteral("QStandardPaths:"))) standard(type, context, text);
      });
  static int argc = 1;
  static char name[] = "statind-cli";
  static char* argv[] = {name, nullptr};
  static auto* app = new QGuiApplication(argc, argv);
  (void)app;
}

}  // namespace

std::string sheetPdf(const ClientSheet& sheet) {
  ensureApplication();
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(1200);
    writer.setCreator(QStringLiteral("statind %1").arg(platform::kVersionText));
    writer.setTitle(QString::fromStdString(sheet.product));
    SheetPainter::preparePage(writer);
    SheetPainter(sheet).paint(writer);
  }
  return bytes.toStdString();
}

void saveSheetPdf(const ClientSheet& sheet, const std::string& path) {
  saveFile(path, sheetPdf(sheet));
}

}  // namespace report::ui
