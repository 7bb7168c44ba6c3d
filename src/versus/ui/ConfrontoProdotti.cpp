#include "versus/ui/ConfrontoProdotti.h"

#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <sstream>

#include "compare/ProductChooser.h"
#include "compare/ProductLoad.h"
#include "indexdata/Helpers.h"
#include "platform/Profile.h"
#include "platform/ui/Guard.h"
#include "report/VersusCsv.h"
#include "report/VersusSheet.h"
#include "report/ui/SheetActions.h"
#include "startup/ui/AppContext.h"
#include "startup/ui/FunctionKeyPreview.h"
#include "startup/ui/FunctionKeys.h"
#include "statind/ui/BusyScope.h"
#include "statind/ui/ChartColours.h"
#include "versus/VersusText.h"
#include "versus/ui/ConfrontoForm.h"
#include "versus/ui/VersusChart.h"
#include "versus/ui/VersusTable.h"

namespace versus::ui {

namespace {

using statind::ui::BusyScope;

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

QDate qdate(platform::DayNumber day) {
  return QDate(1899, 12, 30).addDays(day);
}

platform::DayNumber dayOf(const QDate& date) {
  return platform::dayNumber(date.year(), date.month(), date.day());
}

QIcon swatch(int place) {
  QPixmap box(12, 12);
  box.fill(statind::ui::seriesColour(place));
  return QIcon(box);
}

}  // namespace

ConfrontoProdotti::ConfrontoProdotti(startup::ui::AppContext& ctx,
                                     const std::vector<std::string>& products, QWidget* parent)
    : QDialog(parent), ctx_(ctx), form_(std::make_unique<ConfrontoForm>(this)) {
  setObjectName("ConfrontoProdotti");
  setWindowTitle("Confronto prodotti");
  setModal(true);
  riskFree_ = indexdata::trimBlanks(
      platform::readIni(ctx_.params.ownIniPath, "PARAMETRI", "INDICE_MONETARIO"));
  addSheetActions();
  connectHandlers();
  startup::ui::FunctionKeyPreview::install(this, ctx_);
  {
    BusyScope busy(busy_);
    for (const std::string& code : products) addProduct(code);
  }
  compute();
  if (products_.size() < kMinProducts) showChooser(true);
  if (QScreen* screen = this->screen()) resize(screen->availableGeometry().size() * 0.95);
}

// Here, where the form's type is complete.
ConfrontoProdotti::~ConfrontoProdotti() = default;

template <typename Handler>
void ConfrontoProdotti::guard(Handler&& handler) {
  platform::ui::guarded(this, ctx_.desktop, std::forward<Handler>(handler));
}

void ConfrontoProdotti::connectHandlers() {
  ConfrontoForm& f = *form_;
  connect(f.CmdAggiungi, &QPushButton::clicked, this,
          [this] { guard([&] { showChooser(true); }); });
  connect(f.CmdChiudi, &QPushButton::clicked, this, [this] { showChooser(false); });
  connect(f.CmdTogli, &QPushButton::clicked, this, [this] { guard([&] { removeSelected(); }); });
  connect(f.CmdEnd, &QPushButton::clicked, this, &QDialog::accept);
  connect(f.TxtCerca, &QLineEdit::textChanged, this,
          [this](const QString& typed) { filterChooser(typed); });
  // Enter in the search box takes the first line still shown.
  connect(f.TxtCerca, &QLineEdit::returnPressed, this, [this] {
    for (int row = 0; row < form_->CmbProd->count(); ++row)
      if (!form_->CmbProd->item(row)->isHidden()) return guard([&] { pickFromChooser(row); });
  });
  connect(f.CmbProd, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    guard([&] { pickFromChooser(form_->CmbProd->row(item)); });
  });
  connect(f.CmbBenchmark, &QComboBox::currentIndexChanged, this, [this] {
    if (!busy_) guard([&] { compute(); });
  });
  connect(f.CmbPeriodo, &QComboBox::currentIndexChanged, this, [this] {
    if (!busy_) guard([&] { periodChosen(); });
  });
  for (QDateEdit* edit : {f.DtDal, f.DtAl})
    connect(edit, &QDateEdit::dateChanged, this, [this] {
      if (!busy_) guard([&] { compute(); });
    });
}

// "Stampa...", "Esporta PDF..." and "Esporta CSV..." of the comparison on screen.
void ConfrontoProdotti::addSheetActions() {
  sheetActions_ = new report::ui::SheetActions(
      this, ctx_.desktop,
      [this]() -> std::optional<report::ui::SheetContent> {
        if (!shown_) return std::nullopt;
        report::SheetOptions options;
        options.operatorCode = ctx_.params.operatorCode;
        options.madeOn = platform::today();
        std::ostringstream csv;
        report::writeVersusCsv(*shown_, csv);
        return report::ui::SheetContent{report::versusSheet(*shown_, options), csv.str()};
      },
      ctx_.params.impExpFolder);
  for (QPushButton* b : {sheetActions_->print, sheetActions_->pdf, sheetActions_->csv})
    form_->buttons->addWidget(b);
}

bool ConfrontoProdotti::addProduct(const std::string& given) {
  const std::string code = indexdata::trimBlanks(given);
  if (code.empty()) return false;
  if (const std::string refusal = refusalToAdd(products_, code); !refusal.empty()) {
    form_->LbMessaggio->setText(qs(refusal));
    return false;
  }
  products_.push_back(code);
  descriptions_.push_back(
      indexdata::trimBlanks(compare::productDescription(*ctx_.dbs.dataDb, code)));
  refreshProducts();
  if (!busy_) compute();
  return true;
}

