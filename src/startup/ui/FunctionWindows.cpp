#include "startup/ui/FunctionWindows.h"

#include <QDate>

#include "startup/ui/AppContext.h"

#if __has_include("statind/ui/StatInd.h")
#include "statind/ui/StatInd.h"
#define STATIND_HAS_STATIND_WINDOW 1
#endif

namespace startup::ui {

void openFunctionWindow(int code, AppContext& ctx, QWidget* parent) {
  if (code == 0) {
#ifdef STATIND_HAS_STATIND_WINDOW
    statind::ui::StatInd window(ctx, parent);
    window.exec();
#else
    (void)parent;
#endif
  } else if (code == 1) {
    ctx.params.compareStartYear = QDate::currentDate().year();
    ctx.params.compareCurrency = ctx.params.baseCurrency;
  }
}

}  // namespace startup::ui
