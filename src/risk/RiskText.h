// The risk figures as a promoter reads them: one column per window, one line per figure, Italian
// captions and numbers, and the class with its caveat. The window and statind-cli show the same
// texts.
#pragma once

#include <string>
#include <vector>

#include "risk/RiskFigures.h"

namespace risk {

struct FigureLine {
  std::string caption;
  std::vector<std::string> cells;  // one per window; "" where the figure does not exist
  bool signedFigure = false;       // a change that may be negative (shown red below 0)
};

struct FigureTable {
  std::vector<std::string> header;  // "anno 2025", "1 anno", "3 anni", "5 anni", "storico"
  std::vector<FigureLine> lines;
};

// A window the history does not cover shows "storia breve" on its period lines and nothing
// below them. Rates in percent with two decimals, months "-1,234 (mar 2010)", dates dd/mm/yyyy.
FigureTable figureTable(const RiskResult& result);
// "4", or "dati insufficienti".
std::string riskClassText(const MarketRisk& mrm);
// "VEV 15,23 %" ("" when insufficient), then the holding period.
std::string riskDetailText(const MarketRisk& mrm);
// A fraction as a percentage with two decimals ("18,53"); "" for none.
std::string percentText(const std::optional<double>& fraction);
// A map cell as the table shows it: the grid's text, with " P" on a partial month.
std::string cellText(const MonthCell& cell);
// "mar 2010".
std::string monthYearText(int month, int year);

}  // namespace risk
