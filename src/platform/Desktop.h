// The desktop services the rules need: message boxes, the wait pointer, letting pending window
// events run, the per-user settings store. The program implements it with Qt (platform/ui);
// tests and the console program use ScriptedDesktop, which records what was asked and answers
// from a script.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

enum class Buttons { Ok, OkCancel, RetryCancel, YesNo, YesNoDefaultNo };
enum class Icon { None, Critical, Exclamation, Information, Question };

// The answer codes of the original message boxes; `lastAnswer` keeps them as numbers.
enum class Answer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

struct Message {
  std::string text;
  std::string title;  // "" shows the program's title
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Shows a modal box and returns the button pressed. Never throws.
  virtual Answer messageBox(const Message& message) = 0;

  // Hourglass on (true) or back to the default pointer (false) on the active window, the main
  // window and the screen. Never throws.
  virtual void setWaitCursor(bool on) = 0;

  // Lets pending window events run (a no-op where there is no window system).
  virtual void processEvents() = 0;

  // Writes per-user settings: `values` under `section` of the application `application`.
  virtual void writeUserSettings(const std::string& application, const std::string& section,
                                 const std::vector<std::pair<std::string, std::string>>& values) = 0;
};

}  // namespace platform
