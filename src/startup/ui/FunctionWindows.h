// The windows behind the function codes that the menu and the suite's command line name: the
// one place that knows which window a code opens.
#pragma once

class QWidget;

namespace startup::ui {

struct AppContext;

// Opens the window of function `code` modally over `parent` and returns when it has closed:
// 0 the index statistics; 1 the monthly comparison, starting at this year with the base
// currency. Any other code opens nothing. Failures of the window propagate to the caller's guard.
void openFunctionWindow(int code, AppContext& ctx, QWidget* parent);

}  // namespace startup::ui
