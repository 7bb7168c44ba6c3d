// The chart's option boxes that the statistics window and the comparison window both offer: four
// overlays (Check1: "Media", "Min/Max", "StdDev", "BestFit") and three axis rules (Check2:
// "Origine Y=0", "Y", "X"). With the window's pair of radio buttons they show and make up the
// WindowOptions a window stores; each window lays the boxes out in its own way.
#pragma once

#include <array>

#include "statind/WindowOptions.h"

class QCheckBox;
class QRadioButton;
class QWidget;

namespace statind::ui {

using OverlayBoxes = std::array<QCheckBox*, 4>;
using AxisBoxes = std::array<QCheckBox*, 3>;
using OptionPair = std::array<QRadioButton*, 2>;

// Creates the boxes, unchecked and in no layout, as children of `parent` named Check1_0 to
// Check1_3 and Check2_0 to Check2_2, the overlays first.
void createChartBoxes(QWidget* parent, OverlayBoxes& overlays, AxisBoxes& axes);

// The options shown: option 1 when `pair[1]` is checked, else 0; each box's flag 1 when checked.
WindowOptions chartOptions(const OptionPair& pair, const OverlayBoxes& overlays,
                           const AxisBoxes& axes);

// Shows `options`: `pair[0]` checked for option 0, `pair[1]` for any other; a box checked when
// its flag is 1 or more.
void showChartOptions(const WindowOptions& options, const OptionPair& pair,
                      const OverlayBoxes& overlays, const AxisBoxes& axes);

}  // namespace statind::ui
