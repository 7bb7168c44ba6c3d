#include <iostream>

#include "cli/Commands.h"

namespace cli {

int runMakeDemo(const std::string&) {
  std::cerr << "not available yet\n";
  return kExitUsage;
}

}  // namespace cli
