#include "statind/ui/ChartBoxes.h"

#include <QCheckBox>
#include <QRadioButton>

#include "platform/ui/FormControls.h"

namespace statind::ui {

void createChartBoxes(QWidget* parent, OverlayBoxes& overlays, AxisBoxes& axes) {
  using platform::ui::named;
  const char* overlayTexts[] = {"Media", "Min/Max", "StdDev", "BestFit"};
  const char* axisTexts[] = {"Origine Y=0", "Y", "X"};
  for (int i = 0; i < 4; ++i) {
    overlays[i] = named<QCheckBox>(parent, QString("Check1_%1").arg(i), overlayTexts[i]);
  }
  for (int i = 0; i < 3; ++i) {
    axes[i] = named<QCheckBox>(parent, QString("Check2_%1").arg(i), axisTexts[i]);
  }
}

WindowOptions chartOptions(const OptionPair& pair, const OverlayBoxes& overlays,
                           const AxisBoxes& axes) {
  WindowOptions options;
  options.option = pair[1]->isChecked() ? 1 : 0;
  for (int i = 0; i < 4; ++i) options.check1[i] = overlays[i]->isChecked() ? 1 : 0;
  for (int i = 0; i < 3; ++i) options.check2[i] = axes[i]->isChecked() ? 1 : 0;
  return options;
}

void showChartOptions(const WindowOptions& options, const OptionPair& pair,
                      const OverlayBoxes& overlays, const AxisBoxes& axes) {
  pair[options.option == 0 ? 0 : 1]->setChecked(true);
  for (int i = 0; i < 4; ++i) overlays[i]->setChecked(options.check1[i] >= 1);
  for (int i = 0; i < 3; ++i) axes[i]->setChecked(options.check2[i] >= 1);
}

}  // namespace statind::ui
