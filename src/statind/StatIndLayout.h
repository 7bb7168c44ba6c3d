// Where the statistics window puts its panes, in twips: the selection panes and the period strip
// on top, the summary frame and the grid on the left, the chart on the right with its option
// frame below it. Pure arithmetic, so the rules can be checked without a screen.
#pragma once

#include <array>

namespace statind {

struct TwipsRect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
};

struct StatIndAreas {
  TwipsRect pane;         // PctScelta and PctProd, one over the other
  TwipsRect period;       // year and month lists, steppers, jumps, buttons
  TwipsRect frameDati;    // summary labels and the start-value option
  TwipsRect grid;         // TDBGrid1
  TwipsRect chart;        // Graph1
  TwipsRect frameStat;    // chart options
  int optionColumns = 4;  // chart option boxes per row in frameStat
};

class StatIndLayout {
 public:
  static constexpr int kMinWidth = 9600;
  static constexpr int kMinHeight = 5000;
  // Design widths of the grid's five columns.
  static constexpr std::array<int, 5> kColumnWidths{1500, 1400, 1000, 1000, 1000};
  static constexpr int kNarrowScreen = 10000;  // below it the grid gets room for its scroll bar
  static constexpr int kNarrowExtra = 230;

  // `usableWidth` is the screen's usable width in twips.
  explicit StatIndLayout(int usableWidth);

  // Sum of the column widths plus 5 per column: the grid width fixed when the window loads.
  static int designGridWidth();
  // The grid's width on this screen: the design width, plus the scroll bar's room on a narrow
  // screen. The same on every resize.
  int gridWidth() const;
  // The areas for a window whose inner size is `width` x `height` twips (at least the minimum).
  // `optionCell` is the width one chart option box needs: the option frame puts as many boxes
  // in a row as fit (at most 4; 0 means 4) and grows by a row height for each row beyond two.
  StatIndAreas arrange(int width, int height, int optionCell = 0) const;
  // Rows the chart options take with `columns` boxes a row: the 4 overlays, then the 3 axes.
  static int optionRows(int columns);

 private:
  int usableWidth_;
};

}  // namespace statind
