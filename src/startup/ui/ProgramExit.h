// The way out of the program with windows: everything the exit routine does, then the end of
// the process. Every exit path (menu, window close, forced exit key, suite-driven windows)
// arrives here through AppContext::exitProgram.
#pragma once

#include "startup/ExitProgram.h"

class QWidget;

namespace startup::ui {

struct AppContext;

// Where `window` stands, in twips: its frame's left, top, width and height, or maximised.
WindowPlacement placementOf(const QWidget& window);

// The exit routine for `mainWindow` without ending the process: the index lookup is released,
// then placement, report engine, databases and per-user settings. Never throws.
void runExitRoutine(const QWidget& mainWindow, AppContext& ctx) noexcept;

// runExitRoutine, then the end of the process with code 0. Does not return: the databases are
// closed, so no caller's logic may go on.
[[noreturn]] void endProgram(const QWidget& mainWindow, AppContext& ctx);

}  // namespace startup::ui
