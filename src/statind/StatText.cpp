#include "statind/StatText.h"

#include <array>

#include "platform/Format.h"

namespace statind {

namespace {

const std::string kEmpty;

}  // namespace

const std::string& monthName(int month) {
  static const std::array<std::string, 12> names = {
      "GENNAIO", "FEBBRAIO", "MARZO",     "APRILE",  "MAGGIO",   "GIUGNO",
      "LUGLIO",  "AGOSTO",   "SETTEMBRE", "OTTOBRE", "NOVEMBRE", "DICEMBRE"};
  if (month < 1 || month > 12) return kEmpty;
  return names[month - 1];
}

std::string monthAbbreviation(int month) {
  return monthName(month).substr(0, 3);
}

const std::string& dayName(int weekday) {
  static const std::array<std::string, 7> names = {"Lun", "Mar", "Mer", "Gio", "Ven", "S  ", "D  "};
  if (weekday < 1 || weekday > 7) return kEmpty;
  return names[weekday - 1];
}

std::string changeText(double base, double end) {
  if (base == 0) return "0,000";
  return platform::formatNumber((end - base) * 100 / base, "#0.000");
}

}  // namespace statind
