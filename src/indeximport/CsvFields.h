// Splits one line of a CSV file into its fields, with the quoting spreadsheets write: a field
// may stand between double quotes, inside which the separator is plain text and a doubled quote
// is one quote. A record is one line: a price file has no use for line breaks inside a field,
// and keeping to lines is what lets every refusal name the line a person sees in the file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "indeximport/CsvText.h"

namespace indeximport {

// Longer lines are refused as unreadable: even a wide file of 40 products is a few hundred bytes
// a line.
inline constexpr std::size_t kMaxLineBytes = 64u << 10;

// A field without the blanks and tabs around it.
inline std::string_view trimmedField(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

class CsvFields {
 public:
  explicit CsvFields(char separator) : separator_(separator) {}

  // Splits `line`. On success fields() holds every field (quotes removed, blanks around a
  // quoted field dropped, an unquoted field as written) and true is returned. On failure
  // (a quote left open, text after a closing quote, a quote inside an unquoted field, a line
  // too long) error() says why in Italian and false is returned. The fields stay valid until
  // the next call and while `line` lives.
  bool split(std::string_view line);
  const std::vector<std::string_view>& fields() const { return fields_; }
  const std::string& error() const { return error_; }
  char separator() const { return separator_; }

 private:
  bool fail(const char* why);

  char separator_;
  std::vector<std::string_view> fields_;
  std::string unquoted_;  // storage of fields whose doubled quotes were merged
  std::string error_;
};

// The separator (';', tab or ',') that splits the first non-empty lines of `lines` into the
// same number of fields, two or more, most often; ';' before tab before ',' on a tie, and ';'
// when none splits them.
char detectSeparator(const std::vector<TextLine>& lines);

}  // namespace indeximport
