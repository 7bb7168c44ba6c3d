// The window "Rischio e rendimento", opened from the index statistics window for the product it
// shows: how much the product moved and how much it fell at worst over the shown year, 1, 3 and
// 5 years and the whole history, its indicative market-risk class, the whole history's chart
// with its deepest fall and the curve under water, and the map of every month.
#pragma once

#include <QDialog>
#include <array>

#include "risk/RiskFigures.h"

QT_BEGIN_NAMESPACE
class QBoxLayout;
class QLabel;
class QSpinBox;
class QTabWidget;
QT_END_NAMESPACE

namespace startup::ui {
struct AppContext;
}

namespace risk::ui {

class FiguresTable;
class HistoryChart;
class ReturnsMapTable;

class RischioRendimento : public QDialog {
  Q_OBJECT

 public:
  // Computes and shows the figures of `params` at once; `heading` names the product. Storage
  // failures throw StoreError to the opener, and no window is left behind.
  RischioRendimento(startup::ui::AppContext& ctx, const RiskParams& params,
                    const std::string& heading, QWidget* parent);

  QTabWidget* tabs() const { return tabs_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* buildRiskPage();
  QWidget* buildMapPage();
  QWidget* buildClassFrame();
  void compute();
  void showClass(const MarketRisk& mrm);

  startup::ui::AppContext& ctx_;
  RiskParams params_;
  QTabWidget* tabs_;
  FiguresTable* figures_ = nullptr;
  QWidget* classFrame_ = nullptr;
  QBoxLayout* top_ = nullptr;  // the figures beside the class, or above it where room is short
  HistoryChart* chart_ = nullptr;
  ReturnsMapTable* map_ = nullptr;
  std::array<QLabel*, 7> classBoxes_{};
  QLabel* classText_ = nullptr;
  QLabel* mapNote_ = nullptr;
  QSpinBox* holdingYears_ = nullptr;
};

}  // namespace risk::ui
