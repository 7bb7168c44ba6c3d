// Lays a client sheet out on A4 portrait pages (a wider left margin for binding) and paints it on
// any paged device: a PDF writer or a printer, the print preview's included. The heading, the
// summary beside the product facts and the chart open the first page; each table follows,
// squeezed a little to end on the page where that is enough, otherwise continued on the next
// pages under its repeated header row; every page closes with "pagina N di M". A sheet meant
// for one page shrinks its chart and rows first. Texts too wide for their columns are set
// smaller.
#pragma once

#include <QPagedPaintDevice>
#include <vector>

#include "report/ClientSheet.h"

class QPainter;

namespace report::ui {

class SheetPainter {
 public:
  explicit SheetPainter(const ClientSheet& sheet) : sheet_(sheet) {}

  // Sets A4 portrait and the sheet's margins on `device`.
  static void preparePage(QPagedPaintDevice& device);
  // Paints every page on `device`, prepared with preparePage, opening new pages as needed.
  // Returns the number of pages painted (0 when the painter could not start on the device).
  int paint(QPagedPaintDevice& device) const;

 private:
  enum class Part { Heading, Chart, Table, Closing };
  struct Placed {
    Part part;
    double top = 0;  // device pixels from the page's printable top
    double height = 0;
    int table = 0;  // Table: which one, and its rows shown on this page
    int firstRow = 0, rowCount = 0;
    double rowHeight = 0;
  };
  using Page = std::vector<Placed>;

  // The pages at the current scale_.
  std::vector<Page> layout(QPainter& painter) const;
  double headingHeight(QPainter& painter) const;
  double closingHeight(QPainter& painter) const;
  void paintHeading(QPainter& painter, double top) const;
  void paintTable(QPainter& painter, const Placed& placed) const;
  void paintCells(QPainter& painter, const SheetTable& table, const std::vector<double>& widths,
                  double left, double top, double height) const;
  struct Fit {
    double points = 8;
    bool compact = false;  // narrow padding
  };
  // How the texts of `table` (its header when `header`, else its rows) fit their columns: at
  // `points` with the full padding when that is enough; otherwise with narrow padding at the
  // largest size down to 6 points that fits.
  Fit fit(QPainter& painter, const SheetTable& table, const std::vector<double>& widths,
          double points, bool header) const;
  double padding(double columnWidth, bool compact) const;
  void paintFooter(QPainter& painter, int page, int pageCount) const;
  // The summary table beside the product facts.
  void paintSummary(QPainter& painter, double left, double top, double width) const;
  double factsHeight(QPainter& painter, double width) const;

  double mm(double millimetres) const { return millimetres * unit_; }
  // A row's height, the least a squeezed row keeps, and the chart's height, at scale_.
  double row() const;
  double minRow() const;
  double chartHeight() const;

  const ClientSheet& sheet_;
  mutable double unit_ = 1;                // device pixels a millimetre, set when painting starts
  mutable double width_ = 0, height_ = 0;  // printable area in device pixels
  mutable double scale_ = 1;               // of the chart and the rows: below 1 for onePage
};

}  // namespace report::ui
