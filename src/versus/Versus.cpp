#include "versus/Versus.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <tuple>

#include "indexdata/Helpers.h"
#include "platform/Strings.h"
#include "risk/IndexSeries.h"

namespace versus {

namespace {

using platform::DayNumber;
using risk::SeriesPoint;

struct Loaded {
  std::string code, description;
  std::vector<SeriesPoint> points;
};

std::string lower(const std::string& code) {
  std::string text = indexdata::trimBlanks(code);
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string datesText(const std::vector<SeriesPoint>& points) {
  return "dal " + platform::formatDate(points.front().date) + " al " +
         platform::formatDate(points.back().date);
}

// The product's row in TabProdotti and its usable points; a product the suite does not list,
// or without a usable index, is refused.
Loaded load(indexdata::IndexLookup& lookup, const std::string& product) {
  const std::string code = indexdata::trimBlanks(product);
  const auto rows = lookup.dataDb().snapshot(
      "SELECT Codice, Descrizione FROM TabProdotti WHERE Codice = ?1", {code});
  if (rows.empty()) throw Refusal(Refusal::Kind::NoData, "prodotto sconosciuto: " + code);
  Loaded loaded{indexdata::trimBlanks(platform::valueText(rows.front().at(0))),
                indexdata::trimBlanks(platform::valueText(rows.front().at(1))),
                {}};
  loaded.points = risk::IndexSeries::read(lookup, code, statind::StartRule::FirstUseful).usable();
  if (loaded.points.empty())
    throw Refusal(Refusal::Kind::NoData, "nessun indice per il prodotto " + loaded.code);
  return loaded;
}

// The history all products share: from the latest first point to the earliest last one.
// Refuses products whose histories do not meet, naming the one that starts last and the one
// that ends first.
std::pair<DayNumber, DayNumber> sharedHistory(const std::vector<Loaded>& loaded) {
  auto starts = [](const Loaded& a, const Loaded& b) {
    return a.points.front().date < b.points.front().date;
  };
  auto ends = [](const Loaded& a, const Loaded& b) {
    return a.points.back().date < b.points.back().date;
  };
  const Loaded& late = *std::max_element(loaded.begin(), loaded.end(), starts);
  const Loaded& early = *std::min_element(loaded.begin(), loaded.end(), ends);
  if (late.points.front().date < early.points.back().date)
    return {late.points.front().date, early.points.back().date};
  const std::string message = &late == &early
                                  ? late.code + " ha un solo indice utile (" +
                                        platform::formatDate(late.points.front().date) + ")"
                                  : late.code + " ha indici " + datesText(late.points) + ", " +
                                        early.code + " " + datesText(early.points);
  throw Refusal(Refusal::Kind::NoOverlap, "nessun periodo comune ai prodotti: " + message);
}

double valueOn(const std::vector<SeriesPoint>& points, DayNumber day) {
  return risk::pointOnOrBefore(points, day)->value;
}

// Each calendar year the period touches, from the close before it (or the period's start) to
// its own close (or the period's end).
std::vector<YearChange> yearChanges(const std::vector<SeriesPoint>& points, const Period& period) {
  std::vector<YearChange> years;
  const int last = platform::civilDate(period.to).year;
  for (int year = platform::civilDate(period.from).year; year <= last; ++year) {
    const DayNumber closeBefore = platform::dayNumber(year - 1, 12, 31);
    const DayNumber close = platform::dayNumber(year, 12, 31);
    const DayNumber start = std::max(closeBefore, period.from), end = std::min(close, period.to);
    if (start >= end) continue;  // a period opening on 31 December starts with the next year
    years.push_back({year, risk::change(valueOn(points, start), valueOn(points, end)),
                     start != closeBefore || end != close});
  }
  return years;
}

std::vector<DayNumber> chartDates(const std::vector<Loaded>& loaded, const Period& period) {
  std::vector<DayNumber> dates{period.from};
  if (period.to - period.from <= 366) {
    for (const Loaded& product : loaded)
      for (const SeriesPoint& p : product.points)
        if (p.date > period.from && p.date <= period.to) dates.push_back(p.date);
    std::sort(dates.begin(), dates.end());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    return dates;
  }
  auto civil = platform::civilDate(period.from);
  for (int year = civil.year, month = civil.month;; ++month) {
    if (month > 12) month = 1, ++year;
    const DayNumber end = platform::lastDayOfMonth(month, year);
    if (end >= period.to) break;
    if (end > period.from) dates.push_back(end);
  }
  dates.push_back(period.to);
  return dates;
}

RebasedChart rebased(const std::vector<Loaded>& loaded, const Period& period) {
  RebasedChart chart;
  chart.dates = chartDates(loaded, period);
  for (const Loaded& product : loaded) {
    const double base = valueOn(product.points, period.from);
    std::vector<double>& values = chart.values.emplace_back();
    for (DayNumber date : chart.dates) values.push_back(100 * valueOn(product.points, date) / base);
  }
  return chart;
}

// The named product's annualised return over the whole period, or why there is none.
RiskFree riskFreeRate(indexdata::IndexLookup& lookup, const std::string& code,
                      const Period& period) {
  RiskFree rate;
  if (indexdata::trimBlanks(code).empty()) {
    rate.annualisedReturn = 0;
    return rate;
  }
  rate.product = indexdata::trimBlanks(code);
  Loaded loaded;
  try {
    loaded = load(lookup, rate.product);
  } catch (const Refusal& refusal) {
    rate.note = refusal.what();
    return rate;
  }
  rate.product = loaded.code;
  rate.description = loaded.description;
  const auto& points = loaded.points;
  if (points.front().date > period.from || points.back().date < period.to) {
    rate.note = "indici " + datesText(points) + ": non coprono il periodo";
    return rate;
  }
  rate.annualisedReturn = risk::annualisedReturn(
      valueOn(points, period.from), valueOn(points, period.to), period.to - period.from);
  if (!rate.annualisedReturn) rate.note = "periodo inferiore a un anno";
  return rate;
}

std::optional<double> ratio(const std::optional<double>& numerator,
                            const std::optional<double>& denominator) {
  if (!numerator || !denominator || *denominator == 0) return std::nullopt;
  return *numerator / *denominator;
}

std::optional<double> difference(const std::optional<double>& a, const std::optional<double>& b) {
  if (!a || !b) return std::nullopt;
  return *a - *b;
}

}  // namespace

std::string refusalToAdd(const std::vector<std::string>& products, const std::string& code) {
  for (const std::string& present : products)
    if (platform::equalsNoCase(present, code)) return code + " è già tra i prodotti";
  if (products.size() >= kMaxProducts)
    return "al massimo 8 prodotti: togline uno prima di aggiungerne un altro";
  return "";
}

void checkParams(const VersusParams& params) {
  const auto& products = params.products;
  if (products.size() < kMinProducts || products.size() > kMaxProducts)
    throw std::invalid_argument("da 2 a 8 prodotti da confrontare, non " +
                                std::to_string(products.size()));
  for (std::size_t i = 0; i < products.size(); ++i) {
    if (lower(products[i]).empty()) throw std::invalid_argument("codice prodotto vuoto");
    for (std::size_t j = 0; j < i; ++j)
      if (lower(products[i]) == lower(products[j]))
        throw std::invalid_argument("prodotto ripetuto: " + indexdata::trimBlanks(products[i]));
  }
  const std::string benchmark = lower(params.benchmark);
  if (!benchmark.empty() &&
      std::none_of(products.begin(), products.end(),
                   [&](const std::string& p) { return lower(p) == benchmark; }))
    throw std::invalid_argument("il benchmark " + indexdata::trimBlanks(params.benchmark) +
                                " non è tra i prodotti confrontati");
}

VersusResult computeVersus(indexdata::IndexLookup& lookup, const VersusParams& params) {
  checkParams(params);
  platform::Database::ReadScope dataScope(lookup.dataDb());
  const auto indexHold = lookup.indexTable().hold();
  std::vector<Loaded> loaded;
  for (const std::string& product : params.products) loaded.push_back(load(lookup, product));
  VersusResult result;
  std::tie(result.sharedFirst, result.sharedLast) = sharedHistory(loaded);
  const Period period = resolvePeriod(params.period, result.sharedFirst, result.sharedLast);
  result.period = period;
  result.riskFree = riskFreeRate(lookup, params.riskFree, period);
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    if (!params.benchmark.empty() && lower(params.products[i]) == lower(params.benchmark))
      result.benchmark = i;
    ProductFigures& p = result.products.emplace_back();
    p.product = loaded[i].code;
    p.description = loaded[i].description;
    p.figures = risk::periodFigures(loaded[i].points, period.from, period.to);
    p.sharpe = ratio(difference(p.figures.annualisedReturn, result.riskFree.annualisedReturn),
                     p.figures.volatility);
    p.years = yearChanges(loaded[i].points, period);
  }

