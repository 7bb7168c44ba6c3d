#include "compare/ui/Statind1Form.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "compare/ui/ChooserPanel.h"
#include "platform/ui/FlowLayout.h"
#include "platform/ui/FormControls.h"
#include "statind/ui/ChartBoxes.h"
#include "statind/ui/GraphView.h"
#include "statind/ui/SpinArrows.h"

namespace compare::ui {

using namespace platform::ui;  // the control makers

namespace {

// Grid column widths in characters of the grid's font.
constexpr int kGridChars[] = {6, 13, 13, 9};

}  // namespace

Statind1Form::Statind1Form(QDialog* w, statind::GraphModel& graph) : window(w) {
  header = named<QWidget>(window, "header");
  auto* rows = new QVBoxLayout(header);
  rows->setContentsMargins(4, 4, 4, 0);
  rows->setSpacing(4);
  buildProductBar();
  rows->addWidget(Picture1);
  rows->addWidget(buildChoiceRow());
  buildGrid();
  Graph1 = new statind::ui::GraphView(graph, window);
  Graph1->setObjectName("Graph1");
  buildChooser();
}

void Statind1Form::buildChooser() {
  Picture2 = new ChooserPanel(window);
  CmbProd = Picture2->CmbProd;
  LbTit = Picture2->LbTit;
  CmdRp[1] = Picture2->CmdRp1;
}

void Statind1Form::buildProductBar() {
  Picture1 = frame(header, "Picture1");
  LbProdotto = heading(Picture1, "LbProdotto");
  LbData1 = named<QLabel>(Picture1, "LbData1");
  LbData2 = named<QLabel>(Picture1, "LbData2");
  LbMon = named<QLabel>(Picture1, "LbMon");
  CmdProd = button(Picture1, "CmdProd", "&PRODOTTO");
  auto* row = new QHBoxLayout(Picture1);
  row->setContentsMargins(6, 4, 6, 4);
  row->addWidget(LbProdotto, 1);
  row->addWidget(caption(Picture1, "indici dal"));
  row->addWidget(LbData1);
  row->addWidget(caption(Picture1, "al"));
  row->addWidget(LbData2);
  row->addSpacing(12);
  row->addWidget(caption(Picture1, "valuta"));
  row->addWidget(LbMon);
  row->addSpacing(12);
  row->addWidget(CmdProd);
}

// The start rule, the years, the month, the chart options and the buttons as groups that keep
// their captions whole: on a narrow screen a group that does not fit goes to the next row.
QWidget* Statind1Form::buildChoiceRow() {
  auto* strip = named<QWidget>(header, "choice");
  auto* flow = new FlowLayout(strip, 12);
  flow->setContentsMargins(0, 0, 0, 0);
  const auto group = [strip](const QString& name) {
    auto* box = named<QWidget>(strip, name);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    return std::pair{box, row};
  };
  auto [ruleBox, ruleRow] = group("regola");
  auto* rule = new QButtonGroup(ruleBox);
  Option1[0] = named<QRadioButton>(ruleBox, "Option1_0", QString::fromUtf8("1° indice utile"));
  Option1[1] = named<QRadioButton>(ruleBox, "Option1_1", "indice precedente");
  for (auto* option : Option1) {
    rule->addButton(option);
    ruleRow->addWidget(option);
  }
  Option1[0]->setChecked(true);
  flow->addWidget(ruleBox);

  auto [yearsBox, yearsRow] = group("anni");
  for (int i = 0; i < 2; ++i) {
    yearsRow->addWidget(caption(yearsBox, i == 0 ? "Dal" : "al"));
    CmbAnno[i] = named<QComboBox>(yearsBox, QString("CmbAnno_%1").arg(i));
    CmbAnno[i]->setMinimumContentsLength(5);
    SbAnno[i] = named<statind::ui::SpinArrows>(yearsBox, QString("SbAnno_%1").arg(i));
    SbAnno[i]->setStepName("anno");
    yearsRow->addWidget(CmbAnno[i]);
    yearsRow->addWidget(SbAnno[i]);
  }
  flow->addWidget(yearsBox);

  PctMese = named<QFrame>(strip, "PctMese");
  CmbMese = named<QComboBox>(PctMese, "CmbMese");
  CmbMese->setMinimumContentsLength(10);
  SbMese = named<statind::ui::SpinArrows>(PctMese, "SbMese");
  SbMese->setStepName("mese");
  Command1 = button(PctMese, "Command1", "X");
  Command1->setFixedWidth(36);
  Command1->setToolTip("tutti i mesi");
  auto* month = new QHBoxLayout(PctMese);
  month->setContentsMargins(0, 0, 0, 0);
  month->addWidget(caption(PctMese, "mese"));
  month->addWidget(CmbMese);
  month->addWidget(SbMese);
  month->addWidget(Command1);
  flow->addWidget(PctMese);

  buildFrameStat(strip);
  flow->addWidget(FrameStat);

  // The sheet's buttons join this group before "&USCITA" (Statind1::addSheetActions).
  auto [endBox, endRow] = group("azioni");
  CmdRp[0] = button(endBox, "CmdRp_0", "&USCITA");
  endRow->addWidget(CmdRp[0]);
  flow->addWidget(endBox);
  return strip;
}

void Statind1Form::buildFrameStat(QWidget* parent) {
  FrameStat = frame(parent, "FrameStat");
  auto* row = new QHBoxLayout(FrameStat);
  row->setContentsMargins(6, 2, 6, 2);
  auto* type = new QButtonGroup(FrameStat);
  const char* types[] = {"Linea", "Barre"};
  for (int i = 0; i < 2; ++i) {
    OptionS[i] = named<QRadioButton>(FrameStat, QString("OptionS_%1").arg(i), types[i]);
    type->addButton(OptionS[i]);
    row->addWidget(OptionS[i]);
  }
  statind::ui::createChartBoxes(FrameStat, Check1, Check2);
  row->addSpacing(16);
  for (auto* box : Check1) row->addWidget(box);
  row->addSpacing(16);
  for (auto* box : Check2) row->addWidget(box);
  row->addStretch(1);
}

void Statind1Form::buildGrid() {
  TdbgCompara = named<QTableView>(window, "TdbgCompara");
  TdbgCompara->verticalHeader()->hide();
  TdbgCompara->setSelectionBehavior(QAbstractItemView::SelectRows);
  TdbgCompara->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TdbgCompara->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  TdbgCompara->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  TdbgCompara->verticalHeader()->setDefaultSectionSize(TdbgCompara->fontMetrics().height() + 6);
  TdbgCompara->horizontalHeader()->setFixedHeight(TdbgCompara->fontMetrics().height() + 6);
}

int Statind1Form::gridWidth() const {
  const int charWidth = TdbgCompara->fontMetrics().horizontalAdvance(QLatin1Char('0'));
  int width = 2 * TdbgCompara->frameWidth();
  for (int chars : kGridChars) width += chars * charWidth;
  return width;
}

void Statind1Form::sizeGridColumns() {
  const int charWidth = TdbgCompara->fontMetrics().horizontalAdvance(QLatin1Char('0'));
  for (int c = 0; c < 4; ++c) TdbgCompara->setColumnWidth(c, kGridChars[c] * charWidth);
}

statind::WindowOptions Statind1Form::options() const {
  return statind::ui::chartOptions(OptionS, Check1, Check2);
}

void Statind1Form::setOptions(const statind::WindowOptions& options) {
  statind::ui::showChartOptions(options, OptionS, Check1, Check2);
}

int Statind1Form::placeFixedAreas(int width, int height) {
  int headerHeight = header->heightForWidth(width);
  if (headerHeight < 0) headerHeight = header->sizeHint().height();
  header->setGeometry(0, 0, width, headerHeight);
  Picture2->setGeometry(0, 0, width, height);
  Picture2->raise();
  return headerHeight;
}

}  // namespace compare::ui
