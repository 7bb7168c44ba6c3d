// What statind-cli import-index tells about a run, refused or not: the file's dialect, the
// columns and formats used, the counts per product, and the lines, dates and conflicts named
// (the first of each), as text for a person or as JSON for a script.
#pragma once

#include <ostream>

#include "indeximport/IndexImport.h"

namespace cli {

void writeImportText(std::ostream& out, const indeximport::ImportResult& result, bool dryRun);
// {"status","message","target","written","file":{"encoding","separator","lineEnd","header",
// "columns","dateFormat","dateFormatAssumed","decimal"},"linesRead","badCount","skipped",
// "badLines":[{"line","text","reason"}],"repeatedCount","repeated":[{"product","date","line",
// "earlierLine","value","earlierValue"}],"unknownProducts":[...],"products":[{"product",
// "created","records","repeats","added","unchanged","replaced","conflicts","firstDate",
// "lastDate","conflictList":[{"date","stored","file","line"}],"lowCount","lowValues":[{"date",
// "value","line"}]}],"totals":{"records","added","unchanged","replaced","conflicts"}}. Dates are
// dd/mm/yyyy, values numbers.
void writeImportJson(std::ostream& out, const indeximport::ImportResult& result, bool dryRun);

}  // namespace cli
