// The period products are compared over. It always lies inside the history they share: from the
// latest first index date among them to the earliest last one. A preset counts back from that
// last shared date; chosen dates are cut to the shared history.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/Format.h"

namespace versus {

// Why a comparison cannot be made. NoData: a product is unknown or has no usable index;
// NoOverlap: the products share no period; Period: the chosen dates leave nothing of the
// shared history. what() is the Italian message, naming the products or dates concerned.
class Refusal : public std::runtime_error {
 public:
  enum class Kind { NoData, NoOverlap, Period };
  Refusal(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

enum class Preset { Chosen, YearToDate, OneYear, ThreeYears, FiveYears, TenYears, Longest };

// The command line's names: "ytd", "1a", "3a", "5a", "10a", "max"; nullopt for any other.
std::optional<Preset> presetNamed(std::string_view name);
// What the window lists: "dal 1° gennaio", "1 anno", "3 anni", ..., "storia comune", "date scelte".
std::string presetLabel(Preset preset);

struct PeriodChoice {
  Preset preset = Preset::Longest;
  // Preset::Chosen only: either end left open takes the shared history's.
  std::optional<platform::DayNumber> from{}, to{};
};

struct Period {
  platform::DayNumber from = 0, to = 0;
  // The choice reached further back than the shared history (or, for dates, either way beyond
  // it) and was cut to it.
  bool shortened = false;
};

// The period `choice` gives over the shared history [first, last] (first < last). "Since 1
// January" opens on the last close of the year before, as the risk figures' year does; n years
// open n calendar years before `last` (29 February on the 28th). Throws Refusal(Period) when
// both chosen dates are given in reverse, or the choice leaves less than a day of the shared
// history.
Period resolvePeriod(const PeriodChoice& choice, platform::DayNumber first,
                     platform::DayNumber last);

}  // namespace versus
