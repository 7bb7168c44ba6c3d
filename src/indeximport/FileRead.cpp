#include "indeximport/FileRead.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

#include "indeximport/ColumnChoice.h"
#include "indeximport/CsvFields.h"
#include "indeximport/CsvText.h"
#include "platform/Strings.h"

namespace indeximport {

namespace {

constexpr platform::DayNumber kFirstHistoryDay = 100;  // 09/04/1900

// Data lines that show what the columns hold when the header does not say.
constexpr std::size_t kSampleRows = 50;
// A bad line is shown up to this many characters.
constexpr std::size_t kShownChars = 120;
constexpr double kSuiteMarker = 999999;

// A line of blanks and separators only: what spreadsheets write below the data.
bool isBlankLine(std::string_view text, char separator) {
  for (const char c : text)
    if (c != ' ' && c != '\t' && c != separator) return false;
  return true;
}

std::string cutForReport(std::string_view text) {
  std::string cut = platform::firstChars(text, kShownChars);
  if (cut.size() < text.size()) cut += "...";
  return cut;
}

// Why `value` cannot be stored as an index value; "" when it can.
std::string refusedValue(double value) {
  if (!std::isfinite(value)) return "valore non finito";
  if (value == 0) return "valore 0 (per la suite: indice da cancellare)";
  if (value < 0) return "valore negativo";
  if (value == kSuiteMarker) return "valore 999999 (segnaposto della suite)";
  return "";
}

// The state of one reading: the file, its splitter and what has been decided so far.
class Reader {
 public:
  Reader(const CsvText& text, const ReadOptions& options, FileRead& read)
      : lines_(text.lines()), options_(options), read_(read), fields_(read.separator) {}

  void run() {
    if (!chooseColumns()) return;
    if (!decideFormats()) return;
    readLines();
  }

 private:
  bool isData(std::size_t index) const {
    return index != headerIndex_ && !isBlankLine(lines_[index].text, read_.separator);
  }

  bool chooseColumns() {
    ColumnSample sample;
    for (std::size_t i = 0; i < lines_.size() && sample.rows.size() < kSampleRows; ++i) {
      if (isBlankLine(lines_[i].text, read_.separator) || !fields_.split(lines_[i].text)) continue;
      std::vector<std::string> row(fields_.fields().begin(), fields_.fields().end());
      const bool first = headerIndex_ == kNone && sample.rows.empty();
      if (first && std::none_of(row.begin(), row.end(),
                                [](const std::string& f) { return dateShape(f).has_value(); })) {
        headerIndex_ = i;
        sample.header = std::move(row);
        read_.header = true;
      } else {
        sample.rows.push_back(std::move(row));
      }
    }
    const ColumnChoice choice =
        indeximport::chooseColumns({options_.longForm, options_.columns}, sample);
    if (!choice.error.empty()) {
      read_.refusal = choice.error;
      return false;
    }
    columns_ = choice.series;
    read_.columns = choice.description;
    return true;
  }

  bool decideFormats() {
    DateDecision dates;
    NumberDecision numbers;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      if (!isData(i) || !fields_.split(lines_[i].text)) continue;
      const auto& fields = fields_.fields();
      for (const auto& columns : columns_) {
        if (columns.date < static_cast<int>(fields.size()))
          if (const auto shape = dateShape(fields[columns.date])) dates.add(*shape);
        if (columns.value < static_cast<int>(fields.size()))
          numbers.add(numberHint(fields[columns.value]));
      }
    }
    read_.dateFormat = options_.dateFormat ? options_.dateFormat : dates.decide();
    if (!read_.dateFormat) {
      read_.refusal = "nessuna data riconosciuta nel file";
      return false;
    }
    read_.dateFormatAssumed = !options_.dateFormat && dates.ambiguous();
    bool undecided = false;
    read_.decimal = options_.decimal ? options_.decimal : numbers.decide(undecided);
    if (!read_.decimal) {
      read_.refusal =
          "separatore decimale non determinabile (valori come 1,234 o 1.234): indicare "
          "--decimal , (italiano) oppure --decimal . (inglese)";
      return false;
    }
    return true;
  }

  void bad(const TextLine& line, const std::string& reason) {
    ++read_.badCount;
    if (read_.badLines.size() < kListedLines)
      read_.badLines.push_back(
          {line.number, printable(cutForReport(line.text)), printable(reason)});
  }

  // The series of a long-form code, made at its first line.
  std::size_t seriesOf(std::string_view code) {
    if (!lastCode_.empty() && code == lastCode_) return lastSeries_;
    lastCode_ = code;
    const auto [at, added] = seriesByCode_.try_emplace(lastCode_, read_.series.size());
    if (added) read_.series.push_back({lastCode_, {}});
    return lastSeries_ = at->second;
  }

