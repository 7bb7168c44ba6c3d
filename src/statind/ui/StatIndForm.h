// The controls of the statistics window, created with their names and captions: the choice pane
// (group, category, product), the product pane, the period strip, the summary frame, the grid,
// the chart and its option frame. The window's behaviour lives in StatInd; this is its design.
#pragma once

#include <QString>
#include <array>

#include "statind/PeriodStatistics.h"
#include "statind/StatIndLayout.h"
#include "statind/WindowOptions.h"

class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableView;
class QWidget;

namespace statind {
class GraphModel;
}

namespace statind::ui {

class GraphView;
class SpinArrows;

struct StatIndForm {
  // Creates every control as a child of `window`, chart drawing `graph`.
  StatIndForm(QDialog* window, GraphModel& graph);

  // Places the top-level areas for a window of inner size `width` x `height` pixels.
  void place(const StatIndLayout& layout, int width, int height);

  // The option button and the chart boxes as the user left them, and set from stored options.
  WindowOptions options() const;
  void setOptions(const WindowOptions& options);
  // The three summary rows of a run; a negative change in red.
  void showSummary(const std::array<SummarySlot, 3>& summary);
  // Each grid column at its design width or, when its text is wider, at its text's width; when
  // the grid is too narrow for them all (its rows need the vertical scroll bar), the columns
  // give up their spare room so that the last one stays whole.
  void fitColumns();
  // The sheet's buttons ("Stampa...", "Esporta PDF...", "Esporta CSV...") beside the product's
  // name, over "&PRODOTTO", "&COMPARA" and "&RISCHIO".
  void placeSheetButtons(const std::array<QPushButton*, 3>& buttons);
  // The year and month steppers and the jump buttons on or off together.
  void enableSteps(bool enabled);
  // The run's frames, grid and chart shown or hidden together.
  void showResults(bool visible);

  QDialog* window;
  QFrame *PctScelta, *PctProd, *FrameDati, *FrameStat;
  QWidget* period;
  QComboBox *CmbGrp, *CmbCat, *CmbProd, *CmbAnno, *CmbMese;
  QLabel *LbProdotto, *LbMon, *LbData1, *LbData2;
  std::array<SpinArrows*, 2> SpinButton1;
  std::array<QPushButton*, 3> cmdMoveM;
  QPushButton *CmdProd, *cmdCompara, *CmdEnd;
  QPushButton* cmdRischio;    // opens "Rischio e rendimento" (also Ctrl+R)
  QPushButton* cmdConfronto;  // opens "Confronto prodotti" (also Ctrl+O)
  std::array<QLabel*, 3> LbAnno, LbVal1, LbVal2, LbDiff, LbPerc, LbParz;
  std::array<QRadioButton*, 2> Option1;
  std::array<QCheckBox*, 4> Check1;
  std::array<QCheckBox*, 3> Check2;
  QTableView* TDBGrid1;
  GraphView* Graph1;

 private:
  void buildChoicePane();
  void buildProductPane();
  void buildPeriodStrip();
  void buildFrameDati();
  void buildFrameStat();
  void buildGrid();
  // Puts the chart option boxes `columns` to a row, the axis boxes starting a new row.
  void arrangeOptions(int columns);
  // The width, in pixels, that one chart option box needs in its row.
  int optionCellWidth() const;
  int optionColumns_ = 0;
};

}  // namespace statind::ui
