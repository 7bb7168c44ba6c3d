#include "indeximport/CsvText.h"

#include "platform/TextEncoding.h"

namespace indeximport {

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool readBounded(std::istream& in, std::string& bytes) {
  bytes.clear();
  char chunk[1 << 16];
  while (bytes.size() <= kMaxFileBytes && in.read(chunk, sizeof chunk).gcount() > 0)
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
  return !in.bad();
}

std::string printable(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    // U+0080..U+009F are 0xC2 0x80..0x9F in UTF-8.
    if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
        static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      shown += '?';
      ++i;
    } else {
      shown += byte < 0x20 || byte == 0x7F ? '?' : text[i];
    }
  }
  return shown;
}

std::optional<CsvText> CsvText::decode(std::string bytes, std::string& why) {
  if (bytes.size() > kMaxFileBytes) {
    why = "file troppo grande (oltre " + std::to_string(kMaxFileBytes >> 20) + " MB)";
    return std::nullopt;
  }
  const std::string_view view(bytes);
  if (startsWith(view, "\xFF\xFE") || startsWith(view, "\xFE\xFF") ||
      startsWith(view, std::string_view("\0\0\xFE\xFF", 4))) {
    why = "file in UTF-16/UTF-32: salvarlo come CSV in UTF-8 o Windows-1252";
    return std::nullopt;
  }
  CsvText csv;
  if (startsWith(view, "\xEF\xBB\xBF")) {
    csv.encoding_ = Encoding::Utf8Bom;
    bytes.erase(0, 3);
  }
  if (platform::isValidUtf8(bytes)) {
    csv.text_ = std::make_unique<std::string>(std::move(bytes));
  } else {
    // A BOM followed by invalid UTF-8 is a file put together from two sources; its text is
    // still best read with the code page every Windows program of the suite writes.
    csv.encoding_ = Encoding::Windows1252;
    csv.text_ = std::make_unique<std::string>(platform::cp1252ToUtf8(bytes));
  }
  csv.split();
  return csv;
}

void CsvText::split() {
  const std::string_view text(*text_);
  std::size_t start = 0;
  int number = 1;
  bool seenBreak = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\n' && c != '\r') continue;
    lines_.push_back({number++, text.substr(start, i - start)});
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      if (!seenBreak) crlf_ = true;
      ++i;
    }
    seenBreak = true;
    start = i + 1;
  }
  if (start < text.size()) lines_.push_back({number, text.substr(start)});
}

std::string CsvText::encodingName() const {
  switch (encoding_) {
    case Encoding::Utf8:
      return "UTF-8";
    case Encoding::Utf8Bom:
      return "UTF-8 con BOM";
    case Encoding::Windows1252:
      return "Windows-1252";
  }
  return "";
}

}  // namespace indeximport
