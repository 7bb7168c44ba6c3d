#include "cli/RunOutput.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "cli/Session.h"
#include "platform/Profile.h"
#include "report/SheetFile.h"
#include "statind/WindowOptions.h"
#ifdef STATIND_CLI_PDF
#include "report/ui/SheetPdf.h"
#endif

namespace cli {

std::optional<CommonOptions> outputOptions(const CommonOptions& given) {
  if (given.format == "pdf" && given.output.empty()) {
    std::cerr << "--format pdf vuole --output FILE\n";
    return std::nullopt;
  }
  CommonOptions common = given;
  if (!common.output.empty() && common.output != kStandardOutput)
    common.output = std::filesystem::absolute(common.output).string();
  return common;
}

report::SheetOptions sheetOptions(Session& session, const std::string& chartOptions,
                                  const char* optionsKey, const char* defaultOptions) {
  startup::AppParams& params = session.params();
  report::SheetOptions options;
  options.operatorCode = params.operatorCode;
  options.madeOn = platform::today();
  options.valueFormat = params.valueFormat;
  const std::string boxes = chartOptions.empty()
                                ? platform::readIni(params.ownIniPath, "PARAMETRI", optionsKey)
                                : chartOptions;
  options.chart = statind::WindowOptions::restore(boxes, defaultOptions, false);
  return options;
}

int writeRun(const CommonOptions& common, const RunWriters& writers) {
  const bool toStdout = common.output.empty() || common.output == kStandardOutput;
  std::ostringstream text;
  try {
    if (common.format == "pdf") {
#ifdef STATIND_CLI_PDF
      text << report::ui::sheetPdf(writers.sheet());
#else
      std::cerr << "questa build di statind-cli non scrive PDF\n";
      return kExitUsage;
#endif
    } else if (common.format == "json") {
      writers.json(text);
    } else if (common.format == "csv") {
      writers.csv(text);
    } else {
      writers.text(text, toStdout && isatty(STDOUT_FILENO) != 0);
    }
    if (toStdout) {
      std::cout << text.str() << std::flush;
    } else {
      report::saveFile(common.output, text.str());
    }
  } catch (const report::SaveError& e) {
    std::cerr << e.what() << "\n";
    return kExitStore;
  }
  return kExitOk;
}

}  // namespace cli
