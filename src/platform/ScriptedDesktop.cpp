#include "platform/ScriptedDesktop.h"

#include "platform/Processes.h"

namespace platform {

Answer ScriptedDesktop::messageBox(const Message& message) {
  shown.push_back(message);
  if (onMessage) onMessage(message);
  if (!answers.empty()) {
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  switch (message.buttons) {
    case Buttons::RetryCancel:
    case Buttons::OkCancel:
      return Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoDefaultNo:
      return Answer::No;
    case Buttons::Ok:
      break;
  }
  return Answer::Ok;
}

void ScriptedDesktop::setWaitCursor(bool on) {
  waitCursor = on;
  if (on) ++waitCursorOnCount;
}

void ScriptedDesktop::writeUserSettings(
    const std::string& application, const std::string& section,
    const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [key, value] : values)
    userSettings[application + "/" + section + "/" + key] = value;
}

StartedProgram ScriptedDesktop::startProgram(const std::string& program,
                                             const std::vector<std::string>& arguments) {
  StartedProgram started = startProcess(program, arguments);
  programsStarted.push_back({program, arguments, started.processId});
  return started;
}

int ScriptedDesktop::shellOpen(const std::string& target, const std::string& parameters,
                               const std::string& folder) {
  shellOpened.push_back({target, parameters, folder});
  return shellResult;
}

bool ScriptedDesktop::activateProcess(long long processId) {
  activated.push_back(processId);
  return processAlive(processId);
}

bool ScriptedDesktop::captureScreen(int which) {
  captures.push_back(which);
  return true;
}

}  // namespace platform
