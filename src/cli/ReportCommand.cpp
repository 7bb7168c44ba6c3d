#include <iostream>

#include "cli/Commands.h"

namespace cli {

int runReport(const CommonOptions&, const ReportOptions&) {
  std::cerr << "not available yet\n";
  return kExitUsage;
}

}  // namespace cli