void ConfrontoProdotti::removeSelected() {
  const int row = form_->LstProdotti->currentRow();
  if (row < 0 || row >= static_cast<int>(products_.size())) return;
  products_.erase(products_.begin() + row);
  descriptions_.erase(descriptions_.begin() + row);
  refreshProducts();
  compute();
}

// The list of products in their colours and the benchmark list, keeping the benchmark chosen
// while it is still compared.
void ConfrontoProdotti::refreshProducts() {
  BusyScope busy(busy_);
  ConfrontoForm& f = *form_;
  f.LstProdotti->clear();
  for (std::size_t p = 0; p < products_.size(); ++p) {
    const std::string text =
        descriptions_[p].empty() ? products_[p] : products_[p] + " - " + descriptions_[p];
    f.LstProdotti->addItem(new QListWidgetItem(swatch(static_cast<int>(p)), qs(text)));
  }
  const QString benchmark = f.CmbBenchmark->currentData().toString();
  f.CmbBenchmark->clear();
  f.CmbBenchmark->addItem("nessuno", QString());
  for (const std::string& code : products_) f.CmbBenchmark->addItem(qs(code), qs(code));
  f.CmbBenchmark->setCurrentIndex(std::max(0, f.CmbBenchmark->findData(benchmark)));
}

void ConfrontoProdotti::showChooser(bool visible) {
  if (visible && entries_.empty()) fillChooser();
  form_->pages->setCurrentIndex(visible ? 1 : 0);
  if (visible) {
    form_->TxtCerca->clear();
    form_->TxtCerca->setFocus(Qt::OtherFocusReason);
  }
}

void ConfrontoProdotti::fillChooser() {
  entries_ = compare::ProductChooser(*ctx_.dbs.dataDb).products("", compare::kSortByDescription);
  entries_.erase(entries_.begin());  // the blank line: here nothing is picked by leaving it
  form_->CmbProd->clear();
  for (const auto& entry : entries_) form_->CmbProd->addItem(qs(entry.line));
}

void ConfrontoProdotti::filterChooser(const QString& typed) {
  const QString wanted = typed.trimmed();
  for (int row = 0; row < form_->CmbProd->count(); ++row) {
    QListWidgetItem* item = form_->CmbProd->item(row);
    item->setHidden(!wanted.isEmpty() && !item->text().contains(wanted, Qt::CaseInsensitive));
  }
}

void ConfrontoProdotti::pickFromChooser(int row) {
  if (row < 0 || row >= static_cast<int>(entries_.size())) return;
  if (addProduct(entries_[static_cast<std::size_t>(row)].code)) showChooser(false);
}

void ConfrontoProdotti::periodChosen() {
  const bool chosen = form_->CmbPeriodo->currentData().toInt() == static_cast<int>(Preset::Chosen);
  form_->DtDal->setEnabled(chosen);
  form_->DtAl->setEnabled(chosen);
  compute();
}

void ConfrontoProdotti::compute() {
  ConfrontoForm& f = *form_;
  std::optional<VersusResult> result;
  std::string message;
  if (products_.size() < kMinProducts) {
    message = "Aggiungi i prodotti da confrontare: da 2 a 8.";
  } else {
    VersusParams params;
    params.products = products_;
    params.benchmark = f.CmbBenchmark->currentData().toString().toStdString();
    params.period.preset = static_cast<Preset>(f.CmbPeriodo->currentData().toInt());
    if (params.period.preset == Preset::Chosen) {
      params.period.from = dayOf(f.DtDal->date());
      params.period.to = dayOf(f.DtAl->date());
    }
    params.riskFree = riskFree_;
    // A storage failure leaves by the handler's guard, with the window as it was.
    try {
      indexdata::WaitScope wait(ctx_.desktop);
      result = computeVersus(*ctx_.lookup, params);
    } catch (const Refusal& refusal) {
      message = refusal.what();
    }
  }
  shown_ = std::move(result);
  f.LbMessaggio->setText(qs(message));
  showResult();
}

void ConfrontoProdotti::showResult() {
  ConfrontoForm& f = *form_;
  const VersusResult* result = shown_ ? &*shown_ : nullptr;
  sheetActions_->setEnabled(result != nullptr);
  f.Grafico->show(result);
  for (VersusTable* table : {f.TbCifre, f.TbAnni, f.TbCorrelazioni}) table->show({});
  f.LbPeriodo->clear();
  f.LbSenzaRischio->setText(
      qs("Tasso senza rischio: " +
         (riskFree_.empty() ? std::string("0 % (INDICE_MONETARIO non impostato)") : riskFree_)));
  if (!result) return;
  f.TbCifre->show(figuresTable(*result));
  f.TbAnni->show(yearsTable(*result));
  f.TbCorrelazioni->show(correlationTable(*result));
  f.LbPeriodo->setText(qs("Periodo " + periodText(*result)));
  f.LbSenzaRischio->setText(qs("Tasso senza rischio: " + riskFreeText(result->riskFree)));
  // The dates show the period compared; they are the user's own only under "date scelte".
  if (!f.DtDal->isEnabled()) {
    BusyScope busy(busy_);
    f.DtDal->setDate(qdate(result->period.from));
    f.DtAl->setDate(qdate(result->period.to));
  }
}

void ConfrontoProdotti::keyPressEvent(QKeyEvent* event) {
  bool handled = false;
  guard([&] {
    handled = startup::ui::handleFunctionKey(event->key(), event->modifiers(), this, ctx_);
  });
  if (handled)
    event->accept();
  else
    QDialog::keyPressEvent(event);
}

}  // namespace versus::ui
