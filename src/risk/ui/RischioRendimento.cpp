#include "risk/ui/RischioRendimento.h"

#include <QBoxLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include "indexdata/Helpers.h"
#include "platform/ui/EnterPressesButton.h"
#include "platform/ui/Guard.h"
#include "risk/MapColours.h"
#include "risk/RiskText.h"
#include "risk/ui/FiguresTable.h"
#include "risk/ui/HistoryChart.h"
#include "risk/ui/ReturnsMapTable.h"
#include "startup/ui/AppContext.h"
#include "startup/ui/FunctionKeys.h"

namespace risk::ui {

namespace {

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

// Class boxes from calm to wild; only the product's own class is coloured.
QString classStyle(int riskClass, bool chosen) {
  const Rgb tone = classColour(riskClass);
  const QString background =
      chosen ? QString("rgb(%1,%2,%3)").arg(tone.red).arg(tone.green).arg(tone.blue) : "white";
  return QString("QLabel { background: %1; border: %2px solid %3; font-weight: %4; }")
      .arg(background)
      .arg(chosen ? 2 : 1)
      .arg(chosen ? "black" : "gray")
      .arg(chosen ? "bold" : "normal");
}

// The two charts need this much to show their axes whole.
constexpr int kChartMinHeight = 420;

}  // namespace

RischioRendimento::RischioRendimento(startup::ui::AppContext& ctx, const RiskParams& params,
                                     const std::string& heading, QWidget* parent)
    : QDialog(parent), ctx_(ctx), params_(params), tabs_(new QTabWidget(this)) {
  setObjectName("RischioRendimento");
  setWindowTitle("Rischio e rendimento");
  setModal(true);
  auto* title = new QLabel(qs(heading), this);
  title->setObjectName("LbProdotto");
  QFont big = title->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.25);
  title->setFont(big);
  tabs_->setObjectName("TabRischio");
  tabs_->addTab(buildRiskPage(), "Rischio e rendimento");
  tabs_->addTab(buildMapPage(), "Rendimenti mensili");

  holdingYears_ = new QSpinBox(this);
  holdingYears_->setObjectName("SpAnni");
  holdingYears_->setRange(1, 30);
  holdingYears_->setValue(static_cast<int>(params_.holdingYears));
  auto* end = new QPushButton("&USCITA", this);
  end->setObjectName("CmdEnd");
  end->setAutoDefault(false);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(new QLabel("periodo di detenzione raccomandato (anni)", this));
  bottom->addWidget(holdingYears_);
  bottom->addStretch(1);
  bottom->addWidget(end);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(tabs_, 1);
  layout->addLayout(bottom);

  connect(end, &QPushButton::clicked, this, &QDialog::accept);
  connect(holdingYears_, &QSpinBox::valueChanged, this, [this](int years) {
    platform::ui::guarded(this, ctx_.desktop, [&] {
      params_.holdingYears = years;
      compute();
    });
  });
  platform::ui::EnterPressesButton::install(this);
  compute();
  if (QScreen* screen = this->screen()) resize(screen->availableGeometry().size() * 0.95);
}

// The figures, the class and the charts; on a screen too low for all of them the page scrolls
// rather than squeeze the charts out of reading.
QWidget* RischioRendimento::buildRiskPage() {
  auto* scroll = new QScrollArea(tabs_);
  scroll->setObjectName("ScorriRischio");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* page = new QWidget(scroll);
  figures_ = new FiguresTable(page);
  chart_ = new HistoryChart(page);
  chart_->setMinimumHeight(kChartMinHeight);
  classFrame_ = buildClassFrame();
  top_ = new QBoxLayout(QBoxLayout::LeftToRight);
  top_->addWidget(figures_, 0, Qt::AlignTop | Qt::AlignLeft);
  top_->addWidget(classFrame_, 1, Qt::AlignTop);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(top_);
  layout->addWidget(chart_, 1);
  scroll->setWidget(page);
  return scroll;
}

QWidget* RischioRendimento::buildClassFrame() {
  auto* frame = new QFrame(tabs_);
  frame->setObjectName("FrameClasse");
  frame->setFrameShape(QFrame::StyledPanel);
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(new QLabel("Classe di rischio (MRM)", frame));
  boxes->addSpacing(8);
  for (int i = 0; i < 7; ++i) {
    classBoxes_[i] = new QLabel(QString::number(i + 1), frame);
    classBoxes_[i]->setObjectName(QString("LbClasse_%1").arg(i + 1));
    classBoxes_[i]->setAlignment(Qt::AlignCenter);
    classBoxes_[i]->setFixedSize(30, 30);
    boxes->addWidget(classBoxes_[i]);
  }
  boxes->addStretch(1);
  classText_ = new QLabel(frame);
  classText_->setObjectName("LbVev");
  classText_->setWordWrap(true);
  auto* caveat = new QLabel(kMarketRiskCaption, frame);
  caveat->setWordWrap(true);
  QFont italic = caveat->font();
  italic.setItalic(true);
  caveat->setFont(italic);
  auto* layout = new QVBoxLayout(frame);
  layout->addLayout(boxes);
  layout->addWidget(classText_);
  layout->addWidget(caveat);
  return frame;
}

QWidget* RischioRendimento::buildMapPage() {
  auto* page = new QWidget(tabs_);
  map_ = new ReturnsMapTable(page);
  mapNote_ = new QLabel(page);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(map_, 1);
  layout->addWidget(mapNote_);
  return page;
}

void RischioRendimento::compute() {
  indexdata::WaitScope wait(ctx_.desktop);
  const RiskResult result = computeRisk(*ctx_.lookup, params_);
  figures_->show(figureTable(result));
  // Whole: where the page is narrower, its scroll bar reaches the last columns.
  figures_->setFixedSize(figures_->fullWidth(), figures_->fullHeight());
  showClass(result.mrm);
  chart_->show(result);
  map_->show(result.map);
  mapNote_->setText(
      QString("Variazioni %1 mese per mese, come nella vista annuale (%2); P = mese coperto solo "
              "in parte dalla storia.")
          .arg("%")
          .arg(params_.startRule == statind::StartRule::Previous ? "dall'indice precedente"
                                                                 : "dal 1\u00b0 indice utile"));
}

void RischioRendimento::showClass(const MarketRisk& mrm) {
  for (int i = 0; i < 7; ++i)
    classBoxes_[i]->setStyleSheet(classStyle(i + 1, mrm.riskClass == i + 1));
  classText_->setText(qs(riskClassText(mrm) == "dati insufficienti"
                             ? "dati insufficienti: meno di due anni di indici"
                             : "classe " + riskClassText(mrm) + " - " + riskDetailText(mrm)));
}

// On a narrow screen the class goes under the figures, so that every column of the figures
// stays whole.
void RischioRendimento::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const int needed = figures_->fullWidth() + classFrame_->minimumSizeHint().width() +
                     top_->spacing() + 4 * layout()->contentsMargins().left() +
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  top_->setDirection(width() >= needed ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
}

void RischioRendimento::keyPressEvent(QKeyEvent* event) {
  bool handled = false;
  platform::ui::guarded(this, ctx_.desktop, [&] {
    handled = startup::ui::handleFunctionKey(event->key(), event->modifiers(), this, ctx_);
  });
  if (handled)
    event->accept();
  else
    QDialog::keyPressEvent(event);
}

}  // namespace risk::ui
