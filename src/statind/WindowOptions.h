// A statistics window's chart options as the eight-digit string kept in the configuration file:
// digit 1 the selected option button, digits 2-5 the four overlay boxes, digits 6-8 the three
// axis boxes. Reading is lenient, so that a damaged string still opens the window.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace statind {

class GraphModel;

inline constexpr const char* kIndstatDefault = "00000100";   // StatInd
inline constexpr const char* kIndstat1Default = "10000100";  // the monthly comparison
inline constexpr const char* kHandedOverOptions = "00000011";

struct WindowOptions {
  int option = 0;               // index of the selected option button, 0 or 1
  std::array<int, 4> check1{};  // "Media", "Min/Max", "StdDev", "BestFit": 0 clear, 1 ticked
  std::array<int, 3> check2{};  // "Origine Y=0", "Y", "X"

  // The options from the text read under the window's key. A text that is not a number as a
  // whole (empty included) gives `defaultText`. With a product handed over the text is ignored:
  // kHandedOverOptions with option 0. A missing or non-digit character reads 0; any digit from 1
  // up reads as ticked (1), and as option 1 in the first place.
  static WindowOptions restore(std::string_view text, std::string_view defaultText,
                               bool productHandedOver);
  // The eight digits, each 0 or 1.
  std::string save() const;
  // Sets the chart's overlay mask, y-axis mode and grid style from the boxes (no redraw).
  void applyTo(GraphModel& graph) const;

  // The chart's overlay mask: 1 mean, 2 min/max, 4 stddev, 8 best fit, per ticked box.
  static int overlayMask(const std::array<int, 4>& check1);
  // 0 (axis from zero) when "Origine Y=0" is ticked, 1 (follows the data) when clear.
  static int yAxisMode(int originBox);
  // 1 for "Y" (horizontal lines), 2 for "X" (vertical lines), 3 for both, 0 for none.
  static int gridStyle(const std::array<int, 3>& check2);
};

}  // namespace statind
