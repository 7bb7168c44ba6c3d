// The three ways statind-cli compare prints one comparison run: JSON with the grid's texts and
// the chart's points, a table for a person at a terminal, and ';'-separated rows.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "report/CompareData.h"

namespace cli {

using report::CompareData;

// {"product","from","to","month","rows":[{"ANNO","INIZIO","FINE","%"}],"chart":{"type",
// "title","pointCount","points":[{"label","value","legend"}]}}: "%" the rounded change (null
// when it is empty), point fields null where never written.
nlohmann::ordered_json compareJson(const CompareData& data);
// A heading, then the grid rows (one month) or the chart points (all months).
void writeCompareText(const CompareData& data, std::ostream& out, bool colour);

}  // namespace cli
