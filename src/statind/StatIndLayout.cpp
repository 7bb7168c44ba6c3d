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
constexpr int kFrameStatHeight = 1000;

}  // namespace

StatIndLayout::StatIndLayout(int usableWidth) : usableWidth_(usableWidth) {}

int StatIndLayout::designGridWidth() {
  return std::accumulate(kColumnWidths.begin(), kColumnWidths.end(), 0,
                         [](int sum, int width) { return sum + width + 5; });
}

int StatIndLayout::gridWidth() const {
  return designGridWidth() + (usableWidth_ < kNarrowScreen ? kNarrowExtra : 0);
}

StatIndAreas StatIndLayout::arrange(int width, int height) const {
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
  a.frameStat = {chartLeft, height - kFrameStatHeight - kGap, chartWidth, kFrameStatHeight};
  a.chart = {chartLeft, resultsTop, chartWidth, std::max(0, a.frameStat.top - resultsTop)};
  return a;
}

}  // namespace statind