  // Reads one line's records into `pending`; the reason it is bad otherwise.
  std::string readLine(const std::vector<std::string_view>& fields) {
    pending_.clear();
    const int count = static_cast<int>(fields.size());
    for (std::size_t s = 0; s < columns_.size(); ++s) {
      const SeriesColumns& columns = columns_[s];
      if (columns.date >= count) return "manca la colonna della data";
      const auto dateText = trimmedField(fields[columns.date]);
      const auto day = readDate(dateText, *read_.dateFormat);
      if (!day)
        return "data non valida per il formato " + read_.dateFormat->name() + ": " +
               cutForReport(dateText);
      // A product's history starts after 09/04/1900: a record before it is never shown.
      if (*day <= kFirstHistoryDay || *day >= platform::kFixedValueDate)
        return "data fuori dall'intervallo 10/04/1900 - 30/12/2199";
      std::size_t series = s;
      if (columns.product >= 0) {
        const auto code = columns.product < count ? trimmedField(fields[columns.product]) : "";
        if (code.empty()) return "codice prodotto mancante";
        series = seriesOf(code);
      }
      const auto valueText = columns.value < count ? trimmedField(fields[columns.value]) : "";
      if (valueText.empty()) {
        // Several products side by side: a product's history may start later than another's.
        if (columns_.size() > 1) continue;
        return "valore mancante";
      }
      int decimals = 0;
      const auto value = readNumber(valueText, *read_.decimal, decimals);
      if (!value) return "valore non numerico: " + cutForReport(valueText);
      const std::string refused = refusedValue(*value);
      if (!refused.empty()) return refused;
      pending_.push_back({series, {*day, *value, decimals, 0}});
    }
    return "";
  }

  ShownRecord shown(std::size_t series, const ReadRecord& record) const {
    const std::string code =
        options_.longForm ? read_.series[series].code : std::to_string(series + 1);
    return {record.line, code, record.day, record.value, record.decimals};
  }

  // Keeps the first records whole and only the places of the latest ones, which the file's end
  // turns into the tail.
  void show(std::size_t series) {
    const std::size_t index = read_.series[series].records.size() - 1;
    if (read_.head.size() < kShownRecords) {
      read_.head.push_back(shown(series, read_.series[series].records[index]));
      return;
    }
    latest_[latestCount_++ % kShownRecords] = {series, index};
  }

  void showTail() {
    const std::size_t count = std::min(latestCount_, kShownRecords);
    for (std::size_t i = latestCount_ - count; i < latestCount_; ++i) {
      const auto [series, index] = latest_[i % kShownRecords];
      read_.tail.push_back(shown(series, read_.series[series].records[index]));
    }
  }

  void readLines() {
    if (!options_.longForm) read_.series.resize(columns_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      if (!isData(i)) continue;
      const TextLine& line = lines_[i];
      ++read_.linesRead;
      if (!fields_.split(line.text)) {
        bad(line, fields_.error());
        continue;
      }
      const std::string reason = readLine(fields_.fields());
      if (!reason.empty()) {
        bad(line, reason);
        continue;
      }
      for (auto& [series, record] : pending_) {
        record.line = line.number;
        read_.series[series].records.push_back(record);
        show(series);
      }
    }
    showTail();
  }

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  const std::vector<TextLine>& lines_;
  const ReadOptions& options_;
  FileRead& read_;
  CsvFields fields_;
  std::size_t headerIndex_ = kNone;
  std::vector<SeriesColumns> columns_;
  std::vector<std::pair<std::size_t, ReadRecord>> pending_;
  std::unordered_map<std::string, std::size_t> seriesByCode_;
  std::string lastCode_;
  std::size_t lastSeries_ = 0;
  std::array<std::pair<std::size_t, std::size_t>, kShownRecords> latest_{};
  std::size_t latestCount_ = 0;
};

}  // namespace

std::string separatorName(char separator) {
  switch (separator) {
    case ';':
      return "punto e virgola";
    case ',':
      return "virgola";
    case '\t':
      return "tabulazione";
  }
  return std::string(1, separator);
}

FileRead readPriceFile(std::string bytes, const ReadOptions& options) {
  FileRead read;
  std::string why;
  auto text = CsvText::decode(std::move(bytes), why);
  if (!text) {
    read.refusal = why;
    return read;
  }
  read.encoding = text->encodingName();
  read.crlf = text->crlf();
  read.separator = options.separator ? *options.separator : detectSeparator(text->lines());
  Reader(*text, options, read).run();
  return read;
}

}  // namespace indeximport
