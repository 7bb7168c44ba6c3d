#include "utilities/ActiveCompany.h"

namespace utilities {

CompanyCaptions companyCaptions(const std::string& activeCompany) {
  if (activeCompany.empty()) return {" RURIVUR BANK", " RADAVI"};
  if (activeCompany == "_AZ") return {" RADAVI", " RURIVUR BANK"};
  return {};
}

TwipsPosition activeCompanyWindowPosition(int left, int top, int width) {
  return {left + (width - kActiveCompanyWindowWidth) / 2, top + 500};
}

}  // namespace utilities
