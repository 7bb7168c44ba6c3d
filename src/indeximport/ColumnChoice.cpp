#include "indeximport/ColumnChoice.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "indeximport/CsvFields.h"
#include "indeximport/DateReader.h"
#include "indeximport/NumberReader.h"

namespace indeximport {

namespace {

constexpr std::array<std::string_view, 2> kDateNames = {"data", "date"};
constexpr std::array<std::string_view, 7> kValueNames = {"valore", "valore quota", "quota", "nav",
                                                         "prezzo", "chiusura",     "close"};
constexpr std::array<std::string_view, 5> kProductNames = {"prodotto", "codice", "product", "code",
                                                           "codice prodotto"};

// Latin letters with accents as two-byte UTF-8 (U+00C0..U+00FF) and their base letters.
constexpr std::string_view kAccentBase =
    "aaaaaaaceeeeiiiidnooooo*ouuuuyts"   // U+00C0..U+00DF
    "aaaaaaaceeeeiiiidnooooo/ouuuuyty";  // U+00E0..U+00FF

std::vector<std::string_view> splitList(std::string_view list) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const auto comma = list.find(',', start);
    parts.push_back(list.substr(start, comma - start));
    if (comma == std::string_view::npos) return parts;
    start = comma + 1;
  }
}

template <std::size_t N>
bool among(const std::string& name, const std::array<std::string_view, N>& names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Positions of the header's columns whose name is one of `names`.
template <std::size_t N>
std::vector<int> named(const std::vector<std::string>& header,
                       const std::array<std::string_view, N>& names) {
  std::vector<int> found;
  for (std::size_t i = 0; i < header.size(); ++i)
    if (among(normalizedName(header[i]), names)) found.push_back(static_cast<int>(i));
  return found;
}

enum class Holds { Nothing, Dates, Numbers, Other };

// What column `column` holds in the sample rows (blank cells aside).
Holds holds(const ColumnSample& sample, int column) {
  Holds kind = Holds::Nothing;
  for (const auto& row : sample.rows) {
    if (column >= static_cast<int>(row.size())) continue;
    const std::string cell(trimmedField(row[column]));
    if (cell.empty()) continue;
    const Holds cellKind = dateShape(cell)                        ? Holds::Dates
                           : numberHint(cell) != NumberHint::None ? Holds::Numbers
                                                                  : Holds::Other;
    if (kind != Holds::Nothing && kind != cellKind) return Holds::Other;
    kind = cellKind;
  }
  return kind;
}

int columnCount(const ColumnSample& sample) {
  std::size_t count = sample.header.size();
  for (const auto& row : sample.rows) count = std::max(count, row.size());
  return static_cast<int>(count);
}

std::vector<int> holding(const ColumnSample& sample, Holds kind) {
  std::vector<int> found;
  for (int i = 0; i < columnCount(sample); ++i)
    if (holds(sample, i) == kind) found.push_back(i);
  return found;
}

// One column named by the user: a 1-based position, or a name of the header.
std::optional<int> resolve(std::string_view part, const ColumnSample& sample, std::string& error) {
  const std::string text(trimmedField(part));
  int position = 0;
  const auto [end, code] = std::from_chars(text.data(), text.data() + text.size(), position);
  if (code == std::errc() && end == text.data() + text.size() && !text.empty()) {
    if (position >= 1 && position <= 1000) return position - 1;
    error = "colonna " + text + " fuori dall'intervallo 1-1000";
    return std::nullopt;
  }
  const std::string wanted = normalizedName(text);
  for (std::size_t i = 0; i < sample.header.size(); ++i)
    if (normalizedName(sample.header[i]) == wanted) return static_cast<int>(i);
  error = sample.header.empty() ? "il file non ha intestazione: indicare la colonna \"" + text +
                                      "\" con il suo numero"
                                : "colonna \"" + text + "\" non trovata nell'intestazione";
  return std::nullopt;
}

std::string describe(const ColumnSample& sample, const char* role, int column) {
  const bool hasName = column < static_cast<int>(sample.header.size()) &&
                       !trimmedField(sample.header[column]).empty();
  const std::string name = hasName ? std::string(trimmedField(sample.header[column])) : role;
  return name + " (colonna " + std::to_string(column + 1) + ")";
}

std::string describe(const ColumnSample& sample, const SeriesColumns& columns) {
  std::string text;
  if (columns.product >= 0) text = describe(sample, "Prodotto", columns.product) + ", ";
  return text + describe(sample, "Data", columns.date) + ", " +
         describe(sample, "Valore", columns.value);
}

// The one column for `role`: by name when the header names exactly one, else by what the
// columns hold. Sets `error` when there is none or more than one.
template <std::size_t N>
int chooseOne(const ColumnSample& sample, const std::array<std::string_view, N>& names, Holds kind,
              const std::vector<int>& taken, const char* role, std::string& error) {
  auto found = named(sample.header, names);
  if (found.empty()) {
    found = holding(sample, kind);
    std::erase_if(found,
                  [&](int c) { return std::find(taken.begin(), taken.end(), c) != taken.end(); });
  }
  if (found.size() == 1) return found.front();
  error = found.empty() ? std::string("nessuna colonna ") + role + " riconosciuta"
                        : std::string("più colonne ") + role + " possibili";
  error += ": indicarle con --columns";
  return -1;
}

}  // namespace

