// The controls of the window "Confronto prodotti", created with their names and captions: on the
// left the products compared with their colours, the benchmark, the period and the dates, the
// risk-free rate and the notes, the print and export buttons and the exit; on the right either
// the chart over the tables (figures beside the years and the correlations) or the product
// chooser with its search box. The window's behaviour lives in ConfrontoProdotti.
#pragma once

class QComboBox;
class QDateEdit;
class QDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QVBoxLayout;
class QWidget;

namespace versus::ui {

class VersusChart;
class VersusTable;

struct ConfrontoForm {
  explicit ConfrontoForm(QDialog* window);

  QListWidget* LstProdotti;
  QPushButton *CmdAggiungi, *CmdTogli, *CmdChiudi, *CmdEnd;
  QComboBox *CmbBenchmark, *CmbPeriodo;
  QDateEdit *DtDal, *DtAl;
  QLabel *LbPeriodo, *LbSenzaRischio, *LbMessaggio;
  QStackedWidget* pages;  // 0: the results, 1: the chooser
  VersusChart* Grafico;
  QLabel* Legenda;  // the chart's legend, wrapping under it
  VersusTable *TbCifre, *TbAnni, *TbCorrelazioni;
  QTabWidget* TabTabelle;
  QLineEdit* TxtCerca;
  QListWidget* CmbProd;
  QVBoxLayout* buttons;  // where the print and export buttons go, above the exit

 private:
  QWidget* buildSide(QDialog* window);
  QWidget* buildResults(QWidget* parent);
  QWidget* buildChooser(QWidget* parent);
};

}  // namespace versus::ui
