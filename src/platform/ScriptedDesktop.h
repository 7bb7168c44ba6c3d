// A Desktop without windows: it records every message box, answers from a queue of scripted
// answers (Ok, or Cancel for Retry/Cancel boxes, when the queue is empty) and keeps the user
// settings in memory. Used by the tests and by statind-cli, which prints the messages.
#pragma once

#include <deque>
#include <functional>
#include <map>

#include "platform/Desktop.h"

namespace platform {

class ScriptedDesktop : public Desktop {
 public:
  Answer messageBox(const Message& message) override;
  void setWaitCursor(bool on) override;
  void processEvents() override {}
  void writeUserSettings(const std::string& application, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& values) override;

  // Answers given, in order, to the next message boxes.
  std::deque<Answer> answers;
  // Called before each box is answered, so that a test can change the world (restore a file).
  std::function<void(const Message&)> onMessage;
  // Everything shown, in order.
  std::vector<Message> shown;
  // Current wait pointer state and the number of times it was switched on.
  bool waitCursor = false;
  int waitCursorOnCount = 0;
  // "application/section/key" -> value
  std::map<std::string, std::string> userSettings;
};

}  // namespace platform
