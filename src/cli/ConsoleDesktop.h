// The desktop of statind-cli: there is nobody to click, so every message box is printed on
// stderr as "TITLE: text" and answered as a user who gives up would (Cancel to Retry/Cancel,
// No to Yes/No, Ok otherwise). Per-user settings are kept in memory, never written. A console
// run starts and activates no other program.
#pragma once

#include <ostream>

#include "platform/ScriptedDesktop.h"

namespace cli {

class ConsoleDesktop : public platform::ScriptedDesktop {
 public:
  explicit ConsoleDesktop(std::ostream& out);
  // Prints the box on the stream, then answers as ScriptedDesktop does.
  platform::Answer messageBox(const platform::Message& message) override;
  platform::StartedProgram startProgram(const std::string& program,
                                        const std::vector<std::string>& arguments) override {
    return platform::Desktop::startProgram(program, arguments);
  }
  bool activateProcess(long long processId) override {
    return platform::Desktop::activateProcess(processId);
  }

 private:
  std::ostream& out_;
};

}  // namespace cli
