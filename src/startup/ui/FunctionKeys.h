// The program-wide function keys, shared by every statistics window: each window's key-down
// handler passes the key here first and handles it itself only when this returns false.
#pragma once

#include <Qt>

class QWidget;

namespace startup::ui {

struct AppContext;

// The modifier mask the suite's key rules are written in: 1 Shift, 2 Ctrl, 4 Alt (keypad and
// other modifiers do not count).
int modifierMask(Qt::KeyboardModifiers modifiers);

// Handles the program-wide function keys of every statistics window:
// - Ctrl+F opens the search on the current drive's root;
// - Ctrl+Alt+F2, and Ctrl+Shift+F2 where the system keeps the first, asks "FINE DI VELTAR?"
//   (Yes/No, No by default) and on Yes runs ctx.exitProgram; the answer goes to lastAnswer;
// - F1 on the "AZM" network shows the active company (EspMovDt, read-only) over `window`;
// - F2 with any other modifiers presses the window's enabled, visible "&USCITA" button;
// - Ctrl+F8 on a window with a frame toggles the caption between its own text and the
//   window's object name + " !" (the own text is kept per window);
// - Ctrl+Shift+C and Ctrl+Shift+S call the suite's calculator ("Raradazo") and alarm clock
//   ("Zavozaz");
// - Ctrl+0 and Ctrl+1 capture the screen or the active window into the clipboard and open a
//   new e-mail to the support address.
// `key` is a Qt key code. Returns true when the key was one of these and took effect. A
// failure inside is swallowed: the key simply has no effect.
bool handleFunctionKey(int key, Qt::KeyboardModifiers modifiers, QWidget* window, AppContext& ctx);

}  // namespace startup::ui