std::string normalizedName(std::string_view name) {
  std::string out;
  int depth = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c == '(' || c == '[') {
      ++depth;
      continue;
    }
    if ((c == ')' || c == ']') && depth > 0) {
      --depth;
      continue;
    }
    if (depth > 0) continue;
    if (c == 0xC3 && i + 1 < name.size()) {
      const auto next = static_cast<unsigned char>(name[i + 1]);
      if (next >= 0x80 && next <= 0xBF) {
        out += kAccentBase[next - 0x80];
        ++i;
        continue;
      }
    }
    if (c == '_' || c == '\t') {
      out += ' ';
    } else if (c >= 'A' && c <= 'Z') {
      out += static_cast<char>(c - 'A' + 'a');
    } else {
      out += static_cast<char>(c);
    }
  }
  // Blanks collapsed and trimmed.
  std::string collapsed;
  for (const char c : out) {
    if (c == ' ' && (collapsed.empty() || collapsed.back() == ' ')) continue;
    collapsed += c;
  }
  if (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
  return collapsed;
}

namespace {

// True when `list` has the shape of a column request (two, long form three, non-empty parts);
// the names themselves are checked against the file.
bool isColumnList(std::string_view list, bool longForm) {
  const auto parts = splitList(list);
  if (parts.size() != (longForm ? 3u : 2u)) return false;
  return std::none_of(parts.begin(), parts.end(),
                      [](std::string_view p) { return trimmedField(p).empty(); });
}

}  // namespace

ColumnChoice chooseColumns(const ColumnRequest& request, const ColumnSample& sample) {
  ColumnChoice choice;
  for (const auto& list : request.lists) {
    if (!isColumnList(list, request.longForm)) {
      choice.error = "--columns \"" + list + "\": servono " +
                     (request.longForm ? "PRODOTTO,DATA,VALORE" : "DATA,VALORE");
      return choice;
    }
    const auto parts = splitList(list);
    std::vector<int> positions;
    for (const auto part : parts) {
      const auto column = resolve(part, sample, choice.error);
      if (!column) return choice;
      positions.push_back(*column);
    }
    SeriesColumns columns;
    if (request.longForm) {
      columns = {positions[0], positions[1], positions[2]};
    } else {
      columns.date = positions[0];
      columns.value = positions[1];
    }
    choice.series.push_back(columns);
  }
  if (request.lists.empty()) {
    SeriesColumns columns;
    if (request.longForm) {
      // product;date;value unless the header names them otherwise.
      const auto product = named(sample.header, kProductNames);
      const auto date = named(sample.header, kDateNames);
      const auto value = named(sample.header, kValueNames);
      columns.product = product.size() == 1 ? product.front() : 0;
      columns.date = date.size() == 1 ? date.front() : 1;
      columns.value = value.size() == 1 ? value.front() : 2;
      if (value.size() > 1) {
        choice.error = "più colonne del valore possibili: indicarle con --columns";
        return choice;
      }
    } else {
      columns.date = chooseOne(sample, kDateNames, Holds::Dates, {}, "della data", choice.error);
      if (columns.date < 0) return choice;
      columns.value = chooseOne(sample, kValueNames, Holds::Numbers, {columns.date}, "del valore",
                                choice.error);
      if (columns.value < 0) return choice;
    }
    choice.series.push_back(columns);
  }
  for (const auto& columns : choice.series) {
    if (!choice.description.empty()) choice.description += "; ";
    choice.description += describe(sample, columns);
  }
  return choice;
}

}  // namespace indeximport
