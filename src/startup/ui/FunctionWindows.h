// The windows behind the function codes that the menu and the suite's command line name: the
// one place that knows which window a code opens.
#pragma once

class QWidget;

namespace startup::ui {

struct AppContext;

// Opens the window of function `code` modally over `parent` and returns when it has closed:
// 0 the index statistics. 1 prepares the monthly comparison (start year = this year, currency =
// the base currency) but opens nothing, as that window is not part of the program yet. Any
// other code opens nothing. Failures of the window propagate to the caller's guard.
void openFunctionWindow(int code, AppContext& ctx, QWidget* parent);

}  // namespace startup::ui
