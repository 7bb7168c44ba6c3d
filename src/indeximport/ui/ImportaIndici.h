// The window "Importa indici": a price file chosen, read and compared with the stored series
// before anything is written. It shows the first and last records as read, the columns and
// formats it chose (each can be changed), what would be added, left, replaced and what
// conflicts, and the lines it cannot read; "Importa" then writes it all in one transaction,
// and the statistics can open on the product. Every rule is importIndex's; the window only
// gathers the choices and shows the result.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "indeximport/IndexImport.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace startup::ui {
struct AppContext;
}

namespace indeximport::ui {

class ImportaIndici : public QDialog {
  Q_OBJECT

 public:
  ImportaIndici(startup::ui::AppContext& ctx, QWidget* parent = nullptr);

  // Names the file to import and shows its preview (as the "Sfoglia..." button does).
  void setFile(const QString& path);
  // The product whose statistics the user asked to open ("" when none was asked for).
  const std::string& statisticsProduct() const { return statisticsProduct_; }

 private:
  void buildForm();
  QWidget* buildChoices();
  QWidget* buildFormats();
  void fillProducts();
  void chooseFile();
  void choicesChanged();
  void refreshPreview();
  void runImport();
  void openStatistics();
  // The parameters the controls describe; the problem with them in `problem` otherwise.
  ImportParams params(bool dryRun, std::string& problem) const;
  ImportResult run(const ImportParams& params);
  void showResult(const ImportResult& result, bool written);
  void showPreviewRows(const FileRead& file);

  startup::ui::AppContext& ctx_;
  std::string statisticsProduct_;
  std::string importedProduct_;
  bool busy_ = false;

  QComboBox* CmbProd = nullptr;
  QCheckBox* ChkNuovo = nullptr;
  QLineEdit* TxtCodice = nullptr;
  QLineEdit* TxtDescrizione = nullptr;
  QLineEdit* TxtMoneta = nullptr;
  QComboBox* CmbGruppo = nullptr;
  QComboBox* CmbCategoria = nullptr;
  QLineEdit* TxtFile = nullptr;
  QComboBox* CmbSeparatore = nullptr;
  QComboBox* CmbFormatoData = nullptr;
  QComboBox* CmbDecimale = nullptr;
  QLineEdit* TxtColonne = nullptr;
  QCheckBox* ChkLungo = nullptr;
  QCheckBox* ChkSovrascrivi = nullptr;
  QCheckBox* ChkScarta = nullptr;
  QLabel* LbFormati = nullptr;
  QTableWidget* GrdAnteprima = nullptr;
  QLabel* LbConteggi = nullptr;
  QListWidget* LstProblemi = nullptr;
  QProgressBar* PbAvanzamento = nullptr;
  QPushButton* CmdImporta = nullptr;
  QPushButton* CmdStatistiche = nullptr;
};

// Shows the window modally over `parent`; when the user asks for the statistics of the product
// imported, sets it as the program's product and calls `openFunction` with 0 (the statistics).
void openImportWindow(startup::ui::AppContext& ctx, QWidget* parent,
                      const std::function<void(int code)>& openFunction);

}  // namespace indeximport::ui
