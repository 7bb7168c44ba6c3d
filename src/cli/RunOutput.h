// How statind-cli hands over one run (report or compare): the client sheet as PDF where the
// build can draw it, otherwise text, JSON or CSV on standard output or saved whole into
// --output. The two commands differ only in what they write, which they pass in.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/Commands.h"
#include "report/ClientSheet.h"
#include "report/StatSheet.h"

namespace cli {

class Session;

// The --output that means standard output.
inline constexpr std::string_view kStandardOutput = "-";

// What one command writes for each format.
struct RunWriters {
  std::function<report::ClientSheet()> sheet;  // asked only for pdf
  std::function<void(std::ostream&)> json;
  std::function<void(std::ostream&)> csv;
  std::function<void(std::ostream&, bool colour)> text;
};

// The output options of a run, checked before the start-up: pdf needs --output (nullopt, after
// telling why on stderr), and a relative --output is made absolute, because the start-up moves
// into the program's folder while the caller meant its own.
std::optional<CommonOptions> outputOptions(const CommonOptions& given);

// The sheet's options as the window would print now: the operator, today, the value format and
// the chart boxes given (`chartOptions`), or else those last saved under `optionsKey`.
report::SheetOptions sheetOptions(Session& session, const std::string& chartOptions,
                                  const char* optionsKey, const char* defaultOptions);

// Writes in `common.format` to standard output (no --output, or "-") or whole into the file
// (report::saveFile: a device or FIFO is written in place, a regular file keeps its
// permissions); returns kExitOk, kExitStore when the file cannot be saved (the reason on
// stderr, nothing left behind) or kExitUsage for a PDF this build cannot write.
int writeRun(const CommonOptions& common, const RunWriters& writers);

}  // namespace cli
