// The texts of the comparison chart: the month labels of the all-months view, thinned out as
// the span of years grows, the year labels of the one-month view, indented to spread over the
// screen, and the bar legends.
#pragma once

#include <optional>
#include <string>

namespace compare {

// The label of month `month` of `year` in the all-months view over a span (to - from) of
// `span` years; nullopt where no label is written.
std::optional<std::string> monthLabel(int span, int month, int year);
// The blanks before a four-digit year label when `yearCount` years are compared on a screen
// `usableWidth` twips wide.
int labelIndent(int yearCount, int usableWidth);
// The label of `year` in the one-month view: `indent` blanks and the year; over more than 8
// years two blanks and its last two digits, over 14 and more those two digits alone.
std::string yearLabel(int year, int span, int indent);
// A bar's legend: the change in plain Italian notation ("-3,5") right-aligned in 5 characters,
// then "%".
std::string barLegend(double change);

}  // namespace compare
