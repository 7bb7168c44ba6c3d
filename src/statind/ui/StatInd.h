// The index statistics window: the user narrows the products by group or
// category, picks one, then a year and optionally a month, and steps through
// periods. Every change runs the period statistics of the core and shows that
// one run: summary labels, grid and chart together.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "report/ReportData.h"
#include "statind/GraphModel.h"
#include "statind/PeriodStatistics.h"
#include "statind/PeriodSteps.h"
#include "statind/ProductLists.h"
#include "statind/StatIndLayout.h"

namespace startup::ui {
struct AppContext;
}

namespace report::ui {
class SheetActions;
}

namespace statind::ui {

struct StatIndForm;
class WkStatIndModel;

class StatInd : public QDialog {
  Q_OBJECT

 public:
  // Loads the window: lists filled from the data database, options restored
  // from "indstat". Storage failures while loading throw StoreError to the
  // opener.
  StatInd(startup::ui::AppContext& ctx, QWidget* parent);
  ~StatInd() override;

  GraphModel& graphModel() { return graph_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Every way of closing ends here; when the suite drives the program, closing
  // ends it.
  void done(int result) override;

 private:
  template <typename Handler>
  void guard(Handler&& handler);

  void load();
  void connectHandlers();
  void restoreOptions();
  void fillLists();
  void fillProducts();

  void filterClicked(bool group, int position);
  void productClicked(int position);
  void periodClicked();
  void stepPressed(int index, bool up);
  void jumpPressed(int index);
  void chartBoxClicked();
  void startRuleClicked(bool checked);
  void endClicked();
  void compareClicked();
  // Opens "Rischio e rendimento" on the product and year shown (button or Ctrl+R).
  void riskClicked();
  // Opens "Confronto prodotti" with the product shown (button or Ctrl+O).
  void versusClicked();
  void preselect();

  bool loadRange();
  void runStatistics();
  void render(const StatResult& result);
  void clearResults();
  void showChoice(bool product);

  PeriodPosition position() const;
  // Fills the year list with `years`, showing `year` or else the last one.
  void showYears(const std::vector<int>& years, int year);
  // Shows the period `at` (the list handlers kept quiet), then runs it.
  void goTo(PeriodPosition at);
  void select(PeriodPosition at);
  // The period steps of the product shown; nullopt while no product with index data is chosen.
  std::optional<PeriodSteps> steps() const;
  int yearShown() const;
  void addSheetActions();

  startup::ui::AppContext& ctx_;
  GraphModel graph_;
  StatIndLayout layout_;
  std::unique_ptr<StatIndForm> form_;
  WkStatIndModel* grid_;
  std::vector<ProductEntry> products_;  // the product list's entries, as shown
  std::string product_;                 // the product of the runs, "" while none is chosen
  std::optional<ProductRange> range_;
  std::optional<report::ReportData> shown_;  // the run on screen, for printing and export
  report::ui::SheetActions* sheetActions_ = nullptr;
  bool busy_ = false;
  bool firstActivation_ = true;
  bool unloaded_ = false;
  bool switchingPane_ = false;
  bool filterPicked_ = false;  // the user has picked a group or category since opening
  int lastGroup_ = 0;
  int lastCategory_ = 0;
};

}  // namespace statind::ui
