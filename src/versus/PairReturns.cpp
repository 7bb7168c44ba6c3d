#include "versus/PairReturns.h"

#include <algorithm>
#include <cmath>

namespace versus {

std::vector<risk::SeriesPoint> logarithms(const std::vector<risk::SeriesPoint>& points) {
  std::vector<risk::SeriesPoint> logs;
  logs.reserve(points.size());
  for (const risk::SeriesPoint& p : points) logs.push_back({p.date, std::log(p.value)});
  return logs;
}

std::pair<PairFigures, PairFigures> pairFigures(const std::vector<risk::SeriesPoint>& a,
                                                const std::vector<risk::SeriesPoint>& b,
                                                platform::DayNumber from, platform::DayNumber to) {
  std::vector<double> ra, rb, differences;
  ra.reserve(std::min(a.size(), b.size()));
  rb.reserve(ra.capacity());
  differences.reserve(ra.capacity());
  const risk::SeriesPoint *lastA = nullptr, *lastB = nullptr;  // the previous shared date
  for (std::size_t i = 0, j = 0;
       i < a.size() && j < b.size() && a[i].date <= to && b[j].date <= to;) {
    if (a[i].date < b[j].date) {
      ++i;
    } else if (b[j].date < a[i].date) {
      ++j;
    } else {
      if (a[i].date > from && lastA) {
        ra.push_back(a[i].value - lastA->value);
        rb.push_back(b[j].value - lastB->value);
        differences.push_back(ra.back() - rb.back());
      }
      lastA = &a[i++];
      lastB = &b[j++];
    }
  }
  PairFigures ab;
  ab.returns = static_cast<int>(ra.size());
  ab.trackingError = risk::annualisedVolatility(differences);
  PairFigures ba = ab;
  if (ra.size() < 2) return {ab, ba};
  const double n = static_cast<double>(ra.size());
  double meanA = 0, meanB = 0;
  for (std::size_t k = 0; k < ra.size(); ++k) meanA += ra[k], meanB += rb[k];
  meanA /= n;
  meanB /= n;
  double covariance = 0, varianceA = 0, varianceB = 0;
  for (std::size_t k = 0; k < ra.size(); ++k) {
    covariance += (ra[k] - meanA) * (rb[k] - meanB);
    varianceA += (ra[k] - meanA) * (ra[k] - meanA);
    varianceB += (rb[k] - meanB) * (rb[k] - meanB);
  }
  // Both ratios are of sample figures: the n - 1 of each term cancels out.
  if (varianceB > 0) ab.beta = covariance / varianceB;
  if (varianceA > 0) ba.beta = covariance / varianceA;
  if (varianceA > 0 && varianceB > 0)
    ab.correlation = ba.correlation =
        std::clamp(covariance / std::sqrt(varianceA * varianceB), -1.0, 1.0);
  return {ab, ba};
}

}  // namespace versus
