#include "startup/ui/FunctionWindows.h"

#include <QDate>

#include "compare/ui/Statind1.h"
#include "startup/ui/AppContext.h"
#include "statind/ui/StatInd.h"

namespace startup::ui {

void openFunctionWindow(int code, AppContext& ctx, QWidget* parent) {
  if (code == 0) {
    statind::ui::StatInd window(ctx, parent);
    window.exec();
  } else if (code == 1) {
    ctx.params.compareStartYear = QDate::currentDate().year();
    ctx.params.compareCurrency = ctx.params.baseCurrency;
    compare::ui::Statind1 window(ctx, parent);
    window.exec();
  }
}

}  // namespace startup::ui
