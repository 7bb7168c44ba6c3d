// The print and export buttons a statistics window carries: "Stampa..." (Ctrl+P) previews the
// client sheet of what the window shows and prints it; "Esporta PDF..." and "Esporta CSV..."
// save the sheet or the grid's lines through the platform's file dialog, suggesting the product
// code and the period as the name. The window only says what it shows; this does the rest.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "report/ClientSheet.h"

class QPushButton;
class QWidget;

namespace platform {
class Desktop;
}

namespace report::ui {

// What the window shows at the moment of a click.
struct SheetContent {
  ClientSheet sheet;
  std::string csv;  // the grid as ';'-separated lines
};

class SheetActions : public QObject {
  Q_OBJECT

 public:
  using Source = std::function<std::optional<SheetContent>()>;
  // Asks where to save: (title, suggested path, filter) -> the chosen path, "" when cancelled.
  using FileChooser = std::function<QString(const QString&, const QString&, const QString&)>;

  // Creates the three buttons as children of `window`, disabled until setEnabled(true). A
  // failure while printing or saving is shown through `desktop` and leaves the window usable.
  // `folder` is where the file dialog opens ("" or a missing folder: the home folder).
  SheetActions(QWidget* window, platform::Desktop& desktop, Source source, std::string folder);

  void setEnabled(bool enabled);
  // Replaces the platform file dialog (tests).
  void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

  void printSheet();
  void exportPdf();
  void exportCsv();

  QPushButton* print;
  QPushButton* pdf;
  QPushButton* csv;

 private:
  // Asks for a file named after the sheet with `extension`; "" when cancelled.
  QString chooseFile(const QString& title, const SheetContent& content, const QString& extension,
                     const QString& filter) const;

  QWidget* window_;
  platform::Desktop& desktop_;
  Source source_;
  std::string folder_;
  FileChooser chooser_;
};

}  // namespace report::ui
