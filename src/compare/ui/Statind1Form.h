// The controls of the comparison window, created with their names and captions: the product
// chooser panel, the product bar, the start rule, the year lists,
// the month chooser, the chart option frame, the chart and the grid. The window's behaviour
// lives in Statind1; this is its design.
#pragma once

#include <array>

#include "statind/WindowOptions.h"

class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QLabel;
class QTreeWidget;
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
}  // namespace statind::ui

namespace compare::ui {

class ChooserPanel;

struct Statind1Form {
  // Creates every control as a child of `window`, the chart drawing `graph`.
  Statind1Form(QDialog* window, statind::GraphModel& graph);

  // The chart options as the user left them (option = the chart type), and set from stored ones.
  statind::WindowOptions options() const;
  void setOptions(const statind::WindowOptions& options);
  // Places the header strip and the chooser panel for an inner size in pixels; returns the
  // header strip's height, which grows where its groups need a further row.
  int placeFixedAreas(int width, int height);
  // The grid's width in pixels with its four columns; sizeGridColumns gives them those widths
  // (once the grid has its model).
  int gridWidth() const;
  void sizeGridColumns();

  QDialog* window;
  QWidget* header;
  QFrame *Picture1, *PctMese, *FrameStat;
  ChooserPanel* Picture2;
  QTreeWidget* CmbProd;
  std::array<QPushButton*, 5> LbTit;
  std::array<QPushButton*, 2> CmdRp;
  QPushButton *CmdProd, *Command1;
  QLabel *LbProdotto, *LbData1, *LbData2, *LbMon;
  std::array<QRadioButton*, 2> Option1, OptionS;
  std::array<QComboBox*, 2> CmbAnno;
  std::array<statind::ui::SpinArrows*, 2> SbAnno;
  QComboBox* CmbMese;
  statind::ui::SpinArrows* SbMese;
  std::array<QCheckBox*, 4> Check1;
  std::array<QCheckBox*, 3> Check2;
  statind::ui::GraphView* Graph1;
  QTableView* TdbgCompara;

 private:
  void buildChooser();
  void buildProductBar();
  QWidget* buildChoiceRow();
  void buildFrameStat(QWidget* parent);
  void buildGrid();
};

}  // namespace compare::ui
