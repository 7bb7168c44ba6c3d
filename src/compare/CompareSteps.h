// The rules behind the comparison window's lists and spinners, on list positions only, so that
// they hold without a window: the month spinner's wrap, the year spinners' stops, when the view
// switches between all months and one month, and where the chart goes in each view.
#pragma once

#include <optional>

namespace compare {

// The month spinner from `month` (0 = the blank entry, 1..12): down from January or the blank
// goes to December, up from December or the blank to January. Never the blank entry.
int monthStep(int month, bool up);
// A year spinner at list position `position` of `count` entries: the next position, or nullopt
// past either end (no wrap).
std::optional<int> yearStep(int position, int count, bool up);
// Whether the chart moves: the month choice switched between 0 (all months) and 1..12.
bool viewSwitched(int month, int previousMonth);

// A chart's place, in the caller's unit; never narrower or lower than 0.
struct ChartPlace {
  int left = 0, top = 0, width = 0, height = 0;
};
// All months: the chart across the window's inner width, from `chartTop` (under the option
// frame) to the bottom.
ChartPlace allMonthsPlace(int innerWidth, int innerHeight, int chartTop);
// One month: the chart `gap` to the right of the grid of width `gridWidth`, to the window's
// right edge.
ChartPlace oneMonthPlace(int innerWidth, int innerHeight, int gridWidth, int gap, int chartTop);

}  // namespace compare
