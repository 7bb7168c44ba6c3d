#include "cli/ConsoleDesktop.h"

namespace cli {

ConsoleDesktop::ConsoleDesktop(std::ostream& out) : out_(out) {}

platform::Answer ConsoleDesktop::messageBox(const platform::Message& message) {
  const std::string title = message.title.empty() ? "statind" : message.title;
  out_ << title << ": " << message.text << std::endl;
  return ScriptedDesktop::messageBox(message);
}

}  // namespace cli
