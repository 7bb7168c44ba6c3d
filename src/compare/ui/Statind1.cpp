#include "compare/ui/Statind1.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <algorithm>
#include <sstream>

#include "compare/CompareSteps.h"
#include "compare/ProductChooser.h"
#include "compare/ProductLoad.h"
#include "compare/ui/ChooserPanel.h"
#include "compare/ui/CompareGridModel.h"
#include "compare/ui/Statind1Form.h"
#include "platform/Format.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/ui/EnterPressesButton.h"
#include "platform/ui/Guard.h"
#include "platform/ui/Twips.h"
#include "report/CompareSheet.h"
#include "report/ReportCsv.h"
#include "report/ui/SheetActions.h"
#include "startup/ui/AppContext.h"
#include "startup/ui/FunctionKeyPreview.h"
#include "startup/ui/FunctionKeys.h"
#include "statind/StatText.h"
#include "statind/WindowOptions.h"
#include "statind/ui/BusyScope.h"
#include "statind/ui/ComboClick.h"
#include "statind/ui/GraphView.h"
#include "statind/ui/SpinArrows.h"

namespace compare::ui {

namespace {

using statind::ui::BusyScope;

constexpr int kChartGapTwips = 40;     // between the grid and the chart
constexpr int kChartMarginTwips = 20;  // under the option frame
constexpr int kMinWidthTwips = 12000, kMinHeightTwips = 8000;

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

Statind1::Statind1(startup::ui::AppContext& ctx, QWidget* parent)
    : QDialog(parent),
      ctx_(ctx),
      form_(std::make_unique<Statind1Form>(this, graph_)),
      grid_(new CompareGridModel(this)) {
  setObjectName("Statind1");
  setWindowTitle("Statistiche sugli Indici: comparazioni");
  setModal(true);
  setMinimumSize(platform::ui::twipsToPixels(QSize(kMinWidthTwips, kMinHeightTwips), this));
  form_->TdbgCompara->setModel(grid_);
  form_->sizeGridColumns();
  addSheetActions();
  load();
  connectHandlers();
  startup::ui::FunctionKeyPreview::install(this, ctx_);
  platform::ui::EnterPressesButton::install(this);
  // Without a window manager the maximised state is only a wish: take the screen's room too.
  if (QScreen* screen = this->screen()) resize(screen->availableGeometry().size());
  setWindowState(Qt::WindowMaximized);
}

// The chart view listens to graph_, a member that dies before the dialog's child widgets.
Statind1::~Statind1() {
  delete form_->Graph1;
}

template <typename Handler>
void Statind1::guard(Handler&& handler) {
  platform::ui::guarded(this, ctx_.desktop, std::forward<Handler>(handler));
}

void Statind1::load() {
  const std::string handedOver = platform::trim(ctx_.params.productCode, " \t");
  {
    BusyScope busy(busy_);
    for (int month = 0; month <= 12; ++month)
      form_->CmbMese->addItem(qs(statind::monthName(month)));
    form_->CmbMese->setCurrentIndex(0);
    form_->Picture2->markSortHeader(sortKey_);
    form_->PctMese->hide();
    form_->TdbgCompara->hide();
    chartTop_ =
        form_->header->sizeHint().height() + platform::ui::twipsToPixels(kChartMarginTwips, this);
    graph_.setGridStyle(1);
    const std::string text = platform::readIni(ctx_.params.ownIniPath, "PARAMETRI", "indstat1");
    const auto options =
        statind::WindowOptions::restore(text, statind::kIndstat1Default, !handedOver.empty());
    form_->setOptions(options);
    options.applyTo(graph_);
    layoutFlag_ = false;
    fillProducts();
    if (handedOver.empty()) {
      showChooser(true);
      return;
    }
    showChooser(false);
    form_->CmbMese->setCurrentIndex(0);
  }
  // Outside the loading's busy mark: the product load ends by running the comparison, which a
  // raised mark would silently skip, leaving the window empty.
  if (!loadProduct(handedOver)) showChooser(true);
}

void Statind1::connectHandlers() {
  Statind1Form& f = *form_;
  connect(f.Picture2, &ChooserPanel::chosen, this, [this](int row) { productClicked(row); });
  for (int i = 0; i < 5; ++i) {
    connect(f.LbTit[i], &QPushButton::clicked, this, [this, i] { headerClicked(i); });
  }
  connect(f.CmdProd, &QPushButton::clicked, this, [this] { showChooser(true); });
  for (auto* exit : f.CmdRp) connect(exit, &QPushButton::clicked, this, [this] { accept(); });
  for (int i = 0; i < 2; ++i) {
    new statind::ui::ComboClick(f.CmbAnno[i], [this](int) { yearChanged(); });
    connect(f.SbAnno[i], &statind::ui::SpinArrows::down, this,
            [this, i] { yearStepped(i, false); });
    connect(f.SbAnno[i], &statind::ui::SpinArrows::up, this, [this, i] { yearStepped(i, true); });
  }
  new statind::ui::ComboClick(f.CmbMese, [this](int) { monthChanged(); });
  connect(f.SbMese, &statind::ui::SpinArrows::down, this, [this] { monthStepped(false); });
  connect(f.SbMese, &statind::ui::SpinArrows::up, this, [this] { monthStepped(true); });
  connect(f.Command1, &QPushButton::clicked, this, [this] { form_->CmbMese->setCurrentIndex(0); });
  for (auto* option : f.Option1) {
    connect(option, &QRadioButton::toggled, this, [this](bool on) { optionClicked(on); });
  }
  for (auto* option : f.OptionS) {
    connect(option, &QRadioButton::toggled, this, [this](bool on) { optionClicked(on); });
  }
  for (auto* box : f.Check1) connect(box, &QCheckBox::toggled, this, [this] { chartBoxClicked(); });
  for (auto* box : f.Check2) connect(box, &QCheckBox::toggled, this, [this] { chartBoxClicked(); });
}

void Statind1::fillProducts() {
  BusyScope busy(busy_);
  products_ = ProductChooser(*ctx_.dbs.dataDb).products(ctx_.params.productCode, sortKey_);
  form_->Picture2->setProducts(products_);
}

void Statind1::productClicked(int row) {
  if (busy_ || row < 1 || row >= static_cast<int>(products_.size())) return;
  guard([&] {
    if (loadProduct(products_[static_cast<std::size_t>(row)].code)) showChooser(false);
  });
}

void Statind1::headerClicked(int sortKey) {
  guard([&] {
    BusyScope busy(busy_);
    sortKey_ = sortKey;
    form_->Picture2->markSortHeader(sortKey);
    fillProducts();
  });
}

bool Statind1::loadProduct(const std::string& code) {
  {
    BusyScope busy(busy_);
    form_->LbMon->setText(qs(ctx_.params.compareCurrency));
    const auto load =
        compare::loadProduct(*ctx_.lookup, code, ctx_.params.compareStartYear, platform::today());
    if (!load) {
      ctx_.desktop.messageBox({"Nessun indice per il prodotto", "", platform::Buttons::Ok});
      return false;
    }
    product_ = platform::trim(code, " \t");
    range_ = load->range;
    form_->LbData1->setText(qs(platform::formatDate(load->range.firstIndexDate)));
    form_->LbData2->setText(qs(platform::formatDate(load->range.lastIndexDate)));
    for (auto* list : form_->CmbAnno) {
      list->clear();
      for (int year : load->years) list->addItem(QString::number(year));
    }
    form_->CmbAnno[1]->setCurrentIndex(form_->CmbAnno[1]->count() - 1);
    form_->LbProdotto->setText(qs(load->description));
    if (form_->CmbAnno[0]->currentIndex() != load->startPosition) {
      // Quietly, so that the one run below is the only one.
      form_->CmbAnno[0]->setCurrentIndex(load->startPosition);
    }
  }
  yearChanged();
  return true;
}

void Statind1::yearChanged() {
  if (busy_) return;
  guard([&] {
    {
      BusyScope busy(busy_);
      const int from = form_->CmbAnno[0]->currentText().toInt();
      const int to = form_->CmbAnno[1]->currentText().toInt();
      form_->PctMese->setVisible(from != to);
      arrange();  // the month chooser may take or free a row of the header
      if (from == to) form_->CmbMese->setCurrentIndex(0);
      layoutFlag_ = viewSwitched(std::max(0, form_->CmbMese->currentIndex()), previousMonth_);
    }
    runComparison();
  });
}

void Statind1::monthChanged() {
  if (busy_) return;
  yearChanged();
}

void Statind1::yearStepped(int index, bool up) {
  busy_ = false;
  QComboBox* list = form_->CmbAnno[static_cast<std::size_t>(index)];
  if (const auto to = yearStep(list->currentIndex(), list->count(), up)) list->setCurrentIndex(*to);
}

void Statind1::monthStepped(bool up) {
  busy_ = false;
  form_->CmbMese->setCurrentIndex(monthStep(form_->CmbMese->currentIndex(), up));
}

void Statind1::optionClicked(bool checked) {
  if (!checked || busy_) return;
  guard([&] { runComparison(); });
}

void Statind1::chartBoxClicked() {
  form_->options().applyTo(graph_);
  guard([&] { graph_.drawMode(statind::GraphModel::kRedraw); });
}

void Statind1::runComparison() {
  shown_.reset();
  sheetActions_->setEnabled(false);
  if (product_.empty() || !range_) return;
  CompareParams params;
  params.product = product_;
  params.fromYear = form_->CmbAnno[0]->currentText().toInt();
  params.toYear = form_->CmbAnno[1]->currentText().toInt();
  params.month = std::max(0, form_->CmbMese->currentIndex());
  params.startRule = form_->Option1[1]->isChecked() ? statind::StartRule::Previous
                                                    : statind::StartRule::FirstUseful;
  params.bars = form_->OptionS[1]->isChecked();
  params.range = *range_;
  params.usableWidth = ctx_.params.usableWidth;
  previousMonth_ = params.month;
  const CompareResult result = compare::runComparison(*ctx_.lookup, params);
  render(result, layoutFlag_);
  shown_ = report::CompareData{product_, form_->LbProdotto->text().toStdString(),
                               *range_,  ctx_.params.valueFormat,
                               result,   params.startRule};
  sheetActions_->setEnabled(true);
}

// "Stampa...", "Esporta PDF..." and "Esporta CSV..." of the run on screen, before "&USCITA".
void Statind1::addSheetActions() {
  QWidget* strip = form_->CmdRp[0]->parentWidget();
  sheetActions_ = new report::ui::SheetActions(
      strip, ctx_.desktop,
      [this]() -> std::optional<report::ui::SheetContent> {
        if (!shown_) return std::nullopt;
        const report::SheetOptions options{ctx_.params.operatorCode, platform::today(),
                                           ctx_.params.valueFormat, form_->options()};
        std::ostringstream csv;
        report::writeCompareCsv(*shown_, csv);
        return report::ui::SheetContent{report::comparisonSheet(*shown_, options), csv.str()};
      },
      ctx_.params.impExpFolder);
  auto* row = static_cast<QBoxLayout*>(strip->layout());
  for (QWidget* b :
       {static_cast<QWidget*>(sheetActions_->print), static_cast<QWidget*>(sheetActions_->pdf),
        static_cast<QWidget*>(sheetActions_->csv)})
    row->insertWidget(row->count() - 1, b);
}

void Statind1::render(const CompareResult& result, bool moveChart) {
  const bool allMonths = result.month == 0;
  if (allMonths) {
    form_->TdbgCompara->hide();
  } else if (result.chart.drawn) {
    grid_->setRows(result.rows);
    QTableView* grid = form_->TdbgCompara;
    const int rowHeight = grid->verticalHeader()->defaultSectionSize();
    grid->setGeometry(0, chartTop_, form_->gridWidth(),
                      grid->horizontalHeader()->height() + rowHeight * grid_->rowCount() +
                          2 * grid->frameWidth());
    grid->show();
  }
  if (moveChart) placeChart(allMonths);
  // One month plots changes: their figures read as the grid's.
  form_->Graph1->setValueText(allMonths ? ctx_.params.valueFormat : "#0.00", allMonths ? "" : " %");
  loadChart(graph_, result.chart);
}

void Statind1::placeChart(bool allMonths) {
  const ChartPlace at =
      allMonths ? allMonthsPlace(width(), height(), chartTop_)
                : oneMonthPlace(width(), height(), form_->gridWidth(),
                                platform::ui::twipsToPixels(kChartGapTwips, this), chartTop_);
  form_->Graph1->setGeometry(at.left, at.top, at.width, at.height);
}

// The chart keeps its place and reaches the window's right and bottom edges.
void Statind1::fitChart() {
  QWidget* chart = form_->Graph1;
  chart->resize(std::max(0, width() - chart->x()), std::max(0, height() - chart->y()));
}

// The chooser opens on the blank line with an empty search.
void Statind1::showChooser(bool visible) {
  form_->Picture2->setVisible(visible);
  if (visible) {
    form_->Picture2->raise();
    form_->Picture2->reset();
  }
}

void Statind1::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  arrange();
}

void Statind1::arrange() {
  // The header takes another row where its groups no longer fit side by side: the grid and the
  // chart start under it.
  const int top = form_->placeFixedAreas(width(), height()) +
                  platform::ui::twipsToPixels(kChartMarginTwips, this);
  if (top != chartTop_) {
    chartTop_ = top;
    form_->TdbgCompara->move(0, chartTop_);
  }
  if (form_->Graph1->width() == 0 || form_->Graph1->y() != chartTop_)
    placeChart(std::max(0, form_->CmbMese->currentIndex()) == 0);
  fitChart();
}

void Statind1::keyPressEvent(QKeyEvent* event) {
  bool handled = false;
  guard([&] {
    handled = startup::ui::handleFunctionKey(event->key(), event->modifiers(), this, ctx_);
  });
  if (handled) {
    event->accept();
  } else {
    QDialog::keyPressEvent(event);
  }
}

void Statind1::done(int result) {
  QDialog::done(result);
  if (unloaded_) return;
  unloaded_ = true;
  guard([&] {
    platform::writeIni(ctx_.params.ownIniPath, "PARAMETRI", "indstat1", form_->options().save());
  });
  if (!ctx_.params.standAlone && ctx_.exitProgram) ctx_.exitProgram();
}

}  // namespace compare::ui
