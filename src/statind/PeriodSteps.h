// Where the year and month steppers and the jump buttons of the statistics window land. Works on
// list positions only (year position in the year list, month 0 = whole year, 1..12), so the rules
// can be checked without a window: every press is clamped to the product's index history.
#pragma once

#include <optional>
#include <vector>

namespace statind {

struct ProductRange;

struct PeriodPosition {
  int yearPos = 0;
  int month = 0;  // 0 = whole year
  bool operator==(const PeriodPosition&) const = default;
};

class PeriodSteps {
 public:
  // `lastYearPos` is the last position of the year list (the product's last year); `firstMonth`
  // and `lastMonth` the months of its first and last index (0 when unknown: no clamp).
  PeriodSteps(int lastYearPos, int firstMonth, int lastMonth);
  // The steps over the history `range` shown in a year list whose last position is
  // `lastYearPos`; nullopt while no product with index data is chosen: the steppers and jumps
  // have nothing to act on then, and the product pane nothing to show.
  static std::optional<PeriodSteps> over(const std::optional<ProductRange>& range, int lastYearPos);

  // The year stepper always leads to a run; at the ends of the list the year stays.
  PeriodPosition yearDown(PeriodPosition from) const;
  PeriodPosition yearUp(PeriodPosition from) const;
  // The month stepper crosses year ends; nullopt when it would leave the list (no run).
  std::optional<PeriodPosition> monthDown(PeriodPosition from) const;
  std::optional<PeriodPosition> monthUp(PeriodPosition from) const;

  // "|<": first month of the history; ">|": its last month; "X": the whole year shown.
  PeriodPosition toFirst() const;
  PeriodPosition toLast() const;
  PeriodPosition wholeYear(PeriodPosition from) const;
  // A press of stepper 0 (year) or 1 (month), down or `up`.
  std::optional<PeriodPosition> step(int stepper, bool up, PeriodPosition from) const;
  // A press of jump button 0 ("|<"), 1 (">|") or 2 ("X").
  PeriodPosition jump(int button, PeriodPosition from) const;

  // The clamp after a stepper or a jump: in the first year a month (the whole year included,
  // unless `wholeYearAllowed`) before the first index moves to the first month; in the last year
  // a month after the last index moves to the last month.
  PeriodPosition clamp(PeriodPosition at, bool wholeYearAllowed = false) const;
  // The clamp of a choice in the year or month list: the whole year is always allowed.
  PeriodPosition clampChoice(PeriodPosition at) const { return clamp(at, true); }

  // The year list before any product is chosen: 1980 to `thisYear`.
  static std::vector<int> openingYears(int thisYear);
  // Where `year` stands in `years`; the last position when it is not there (-1 for no years).
  static int yearPosition(const std::vector<int>& years, int year);

 private:
  int lastYearPos_;
  int firstMonth_;
  int lastMonth_;
};

}  // namespace statind
