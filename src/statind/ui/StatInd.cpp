#include "statind/ui/StatInd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <algorithm>
#include <sstream>

#include "compare/ui/Statind1.h"
#include "indexdata/Helpers.h"
#include "platform/Format.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/ui/EnterPressesButton.h"
#include "platform/ui/Guard.h"
#include "platform/ui/Twips.h"
#include "report/ReportCsv.h"
#include "report/StatSheet.h"
#include "report/ui/SheetActions.h"
#include "risk/ui/RischioRendimento.h"
#include "startup/ui/AppContext.h"
#include "startup/ui/FunctionKeyPreview.h"
#include "startup/ui/FunctionKeys.h"
#include "statind/ProductLists.h"
#include "statind/StatText.h"
#include "statind/WindowOptions.h"
#include "statind/ui/BusyScope.h"
#include "statind/ui/ComboClick.h"
#include "statind/ui/GraphView.h"
#include "statind/ui/ProductSearch.h"
#include "statind/ui/SpinArrows.h"
#include "statind/ui/StatIndForm.h"
#include "statind/ui/WkStatIndModel.h"
#include "versus/ui/ConfrontoProdotti.h"

namespace statind::ui {

namespace {

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

StatInd::StatInd(startup::ui::AppContext& ctx, QWidget* parent)
    : QDialog(parent),
      ctx_(ctx),
      layout_(ctx.params.usableWidth),
      form_(std::make_unique<StatIndForm>(this, graph_)),
      grid_(new WkStatIndModel(this)) {
  setObjectName("StatInd");
  setWindowTitle("Statistiche sugli Indici");
  setModal(true);
  setMinimumSize(platform::ui::twipsToPixels(
      QSize(StatIndLayout::kMinWidth, StatIndLayout::kMinHeight), this));
  form_->TDBGrid1->setModel(grid_);
  form_->Graph1->setValueText(ctx.params.valueFormat);
  addSheetActions();
  load();
  connectHandlers();
  // Without a window manager the maximised state is only a wish: take the screen's room too.
  if (QScreen* screen = this->screen()) resize(screen->availableGeometry().size());
  setWindowState(Qt::WindowMaximized);
}

// The chart view listens to graph_, a member that dies before the dialog's child widgets.
StatInd::~StatInd() {
  delete form_->Graph1;
}

template <typename Handler>
void StatInd::guard(Handler&& handler) {
  platform::ui::guarded(this, ctx_.desktop, std::forward<Handler>(handler));
}

void StatInd::load() {
  BusyScope busy(busy_);
  for (auto* label : {form_->LbMon, form_->LbData1, form_->LbData2}) label->clear();
  clearResults();
  for (int month = 0; month <= 12; ++month) form_->CmbMese->addItem(qs(monthName(month)));
  const int thisYear = platform::civilDate(platform::today()).year;
  showYears(PeriodSteps::openingYears(thisYear), thisYear);
  restoreOptions();
  form_->enableSteps(false);  // until a product with index data is chosen
  graph_.setDataSetCount(1);
  graph_.setAutoAdvance(false);
  fillLists();
  showChoice(false);
}

void StatInd::connectHandlers() {
  StatIndForm& f = *form_;
  new ComboClick(f.CmbGrp, [this](int at) { filterClicked(true, at); });
  new ComboClick(f.CmbCat, [this](int at) { filterClicked(false, at); });
  new ProductSearch(f.CmbProd, [this](int at) { productClicked(at); });
  new ComboClick(f.CmbAnno, [this](int) { periodClicked(); });
  new ComboClick(f.CmbMese, [this](int) { periodClicked(); });
  f.CmbAnno->installEventFilter(this);
  f.CmbMese->installEventFilter(this);
  startup::ui::FunctionKeyPreview::install(this, ctx_);
  platform::ui::EnterPressesButton::install(this);
  // A shortcut rather than a key handler: it works whatever control has the focus, the period
  // lists included, as Ctrl+P does.
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this), &QShortcut::activated, this,
          [this] { riskClicked(); });
  connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this), &QShortcut::activated, this,
          [this] { versusClicked(); });
  for (int i = 0; i < 2; ++i) {
    connect(f.SpinButton1[i], &SpinArrows::down, this, [this, i] { stepPressed(i, false); });
    connect(f.SpinButton1[i], &SpinArrows::up, this, [this, i] { stepPressed(i, true); });
  }
  for (int i = 0; i < 3; ++i) {
    connect(f.cmdMoveM[i], &QPushButton::clicked, this, [this, i] { jumpPressed(i); });
  }
  connect(f.CmdProd, &QPushButton::clicked, this, [this] { showChoice(false); });
  connect(f.CmdEnd, &QPushButton::clicked, this, [this] { endClicked(); });
  connect(f.cmdCompara, &QPushButton::clicked, this, [this] { guard([&] { compareClicked(); }); });
  connect(f.cmdRischio, &QPushButton::clicked, this, [this] { riskClicked(); });
  connect(f.cmdConfronto, &QPushButton::clicked, this, [this] { versusClicked(); });
  for (auto* box : f.Check1) connect(box, &QCheckBox::toggled, this, [this] { chartBoxClicked(); });
  for (auto* box : f.Check2) connect(box, &QCheckBox::toggled, this, [this] { chartBoxClicked(); });
  for (auto* option : f.Option1) {
    connect(option, &QRadioButton::toggled, this, [this](bool on) { startRuleClicked(on); });
  }
}

