#include "statind/WindowOptions.h"

#include "platform/Format.h"
#include "statind/GraphModel.h"

namespace statind {

namespace {

bool isNumeric(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  const auto last = text.find_last_not_of(' ');
  return platform::parseNumber(text.substr(first, last - first + 1)).has_value();
}

// The character at `position` (0-based) as a box value: 1 for a digit from 1 up, else 0.
int digitAt(std::string_view text, std::size_t position) {
  if (position >= text.size()) return 0;
  const char c = text[position];
  return c >= '1' && c <= '9' ? 1 : 0;
}

}  // namespace

WindowOptions WindowOptions::restore(std::string_view text, std::string_view defaultText,
                                     bool productHandedOver) {
  std::string_view digits = isNumeric(text) ? text : defaultText;
  WindowOptions options;
  if (productHandedOver) {
    digits = kHandedOverOptions;
  } else {
    options.option = digitAt(digits, 0);
  }
  for (std::size_t i = 0; i < options.check1.size(); ++i)
    options.check1[i] = digitAt(digits, 1 + i);
  for (std::size_t i = 0; i < options.check2.size(); ++i)
    options.check2[i] = digitAt(digits, 5 + i);
  return options;
}

std::string WindowOptions::save() const {
  std::string text = option == 0 ? "0" : "1";
  for (int box : check1) text += box >= 1 ? '1' : '0';
  for (int box : check2) text += box >= 1 ? '1' : '0';
  return text;
}

int WindowOptions::overlayMask(const std::array<int, 4>& check1) {
  int mask = 0;
  for (std::size_t i = 0; i < check1.size(); ++i)
    if (check1[i] >= 1) mask |= 1 << i;
  return mask;
}

int WindowOptions::yAxisMode(int originBox) {
  return originBox >= 1 ? 0 : 1;
}

int WindowOptions::gridStyle(const std::array<int, 3>& check2) {
  return 2 * (check2[2] >= 1 ? 1 : 0) + (check2[1] >= 1 ? 1 : 0);
}

void WindowOptions::applyTo(GraphModel& graph) const {
  graph.setOverlayMask(overlayMask(check1));
  graph.setYAxisMode(yAxisMode(check2[0]));
  graph.setGridStyle(gridStyle(check2));
}

}  // namespace statind
