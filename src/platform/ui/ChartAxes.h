// Axis labels chosen from the room an axis has on screen, the same way in every chart: value
// axes get about one label per `spacing` pixels on a round step (1, 2, 2,5 or 5 times a power of
// ten), in the Italian number format with the decimals the step needs, so that no two labels
// read alike and "-0" never shows; category labels that would run into each other are left
// out; date axes get as many ticks as their labels have room for.
#pragma once

#include <QFontMetricsF>
#include <QStringList>

class QCategoryAxis;

namespace platform::ui {

struct AxisTicks {
  double min = 0, max = 1, step = 1;
  int decimals = 0;
  QStringList labels;  // one per tick, from min to max
};

// The ticks for data from `low` to `high` on an axis `length` pixels long. A flat range (low equal
// to high) is widened around its value. `length` below `spacing` still gives two ticks.
AxisTicks niceTicks(double low, double high, int length, int spacing = 44);
// Shows `ticks` on `axis`: its range, and each label on its tick's value.
void showTicks(QCategoryAxis* axis, const AxisTicks& ticks);
// The labels of a category axis `width` pixels wide that fit side by side: a label at either end
// that would cross the edge moves to the nearest point without a label (at most three away);
// then, from the left, a label is kept when it clears the one kept before it by a gap. The
// others become empty.
QStringList fittingLabels(const QStringList& labels, double width, const QFontMetricsF& metrics);
// How many ticks a date axis `width` pixels wide has room for with labels like `sample`; at least
// 2, at most `most`.
int dateTickCount(double width, const QFontMetricsF& metrics, const QString& sample, int most);

}  // namespace platform::ui
