// The texts a statistics run shows: Italian month and day names and the change figures, written
// exactly as the summary labels and the grid cells display them.
#pragma once

#include <string>

namespace statind {

// The caption of the grid's value column (the work table's column name).
inline constexpr const char* kValueCaption = "indice";

// "GENNAIO" ... "DICEMBRE" for 1..12; "" for any other month.
const std::string& monthName(int month);
// The first three letters of monthName ("GEN" ... "DIC").
std::string monthAbbreviation(int month);
// Monday = 1: "Lun", "Mar", "Mer", "Gio", "Ven", "S  ", "D  " (one letter and two blanks for
// the weekend); "" outside 1..7.
const std::string& dayName(int weekday);

// The percentage change (end - base) * 100 / base with "#0.000"; "0,000" when the base is 0,
// since such a change cannot be computed. A change that rounds to zero is "0,000", never signed.
std::string changeText(double base, double end);

}  // namespace statind
