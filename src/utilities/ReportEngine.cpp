#include "utilities/ReportEngine.h"

namespace utilities {

bool ReportEngine::open() {
  open_ = true;
  return true;
}

void ReportEngine::close() { open_ = false; }

}  // namespace utilities
