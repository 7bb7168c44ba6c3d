#include "platform/ScriptedDesktop.h"

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

}  // namespace platform
