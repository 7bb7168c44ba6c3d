// A Desktop without windows: it records every message box, answers from a queue of scripted
// answers (Ok, or Cancel for Retry/Cancel boxes, when the queue is empty) and keeps the user
// settings in memory. Used by the tests and by statind-cli, which prints the messages.
// Programs are really started (so that tests see real process numbers) and activation succeeds
// when the process is alive; shell actions and screen captures are only recorded.
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

  StartedProgram startProgram(const std::string& program,
                              const std::vector<std::string>& arguments) override;
  int shellOpen(const std::string& target, const std::string& parameters,
                const std::string& folder) override;
  bool activateProcess(long long processId) override;
  bool captureScreen(int which) override;

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

  struct ProgramCall {
    std::string program;
    std::vector<std::string> arguments;
    long long processId = 0;  // 0 when it did not start
  };
  struct ShellCall {
    std::string target, parameters, folder;
  };
  std::vector<ProgramCall> programsStarted;
  std::vector<ShellCall> shellOpened;
  std::vector<long long> activated;  // every process number asked for
  std::vector<int> captures;
  int shellResult = 42;  // what shellOpen answers
};

}  // namespace platform
