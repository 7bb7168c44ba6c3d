#include <iostream>

#include "cli/Commands.h"

namespace cli {

int runValue(const CommonOptions&, const std::string&, const std::string&) {
  std::cerr << "not available yet\n";
  return kExitUsage;
}

}  // namespace cli
