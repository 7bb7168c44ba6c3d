#include "risk/ui/HistoryChart.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QLocale>
#include <QScatterSeries>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ui/ChartAxes.h"

namespace risk::ui {

namespace {

qreal msecs(platform::DayNumber day) {
  const QDate date = QDate(1899, 12, 30).addDays(day);
  return static_cast<qreal>(QDateTime(date, QTime(12, 0)).toMSecsSinceEpoch());
}

QString dateText(platform::DayNumber day) {
  return QString::fromStdString(platform::formatDate(day));
}

QChart* newChart(QDateTimeAxis*& x, QCategoryAxis*& y) {
  auto* chart = new QChart;
  chart->setLocalizeNumbers(true);
  chart->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
  chart->setMargins(QMargins(4, 4, 4, 4));
  chart->legend()->setAlignment(Qt::AlignBottom);
  x = new QDateTimeAxis;
  x->setFormat("MM/yyyy");
  y = new QCategoryAxis;
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

// The point of `history` nearest to `day`; nullptr for an empty history.
const SeriesPoint* nearest(const std::vector<SeriesPoint>& history, qint64 day) {
  if (history.empty()) return nullptr;
  auto after = std::lower_bound(history.begin(), history.end(), day,
                                [](const SeriesPoint& p, qint64 d) { return p.date < d; });
  if (after == history.end()) return &history.back();
  if (after != history.begin() && day - std::prev(after)->date < after->date - day)
    return &*std::prev(after);
  return &*after;
}

}  // namespace

HistoryChart::HistoryChart(QWidget* parent) : QWidget(parent) {
  setObjectName("GraficoStorico");
  for (Plot* plot : {&index_, &underwater_}) {
    plot->chart = newChart(plot->x, plot->y);
    connect(plot->chart, &QChart::plotAreaChanged, this, [plot] { fit(*plot); });
  }
  underwater_.chart->legend()->setVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(viewOf(index_.chart, this), 3);
  layout->addWidget(viewOf(underwater_.chart, this), 2);
  index_.chart->legend()->setAlignment(Qt::AlignTop);
}

void HistoryChart::fit(Plot& plot) {
  const QRectF area = plot.chart->plotArea();
  if (area.width() <= 0 || area.height() <= 0) return;
  const int ticks = platform::ui::dateTickCount(area.width(), QFontMetricsF(plot.x->labelsFont()),
                                                "00/0000", plot.mostTicks);
  if (ticks != plot.x->tickCount()) plot.x->setTickCount(ticks);
  const auto y = platform::ui::niceTicks(plot.low, plot.high, static_cast<int>(area.height()), 36);
  if (y.labels != plot.y->categoriesLabels()) platform::ui::showTicks(plot.y, y);
}

void HistoryChart::show(const RiskResult& result) {
  QChart* index = index_.chart;
  QChart* underwater = underwater_.chart;
  index->removeAllSeries();
  underwater->removeAllSeries();
  index->setTitle("Indice dall'inizio della storia");
  underwater->setTitle("Distanza dal massimo precedente (%)");
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
  connect(line, &QLineSeries::hovered, this, [this, history](const QPointF& at, bool on) {
    if (!on) return QToolTip::hideText();
    const QDate date = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(at.x())).date();
    const SeriesPoint* point = nearest(history, QDate(1899, 12, 30).daysTo(date));
    if (!point) return QToolTip::hideText();
    QToolTip::showText(QCursor::pos(),
                       dateText(point->date) + ": " +
                           QString::fromStdString(platform::formatNumber(point->value, "#,##0.00")),
                       this);
  });
  index->addSeries(line);
  line->attachAxis(index_.x);
  line->attachAxis(index_.y);
  const Drawdown& dd = result.windows.back().maxDrawdown;
  if (const SeriesPoint* peak = pointOn(history, dd.peak))
    addMarker(index, "picco", *peak, QColor(40, 120, 200), index_.x, index_.y);
  if (const SeriesPoint* trough = pointOn(history, dd.trough))
    addMarker(index, "minimo", *trough, QColor(210, 50, 40), index_.x, index_.y);
  if (const SeriesPoint* back = pointOn(history, dd.recovery))
    addMarker(index, "recupero", *back, QColor(60, 160, 80), index_.x, index_.y);
  const double margin = std::max((high - low) * 0.05, high * 0.001);
  index_.low = std::max(0.0, low - margin);
  index_.high = high + margin;

  auto* area = new QAreaSeries(zero, depth);
  area->setColor(QColor(222, 85, 70, 150));
  area->setBorderColor(QColor(180, 40, 30));
  underwater->addSeries(area);
  area->attachAxis(underwater_.x);
  area->attachAxis(underwater_.y);
  // A flat history still shows a scale under its line: down to -1 %.
  underwater_.low = std::min(-1.0, deepest * 1.05);
  underwater_.high = 0;

  const QDateTime first = QDateTime::fromMSecsSinceEpoch(msecs(history.front().date));
  const QDateTime last = QDateTime::fromMSecsSinceEpoch(msecs(history.back().date));
  for (Plot* plot : {&index_, &underwater_}) {
    plot->x->setRange(first, last);
    plot->mostTicks = std::clamp(static_cast<int>(first.daysTo(last) / 365 / 2) + 2, 3, 15);
    fit(*plot);
  }
}

}  // namespace risk::ui
