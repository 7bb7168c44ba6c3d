#include "statind/ui/GraphView.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QSet>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "platform/Format.h"
#include "platform/ui/ChartAxes.h"
#include "statind/ui/ChartColours.h"

namespace statind::ui {

namespace {

// About one value label per this many pixels of the Y axis.
constexpr int kYLabelSpacing = 50;

QLineSeries* lineSeries(const QString& name, const QColor& colour, Qt::PenStyle style) {
  auto* series = new QLineSeries;
  series->setName(name);
  QPen pen(colour, 2, style);
  pen.setCosmetic(true);
  series->setPen(pen);
  return series;
}

// A horizontal line across all points at `y`.
QLineSeries* levelLine(const QString& name, const QColor& colour, Qt::PenStyle style, double y,
                       int pointCount) {
  auto* series = lineSeries(name, colour, style);
  series->append(0, y);
  series->append(pointCount - 1, y);
  return series;
}

// Category texts must be unique for the axis, and never null (the axis skips a null text, and
// every later point would slide one place): empty labels become zero-width characters, and
// repeated ones get more of them, so that each point keeps its own place.
QStringList unique(const QStringList& labels) {
  QStringList result;
  QSet<QString> seen;
  for (QString label : labels) {
    if (label.isEmpty()) label = QChar(0x200B);
    while (seen.contains(label)) label += QChar(0x200B);
    seen.insert(label);
    result << label;
  }
  return result;
}

QString legendText(const std::vector<LegendEntry>& legend, int overlay, int nth = 0) {
  for (const LegendEntry& entry : legend) {
    if (entry.overlay == overlay && nth-- == 0) return QString::fromStdString(entry.text);
  }
  return {};
}

}  // namespace

GraphView::GraphView(GraphModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      chart_(new QChart),
      view_(new QChartView(chart_, this)),
      legend_(new QLabel(this)),
      axisX_(new QBarCategoryAxis),
      axisY_(new QCategoryAxis) {
  chart_->addAxis(axisX_, Qt::AlignBottom);
  chart_->addAxis(axisY_, Qt::AlignLeft);
  // X labels that do not fit are left out (fitToPlot), never cut.
  axisX_->setTruncateLabels(false);
  connect(chart_, &QChart::plotAreaChanged, this, [this] { fitToPlot(); });
  setObjectName("Graph1");
  chart_->setLocalizeNumbers(true);
  chart_->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
  chart_->legend()->hide();
  chart_->setMargins(QMargins(4, 4, 4, 4));
  legend_->setObjectName("Graph1_legenda");
  legend_->setWordWrap(true);
  legend_->setTextFormat(Qt::RichText);
  legend_->setContentsMargins(8, 0, 8, 4);
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setFocusPolicy(Qt::NoFocus);  // nothing in the chart answers keys: Tab passes it by
  // The series items report bounds that leave out the antialiased rim of their point markers:
  // repainting only the changed items would keep slivers of the earlier chart's markers at the
  // plot's edges and cut the new ones. Every redraw replaces the whole chart anyway, so the
  // whole view is repainted.
  view_->setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(view_, 1);
  layout->addWidget(legend_);
  model_.setRedrawListener([this] { redraw(); });
  redraw();
}

GraphView::~GraphView() {
  model_.setRedrawListener(nullptr);
}

void GraphView::setValueText(const std::string& format, const std::string& suffix) {
  valueFormat_ = format;
  valueSuffix_ = suffix;
}

// The axes live as long as the view: axes taken out of a chart leave their drawing behind until
// the event loop comes round, which a redraw inside a longer handler would show.
void GraphView::redraw() {
  chart_->removeAllSeries();
  chart_->setTitle(QString::fromStdString(model_.title()));
  labels_.clear();
  for (const auto& point : model_.points())
    labels_ << (point.label ? QString::fromStdString(*point.label) : QString());
  axisX_->clear();
  axisX_->append(unique(labels_));
  const std::vector<LegendEntry> legend = chartLegend(model_, valueFormat_);
  Range range{INFINITY, -INFINITY};
  addBand(range, legendText(legend, GraphModel::kOverlayStdDev));  // first: lines go over it
  addDataSeries(range);
  addOverlays(range, legend);
  if (!std::isfinite(range.min)) range = {0, 1};  // nothing written yet
  if (model_.yAxisMode() == 0) {
    range.min = std::min(0.0, range.min);
    range.max = std::max(0.0, range.max);
  }
  const double span = range.max - range.min;
  const double pad = span > 0 ? span * 0.05 : std::max(1.0, std::fabs(range.max) * 0.05);
  if (model_.yAxisMode() != 0 || range.min < 0) range.min -= pad;
  range.max += pad;
  yRange_ = range;
  axisY_->setGridLineVisible((model_.gridStyle() & 1) != 0);
  axisX_->setGridLineVisible((model_.gridStyle() & 2) != 0);
  addLegends();
  showLegend(legend);
  fitToPlot();
}

void GraphView::showLegend(const std::vector<LegendEntry>& legend) {
  QStringList entries;
  for (const LegendEntry& entry : legend) {
    QColor colour = model_.type() == GraphModel::kBars ? kBarColour : kIndexColour;
    if (entry.overlay == GraphModel::kOverlayStdDev) colour = kBandEdgeColour;
    if (entry.overlay == GraphModel::kOverlayMean) colour = kMeanColour;
    if (entry.overlay == GraphModel::kOverlayMinMax)
      colour = entry.text.starts_with("Min") ? kMinColour : kMaxColour;
    if (entry.overlay == GraphModel::kOverlayBestFit) colour = kFitColour;
    entries << QString(
                   "<span style=\"white-space:nowrap\"><span style=\"color:%1\">&#9632;</span>"
                   "&nbsp;%2</span>")
                   .arg(colour.name(), QString::fromStdString(entry.text).toHtmlEscaped());
  }
  legend_->setText(entries.join(" &nbsp;&nbsp; "));
}

QString GraphView::pointText(int index) const {
  const auto& points = model_.points();
  if (index < 0 || index >= static_cast<int>(points.size()) || !points[index].value) return {};
  const GraphPoint& point = points[index];
  const std::string when = point.when ? *point.when : point.label.value_or("");
  return QString::fromStdString(when + ": " + platform::formatNumber(*point.value, valueFormat_) +
                                valueSuffix_);
}

void GraphView::showTip(int index, bool on) {
  const QString text = on ? pointText(index) : QString();
  if (text.isEmpty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(QCursor::pos(), text, view_);
  }
}

void GraphView::addLegends() {
  for (const Legend& legend : legends_) delete legend.item;
  legends_.clear();
  const auto& points = model_.points();
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!points[i].legend || !points[i].value) continue;
    auto* item =
        new QGraphicsSimpleTextItem(QString::fromStdString(*points[i].legend).trimmed(), chart_);
    item->setZValue(10);
    legends_.push_back({item, static_cast<double>(i), *points[i].value});
  }
}

