// The monthly comparison window: the user picks a product and a span of years, optionally a
// month, and sees the comparison the core computes: a chart of the month-end index over the
// whole span, or for one month a grid of the years with their change and the chart of those
// changes. Every change of product, years, month, start rule or chart type runs the comparison
// again.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "compare/Comparison.h"
#include "report/CompareData.h"
#include "statind/GraphModel.h"
#include "statind/PeriodStatistics.h"
#include "statind/ProductLists.h"

namespace startup::ui {
struct AppContext;
}

namespace report::ui {
class SheetActions;
}

namespace compare::ui {

struct Statind1Form;
class CompareGridModel;

class Statind1 : public QDialog {
  Q_OBJECT

 public:
  // Loads the window: options restored from "indstat1", the product list filled, and the
  // product handed over (ctx.params.productCode) loaded for the start year and currency the
  // opener stored in ctx.params. Storage failures while loading throw StoreError to the opener.
  Statind1(startup::ui::AppContext& ctx, QWidget* parent);
  ~Statind1() override;

  statind::GraphModel& graphModel() { return graph_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Every way of closing ends here: the chart options are saved and, when the suite drives
  // the program, closing ends it.
  void done(int result) override;

 private:
  template <typename Handler>
  void guard(Handler&& handler);

  void load();
  void connectHandlers();
  void fillProducts();
  void productClicked(int row);
  void headerClicked(int sortKey);
  // Loads `code`; false (after telling the user) when it has no index record.
  bool loadProduct(const std::string& code);
  void yearChanged();
  void monthChanged();
  void yearStepped(int index, bool up);
  void monthStepped(bool up);
  void optionClicked(bool checked);
  void chartBoxClicked();
  void runComparison();
  void render(const CompareResult& result, bool moveChart);
  // Places the header, then the grid and the chart under it, for the window's size.
  void arrange();
  void placeChart(bool allMonths);
  void fitChart();
  void showChooser(bool visible);
  void addSheetActions();

  startup::ui::AppContext& ctx_;
  statind::GraphModel graph_;
  std::unique_ptr<Statind1Form> form_;
  CompareGridModel* grid_;
  std::vector<statind::ProductEntry> products_;
  std::string product_;  // "" until a product with index data is loaded
  std::optional<statind::ProductRange> range_;
  std::optional<report::CompareData> shown_;  // the run on screen, for printing and export
  report::ui::SheetActions* sheetActions_ = nullptr;
  int sortKey_ = 1;
  int previousMonth_ = 0;
  bool layoutFlag_ = false;
  bool busy_ = false;
  bool unloaded_ = false;
  int chartTop_ = 0;  // pixels: under the option frame
};

}  // namespace compare::ui
