#include "risk/RiskText.h"

#include <cctype>

#include "statind/PeriodStatistics.h"
#include "statind/StatText.h"

namespace risk {

namespace {

std::string header(const WindowFigures& w, int year) {
  if (w.name == "anno") {
    std::string text = "anno " + std::to_string(year);
    if (w.startRule) text += " (" + statind::startRuleCaption(*w.startRule) + ")";
    return text;
  }
  if (w.name == "1a") return "1 anno";
  if (w.name == "3a") return "3 anni";
  if (w.name == "5a") return "5 anni";
  return w.name;
}

std::string dateText(const std::optional<platform::DayNumber>& day) {
  return day ? platform::formatDate(*day) : "";
}

std::string monthText(const std::optional<MonthFigure>& month) {
  if (!month) return "";
  return platform::formatNumber(month->change, "#0.000") + " (" +
         monthYearText(month->month, month->year) + ")";
}

}  // namespace

std::string percentText(const std::optional<double>& fraction) {
  if (!fraction) return "";
  const std::string text = platform::formatNumber(*fraction * 100, "#0.00");
  return text == "-0,00" ? "0,00" : text;
}

std::string monthYearText(int month, int year) {
  std::string name = statind::monthAbbreviation(month);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name + " " + std::to_string(year);
}

std::string cellText(const MonthCell& cell) {
  return cell.partial && cell.change ? cell.text + " P" : cell.text;
}

FigureTable figureTable(const RiskResult& result) {
  FigureTable table;
  table.lines = {{"dal", {}},
                 {"al", {}},
                 {"variazione %", {}, true},
                 {"rendimento annuo %", {}, true},
                 {"volatilita' annua %", {}},
                 {"massimo ribasso %", {}, true},
                 {"  picco", {}},
                 {"  minimo", {}},
                 {"  recupero", {}},
                 {"mese migliore %", {}, true},
                 {"mese peggiore %", {}, true},
                 {"mesi positivi %", {}}};
  for (const WindowFigures& w : result.windows) {
    table.header.push_back(header(w, result.year));
    std::vector<std::string> cells(table.lines.size());
    if (!w.covered) {
      cells[0] = cells[1] = "storia breve";
    } else {
      const Drawdown& dd = w.maxDrawdown;
      cells = {platform::formatDate(w.from),
               platform::formatDate(w.to),
               percentText(w.change),
               percentText(w.annualisedReturn),
               percentText(w.volatility),
               percentText(dd.value),
               dateText(dd.peak),
               dateText(dd.trough),
               dd.trough && !dd.recovery ? "non recuperato" : dateText(dd.recovery),
               monthText(w.bestMonth),
               monthText(w.worstMonth),
               percentText(w.positiveMonths)};
    }
    for (std::size_t i = 0; i < cells.size(); ++i) table.lines[i].cells.push_back(cells[i]);
  }
  return table;
}

std::string riskClassText(const MarketRisk& mrm) {
  return mrm.riskClass ? std::to_string(*mrm.riskClass) : "dati insufficienti";
}

std::string riskDetailText(const MarketRisk& mrm) {
  std::string text =
      mrm.vev ? "VEV " + platform::formatNumber(*mrm.vev * 100, "#0.000") + " %, " : std::string();
  const bool whole = mrm.holdingYears == static_cast<int>(mrm.holdingYears);
  const std::string years = platform::formatNumber(mrm.holdingYears, whole ? "#" : "#0.00");
  return text + "periodo di detenzione " + years + (years == "1" ? " anno" : " anni");
}

}  // namespace risk
