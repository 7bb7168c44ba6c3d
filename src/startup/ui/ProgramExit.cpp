#include "startup/ui/ProgramExit.h"

#include <QWidget>

#include <cstdio>
#include <cstdlib>

#include "platform/ui/Twips.h"
#include "startup/ui/AppContext.h"

namespace startup::ui {

using platform::ui::pixelsToTwips;

WindowPlacement placementOf(const QWidget& window) {
  WindowPlacement placement;
  placement.maximised = window.isMaximized();
  const QRect frame = window.frameGeometry();
  placement.left = pixelsToTwips(frame.x(), &window);
  placement.top = pixelsToTwips(frame.y(), &window);
  placement.width = pixelsToTwips(frame.width(), &window);
  placement.height = pixelsToTwips(frame.height(), &window);
  return placement;
}

void runExitRoutine(const QWidget& mainWindow, AppContext& ctx) noexcept {
  try {
    const WindowPlacement placement = placementOf(mainWindow);
    // The lookup holds statements on the data database: they go before the database closes.
    ctx.lookup.reset();
    startup::exitProgram(ctx.env, ctx.params, ctx.dbs, ctx.reports, ctx.desktop, placement);
  } catch (...) {
    // Nothing may keep the program from ending once the user asked for it.
  }
}

void endProgram(const QWidget& mainWindow, AppContext& ctx) {
  runExitRoutine(mainWindow, ctx);
  std::fflush(nullptr);
  std::exit(0);
}

}  // namespace startup::ui
