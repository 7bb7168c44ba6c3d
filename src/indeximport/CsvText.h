// A CSV file from outside as lines of UTF-8 text. Files come from fund houses, data sites and
// spreadsheets: UTF-8 with or without a byte-order mark, or Windows-1252 from Excel's "CSV
// (separato dal separatore di elenco)"; line ends LF, CRLF or a lone CR. The reader works on
// the decoded text only and reports lines by their number in the file.
#pragma once

#include <cstddef>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace indeximport {

// Files above this size are refused before anything is decoded: a price history of 40 products
// over 25 years in long form is about 30 MB.
inline constexpr std::size_t kMaxFileBytes = 256u << 20;

// Reads `in` to its end, or to kMaxFileBytes and one byte more, so that a larger input is
// refused without being held whole. False when reading failed.
bool readBounded(std::istream& in, std::string& bytes);

// Text of the file (UTF-8) as a report shows it: each control character (C0, DEL, C1) becomes
// '?', so that a file cannot drive the terminal or the window that shows its lines.
std::string printable(std::string_view text);

struct TextLine {
  int number = 0;         // 1-based line number in the file
  std::string_view text;  // without its line end
};

class CsvText {
 public:
  enum class Encoding { Utf8, Utf8Bom, Windows1252 };

  // Decodes `bytes`. Returns nullopt and sets `why` (Italian, for the report) when the file
  // cannot be read as text: too large, or UTF-16/UTF-32 (Excel's "testo Unicode"), which only
  // a different save fixes. A file that is not valid UTF-8 is read as Windows-1252.
  static std::optional<CsvText> decode(std::string bytes, std::string& why);

  Encoding encoding() const { return encoding_; }
  // True when the first line break is CR LF.
  bool crlf() const { return crlf_; }
  // Every line of the file, empty ones included; views into this object's text.
  const std::vector<TextLine>& lines() const { return lines_; }
  // "UTF-8", "UTF-8 con BOM" or "Windows-1252".
  std::string encodingName() const;

  CsvText(CsvText&&) noexcept = default;
  CsvText& operator=(CsvText&&) noexcept = default;

 private:
  CsvText() = default;
  void split();

  // On the heap so that the lines' views survive a move of the object.
  std::unique_ptr<std::string> text_;
  Encoding encoding_ = Encoding::Utf8;
  bool crlf_ = false;
  std::vector<TextLine> lines_;
};

}  // namespace indeximport
