// The client sheet: what a printed or saved report of one computation shows, already in the
// window's texts and Italian numbers, with no notion of paper or pixels. A renderer lays it out
// on pages; the makers (statisticsSheet, and one per further computation) only fill it in.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "risk/MapColours.h"
#include "statind/GraphModel.h"
#include "statind/PeriodStatistics.h"

namespace report {

struct SheetCell {
  std::string text;
  bool number = false;    // stands right-aligned
  bool negative = false;  // drawn in red
  bool bold = false;
  std::optional<risk::Rgb> fill{};  // a tone behind the text (a colour scale); none: white
};

// A ruled table; a renderer repeats `header` on every page the table reaches.
struct SheetTable {
  std::string title;
  std::vector<std::string> header;
  std::vector<int> widths;  // relative column widths, one per header entry
  std::vector<std::vector<SheetCell>> rows;
};

// One series of a chart that draws several, in a colour of its own.
struct SheetLine {
  std::string name;                             // its legend entry
  int colour = 0;                               // its place among the series colours
  std::vector<std::optional<double>> values{};  // one per chart point; none leaves a gap
};

struct SheetChart {
  int type = statind::GraphModel::kLine;
  std::string title;
  std::vector<statind::GraphPoint> points;
  int overlayMask = 0;  // GraphModel's overlay bits: only these are drawn
  statind::Overlays overlays;
  bool yFromZero = true;  // "Origine Y=0"
  int gridStyle = 0;      // GraphModel's grid style
  // One entry per drawn line, in drawing order: the series, then each ticked overlay with its
  // figures ("Media 112,34").
  std::vector<std::string> legend;
  // Several series: drawn in place of the points' values (the points then give the labels
  // only), each with its own legend entry; `legend` is not used.
  std::vector<SheetLine> lines{};
  std::optional<double> level{};  // a dashed line across the plot at this value (100 when rebased)
};

struct SheetFact {
  std::string label, value;
};

struct ClientSheet {
  std::string title;                    // the window's caption
  std::string maker;                    // program and version
  std::string product;                  // code and description
  std::string factsTitle = "Prodotto";  // the heading over the facts
  std::vector<SheetFact> facts;
  std::optional<SheetTable> summary;
  std::string summaryNote;  // explains the marks of the summary; "" when none is shown
  std::optional<SheetChart> chart;
  std::vector<SheetTable> tables;
  std::string closing;
  std::string footer;    // repeated at the foot of every page, beside the page number
  std::string fileStem;  // a file name without extension: product code and period
  // Everything on one page: the chart and the tables' rows shrink (down to a legible limit)
  // before anything moves to a second page.
  bool onePage = false;
};

// "pagina N di M", the page number every page of a sheet carries.
std::string pageText(int page, int pageCount);

// A table cell from a grid text: a number (read with the regional settings) stands right and,
// when below zero, in red.
SheetCell gridCell(const std::string& text);

// The chart part of a sheet from a chart model: its points, title and type, the overlays it
// shows with their figures (formatted with `valueFormat`) and the axis settings.
SheetChart sheetChart(const statind::GraphModel& graph, const std::string& valueFormat);

// `text` reduced to letters, digits, "-" and "_" (others become "_"), for a file name.
std::string fileNamePart(const std::string& text);

}  // namespace report
