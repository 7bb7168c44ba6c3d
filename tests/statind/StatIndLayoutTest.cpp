#include "statind/StatIndLayout.h"

#include <gtest/gtest.h>

namespace statind {
namespace {

bool inside(const TwipsRect& r, int width, int height) {
  return r.left >= 0 && r.top >= 0 && r.right() <= width && r.bottom() <= height;
}

TEST(StatIndLayoutTest, GridWidthIsFixedAndWiderOnNarrowScreens) {
  EXPECT_EQ(StatIndLayout::designGridWidth(), 5925);
  EXPECT_EQ(StatIndLayout(19320).gridWidth(), 5925);
  EXPECT_EQ(StatIndLayout(9000).gridWidth(), 5925 + 230);
  const StatIndLayout narrow(9000);
  for (int grow : {0, 3000, 800}) {
    EXPECT_EQ(narrow.arrange(9600 + grow, 5000 + grow).grid.width, 5925 + 230) << grow;
  }
}

TEST(StatIndLayoutTest, AreasStayInsideTheWindowWithoutOverlapping) {
  const StatIndLayout layout(9000);
  for (auto [width, height] : {std::pair{9600, 5000}, {100, 100}, {19000, 14000}}) {
    const StatIndAreas a = layout.arrange(width, height, 1500);
    const int w = std::max(width, 9600), h = std::max(height, 5000);  // never below the minimum
    for (const TwipsRect& r : {a.pane, a.period, a.frameDati, a.grid, a.chart, a.frameStat}) {
      EXPECT_TRUE(inside(r, w, h)) << width << "x" << height;
    }
    EXPECT_GT(a.chart.left, a.grid.right());
    EXPECT_LE(a.chart.bottom(), a.frameStat.top);
    EXPECT_GT(a.chart.height, 0);
  }
}

TEST(StatIndLayoutTest, ChartOptionsWrapIntoTheFrameWidth) {
  EXPECT_EQ(StatIndLayout::optionRows(4), 2);
  EXPECT_EQ(StatIndLayout::optionRows(3), 3);
  EXPECT_EQ(StatIndLayout::optionRows(2), 4);
  EXPECT_EQ(StatIndLayout::optionRows(0), 7);  // never fewer than one box a row

  const StatIndLayout layout(19320);
  const StatIndAreas wide = layout.arrange(19000, 9000, 1500);
  EXPECT_EQ(wide.optionColumns, 4);
  EXPECT_EQ(wide.frameStat.height, 1000);
  // At the minimum size every box still fits across, and the frame is tall enough for the rows.
  const StatIndAreas least = layout.arrange(9600, 5000, 1500);
  EXPECT_LT(least.optionColumns, 4);
  EXPECT_LE(least.optionColumns * 1500, least.frameStat.width);
  EXPECT_GE(least.frameStat.height, StatIndLayout::optionRows(least.optionColumns) * 300);
  EXPECT_EQ(layout.arrange(9600, 5000).optionColumns, 4);  // no box width given
}

}  // namespace
}  // namespace statind