  // Every pair once, both ways: the matrix, and each product against the benchmark.
  const std::size_t n = loaded.size();
  std::vector<std::vector<SeriesPoint>> logs;
  for (const Loaded& product : loaded) logs.push_back(logarithms(product.points));
  result.correlation.assign(n, std::vector<std::optional<double>>(n));
  const auto against = [&](std::size_t product, std::size_t benchmark, const PairFigures& pair) {
    if (result.benchmark != benchmark) return;
    VsBenchmark& vs = result.products[product].vsBenchmark.emplace();
    vs.pair = pair;
    vs.informationRatio = ratio(difference(result.products[product].figures.annualisedReturn,
                                           result.products[benchmark].figures.annualisedReturn),
                                pair.trackingError);
  };
  for (std::size_t i = 0; i < n; ++i) {
    // A product against itself pairs its own returns: correlated wholly unless they never move.
    const auto& volatility = result.products[i].figures.volatility;
    if (volatility && *volatility > 0) result.correlation[i][i] = 1;
    for (std::size_t j = i + 1; j < n; ++j) {
      const auto [ij, ji] = pairFigures(logs[i], logs[j], period.from, period.to);
      result.correlation[i][j] = result.correlation[j][i] = ij.correlation;
      against(i, j, ij);
      against(j, i, ji);
    }
  }
  result.chart = rebased(loaded, period);
  return result;
}

}  // namespace versus
