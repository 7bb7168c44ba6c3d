#include "versus/ui/VersusChart.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QMouseEvent>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "platform/ui/ChartAxes.h"
#include "statind/ui/ChartColours.h"
#include "versus/VersusText.h"

namespace versus::ui {

namespace {

qreal msecs(platform::DayNumber day) {
  const QDate date = QDate(1899, 12, 30).addDays(day);
  return static_cast<qreal>(QDateTime(date, QTime(12, 0)).toMSecsSinceEpoch());
}

}  // namespace

VersusChart::VersusChart(QLabel* legend, QWidget* parent)
    : QChartView(new QChart, parent), legend_(legend), x_(new QDateTimeAxis), y_(new QValueAxis) {
  setObjectName("GraficoConfronto");
  setRenderHint(QPainter::Antialiasing);
  setMouseTracking(true);
  QChart* c = chart();
  c->setLocalizeNumbers(true);
  c->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
  c->setMargins(QMargins(4, 4, 4, 4));
  c->legend()->hide();
  legend_->setWordWrap(true);
  legend_->setTextFormat(Qt::RichText);
  legend_->setContentsMargins(8, 0, 8, 4);
  x_->setFormat("MM/yyyy");
  c->addAxis(x_, Qt::AlignBottom);
  c->addAxis(y_, Qt::AlignLeft);
  connect(c, &QChart::plotAreaChanged, this, [this] { fitDates(); });
}

void VersusChart::fitDates() {
  const QRectF area = chart()->plotArea();
  if (area.width() <= 0) return;
  const QString sample = x_->format() == "MM/yyyy" ? "00/0000" : "00/00/00";
  const int ticks =
      platform::ui::dateTickCount(area.width(), QFontMetricsF(x_->labelsFont()), sample, 13);
  if (ticks != x_->tickCount()) x_->setTickCount(ticks);
}

void VersusChart::show(const VersusResult* result) {
  chart()->removeAllSeries();
  times_.clear();
  codes_.clear();
  values_.clear();
  legend_->clear();
  if (!result || result->chart.dates.empty()) {
    chart()->setTitle("");
    return;
  }
  chart()->setTitle(QString::fromStdString("Valore di 100 investiti il " +
                                           platform::formatDate(result->period.from)));
  for (auto day : result->chart.dates) times_.push_back(msecs(day));
  values_ = result->chart.values;
  double low = 100, high = 100;
  auto* level = new QLineSeries;
  level->append(times_.front(), 100);
  level->append(times_.back(), 100);
  level->setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
  chart()->addSeries(level);
  // The first product chosen (usually the client's) stands out by a thicker line.
  QStringList entries;
  for (std::size_t p = 0; p < result->products.size(); ++p) {
    codes_.push_back(result->products[p].product);
    auto* line = new QLineSeries;
    const QColor colour = statind::ui::seriesColour(static_cast<int>(p));
    const QString text = QString::fromStdString(legendText(result->products[p]));
    line->setName(text);
    line->setPen(QPen(colour, p == 0 ? 2.5 : 1.8));
    entries << QStringLiteral("<span style=\"color:%1\">&#9632;</span>&nbsp;%2")
                   .arg(colour.name(), text.toHtmlEscaped().replace(' ', "&nbsp;"));
    for (std::size_t i = 0; i < times_.size(); ++i) {
      const double v = values_[p][i];
      line->append(times_[i], v);
      low = std::min(low, v);
      high = std::max(high, v);
    }
    chart()->addSeries(line);
  }
  for (QAbstractSeries* series : chart()->series()) {
    series->attachAxis(x_);
    series->attachAxis(y_);
  }
  legend_->setText(entries.join(" &nbsp;&nbsp; "));
  const double margin = std::max((high - low) * 0.05, 1.0);
  y_->setRange(low - margin, high + margin);
  y_->applyNiceNumbers();
  y_->setLabelFormat("%.0f");
  const QDateTime first = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(times_.front()));
  const QDateTime last = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(times_.back()));
  x_->setRange(first, last);
  const qint64 days = first.daysTo(last);
  x_->setFormat(days <= 400 ? "dd/MM/yy" : "MM/yyyy");
  fitDates();
}

std::size_t VersusChart::nearestDate(qreal x) const {
  if (times_.empty()) return 0;
  const auto after = std::lower_bound(times_.begin(), times_.end(), x);
  if (after == times_.begin()) return 0;
  if (after == times_.end()) return times_.size() - 1;
  const auto before = std::prev(after);
  return static_cast<std::size_t>((x - *before <= *after - x ? before : after) - times_.begin());
}

QString VersusChart::pointText(std::size_t index) const {
  if (index >= times_.size()) return {};
  QString text = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(times_[index]))
                     .date()
                     .toString("dd/MM/yyyy");
  for (std::size_t p = 0; p < codes_.size(); ++p)
    text += "\n" + QString::fromStdString(codes_[p] + " " +
                                          platform::formatNumber(values_[p][index], "#0.00"));
  return text;
}

void VersusChart::mouseMoveEvent(QMouseEvent* event) {
  QChartView::mouseMoveEvent(event);
  const QPointF inScene = mapToScene(event->position().toPoint());
  const QPointF inChart = chart()->mapFromScene(inScene);
  if (times_.empty() || !chart()->plotArea().contains(inChart)) {
    QToolTip::hideText();
    return;
  }
  const QPointF value = chart()->mapToValue(inChart);
  QToolTip::showText(event->globalPosition().toPoint(), pointText(nearestDate(value.x())), this);
}

}  // namespace versus::ui
