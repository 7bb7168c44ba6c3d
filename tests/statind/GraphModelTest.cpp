#include "statind/GraphModel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace statind {
namespace {

GraphModel withValues(int count, std::initializer_list<std::pair<int, double>> values) {
  GraphModel model;
  model.setPointCount(count);
  for (auto [point, value] : values) {
    model.setThisPoint(point);
    model.setValue(value);
  }
  return model;
}

TEST(GraphModelTest, OverlaysUseOnlyTheWrittenPoints) {
  struct Case {
    const char* name;
    GraphModel model;
    Overlays expected;
  } cases[] = {
      {"none", withValues(3, {}), {0, 0, 0, 0, 0, 0, 0}},
      {"one", withValues(3, {{2, 7.0}}), {1, 7, 7, 7, 0, 0, 7}},
      // 1, 2, 3, 4 on points 1..4, point 5 unwritten: y = x exactly.
      {"line",
       withValues(5, {{1, 1.0}, {2, 2.0}, {3, 3.0}, {4, 4.0}}),
       {4, 2.5, 1, 4, std::sqrt(1.25), 1, 0}},
      // A gap keeps each value at its own index: (1, 2) and (3, 6) give y = 2x.
      {"gap", withValues(3, {{1, 2.0}, {3, 6.0}}), {2, 4, 2, 6, 2, 2, 0}},
      {"flat", withValues(4, {{1, 5.0}, {2, 5.0}, {4, 5.0}}), {3, 5, 5, 5, 0, 0, 5}},
  };
  for (const auto& c : cases) {
    const Overlays o = c.model.overlays();
    const Overlays& e = c.expected;
    EXPECT_EQ(o.count, e.count) << c.name;
    EXPECT_DOUBLE_EQ(o.mean, e.mean) << c.name;
    EXPECT_DOUBLE_EQ(o.min, e.min) << c.name;
    EXPECT_DOUBLE_EQ(o.max, e.max) << c.name;
    EXPECT_DOUBLE_EQ(o.stdDev, e.stdDev) << c.name;
    EXPECT_NEAR(o.slope, e.slope, 1e-12) << c.name;
    EXPECT_NEAR(o.intercept, e.intercept, 1e-12) << c.name;
  }
  EXPECT_DOUBLE_EQ(withValues(5, {{1, 1.0}, {4, 4.0}}).overlays().fitAt(5), 5);
}

TEST(GraphModelTest, PointsAreAddressedThroughTheCurrentPoint) {
  GraphModel model;
  model.setPointCount(1);
  EXPECT_EQ(model.pointCount(), 2);
  model.setThisPoint(9);
  EXPECT_EQ(model.thisPoint(), 2);
  model.setLabel("X");
  model.setValue(3);
  model.setLegend("L");
  EXPECT_EQ(model.points()[1].label, "X");
  EXPECT_EQ(model.points()[1].legend, "L");
  EXPECT_FALSE(model.points()[0].value);

  model.setAutoAdvance(true);
  model.setThisPoint(1);
  model.setValue(1);
  model.setValue(2);
  EXPECT_EQ(model.points()[0].value, 1);
  EXPECT_EQ(model.points()[1].value, 2);
  EXPECT_EQ(model.thisPoint(), 1);

  model.drawMode(GraphModel::kReset);
  EXPECT_EQ(model.pointCount(), 2);
  EXPECT_FALSE(model.points()[1].value || model.points()[1].label);
}

TEST(GraphModelTest, OnlyRedrawNotifiesAndANewSeriesReplacesTheEarlierOne) {
  GraphModel model;
  int calls = 0;
  model.setRedrawListener([&] { ++calls; });
  model.drawMode(GraphModel::kReset);
  model.drawMode(5);
  EXPECT_EQ(calls, 0);
  loadSeries(model, ChartSeries{3, {{"A", 1.0}, {"B", 2.0}, {"", 3.0}}});
  loadSeries(model, ChartSeries{2, {{"31", 9.0}, {}}});
  EXPECT_EQ(calls, 2);
  ASSERT_EQ(model.pointCount(), 2);
  EXPECT_EQ(model.points()[0].value, 9.0);
  EXPECT_FALSE(model.points()[1].value || model.points()[1].label);
  EXPECT_EQ(model.overlays().count, 1);
}

}  // namespace
}  // namespace statind
