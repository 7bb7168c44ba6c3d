// The window "Confronto prodotti": the user adds two to eight products with the chooser (type
// to search), picks a benchmark among them and the period, and sees them on one chart from a
// common start with the figures, the calendar years and the correlations. Every change runs the
// comparison again; a comparison that cannot be made says why beside the choices. Print, PDF and
// CSV hand over what is shown.
#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "statind/ProductLists.h"
#include "versus/Versus.h"

namespace startup::ui {
struct AppContext;
}

namespace report::ui {
class SheetActions;
}

namespace versus::ui {

struct ConfrontoForm;

class ConfrontoProdotti : public QDialog {
  Q_OBJECT

 public:
  // Opens on `products` (the product shown by the opener, or none), compared at once when there
  // are two. The risk-free rate's product is read from the configuration (INDICE_MONETARIO).
  // Storage failures while opening throw StoreError to the opener.
  ConfrontoProdotti(startup::ui::AppContext& ctx, const std::vector<std::string>& products,
                    QWidget* parent);
  ~ConfrontoProdotti() override;

  // The comparison on screen, if any.
  const std::optional<VersusResult>& shown() const { return shown_; }
  // Adds `code` as a user's pick does; false (with the reason beside the choices) for a product
  // already there, a ninth one or a blank code.
  bool addProduct(const std::string& code);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  template <typename Handler>
  void guard(Handler&& handler);

  void connectHandlers();
  void addSheetActions();
  void showChooser(bool visible);
  void fillChooser();
  void filterChooser(const QString& typed);
  void pickFromChooser(int row);
  void removeSelected();
  void refreshProducts();
  void periodChosen();
  void compute();
  void showResult();

  startup::ui::AppContext& ctx_;
  std::unique_ptr<ConfrontoForm> form_;
  report::ui::SheetActions* sheetActions_ = nullptr;
  std::vector<std::string> products_;
  std::vector<std::string> descriptions_;
  std::vector<statind::ProductEntry> entries_;  // the chooser's lines, read when first shown
  std::string riskFree_;
  std::optional<VersusResult> shown_;
  bool busy_ = false;
};

}  // namespace versus::ui
