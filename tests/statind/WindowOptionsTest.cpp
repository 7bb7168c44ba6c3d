#include "statind/WindowOptions.h"

#include <gtest/gtest.h>

namespace statind {
namespace {

TEST(WindowOptionsTest, RestoreIsLenient) {
  struct Case {
    const char* stored;
    bool handedOver;
    const char* defaultText;
    const char* expected;  // as saved again
  } cases[] = {
      {"", false, kIndstatDefault, "00000100"},
      {"abc", false, kIndstatDefault, "00000100"},
      {"", false, kIndstat1Default, "10000100"},
      {"1", false, kIndstatDefault, "10000000"},  // numeric: every missing box reads 0
      {"0101", false, kIndstatDefault, "01010000"},
      {"11111111", false, kIndstatDefault, "11111111"},
      {"02290000", false, kIndstatDefault, "01110000"},  // any digit from 1 up is ticked
      {"11111111", true, kIndstatDefault, "00000011"},   // a product handed over wins
      {"", true, kIndstat1Default, "00000011"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WindowOptions::restore(c.stored, c.defaultText, c.handedOver).save(), c.expected)
        << '"' << c.stored << '"';
}

TEST(WindowOptionsTest, BoxesGiveTheChartSettings) {
  EXPECT_EQ(WindowOptions::overlayMask({0, 0, 0, 0}), 0);
  EXPECT_EQ(WindowOptions::overlayMask({1, 1, 1, 1}), 15);
  EXPECT_EQ(WindowOptions::overlayMask({0, 1, 0, 1}), 10);
  EXPECT_EQ(WindowOptions::yAxisMode(1), 0);
  EXPECT_EQ(WindowOptions::yAxisMode(0), 1);
  EXPECT_EQ(WindowOptions::gridStyle({0, 1, 0}), 1);
  EXPECT_EQ(WindowOptions::gridStyle({1, 0, 1}), 2);
  EXPECT_EQ(WindowOptions::gridStyle({0, 1, 1}), 3);
  EXPECT_EQ(WindowOptions::gridStyle({1, 0, 0}), 0);
}

}  // namespace
}  // namespace statind
