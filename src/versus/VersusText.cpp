#include "versus/VersusText.h"

#include <algorithm>

#include "risk/RiskText.h"

namespace versus {

namespace {

enum class Best { None, Highest, Lowest };

std::string dateText(const std::optional<platform::DayNumber>& day) {
  return day ? platform::formatDate(*day) : "";
}

TextCell figure(const std::optional<double>& value, const std::string& text, bool signedFigure) {
  return TextCell{text, false, signedFigure && !text.empty() && text.front() == '-', value};
}

TextCell rate(const std::optional<double>& fraction, bool signedFigure = true) {
  return figure(fraction, risk::percentText(fraction), signedFigure);
}

TextCell ratioCell(const std::optional<double>& value) {
  return figure(value, ratioText(value), true);
}

// Marks the best figure of the line; every one equal to it on a tie.
void mark(TextLine& line, Best best) {
  if (best == Best::None) return;
  std::optional<double> top;
  for (const TextCell& cell : line.cells) {
    if (!cell.value) continue;
    if (!top || (best == Best::Highest ? *cell.value > *top : *cell.value < *top)) top = cell.value;
  }
  // Two products that differ only beyond the shown decimals are both best.
  const std::string topText = [&] {
    for (const TextCell& cell : line.cells)
      if (cell.value == top) return cell.text;
    return std::string();
  }();
  for (TextCell& cell : line.cells) cell.best = top && cell.text == topText;
}

TextTable productTable(const VersusResult& result, const std::string& title,
                       const std::string& first) {
  TextTable table{title, {first}, {}};
  for (const ProductFigures& p : result.products) table.header.push_back(p.product);
  return table;
}

template <typename Cell>
void addLine(TextTable& table, const VersusResult& result, const std::string& caption, Best best,
             Cell cell) {
  TextLine line{caption, {}};
  for (const ProductFigures& p : result.products) line.cells.push_back(cell(p));
  mark(line, best);
  table.lines.push_back(std::move(line));
}

}  // namespace

std::string ratioText(const std::optional<double>& value) {
  if (!value) return "";
  const std::string text = platform::formatNumber(*value, "#0.00");
  return text == "-0,00" ? "0,00" : text;
}

TextTable figuresTable(const VersusResult& result) {
  TextTable table = productTable(result, "Cifre del periodo", "");
  addLine(table, result, "variazione %", Best::Highest,
          [](const ProductFigures& p) { return rate(p.figures.change); });
  addLine(table, result, "rendimento annuo %", Best::Highest,
          [](const ProductFigures& p) { return rate(p.figures.annualisedReturn); });
  addLine(table, result, "volatilita' annua %", Best::Lowest,
          [](const ProductFigures& p) { return rate(p.figures.volatility, false); });
  addLine(table, result, "massimo ribasso %", Best::Highest,
          [](const ProductFigures& p) { return rate(p.figures.maxDrawdown.value); });
  addLine(table, result, "  picco", Best::None,
          [](const ProductFigures& p) { return TextCell{dateText(p.figures.maxDrawdown.peak)}; });
  addLine(table, result, "  minimo", Best::None,
          [](const ProductFigures& p) { return TextCell{dateText(p.figures.maxDrawdown.trough)}; });
  addLine(table, result, "  recupero", Best::None, [](const ProductFigures& p) {
    const risk::Drawdown& dd = p.figures.maxDrawdown;
    return TextCell{dd.trough && !dd.recovery ? "non ancora" : dateText(dd.recovery)};
  });
  addLine(table, result, "indice di Sharpe", Best::Highest,
          [](const ProductFigures& p) { return ratioCell(p.sharpe); });
  if (!result.benchmark) return table;
  const std::string against = result.products[*result.benchmark].product;
  const auto vs = [](const ProductFigures& p) -> const VsBenchmark* {
    return p.vsBenchmark ? &*p.vsBenchmark : nullptr;
  };
  addLine(table, result, "correlazione con " + against, Best::None, [&](const ProductFigures& p) {
    return ratioCell(vs(p) ? vs(p)->pair.correlation : std::nullopt);
  });
  addLine(table, result, "beta verso " + against, Best::None, [&](const ProductFigures& p) {
    return ratioCell(vs(p) ? vs(p)->pair.beta : std::nullopt);
  });
  addLine(table, result, "tracking error %", Best::None, [&](const ProductFigures& p) {
    return rate(vs(p) ? vs(p)->pair.trackingError : std::nullopt, false);
  });
  addLine(table, result, "information ratio", Best::Highest, [&](const ProductFigures& p) {
    return ratioCell(vs(p) ? vs(p)->informationRatio : std::nullopt);
  });
  return table;
}

TextTable yearsTable(const VersusResult& result) {
  TextTable table = productTable(result, "Anno per anno (variazione %)", "anno");
  const std::vector<YearChange>& years = result.products.front().years;
  for (std::size_t y = 0; y < years.size(); ++y) {
    addLine(table, result, std::to_string(years[y].year) + (years[y].partial ? " P" : ""),
            Best::Highest, [&](const ProductFigures& p) { return rate(p.years[y].change); });
  }
  return table;
}

TextTable correlationTable(const VersusResult& result) {
  TextTable table = productTable(result, "Correlazioni dei rendimenti giornalieri", "");
  for (std::size_t i = 0; i < result.products.size(); ++i) {
    TextLine line{result.products[i].product, {}};
    // Black on the colour scale, as the returns map: the tone already tells the sign.
    for (const auto& value : result.correlation[i])
      line.cells.push_back(figure(value, ratioText(value), false));
    table.lines.push_back(std::move(line));
  }
  return table;
}

std::vector<std::optional<std::string>> chartLabels(const RebasedChart& chart) {
  std::vector<std::optional<std::string>> labels;
  const auto& dates = chart.dates;
  const bool daily = dates.size() > 1 && dates.back() - dates.front() <= 366;
  // The start usually closes the month or year before: a label there would crowd out the next.
  labels.emplace_back();
  bool yearShown = false;
  for (std::size_t i = 1; i < dates.size(); ++i) {
    const auto date = platform::civilDate(dates[i]), before = platform::civilDate(dates[i - 1]);
    if (daily && date.month != before.month) {
      // Month names, short enough for all twelve; the year where it is not yet said.
      const std::string text = risk::monthYearText(date.month, date.year);
      labels.emplace_back(!yearShown || date.month == 1 ? text : text.substr(0, 3));
      yearShown = true;
    } else if (!daily && date.year != before.year) {
      labels.emplace_back(std::to_string(date.year));
    } else {
      labels.emplace_back();
    }
  }
  return labels;
}

std::vector<std::vector<std::string>> tableLines(const TextTable& table) {
  std::vector<std::vector<std::string>> lines{table.header};
  for (const TextLine& line : table.lines) {
    std::vector<std::string>& texts = lines.emplace_back(1, line.caption);
    for (const TextCell& cell : line.cells) texts.push_back(cell.text);
  }
  return lines;
}

std::string periodText(const VersusResult& result) {
  std::string text = "dal " + platform::formatDate(result.period.from) + " al " +
                     platform::formatDate(result.period.to);
  if (result.period.shortened)
    text += " (storia comune dal " + platform::formatDate(result.sharedFirst) + " al " +
            platform::formatDate(result.sharedLast) + ")";
  return text;
}

std::string benchmarkText(const VersusResult& result) {
  if (!result.benchmark) return "nessuno";
  const ProductFigures& b = result.products[*result.benchmark];
  return b.description.empty() ? b.product : b.product + " - " + b.description;
}

std::string riskFreeText(const RiskFree& riskFree, bool described) {
  if (riskFree.product.empty()) return "0 % (INDICE_MONETARIO non impostato)";
  const std::string name = riskFree.description.empty() || !described
                               ? riskFree.product
                               : riskFree.product + " - " + riskFree.description;
  if (!riskFree.annualisedReturn) return name + ": non disponibile (" + riskFree.note + ")";
  return name + ": " + risk::percentText(riskFree.annualisedReturn) + " % annuo";
}

std::string legendText(const ProductFigures& product) {
  const std::string change = risk::percentText(product.figures.change);
  return product.product + " " + (product.figures.change > 0 && change != "0,00" ? "+" : "") +
         change + " %";
}

}  // namespace versus
