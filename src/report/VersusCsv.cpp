#include "report/VersusCsv.h"

#include "report/ReportCsv.h"
#include "versus/VersusText.h"

namespace report {

void writeVersusCsv(const versus::VersusResult& result, std::ostream& out) {
  writeCsvLine({"periodo", versus::periodText(result)}, out);
  writeCsvLine({"benchmark", versus::benchmarkText(result)}, out);
  writeCsvLine({"tasso senza rischio", versus::riskFreeText(result.riskFree)}, out);
  for (const auto& table : {versus::figuresTable(result), versus::yearsTable(result),
                            versus::correlationTable(result)}) {
    writeCsvLine({}, out);
    writeCsvLine({table.title}, out);
    for (const auto& line : versus::tableLines(table)) writeCsvLine(line, out);
  }
  writeCsvLine({}, out);
  writeCsvLine({"Valore di 100 investiti il " + platform::formatDate(result.period.from)}, out);
  std::vector<std::string> header{"data"};
  for (const auto& p : result.products) header.push_back(p.product);
  writeCsvLine(header, out);
  for (std::size_t d = 0; d < result.chart.dates.size(); ++d) {
    std::vector<std::string> line{platform::formatDate(result.chart.dates[d])};
    for (const auto& values : result.chart.values)
      line.push_back(platform::formatNumber(values[d], "#0.00"));
    writeCsvLine(line, out);
  }
}

}  // namespace report
