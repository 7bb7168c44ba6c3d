// The colours of the index chart's series, one set for the chart on screen and the chart
// printed on a client sheet, so that a reader finds the same line in the same colour on both.
#pragma once

#include <QColor>

namespace statind::ui {

inline const QColor kIndexColour(31, 78, 154);
inline const QColor kBarColour(91, 139, 214);
inline const QColor kMeanColour(39, 130, 80);
inline const QColor kMinColour(192, 57, 43);
inline const QColor kMaxColour(211, 132, 0);
// The standard deviation band: translucent, so that the index line shows through it.
inline const QColor kBandColour(243, 156, 18, 55);
inline const QColor kBandEdgeColour(243, 156, 18, 140);
inline const QColor kFitColour(142, 68, 173);

// Products drawn side by side, in the order they were chosen: eight tones told apart on screen
// and in print, the first the index's own.
inline const QColor kSeriesColours[] = {
    kIndexColour,         QColor(214, 96, 20), QColor(46, 140, 70),  QColor(192, 40, 60),
    QColor(128, 80, 170), QColor(0, 150, 160), QColor(140, 100, 50), QColor(110, 110, 110)};
inline const QColor& seriesColour(int place) {
  constexpr int count = sizeof kSeriesColours / sizeof kSeriesColours[0];
  return kSeriesColours[((place % count) + count) % count];
}

}  // namespace statind::ui
