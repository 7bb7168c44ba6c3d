// What the demo installation offers: its groups, categories and about forty products, each
// with the shape of its index history. Plain data, so that the installation, its tests and its
// summary all describe the same products.
#pragma once

#include <string_view>
#include <vector>

#include "utilities/PriceWalk.h"

namespace utilities {

// The situations a user meets in real data, one product each (see DemoInstallation.h).
enum class DemoSpecial {
  None,
  StartsMidYear,         // history from Wednesday 15/04/2009
  EndsEarly,             // last value on Friday 30/09/2016
  NoIndexSeries,         // NoIndici = 1, although values are stored
  CategoryWithoutIndex,  // in the category of Tipo "S", although values are stored
  FixedValue,            // a fixed value on 31/12/2199 above an ordinary series
  ZeroValues,            // three zero values inside the series, two of them consecutive
  MaxValue,              // one value of 999999 inside the series
  UndatedRecord,         // one record dated 01/01/1900 before the series
  NoRecords,             // listed, but without any record in Indici
};

struct DemoGroup {
  std::string_view code;  // one character: the product filter reads the entry's first one
  std::string_view description;
};

struct DemoCategory {
  std::string_view code;
  std::string_view description;
  std::string_view type;  // "N", or "S" for products without an index series
};

struct DemoProduct {
  std::string_view code;
  std::string_view description;
  std::string_view currency;
  std::string_view group;
  std::string_view category;
  std::string_view fund;  // share classes of one fund name the same fund: they move together
  int startYear, startMonth, startDay;
  double startValue;
  double risk;        // scales the group's own volatility
  double yearlyCost;  // taken off the drift: what tells share classes apart
  DemoSpecial special = DemoSpecial::None;
};

class DemoCatalogue {
 public:
  static const std::vector<DemoGroup>& groups();
  static const std::vector<DemoCategory>& categories();
  static const std::vector<DemoProduct>& products();

  // How the product's value moves: its group's drift, volatility and market sensitivity,
  // adjusted by the product's risk and cost.
  static WalkParams walkFor(const DemoProduct& product);
  // A short Italian note on a special product ("" for an ordinary one), for summaries.
  static std::string_view note(DemoSpecial special);
};

}  // namespace utilities
