#include "report/ui/SheetActions.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/ui/Guard.h"
#include "report/SheetFile.h"
#include "report/ui/SheetPainter.h"
#include "report/ui/SheetPdf.h"

namespace report::ui {

namespace {

QPushButton* button(QWidget* parent, const char* name, const char* text) {
  auto* b = new QPushButton(QString::fromUtf8(text), parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  b->setEnabled(false);
  return b;
}

// Qt's own save dialog (where the desktop offers none of its own) opens at its compact size,
// which cuts its columns' names and dates: it opens wide enough to show them whole.
QString askSaveFile(QWidget* window, const QString& title, const QString& suggested,
                    const QString& filter) {
  QFileDialog dialog(window, title, suggested, filter);
  dialog.setObjectName("DialogoFile");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.selectFile(suggested);
  if (auto* details = dialog.findChild<QTreeView*>("treeView")) {
    details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    details->header()->setStretchLastSection(false);
    details->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  }
  QSize size(std::max(dialog.sizeHint().width(), 860), std::max(dialog.sizeHint().height(), 520));
  if (const QScreen* screen = window ? window->screen() : nullptr)
    size = size.boundedTo(screen->availableGeometry().size());
  dialog.resize(size);
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
             ? dialog.selectedFiles().constFirst()
             : QString();
}

}  // namespace

SheetActions::SheetActions(QWidget* window, platform::Desktop& desktop, Source source,
                           std::string folder)
    : QObject(window),
      print(button(window, "CmdStampa", "Stampa...")),
      pdf(button(window, "CmdEsportaPdf", "Esporta PDF...")),
      csv(button(window, "CmdEsportaCsv", "Esporta CSV...")),
      window_(window),
      desktop_(desktop),
      source_(std::move(source)),
      folder_(std::move(folder)) {
  print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  connect(print, &QPushButton::clicked, this, &SheetActions::printSheet);
  connect(pdf, &QPushButton::clicked, this, &SheetActions::exportPdf);
  connect(csv, &QPushButton::clicked, this, &SheetActions::exportCsv);
  chooser_ = [this](const QString& title, const QString& suggested, const QString& filter) {
    return askSaveFile(window_, title, suggested, filter);
  };
}

void SheetActions::setEnabled(bool enabled) {
  for (QPushButton* b : {print, pdf, csv}) b->setEnabled(enabled);
}

void SheetActions::printSheet() {
  platform::ui::guarded(window_, desktop_, [&] {
    const auto content = source_();
    if (!content) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromStdString(content->sheet.fileStem));
    SheetPainter::preparePage(printer);
    QPrintPreviewDialog preview(&printer, window_);
    preview.setObjectName("AnteprimaStampa");
    preview.setWindowTitle("Anteprima di stampa");
    // Qt opens it small, its toolbar folded away: it opens on most of the screen instead.
    if (const QScreen* screen = window_->screen())
      preview.resize(screen->availableGeometry().size() * 0.85);
    const SheetPainter painter(content->sheet);
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
            [&](QPrinter* target) { painter.paint(*target); });
    preview.exec();
  });
}

void SheetActions::exportPdf() {
  platform::ui::guarded(window_, desktop_, [&] {
    const auto content = source_();
    if (!content) return;
    const QString path = chooseFile("Esporta PDF", *content, ".pdf", "PDF (*.pdf)");
    if (!path.isEmpty()) saveSheetPdf(content->sheet, path.toStdString());
  });
}

void SheetActions::exportCsv() {
  platform::ui::guarded(window_, desktop_, [&] {
    const auto content = source_();
    if (!content) return;
    const QString path = chooseFile("Esporta CSV", *content, ".csv", "CSV (*.csv)");
    if (!path.isEmpty()) saveFile(path.toStdString(), content->csv);
  });
}

QString SheetActions::chooseFile(const QString& title, const SheetContent& content,
                                 const QString& extension, const QString& filter) const {
  const QString folder = platform::folderExists(folder_)
                             ? QString::fromStdString(platform::resolvePath(folder_))
                             : QDir::homePath();
  const QString name = QString::fromStdString(content.sheet.fileStem) + extension;
  QString path = chooser_(title, QDir(folder).filePath(name), filter);
  if (!path.isEmpty() && !path.endsWith(extension, Qt::CaseInsensitive)) path += extension;
  return path;
}

}  // namespace report::ui
