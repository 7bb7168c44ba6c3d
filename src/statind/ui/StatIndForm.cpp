#include "statind/ui/StatIndForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <algorithm>
#include <iterator>

#include "platform/ui/FormControls.h"
#include "platform/ui/Twips.h"
#include "statind/ui/ChartBoxes.h"
#include "statind/ui/GraphView.h"
#include "statind/ui/SpinArrows.h"

namespace statind::ui {

using namespace platform::ui;  // the control makers

namespace {

QLabel* valueLabel(QWidget* parent, const QString& name) {
  auto* label = named<QLabel>(parent, name);
  label->setMinimumWidth(80);
  return label;
}

}  // namespace

StatIndForm::StatIndForm(QDialog* w, GraphModel& graph) : window(w) {
  buildChoicePane();
  buildProductPane();
  buildPeriodStrip();
  buildFrameDati();
  buildGrid();
  Graph1 = new GraphView(graph, window);
  buildFrameStat();
}

void StatIndForm::buildChoicePane() {
  PctScelta = frame(window, "PctScelta");
  CmbGrp = named<QComboBox>(PctScelta, "CmbGrp");
  CmbCat = named<QComboBox>(PctScelta, "CmbCat");
  CmbProd = named<QComboBox>(PctScelta, "CmbProd");
  // Product lines are padded into columns: a fixed-width font keeps them aligned.
  CmbProd->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  CmbProd->setMaxVisibleItems(20);
  auto* grid = new QGridLayout(PctScelta);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->addWidget(caption(PctScelta, "Gruppo"), 0, 0);
  grid->addWidget(CmbGrp, 0, 1);
  grid->addWidget(caption(PctScelta, "Categoria"), 0, 2);
  grid->addWidget(CmbCat, 0, 3);
  grid->addWidget(caption(PctScelta, "Prodotto"), 1, 0);
  grid->addWidget(CmbProd, 1, 1, 1, 3);
  grid->setColumnStretch(1, 3);
  grid->setColumnStretch(3, 2);
}

void StatIndForm::buildProductPane() {
  PctProd = frame(window, "PctProd");
  LbProdotto = heading(PctProd, "LbProdotto");
  LbMon = valueLabel(PctProd, "LbMon");
  LbData1 = valueLabel(PctProd, "LbData1");
  LbData2 = valueLabel(PctProd, "LbData2");
  CmdProd = button(PctProd, "CmdProd", "&PRODOTTO");
  cmdCompara = button(PctProd, "cmdCompara", "&COMPARA");
  cmdRischio = button(PctProd, "cmdRischio", "&RISCHIO");
  cmdConfronto = button(PctProd, "cmdConfronto", "C&ONFRONTO");
  auto* grid = new QGridLayout(PctProd);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->addWidget(LbProdotto, 0, 0, 1, 7);
  grid->addWidget(caption(PctProd, "valuta"), 1, 0);
  grid->addWidget(LbMon, 1, 1);
  grid->addWidget(caption(PctProd, "creato il"), 1, 2);
  grid->addWidget(LbData1, 1, 3);
  grid->addWidget(caption(PctProd, "ultimo indice"), 1, 4);
  grid->addWidget(LbData2, 1, 5);
  grid->setColumnStretch(6, 1);
  grid->addWidget(CmdProd, 1, 7);
  grid->addWidget(cmdCompara, 1, 8);
  grid->addWidget(cmdRischio, 1, 9);
  grid->addWidget(cmdConfronto, 1, 10);
}

void StatIndForm::placeSheetButtons(const std::array<QPushButton*, 3>& buttons) {
  auto* grid = static_cast<QGridLayout*>(PctProd->layout());
  for (int i = 0; i < 3; ++i) grid->addWidget(buttons[i], 0, 7 + i);
}

void StatIndForm::buildPeriodStrip() {
  period = named<QWidget>(window, "period");
  CmbAnno = named<QComboBox>(period, "CmbAnno");
  CmbMese = named<QComboBox>(period, "CmbMese");
  CmbMese->setMinimumContentsLength(10);
  for (int i = 0; i < 2; ++i) {
    SpinButton1[i] = named<SpinArrows>(period, QString("SpinButton1_%1").arg(i));
  }
  SpinButton1[0]->setStepName("anno");
  SpinButton1[1]->setStepName("mese");
  const char* jumps[] = {"|<", ">|", "X"};
  const char* jumpTips[] = {"primo mese della storia del prodotto",
                            "ultimo mese della storia del prodotto", "tutto l'anno mostrato"};
  for (int i = 0; i < 3; ++i) {
    cmdMoveM[i] = button(period, QString("cmdMoveM_%1").arg(i), jumps[i]);
    cmdMoveM[i]->setFixedWidth(36);
    cmdMoveM[i]->setToolTip(jumpTips[i]);
  }
  CmdEnd = button(period, "CmdEnd", "&USCITA");
  auto* row = new QHBoxLayout(period);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(caption(period, "Anno"));
  row->addWidget(CmbAnno);
  row->addWidget(SpinButton1[0]);
  row->addSpacing(6);
  row->addWidget(caption(period, "Mese"));
  row->addWidget(CmbMese);
  row->addWidget(SpinButton1[1]);
  row->addSpacing(6);
  for (auto* b : cmdMoveM) row->addWidget(b);
  row->addStretch(1);
  row->addWidget(CmdEnd);
  // Tab follows the strip from left to right, each list followed by its stepper's arrows.
  QWidget* order[] = {CmbAnno,
                      SpinButton1[0]->downButton(),
                      SpinButton1[0]->upButton(),
                      CmbMese,
                      SpinButton1[1]->downButton(),
                      SpinButton1[1]->upButton(),
                      cmdMoveM[0],
                      cmdMoveM[1],
                      cmdMoveM[2],
                      CmdEnd};
  for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void StatIndForm::buildFrameDati() {
  FrameDati = frame(window, "FrameDati");
  auto* grid = new QGridLayout(FrameDati);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setVerticalSpacing(2);
  const char* heads[] = {"inizio", "fine", "var."};
  for (int c = 0; c < 3; ++c) {
    auto* head = caption(FrameDati, heads[c]);
    head->setAlignment(Qt::AlignRight);
    head->setEnabled(false);  // a quiet heading
    grid->addWidget(head, 0, c + 1);
  }
  for (int j = 0; j < 3; ++j) {
    LbAnno[j] = valueLabel(FrameDati, QString("LbAnno_%1").arg(j));
    LbVal1[j] = valueLabel(FrameDati, QString("LbVal1_%1").arg(j));
    LbVal2[j] = valueLabel(FrameDati, QString("LbVal2_%1").arg(j));
    LbDiff[j] = valueLabel(FrameDati, QString("LbDiff_%1").arg(j));
    LbPerc[j] = named<QLabel>(FrameDati, QString("LbPerc_%1").arg(j));
    LbParz[j] = named<QLabel>(FrameDati, QString("LbParz_%1").arg(j));
    QLabel* row[] = {LbAnno[j], LbVal1[j], LbVal2[j], LbDiff[j], LbPerc[j], LbParz[j]};
    for (int c = 0; c < 6; ++c) {
      if (c > 0 && c < 4) row[c]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      grid->addWidget(row[c], j + 1, c);
    }
  }
  LbAnno[2]->setFont([f = LbAnno[2]->font()]() mutable {
    f.setBold(true);
    return f;
  }());
  Option1[0] = named<QRadioButton>(FrameDati, "Option1_0", QString::fromUtf8("1° indice utile"));
  Option1[1] = named<QRadioButton>(FrameDati, "Option1_1", "indice precedente");
  auto* options = new QHBoxLayout;
  options->addWidget(Option1[0]);
  options->addWidget(Option1[1]);
  options->addStretch(1);
  grid->addLayout(options, 4, 0, 1, 6);
  grid->setColumnStretch(6, 1);
}

void StatIndForm::buildFrameStat() {
  FrameStat = frame(window, "FrameStat");
  auto* grid = new QGridLayout(FrameStat);
  grid->setContentsMargins(6, 2, 6, 2);
  grid->setSpacing(2);
  createChartBoxes(FrameStat, Check1, Check2);
  arrangeOptions(4);
}

void StatIndForm::arrangeOptions(int columns) {
  if (columns == optionColumns_) return;
  optionColumns_ = columns;
  auto* grid = static_cast<QGridLayout*>(FrameStat->layout());
  for (int c = 0; c < 5; ++c) grid->setColumnStretch(c, 0);
  const int axesRow = (4 + columns - 1) / columns;
  for (int i = 0; i < 4; ++i) grid->addWidget(Check1[i], i / columns, i % columns);
  for (int i = 0; i < 3; ++i) grid->addWidget(Check2[i], axesRow + i / columns, i % columns);
  grid->setColumnStretch(columns, 1);
}

int StatIndForm::optionCellWidth() const {
  int widest = 0;
  for (QCheckBox* box : Check1) widest = std::max(widest, box->sizeHint().width());
  for (QCheckBox* box : Check2) widest = std::max(widest, box->sizeHint().width());
  return widest + 2;  // the grid's spacing
}

void StatIndForm::buildGrid() {
  TDBGrid1 = named<QTableView>(window, "TDBGrid1");
  TDBGrid1->verticalHeader()->hide();
  TDBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  TDBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TDBGrid1->setTabKeyNavigation(false);  // Tab leaves the grid; the arrows move inside it
  // The grid's width is fixed by the layout: texts wider than the whole grid are reached by
  // scrolling, never cut.
  TDBGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  TDBGrid1->verticalHeader()->setDefaultSectionSize(TDBGrid1->fontMetrics().height() + 6);
}

WindowOptions StatIndForm::options() const {
  return chartOptions(Option1, Check1, Check2);
}

void StatIndForm::setOptions(const WindowOptions& options) {
  showChartOptions(options, Option1, Check1, Check2);
}

void StatIndForm::showSummary(const std::array<SummarySlot, 3>& summary) {
  auto qs = [](const std::string& text) { return QString::fromStdString(text); };
  for (std::size_t j = 0; j < 3; ++j) {
    const SummarySlot& slot = summary[j];
    LbAnno[j]->setText(qs(slot.LbAnno));
    LbVal1[j]->setText(qs(slot.LbVal1));
    LbVal2[j]->setText(qs(slot.LbVal2));
    LbDiff[j]->setText(qs(slot.LbDiff));
    QPalette palette = LbDiff[j]->palette();
    palette.setColor(QPalette::WindowText, slot.LbDiffRed ? QColor(255, 0, 0) : QColor(0, 0, 0));
    LbDiff[j]->setPalette(palette);
    // The month view's changes are percentages too: the sign stays beside them on screen.
    LbPerc[j]->setText(slot.LbDiff.empty() ? qs(slot.LbPerc) : QString("%"));
    LbParz[j]->setText(qs(slot.LbParz));
  }
}

void StatIndForm::enableSteps(bool enabled) {
  for (auto* stepper : SpinButton1) stepper->setEnabled(enabled);
  for (auto* jump : cmdMoveM) jump->setEnabled(enabled);
}

void StatIndForm::showResults(bool visible) {
  for (QWidget* w : std::initializer_list<QWidget*>{FrameStat, Graph1, FrameDati, TDBGrid1}) {
    w->setVisible(visible);
  }
}

void StatIndForm::place(const StatIndLayout& layout, int width, int height) {
  using platform::ui::pixelsToTwips;
  using platform::ui::twipsToPixels;
  const StatIndAreas a = layout.arrange(pixelsToTwips(width, window), pixelsToTwips(height, window),
                                        pixelsToTwips(optionCellWidth(), window));
  arrangeOptions(a.optionColumns);
  auto px = [this](const TwipsRect& r) {
    return QRect(twipsToPixels(r.left, window), twipsToPixels(r.top, window),
                 twipsToPixels(r.width, window), twipsToPixels(r.height, window));
  };
  PctScelta->setGeometry(px(a.pane));
  PctProd->setGeometry(px(a.pane));
  period->setGeometry(px(a.period));
  FrameDati->setGeometry(px(a.frameDati));
  TDBGrid1->setGeometry(px(a.grid));
  Graph1->setGeometry(px(a.chart));
  FrameStat->setGeometry(px(a.frameStat));
  fitColumns();
}

void StatIndForm::fitColumns() {
  const QAbstractItemView* view = TDBGrid1;  // the table view keeps its size hints protected
  std::array<int, 5> needed{}, widths{};
  int total = 0;
  for (int c = 0; c < 5; ++c) {
    needed[c] =
        std::max(view->sizeHintForColumn(c), TDBGrid1->horizontalHeader()->sectionSizeHint(c));
    widths[c] =
        std::max(platform::ui::twipsToPixels(StatIndLayout::kColumnWidths[c], window), needed[c]);
    total += widths[c];
  }
  // The room inside the frame, less the vertical scroll bar when the rows will need it (worked
  // out here: the view shows or hides it only later, when it lays itself out).
  const QRect room = TDBGrid1->contentsRect();
  int available = room.width();
  if (TDBGrid1->verticalHeader()->length() >
      room.height() - TDBGrid1->horizontalHeader()->sizeHint().height()) {
    available -= TDBGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, TDBGrid1);
  }
  // Where the room is short, columns give up what they have beyond their widest text, from the
  // first; only texts wider than the whole grid leave the rest to the horizontal scroll bar.
  for (int c = 0, excess = total - available; c < 5 && excess > 0; ++c) {
    const int give = std::min(excess, widths[c] - needed[c]);
    widths[c] -= give;
    excess -= give;
  }
  for (int c = 0; c < 5; ++c) TDBGrid1->setColumnWidth(c, widths[c]);
}

}  // namespace statind::ui