void StatInd::restoreOptions() {
  const std::string text = platform::readIni(ctx_.params.ownIniPath, "PARAMETRI", "indstat");
  const bool handedOver = !platform::trim(ctx_.params.productCode, " \t").empty();
  const WindowOptions options = WindowOptions::restore(text, kIndstatDefault, handedOver);
  form_->setOptions(options);
  options.applyTo(graph_);
  graph_.drawMode(GraphModel::kRedraw);
}

void StatInd::fillLists() {
  ProductLists lists(*ctx_.dbs.dataDb);
  form_->CmbGrp->clear();
  for (const auto& entry : lists.groups()) form_->CmbGrp->addItem(qs(entry));
  form_->CmbGrp->setCurrentIndex(0);
  form_->CmbCat->clear();
  for (const auto& entry : lists.categories())
    form_->CmbCat->addItem(qs(entry.line), qs(entry.code));
  form_->CmbCat->setCurrentIndex(0);
  fillProducts();
}

void StatInd::fillProducts() {
  BusyScope busy(busy_);
  indexdata::WaitScope wait(ctx_.desktop);
  ProductLists lists(*ctx_.dbs.dataDb);
  // The product chosen last narrows the list only until the user picks a group or category:
  // from then on the list is that group's or category's.
  const std::string narrowTo = filterPicked_ ? std::string() : ctx_.params.productCode;
  products_ =
      lists.products(narrowTo, ProductLists::groupCode(form_->CmbGrp->currentText().toStdString()),
                     form_->CmbCat->currentData().toString().toStdString());
  form_->CmbProd->clear();
  for (const auto& entry : products_) form_->CmbProd->addItem(qs(entry.line), qs(entry.code));
  form_->CmbProd->setCurrentIndex(0);
}

// A group and a category never filter together: choosing one resets the other.
void StatInd::filterClicked(bool group, int position) {
  int& last = group ? lastGroup_ : lastCategory_;
  if (busy_ || position == last) return;
  guard([&] {
    last = position;
    filterPicked_ = true;
    BusyScope busy(busy_);
    (group ? form_->CmbCat : form_->CmbGrp)->setCurrentIndex(0);
    (group ? lastCategory_ : lastGroup_) = 0;
    clearResults();
    fillProducts();
  });
}

void StatInd::productClicked(int position) {
  if (busy_) return;
  guard([&] {
    clearResults();
    if (position < 0 || position >= static_cast<int>(products_.size())) return;
    const auto choice = ProductLists::choose(products_[position]);
    if (!choice) return;  // the blank entry
    product_ = choice->code;
    ctx_.params.productCode = choice->code;
    form_->LbProdotto->setText(qs(choice->description));
    form_->LbMon->setText(qs(choice->currency));
    const bool hasIndex = loadRange();
    form_->enableSteps(hasIndex);
    if (!hasIndex) {
      product_.clear();
      showChoice(false);
      return;
    }
    showChoice(true);
    runStatistics();
  });
}