void GraphView::fitToPlot() {
  if (fitting_) return;
  fitting_ = true;
  const QRectF plot = chart_->plotArea();
  if (plot.width() > 0 && plot.height() > 0) {
    const QStringList shown = unique(
        platform::ui::fittingLabels(labels_, plot.width(), QFontMetricsF(axisX_->labelsFont())));
    if (shown != axisX_->categories()) {
      axisX_->clear();
      axisX_->append(shown);
    }
    const auto ticks = platform::ui::niceTicks(yRange_.min, yRange_.max,
                                               static_cast<int>(plot.height()), kYLabelSpacing);
    if (ticks.labels != axisY_->categoriesLabels() || ticks.min != axisY_->min() ||
        ticks.max != axisY_->max())
      platform::ui::showTicks(axisY_, ticks);
  }
  placeLegends();
  fitting_ = false;
}

// Each legend over its bar (under it for a negative value); one that would run into the legend
// shown before it is left out.
void GraphView::placeLegends() {
  if (chart_->series().isEmpty()) return;
  QRectF previous;
  for (const Legend& legend : legends_) {
    const QPointF at = chart_->mapToPosition(QPointF(legend.x, legend.y), chart_->series().last());
    const QRectF box = legend.item->boundingRect();
    const double top = legend.y >= 0 ? at.y() - box.height() - 2 : at.y() + 2;
    legend.item->setPos(at.x() - box.width() / 2, top);
    const QRectF placed = legend.item->sceneBoundingRect().adjusted(-2, 0, 2, 0);
    const bool clear = previous.isNull() || !placed.intersects(previous);
    legend.item->setVisible(clear);
    if (clear) previous = placed;
  }
}

