// Which columns of a price file hold the product, the date and the value. Chosen from the
// header's names when the file has one (Italian or English, without regard to case, accents
// or a unit in brackets: "Valore quota (€)"), else from what the columns hold, or as the user
// names them: a 1-based position or a header name.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace indeximport {

// A header name as compared: lower case, accents dropped, bracketed parts removed, '_' as a
// blank, blanks collapsed and trimmed ("Valore_Quota (€) " -> "valore quota").
std::string normalizedName(std::string_view name);

// The columns of one value series: 0-based positions.
struct SeriesColumns {
  int product = -1;  // long form only
  int date = -1;
  int value = -1;
};

struct ColumnRequest {
  bool longForm = false;
  // As the user wrote them, one per series: "DATE,VALUE" or, long form, "PRODUCT,DATE,VALUE";
  // empty to choose.
  std::vector<std::string> lists;
};

// What the first lines of the file look like, for choosing without names.
struct ColumnSample {
  std::vector<std::string> header;             // empty when the file has none
  std::vector<std::vector<std::string>> rows;  // the first data lines' fields
};

struct ColumnChoice {
  std::vector<SeriesColumns> series;  // one per list, or one when chosen
  std::string error;                  // why no choice could be made (Italian); "" on success
  // "Data (colonna 1), Valore quota (colonna 2)" for each series, joined by "; ".
  std::string description;
};

// A list that is not two (long form three) comma-separated names or positions gives an error
// naming it; so does a name the header lacks, and a choice that is not unique.
ColumnChoice chooseColumns(const ColumnRequest& request, const ColumnSample& sample);

}  // namespace indeximport
