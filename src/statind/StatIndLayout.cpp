#include "statind/StatIndLayout.h"

#include <algorithm>
#include <numeric>

namespace statind {

namespace {

constexpr int kMargin = 60;
constexpr int kGap = 40;
constexpr int kPaneHeight = 1000;
constexpr int kPeriodHeight = 480;
constexpr int kFrameDatiHeight = 1750;
constexpr int kFrameStatHeight = 1000;  // two rows of option boxes
constexpr int kOptionRowHeight = 330;
constexpr int kOptionPadding = 150;  // frame border and margins, each side

int ceilDiv(int a, int b) {
  return (a + b - 1) / b;
}

}  // namespace

StatIndLayout::StatIndLayout(int usableWidth) : usableWidth_(usableWidth) {}

int StatIndLayout::designGridWidth() {
  return std::accumulate(kColumnWidths.begin(), kColumnWidths.end(), 0,
                         [](int sum, int width) { return sum + width + 5; });
}

int StatIndLayout::gridWidth() const {
  return designGridWidth() + (usableWidth_ < kNarrowScreen ? kNarrowExtra : 0);
}

int StatIndLayout::optionRows(int columns) {
  columns = std::clamp(columns, 1, 4);
  return ceilDiv(4, columns) + ceilDiv(3, columns);
}

StatIndAreas StatIndLayout::arrange(int width, int height, int optionCell) const {
  width = std::max(width, kMinWidth);
  height = std::max(height, kMinHeight);
  StatIndAreas a;
  a.pane = {kMargin, kMargin, width - 2 * kMargin, kPaneHeight};
  a.period = {kMargin, a.pane.bottom() + kGap, width - 2 * kMargin, kPeriodHeight};
  const int resultsTop = a.period.bottom() + kGap;
  const int w = gridWidth();
  a.frameDati = {kMargin, resultsTop, w, kFrameDatiHeight};
  a.grid = {kMargin, a.frameDati.bottom() + kGap, w, 0};
  a.grid.height = std::max(0, height - a.grid.top - kGap);
  // The chart starts 35 twips right of the grid and ends inside the window.
  const int chartLeft = a.grid.right() + 35;
  const int chartWidth = std::max(0, width - chartLeft - kMargin);
  if (optionCell > 0) {
    a.optionColumns = std::clamp((chartWidth - 2 * kOptionPadding) / optionCell, 1, 4);
  }
  const int optionHeight =
      kFrameStatHeight + std::max(0, optionRows(a.optionColumns) - 2) * kOptionRowHeight;
  a.frameStat = {chartLeft, height - optionHeight - kGap, chartWidth, optionHeight};
  a.chart = {chartLeft, resultsTop, chartWidth, std::max(0, a.frameStat.top - resultsTop)};
  return a;
}

}  // namespace statind
