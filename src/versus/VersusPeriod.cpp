#include "versus/VersusPeriod.h"

#include <algorithm>

#include "risk/SeriesMath.h"

namespace versus {

namespace {

struct Named {
  Preset preset;
  const char* name;
  const char* label;
};

constexpr Named kPresets[] = {{Preset::YearToDate, "ytd", "dal 1° gennaio"},
                              {Preset::OneYear, "1a", "1 anno"},
                              {Preset::ThreeYears, "3a", "3 anni"},
                              {Preset::FiveYears, "5a", "5 anni"},
                              {Preset::TenYears, "10a", "10 anni"},
                              {Preset::Longest, "max", "storia comune"},
                              {Preset::Chosen, "", "date scelte"}};

int yearsOf(Preset preset) {
  switch (preset) {
    case Preset::OneYear:
      return 1;
    case Preset::ThreeYears:
      return 3;
    case Preset::FiveYears:
      return 5;
    case Preset::TenYears:
      return 10;
    default:
      return 0;
  }
}

std::string dates(platform::DayNumber from, platform::DayNumber to) {
  return "dal " + platform::formatDate(from) + " al " + platform::formatDate(to);
}

}  // namespace

std::optional<Preset> presetNamed(std::string_view name) {
  for (const Named& p : kPresets)
    if (p.preset != Preset::Chosen && name == p.name) return p.preset;
  return std::nullopt;
}

std::string presetLabel(Preset preset) {
  for (const Named& p : kPresets)
    if (p.preset == preset) return p.label;
  return "";
}

Period resolvePeriod(const PeriodChoice& choice, platform::DayNumber first,
                     platform::DayNumber last) {
  platform::DayNumber from = first, to = last;
  switch (choice.preset) {
    case Preset::Chosen:
      from = choice.from.value_or(first);
      to = choice.to.value_or(last);
      if (choice.from && choice.to && from >= to)
        throw Refusal(Refusal::Kind::Period, "periodo scelto non valido: " + dates(from, to) +
                                                 " (l'inizio va prima della fine)");
      break;
    case Preset::YearToDate:
      from = platform::dayNumber(platform::civilDate(last).year - 1, 12, 31);
      break;
    case Preset::Longest:
      break;
    default:
      from = risk::yearsBefore(last, yearsOf(choice.preset));
      break;
  }
  Period period{std::max(from, first), std::min(to, last), from < first || to > last};
  if (period.from >= period.to)
    throw Refusal(Refusal::Kind::Period, "il periodo scelto (" + dates(from, to) +
                                             ") è fuori dalla storia comune dei prodotti (" +
                                             dates(first, last) + ")");
  return period;
}

}  // namespace versus