// The product's index range and its years; false (after telling the user) when
// it has none.
bool StatInd::loadRange() {
  auto range = statind::productRange(*ctx_.lookup, product_, platform::today());
  if (!range) {
    range_.reset();
    form_->LbData1->clear();
    form_->LbData2->clear();
    ctx_.desktop.messageBox({"Nessun indice per il prodotto", "", platform::Buttons::Ok});
    return false;
  }
  form_->LbData1->setText(qs(platform::formatDate(range->firstIndexDate)));
  form_->LbData2->setText(qs(platform::formatDate(range->lastIndexDate)));
  const int remembered = yearShown();
  range_ = range;
  BusyScope busy(busy_);
  showYears(range->years(), remembered);
  select(steps()->clampChoice(position()));
  return true;
}

void StatInd::periodClicked() {
  if (busy_) return;
  guard([&] {
    if (const auto steps = this->steps()) goTo(steps->clampChoice(position()));
  });
}

void StatInd::stepPressed(int index, bool up) {
  guard([&] {
    const auto steps = this->steps();
    if (!steps) return;
    showChoice(true);
    if (const auto to = steps->step(index, up, position())) goTo(*to);
  });
}

void StatInd::jumpPressed(int index) {
  guard([&] {
    const auto steps = this->steps();
    if (!steps) return;
    showChoice(true);
    goTo(steps->jump(index, position()));
  });
}

void StatInd::chartBoxClicked() {
  form_->options().applyTo(graph_);
  guard([&] { graph_.drawMode(GraphModel::kRedraw); });
}

void StatInd::startRuleClicked(bool checked) {
  if (!checked || busy_) return;
  guard([&] { runStatistics(); });
}

void StatInd::endClicked() {
  guard([&] {
    platform::writeIni(ctx_.params.ownIniPath, "PARAMETRI", "indstat", form_->options().save());
    accept();
  });
}

// The comparison starts at the year shown, in the product's currency; the product is the one
// chosen here (productCode).
void StatInd::compareClicked() {
  ctx_.params.compareCurrency = form_->LbMon->text().toStdString();
  ctx_.params.compareStartYear = yearShown();
  compare::ui::Statind1 window(ctx_, this);
  window.exec();
}

void StatInd::riskClicked() {
  if (product_.empty() || !range_ || busy_) return;
  guard([&] {
    risk::RiskParams params;
    params.product = product_;
    params.year = yearShown();
    params.startRule =
        form_->Option1[1]->isChecked() ? StartRule::Previous : StartRule::FirstUseful;
    params.range = *range_;
    const std::string heading = product_ + " - " + form_->LbProdotto->text().toStdString();
    risk::ui::RischioRendimento window(ctx_, params, heading, this);
    window.exec();
  });
}

void StatInd::versusClicked() {
  if (busy_) return;
  guard([&] {
    std::vector<std::string> products;
    if (!product_.empty()) products.push_back(product_);
    versus::ui::ConfrontoProdotti window(ctx_, products, this);
    window.exec();
  });
}

// The product handed over by the suite opens on December of its year, once.
void StatInd::preselect() {
  const std::string handedOver = platform::trim(ctx_.params.productCode, " \t");
  if (!firstActivation_ || handedOver.empty()) return;
  firstActivation_ = false;
  {
    BusyScope busy(busy_);
    form_->CmbMese->setCurrentIndex(form_->CmbMese->count() - 1);
  }
  const int found = ProductLists::indexOf(products_, handedOver);
  if (found < 0) return;
  form_->CmbProd->setCurrentIndex(found);
  productClicked(found);
}

void StatInd::runStatistics() {
  if (product_.empty() || !range_) {
    showChoice(false);
    return;
  }
  StatParams params;
  params.product = product_;
  params.year = yearShown();
  params.month = std::max(0, form_->CmbMese->currentIndex());
  params.startRule = form_->Option1[1]->isChecked() ? StartRule::Previous : StartRule::FirstUseful;
  params.range = *range_;
  StatContext context{*ctx_.lookup, *ctx_.dbs.workDb, ctx_.desktop};
  StatResult result;
  try {
    result = statind::runStatistics(context, params);
  } catch (...) {
    clearResults();  // never leave an earlier run's figures beside the new
                     // choice
    throw;
  }
  render(result);
  shown_ = report::ReportData{product_,
                              form_->LbProdotto->text().toStdString(),
                              form_->LbMon->text().toStdString(),
                              *range_,
                              params.year,
                              params.month,
                              params.startRule,
                              result};
  sheetActions_->setEnabled(true);
}

