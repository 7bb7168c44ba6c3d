// Facts about the running program and its machine that start-up reads once: where the program
// is, what it is called, who the user is, how big the screen is. Filled by main() (or by a test).
#pragma once

#include <string>

namespace platform {

struct Environment {
  std::string commandLine;       // the raw command line handed by the suite
  std::string programFolder;     // folder of the executable, without a trailing separator
  std::string programFileName = "statind";  // without extension
  std::string productName = "statind";      // name recorded in the version information
  std::string windowsFolder;     // "/etc/" on Linux; always ends with a separator
  std::string userName;          // OS user name ("" when unknown)
  int screenWidthTwips = 19200;  // screen size in twips (1440 per logical inch)
  int screenHeightTwips = 15360;
  int processId = 0;
  // Used instead of the configuration-file search when not empty (statind-cli --ini).
  std::string configFileOverride;

  // Reads what the operating system tells (program folder from `argv0`, user, process id,
  // windows folder); the screen size stays as given.
  static Environment fromSystem(const std::string& argv0, const std::string& commandLine);
};

}  // namespace platform
