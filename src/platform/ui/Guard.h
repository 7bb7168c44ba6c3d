// The one wrapper around every window event handler: a failed query or computation must never
// take the program down or leave the hourglass on. The failure is shown and the window stays
// as usable as it was before the event.
#pragma once

#include <QWidget>

#include <exception>
#include <string>
#include <utility>

#include "platform/Desktop.h"

namespace platform::ui {

// Resets the wait pointer (the desktop's and `window`'s own) and shows `text` in a critical box.
inline void reportHandlerFailure(QWidget* window, Desktop& desktop, const std::string& text) {
  desktop.setWaitCursor(false);
  if (window) window->unsetCursor();
  desktop.messageBox({text, "", Buttons::Ok, Icon::Critical});
}

// Runs `handler`. Returns true when it finished; false when it threw, after the failure has
// been reported with reportHandlerFailure. Never throws.
template <typename Handler>
bool guarded(QWidget* window, Desktop& desktop, Handler&& handler) noexcept {
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (const std::exception& e) {
    reportHandlerFailure(window, desktop, e.what());
  } catch (...) {
    reportHandlerFailure(window, desktop, "ERRORE IMPREVISTO");
  }
  return false;
}

}  // namespace platform::ui
