#include "risk/ui/HistoryChart.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QLocale>
#include <QScatterSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace risk::ui {

namespace {

qreal msecs(platform::DayNumber day) {
  const QDate date = QDate(1899, 12, 30).addDays(day);
  return static_cast<qreal>(QDateTime(date, QTime(12, 0)).toMSecsSinceEpoch());
}

QString dateText(platform::DayNumber day) {
  return QString::fromStdString(platform::formatDate(day));
}

QChart* newChart(QDateTimeAxis*& x, QValueAxis*& y) {
  auto* chart = new QChart;
  chart->setLocalizeNumbers(true);
  chart->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
  chart->setMargins(QMargins(4, 4, 4, 4));
  chart->legend()->setAlignment(Qt::AlignBottom);
  x = new QDateTimeAxis;
  x->setFormat("MM/yyyy");
  y = new QValueAxis;
  chart->addAxis(x, Qt::AlignBottom);
  chart->addAxis(y, Qt::AlignLeft);
  return chart;
}

QChartView* viewOf(QChart* chart, QWidget* parent) {
  auto* view = new QChartView(chart, parent);
  view->setRenderHint(QPainter::Antialiasing);
  return view;
}

// One marked point with its name and date in the legend.
void addMarker(QChart* chart, const QString& name, const SeriesPoint& point, QColor colour,
               QAbstractAxis* x, QAbstractAxis* y) {
  auto* marker = new QScatterSeries;
  marker->setName(name + " " + dateText(point.date));
  marker->setColor(colour);
  marker->setBorderColor(Qt::black);
  marker->setMarkerSize(11);
  marker->append(msecs(point.date), point.value);
  chart->addSeries(marker);
  marker->attachAxis(x);
  marker->attachAxis(y);
}

const SeriesPoint* pointOn(const std::vector<SeriesPoint>& history,
                           std::optional<platform::DayNumber> day) {
  if (!day) return nullptr;
  auto found =
      std::lower_bound(history.begin(), history.end(), *day,
                       [](const SeriesPoint& p, platform::DayNumber d) { return p.date < d; });
  return found != history.end() && found->date == *day ? &*found : nullptr;
}

}  // namespace

HistoryChart::HistoryChart(QWidget* parent)
    : QWidget(parent),
      index_(newChart(indexX_, indexY_)),
      underwater_(newChart(underwaterX_, underwaterY_)) {
  setObjectName("GraficoStorico");
  underwater_->legend()->setVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(viewOf(index_, this), 3);
  layout->addWidget(viewOf(underwater_, this), 2);
  index_->legend()->setAlignment(Qt::AlignTop);
}

void HistoryChart::show(const RiskResult& result) {
  index_->removeAllSeries();
  underwater_->removeAllSeries();
  index_->setTitle("Indice dall'inizio della storia");
  underwater_->setTitle("Distanza dal massimo precedente (%)");
  const auto& history = result.history;
  if (history.empty()) return;

  auto* line = new QLineSeries;
  line->setName("indice");
  auto* depth = new QLineSeries;
  auto* zero = new QLineSeries;
  double low = history.front().value, high = low, deepest = 0;
  for (std::size_t i = 0; i < history.size(); ++i) {
    const qreal x = msecs(history[i].date);
    line->append(x, history[i].value);
    depth->append(x, result.underwater[i] * 100);
    zero->append(x, 0);
    low = std::min(low, history[i].value);
    high = std::max(high, history[i].value);
    deepest = std::min(deepest, result.underwater[i] * 100);
  }
  index_->addSeries(line);
  line->attachAxis(indexX_);
  line->attachAxis(indexY_);
  const Drawdown& dd = result.windows.back().maxDrawdown;
  if (const SeriesPoint* peak = pointOn(history, dd.peak))
    addMarker(index_, "picco", *peak, QColor(40, 120, 200), indexX_, indexY_);
  if (const SeriesPoint* trough = pointOn(history, dd.trough))
    addMarker(index_, "minimo", *trough, QColor(210, 50, 40), indexX_, indexY_);
  if (const SeriesPoint* back = pointOn(history, dd.recovery))
    addMarker(index_, "recupero", *back, QColor(60, 160, 80), indexX_, indexY_);
  const double margin = std::max((high - low) * 0.05, high * 0.001);
  indexY_->setRange(std::max(0.0, low - margin), high + margin);
  indexY_->applyNiceNumbers();
  indexY_->setLabelFormat(indexY_->max() - indexY_->min() >= 10 ? "%.0f" : "%.2f");

  auto* area = new QAreaSeries(zero, depth);
  area->setColor(QColor(222, 85, 70, 150));
  area->setBorderColor(QColor(180, 40, 30));
  underwater_->addSeries(area);
  area->attachAxis(underwaterX_);
  area->attachAxis(underwaterY_);
  underwaterY_->setRange(std::min(-1.0, deepest * 1.05), 0);
  underwaterY_->applyNiceNumbers();
  underwaterY_->setLabelFormat("%.0f");

  const QDateTime first = QDateTime::fromMSecsSinceEpoch(msecs(history.front().date));
  const QDateTime last = QDateTime::fromMSecsSinceEpoch(msecs(history.back().date));
  for (QDateTimeAxis* x : {indexX_, underwaterX_}) {
    x->setRange(first, last);
    x->setTickCount(std::clamp(static_cast<int>(first.daysTo(last) / 365 / 2) + 2, 3, 15));
  }
}

}  // namespace risk::ui