void StatInd::render(const StatResult& result) {
  form_->showSummary(result.summary);
  grid_->setRun(result.rows, result.captions, result.yearView);
  form_->fitColumns();
  loadSeries(graph_, result.chart);
  form_->showResults(true);
}

void StatInd::clearResults() {
  form_->showResults(false);
  grid_->clear();
  shown_.reset();
  sheetActions_->setEnabled(false);
}

// "Stampa...", "Esporta PDF..." and "Esporta CSV..." of the run on screen, beside the product.
void StatInd::addSheetActions() {
  sheetActions_ = new report::ui::SheetActions(
      form_->PctProd, ctx_.desktop,
      [this]() -> std::optional<report::ui::SheetContent> {
        if (!shown_) return std::nullopt;
        const report::SheetOptions options{ctx_.params.operatorCode, platform::today(),
                                           ctx_.params.valueFormat, form_->options()};
        std::ostringstream csv;
        report::writeReportCsv(*shown_, csv);
        return report::ui::SheetContent{report::statisticsSheet(*shown_, options), csv.str()};
      },
      ctx_.params.impExpFolder);
  form_->placeSheetButtons({sheetActions_->print, sheetActions_->pdf, sheetActions_->csv});
}

// The product pane only for a product with index data: without one the choice stays, whatever
// asks for the product pane.
void StatInd::showChoice(bool product) {
  if (switchingPane_) return;  // hiding a pane moves the focus, which must not switch back
  if (!steps()) product = false;
  switchingPane_ = true;
  QWidget* shown = product ? form_->PctProd : form_->PctScelta;
  QWidget* hidden = product ? form_->PctScelta : form_->PctProd;
  shown->setVisible(true);
  const bool focusInside = hidden->isAncestorOf(focusWidget());
  hidden->setVisible(false);
  if (!product && focusInside) form_->CmbProd->setFocus(Qt::OtherFocusReason);
  switchingPane_ = false;
}

PeriodPosition StatInd::position() const {
  return {form_->CmbAnno->currentIndex(), std::max(0, form_->CmbMese->currentIndex())};
}

void StatInd::showYears(const std::vector<int>& years, int year) {
  form_->CmbAnno->clear();
  for (int shown : years) form_->CmbAnno->addItem(QString::number(shown));
  form_->CmbAnno->setCurrentIndex(PeriodSteps::yearPosition(years, year));
}

void StatInd::goTo(PeriodPosition at) {
  if (!(at == position())) {
    BusyScope busy(busy_);
    select(at);
  }
  runStatistics();
}

void StatInd::select(PeriodPosition at) {
  form_->CmbAnno->setCurrentIndex(at.yearPos);
  form_->CmbMese->setCurrentIndex(at.month);
}

std::optional<PeriodSteps> StatInd::steps() const {
  return PeriodSteps::over(range_, form_->CmbAnno->count() - 1);
}

int StatInd::yearShown() const {
  return form_->CmbAnno->currentText().toInt();
}

void StatInd::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  form_->place(layout_, width(), height());
  if (firstActivation_) guard([&] { preselect(); });
}

void StatInd::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const QSize minimum = minimumSize();
  if (width() < minimum.width() || height() < minimum.height()) {
    resize(std::max(width(), minimum.width()), std::max(height(), minimum.height()));
    return;
  }
  form_->place(layout_, width(), height());
}

void StatInd::keyPressEvent(QKeyEvent* event) {
  bool handled = false;
  guard([&] {
    handled = startup::ui::handleFunctionKey(event->key(), event->modifiers(), this, ctx_);
  });
  if (handled) {
    event->accept();
  } else if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    endClicked();  // as "&USCITA": the chart options are saved
  } else {
    QDialog::keyPressEvent(event);
  }
}

bool StatInd::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn &&
      (watched == form_->CmbAnno || watched == form_->CmbMese)) {
    showChoice(true);
  }
  return QDialog::eventFilter(watched, event);
}

void StatInd::done(int result) {
  QDialog::done(result);
  if (unloaded_) return;
  unloaded_ = true;
  if (!ctx_.params.standAlone && ctx_.exitProgram) ctx_.exitProgram();
}

}  // namespace statind::ui