void GraphView::attach(QAbstractSeries* series) {
  chart_->addSeries(series);
  series->attachAxis(axisX_);
  series->attachAxis(axisY_);
}

void GraphView::addDataSeries(Range& range) {
  const auto& points = model_.points();
  const QString name = QString::fromStdString(model_.seriesName());
  QAbstractSeries* added = nullptr;
  if (model_.type() == GraphModel::kBars) {
    auto* set = new QBarSet(name);
    set->setColor(kBarColour);
    for (const auto& point : points) *set << point.value.value_or(0.0);
    connect(set, &QBarSet::hovered, this, [this](bool on, int index) { showTip(index, on); });
    auto* series = new QBarSeries;
    series->append(set);
    added = series;
  } else {
    auto* series = lineSeries(name, kIndexColour, Qt::SolidLine);
    series->setPointsVisible(true);
    series->setMarkerSize(5);
    for (std::size_t i = 0; i < points.size(); ++i) {
      if (points[i].value) series->append(static_cast<double>(i), *points[i].value);
    }
    connect(series, &QLineSeries::hovered, this, [this](const QPointF& at, bool on) {
      showTip(static_cast<int>(std::lround(at.x())), on);
    });
    added = series;
  }
  for (const auto& point : points) {
    if (!point.value) continue;
    range.min = std::min(range.min, *point.value);
    range.max = std::max(range.max, *point.value);
  }
  attach(added);
}

void GraphView::addBand(Range& range, const QString& name) {
  const Overlays o = model_.overlays();
  if (o.count == 0 || !model_.showsOverlay(GraphModel::kOverlayStdDev)) return;
  const int n = model_.pointCount();
  auto* upper = levelLine("", kBandColour, Qt::SolidLine, o.mean + o.stdDev, n);
  auto* lower = levelLine("", kBandColour, Qt::SolidLine, o.mean - o.stdDev, n);
  auto* band = new QAreaSeries(upper, lower);
  upper->setParent(band);
  lower->setParent(band);
  band->setName(name);
  band->setBrush(kBandColour);
  band->setPen(QPen(kBandEdgeColour, 1));
  attach(band);
  range.min = std::min(range.min, o.mean - o.stdDev);
  range.max = std::max(range.max, o.mean + o.stdDev);
}

void GraphView::addOverlays(Range& range, const std::vector<LegendEntry>& legend) {
  const Overlays o = model_.overlays();
  if (o.count == 0) return;
  const int n = model_.pointCount();
  std::vector<QAbstractSeries*> added;
  if (model_.showsOverlay(GraphModel::kOverlayMean)) {
    added.push_back(levelLine(legendText(legend, GraphModel::kOverlayMean), kMeanColour,
                              Qt::DashLine, o.mean, n));
  }
  if (model_.showsOverlay(GraphModel::kOverlayMinMax)) {
    added.push_back(levelLine(legendText(legend, GraphModel::kOverlayMinMax, 0), kMinColour,
                              Qt::DotLine, o.min, n));
    added.push_back(levelLine(legendText(legend, GraphModel::kOverlayMinMax, 1), kMaxColour,
                              Qt::DotLine, o.max, n));
  }
  if (model_.showsOverlay(GraphModel::kOverlayBestFit)) {
    auto* fit =
        lineSeries(legendText(legend, GraphModel::kOverlayBestFit), kFitColour, Qt::SolidLine);
    fit->append(0, o.fitAt(1));
    fit->append(n - 1, o.fitAt(n));
    added.push_back(fit);
    range.min = std::min({range.min, o.fitAt(1), o.fitAt(n)});
    range.max = std::max({range.max, o.fitAt(1), o.fitAt(n)});
  }
  for (QAbstractSeries* series : added) attach(series);
}

}  // namespace statind::ui
