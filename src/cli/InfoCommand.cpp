#include <iostream>

#include "cli/Commands.h"

namespace cli {

int runInfo(const CommonOptions&) {
  std::cerr << "not available yet\n";
  return kExitUsage;
}

}  // namespace cli
