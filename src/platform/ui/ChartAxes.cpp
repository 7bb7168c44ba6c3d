#include "platform/ui/ChartAxes.h"

#include <QCategoryAxis>
#include <algorithm>
#include <cmath>

#include "platform/Format.h"

namespace platform::ui {

namespace {

constexpr double kGap = 8;  // pixels between two category labels

std::string patternFor(int decimals) {
  std::string pattern = "#,###,###,##0";
  if (decimals > 0) {
    pattern += '.';
    pattern.append(static_cast<std::size_t>(decimals), '0');
  }
  return pattern;
}

}  // namespace

AxisTicks niceTicks(double low, double high, int length, int spacing) {
  if (!std::isfinite(low) || !std::isfinite(high)) low = 0, high = 1;
  if (high < low) std::swap(low, high);
  if (high == low) {
    const double pad = low == 0 ? 1 : std::fabs(low) * 0.05;
    low -= pad;
    high += pad;
  }
  const int intervals = std::max(1, length / std::max(1, spacing));
  const double raw = (high - low) / intervals;
  const int exponent = static_cast<int>(std::floor(std::log10(raw)));
  const double magnitude = std::pow(10.0, exponent);
  const double factor = raw / magnitude;
  const double round = factor <= 1     ? 1
                       : factor <= 2   ? 2
                       : factor <= 2.5 ? 2.5
                       : factor <= 5   ? 5
                                       : 10;
  AxisTicks ticks;
  ticks.step = round * magnitude;
  const int stepExponent = exponent + (round == 10 ? 1 : 0);
  ticks.decimals = std::clamp(-stepExponent + (round == 2.5 ? 1 : 0), 0, 9);
  // Ticks are whole multiples of the step, so that 0 is exactly 0 when it is one.
  const long long first = static_cast<long long>(std::floor(low / ticks.step + 1e-9));
  const long long last = static_cast<long long>(std::ceil(high / ticks.step - 1e-9));
  ticks.min = static_cast<double>(first) * ticks.step;
  ticks.max = static_cast<double>(std::max(last, first + 1)) * ticks.step;
  const std::string pattern = patternFor(ticks.decimals);
  for (long long n = first; n <= std::max(last, first + 1); ++n) {
    QString text =
        QString::fromStdString(formatNumber(static_cast<double>(n) * ticks.step, pattern));
    if (n == 0 && text.startsWith(QLatin1Char('-'))) text.remove(0, 1);
    ticks.labels << text;
  }
  return ticks;
}

void showTicks(QCategoryAxis* axis, const AxisTicks& ticks) {
  for (const QString& label : axis->categoriesLabels()) axis->remove(label);
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  axis->setStartValue(ticks.min);
  for (int i = 0; i < ticks.labels.size(); ++i)
    axis->append(ticks.labels[i], ticks.min + i * ticks.step);
  axis->setRange(ticks.min, ticks.max);
}

QStringList fittingLabels(const QStringList& labels, double width, const QFontMetricsF& metrics) {
  QStringList fitting = labels;
  if (labels.isEmpty()) return fitting;
  const double slot = width / labels.size();
  const auto half = [&](const QString& label) { return metrics.horizontalAdvance(label) / 2; };
  const auto blank = [&](int i) { return fitting[i].trimmed().isEmpty(); };
  // The chart hides a label that crosses the plot's edge: one at either end moves inwards to
  // the nearest point that has no label of its own (a year stays readable), or is left out.
  for (int end : {0, static_cast<int>(labels.size()) - 1}) {
    if (blank(end)) continue;
    const double h = half(fitting[end]);
    const auto inside = [&](int i) {
      return (i + 0.5) * slot - h >= 0 && (i + 0.5) * slot + h <= width;
    };
    if (inside(end)) continue;
    const int step = end == 0 ? 1 : -1;
    int to = end + step;
    while (to >= 0 && to < fitting.size() && !(blank(to) && inside(to))) to += step;
    if (to >= 0 && to < fitting.size() && std::abs(to - end) <= 3) fitting[to] = fitting[end];
    fitting[end] = QString();
  }
  double clearFrom = -1e9;
  for (int i = 0; i < fitting.size(); ++i) {
    if (blank(i)) continue;
    const double centre = (i + 0.5) * slot, h = half(fitting[i]);
    if (centre - h >= clearFrom) {
      clearFrom = centre + h + kGap;
    } else {
      fitting[i] = QString();
    }
  }
  return fitting;
}

int dateTickCount(double width, const QFontMetricsF& metrics, const QString& sample, int most) {
  const double label = metrics.horizontalAdvance(sample) + 2 * kGap;
  return std::clamp(static_cast<int>(width / label), 2, std::max(2, most));
}

}  // namespace platform::ui
