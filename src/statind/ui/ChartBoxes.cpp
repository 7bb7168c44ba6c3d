#include "statind/ui/ChartBoxes.h"

#include <QCheckBox>
#include <QRadioButton>

#include "platform/ui/FormControls.h"

namespace statind::ui {

void createChartBoxes(QWidget* parent, OverlayBoxes& overlays, AxisBoxes& axes) {
  using platform::ui::named;
  const char* overlayTexts[] = {"Media", "Min/Max", "StdDev", "BestFit"};
  const char* axisTexts[] = {"Origine Y=0", "Y", "X"};
  // The captions are terse: what each box draws, in words.
  const char* overlayTips[] = {"linea della media dei valori del grafico",
                               "linee del valore più basso e del più alto",
                               "fascia di una deviazione standard sopra e sotto la media",
                               "retta di tendenza (minimi quadrati) dal primo all'ultimo punto"};
  const char* axisTips[] = {"l'asse dei valori parte da zero (tolto: segue i valori)",
                            "linee orizzontali della griglia", "linee verticali della griglia"};
  for (int i = 0; i < 4; ++i) {
    overlays[i] = named<QCheckBox>(parent, QString("Check1_%1").arg(i), overlayTexts[i]);
    overlays[i]->setToolTip(QString::fromUtf8(overlayTips[i]));
  }
  for (int i = 0; i < 3; ++i) {
    axes[i] = named<QCheckBox>(parent, QString("Check2_%1").arg(i), axisTexts[i]);
    axes[i]->setToolTip(QString::fromUtf8(axisTips[i]));
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
