// The suite's two companies on the "AZM" network and which one is active: the suffix "" is
// RURIVUR BANK, "_AZ" is RADAVI (it also names the movements table, Movimenti + suffix).
#pragma once

#include <string>

namespace utilities {

// Captions of the active-company window: the active company and the other one, each with a
// leading blank; both "" for an unknown suffix.
struct CompanyCaptions {
  std::string active;
  std::string other;
};
CompanyCaptions companyCaptions(const std::string& activeCompany);

// Where the active-company window opens over a window at `left`, `top` that is `width` wide
// (all twips): centred horizontally, 500 below the top.
struct TwipsPosition {
  int x = 0;
  int y = 0;
};
TwipsPosition activeCompanyWindowPosition(int left, int top, int width);

// Width of the active-company window in twips.
inline constexpr int kActiveCompanyWindowWidth = 2565;

}  // namespace utilities
