#include "update/AggiornaLayout.h"

namespace update {

AggiornaLayout AggiornaLayout::newVersion(std::size_t lines) {
  AggiornaLayout layout;
  for (std::size_t n = 0; n < lines; ++n)
    layout.lineTops.push_back(n == 0 ? kLineTop : layout.lineTops.back() + kLineHeight + 20);
  int y = kListTop;
  if (!layout.lineTops.empty()) {
    layout.listShown = true;
    layout.listHeight = layout.lineTops.back() + kLineHeight + 550;
    y = kListTop + layout.listHeight;
    layout.aggiornaTop = y - 500;
  }
  layout.panelHeight = y + 340;
  layout.dialogHeight = kPanelTop + y + 360;
  return layout;
}

}  // namespace update
