#include "statind/ui/StatInd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <algorithm>
#include <cctype>

#include "indexdata/Helpers.h"
#include "platform/Format.h"
#include "platform/Profile.h"
#include "platform/ui/Guard.h"
#include "platform/ui/Twips.h"
#include "startup/ui/AppContext.h"
#include "startup/ui/FunctionKeys.h"
#include "statind/WindowOptions.h"
#include "statind/ui/ComboClick.h"
#include "statind/ui/GraphView.h"
#include "statind/ui/ProductLists.h"
#include "statind/ui/SpinArrows.h"
#include "statind/ui/StatIndForm.h"
#include "statind/ui/WkStatIndModel.h"

namespace statind::ui {

namespace {

const char* kMonthNames[] = {"",        "GENNAIO",  "FEBBRAIO", "MARZO",  "APRILE",
                             "MAGGIO",  "GIUGNO",   "LUGLIO",   "AGOSTO", "SETTEMBRE",
                             "OTTOBRE", "NOVEMBRE", "DICEMBRE"};

std::string trim(const std::string& text) {
  auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool sameCode(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

// Raises the busy flag for a stretch of list changes made by code; the list
// click handlers do nothing while it is up.
class BusyScope {
 public:
  explicit BusyScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~BusyScope() { flag_ = before_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& flag_;
  bool before_;
};

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
  for (const char* name : kMonthNames) form_->CmbMese->addItem(name);
  const int thisYear = platform::civilDate(platform::today()).year;
  for (int year = 1980; year <= thisYear; ++year) form_->CmbAnno->addItem(QString::number(year));
  form_->CmbAnno->setCurrentIndex(thisYear - 1980);
  restoreOptions();
  graph_.setDataSetCount(1);
  graph_.setAutoAdvance(false);
  fillLists();
  showChoice(false);
}

void StatInd::connectHandlers() {
  StatIndForm& f = *form_;
  new ComboClick(f.CmbGrp, [this](int at) { groupClicked(at); });
  new ComboClick(f.CmbCat, [this](int at) { categoryClicked(at); });
  new ComboClick(f.CmbProd, [this](int at) { productClicked(at); });
  new ComboClick(f.CmbAnno, [this](int) { periodClicked(); });
  new ComboClick(f.CmbMese, [this](int) { periodClicked(); });
  f.CmbAnno->installEventFilter(this);
  f.CmbMese->installEventFilter(this);
  for (int i = 0; i < 2; ++i) {
    connect(f.SpinButton1[i], &SpinArrows::down, this, [this, i] { stepPressed(i, false); });
    connect(f.SpinButton1[i], &SpinArrows::up, this, [this, i] { stepPressed(i, true); });
  }
  for (int i = 0; i < 3; ++i) {
    connect(f.cmdMoveM[i], &QPushButton::clicked, this, [this, i] { jumpPressed(i); });
  }
  connect(f.CmdProd, &QPushButton::clicked, this, [this] { showChoice(false); });
  connect(f.CmdEnd, &QPushButton::clicked, this, [this] { endClicked(); });
  for (auto* box : f.Check1) connect(box, &QCheckBox::toggled, this, [this] { overlayClicked(); });
  for (int i = 0; i < 3; ++i) {
    connect(f.Check2[i], &QCheckBox::toggled, this, [this, i] { axisClicked(i); });
  }
  for (auto* option : f.Option1) {
    connect(option, &QRadioButton::toggled, this, [this](bool on) { startRuleClicked(on); });
  }
}

void StatInd::restoreOptions() {
  const std::string text = platform::readIni(ctx_.params.ownIniPath, "PARAMETRI", "indstat");
  const bool handedOver = !trim(ctx_.params.productCode).empty();
  const WindowOptions options = WindowOptions::restore(text, kIndstatDefault, handedOver);
  form_->Option1[options.option == 0 ? 0 : 1]->setChecked(true);
  for (int i = 0; i < 4; ++i) form_->Check1[i]->setChecked(options.check1[i] >= 1);
  for (int i = 0; i < 3; ++i) form_->Check2[i]->setChecked(options.check2[i] >= 1);
  graph_.setOverlayMask(WindowOptions::overlayMask(options.check1));
  graph_.setYAxisMode(WindowOptions::yAxisMode(options.check2[0]));
  graph_.setGridStyle(WindowOptions::gridStyle(options.check2));
  graph_.drawMode(GraphModel::kRedraw);
}

void StatInd::fillLists() {
  ProductLists lists(*ctx_.dbs.dataDb);
  form_->CmbGrp->clear();
  for (const auto& entry : lists.groups()) form_->CmbGrp->addItem(qs(entry));
  form_->CmbGrp->setCurrentIndex(0);
  form_->CmbCat->clear();
  for (const auto& entry : lists.categories()) form_->CmbCat->addItem(qs(entry));
  form_->CmbCat->setCurrentIndex(0);
  fillProducts();
}

void StatInd::fillProducts() {
  BusyScope busy(busy_);
  indexdata::WaitScope wait(ctx_.desktop);
  ProductLists lists(*ctx_.dbs.dataDb);
  const auto entries = lists.products(
      ctx_.params.productCode, ProductLists::groupCode(form_->CmbGrp->currentText().toStdString()),
      trim(form_->CmbCat->currentText().toStdString()));
  form_->CmbProd->clear();
  for (const auto& entry : entries) form_->CmbProd->addItem(qs(entry.line), qs(entry.code));
  form_->CmbProd->setCurrentIndex(0);
}

// A group and a category never filter together: choosing one resets the other.
void StatInd::groupClicked(int position) {
  if (busy_ || position == lastGroup_) return;
  guard([&] {
    lastGroup_ = position;
    BusyScope busy(busy_);
    form_->CmbCat->setCurrentIndex(0);
    lastCategory_ = 0;
    clearResults();
    fillProducts();
  });
}

void StatInd::categoryClicked(int position) {
  if (busy_ || position == lastCategory_) return;
  guard([&] {
    lastCategory_ = position;
    BusyScope busy(busy_);
    form_->CmbGrp->setCurrentIndex(0);
    lastGroup_ = 0;
    clearResults();
    fillProducts();
  });
}

void StatInd::productClicked(int position) {
  if (busy_) return;
  guard([&] {
    clearResults();
    std::string code, description, currency;
    const std::string line = form_->CmbProd->itemText(position).toStdString();
    if (!ProductLists::splitLine(line, code, description, currency)) return;  // blank entry
    const QString fullCode = form_->CmbProd->itemData(position).toString();
    if (!fullCode.isEmpty()) code = fullCode.toStdString();  // the line may have cut it
    product_ = code;
    ctx_.params.productCode = code;
    form_->LbProdotto->setText(qs(description));
    form_->LbMon->setText(qs(currency));
    showChoice(true);
    if (!loadRange()) {
      product_.clear();
      showChoice(false);
      return;
    }
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
  form_->CmbAnno->clear();
  for (int year : range->years()) form_->CmbAnno->addItem(QString::number(year));
  const int at = form_->CmbAnno->findText(QString::number(remembered));
  form_->CmbAnno->setCurrentIndex(at >= 0 ? at : form_->CmbAnno->count() - 1);
  select(steps().clampChoice(position()));
  return true;
}

void StatInd::periodClicked() {
  if (busy_) return;
  guard([&] {
    const PeriodPosition at = position();
    const PeriodPosition clamped = steps().clampChoice(at);
    if (!(clamped == at)) {
      BusyScope busy(busy_);
      select(clamped);
    }
    runStatistics();
  });
}

void StatInd::stepPressed(int index, bool up) {
  guard([&] {
    showChoice(true);
    const PeriodSteps s = steps();
    const PeriodPosition at = position();
    std::optional<PeriodPosition> to =
        index == 0 ? (up ? s.yearUp(at) : s.yearDown(at)) : (up ? s.monthUp(at) : s.monthDown(at));
    if (!to) return;
    {
      BusyScope busy(busy_);
      select(*to);
    }
    runStatistics();
  });
}

void StatInd::jumpPressed(int index) {
  guard([&] {
    showChoice(true);
    const PeriodSteps s = steps();
    const PeriodPosition to = index == 0   ? s.toFirst()
                              : index == 1 ? s.toLast()
                                           : s.wholeYear(position());
    {
      BusyScope busy(busy_);
      select(to);
    }
    runStatistics();
  });
}

void StatInd::overlayClicked() {
  std::array<int, 4> boxes{};
  for (int i = 0; i < 4; ++i) boxes[i] = form_->Check1[i]->isChecked() ? 1 : 0;
  graph_.setOverlayMask(WindowOptions::overlayMask(boxes));
  guard([&] { graph_.drawMode(GraphModel::kRedraw); });
}

void StatInd::axisClicked(int index) {
  std::array<int, 3> boxes{};
  for (int i = 0; i < 3; ++i) boxes[i] = form_->Check2[i]->isChecked() ? 1 : 0;
  if (index == 0) {
    graph_.setYAxisMode(WindowOptions::yAxisMode(boxes[0]));
  } else {
    graph_.setGridStyle(WindowOptions::gridStyle(boxes));
  }
  guard([&] { graph_.drawMode(GraphModel::kRedraw); });
}

void StatInd::startRuleClicked(bool checked) {
  if (!checked || busy_) return;
  guard([&] { runStatistics(); });
}

void StatInd::endClicked() {
  guard([&] {
    WindowOptions options;
    options.option = form_->Option1[1]->isChecked() ? 1 : 0;
    for (int i = 0; i < 4; ++i) options.check1[i] = form_->Check1[i]->isChecked() ? 1 : 0;
    for (int i = 0; i < 3; ++i) options.check2[i] = form_->Check2[i]->isChecked() ? 1 : 0;
    platform::writeIni(ctx_.params.ownIniPath, "PARAMETRI", "indstat", options.save());
    accept();
  });
}

// The product handed over by the suite opens on December of its year, once.
void StatInd::preselect() {
  const std::string handedOver = trim(ctx_.params.productCode);
  if (!firstActivation_ || handedOver.empty()) return;
  firstActivation_ = false;
  int found = -1;
  {
    BusyScope busy(busy_);
    form_->CmbMese->setCurrentIndex(form_->CmbMese->count() - 1);
    for (int i = 0; i < form_->CmbProd->count() && found < 0; ++i) {
      if (sameCode(form_->CmbProd->itemData(i).toString().toStdString(), handedOver)) found = i;
    }
  }
  if (found < 0) return;
  if (form_->CmbProd->currentIndex() == found) {
    productClicked(found);
  } else {
    form_->CmbProd->setCurrentIndex(found);
  }
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
}

void StatInd::render(const StatResult& result) {
  StatIndForm& f = *form_;
  for (std::size_t j = 0; j < 3; ++j) {
    const SummarySlot& slot = result.summary[j];
    f.LbAnno[j]->setText(qs(slot.LbAnno));
    f.LbVal1[j]->setText(qs(slot.LbVal1));
    f.LbVal2[j]->setText(qs(slot.LbVal2));
    f.LbDiff[j]->setText(qs(slot.LbDiff));
    QPalette palette = f.LbDiff[j]->palette();
    palette.setColor(QPalette::WindowText, slot.LbDiffRed ? QColor(255, 0, 0) : QColor(0, 0, 0));
    f.LbDiff[j]->setPalette(palette);
    f.LbPerc[j]->setText(qs(slot.LbPerc));
    f.LbParz[j]->setText(qs(slot.LbParz));
  }
  grid_->setRun(result.rows, result.captions, result.yearView);
  loadSeries(graph_, result.chart);
  showResults(true);
}

void StatInd::clearResults() {
  showResults(false);
  grid_->clear();
}

void StatInd::showResults(bool visible) {
  for (QWidget* w : std::initializer_list<QWidget*>{form_->FrameStat, form_->Graph1,
                                                    form_->FrameDati, form_->TDBGrid1}) {
    w->setVisible(visible);
  }
}

void StatInd::showChoice(bool product) {
  if (switchingPane_) return;  // hiding a pane moves the focus, which must not switch back
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

void StatInd::select(PeriodPosition at) {
  form_->CmbAnno->setCurrentIndex(at.yearPos);
  form_->CmbMese->setCurrentIndex(at.month);
}

PeriodSteps StatInd::steps() const {
  return PeriodSteps(form_->CmbAnno->count() - 1, range_ ? range_->firstMonth : 0,
                     range_ ? range_->lastMonth : 0);
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
  } else if (event->key() == Qt::Key_Escape) {
    event->accept();  // the window closes through its exit button only
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
