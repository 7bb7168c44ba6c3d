#include "cli/TextColumns.h"

#include <algorithm>
#include <cctype>

namespace cli {

namespace {

const char* kRed = "\033[31m";
const char* kPlain = "\033[0m";

// Characters on screen: UTF-8 continuation bytes take no room of their own.
std::size_t displayWidth(const std::string& text) {
  return std::count_if(text.begin(), text.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

bool startsWithDigit(const std::string& text) {
  return !text.empty() && (std::isdigit(static_cast<unsigned char>(text[0])) || text[0] == '-');
}

std::string pad(const std::string& text, std::size_t width, bool right) {
  const std::string fill(width - std::min(width, displayWidth(text)), ' ');
  return right ? fill + text : text + fill;
}

}  // namespace

void writeColumns(const std::vector<Line>& lines, std::ostream& out, bool colour,
                  std::size_t minWidth) {
  std::vector<std::size_t> widths;
  for (const auto& line : lines) {
    widths.resize(std::max(widths.size(), line.size()), minWidth);
    for (std::size_t i = 0; i < line.size(); ++i)
      widths[i] = std::max(widths[i], displayWidth(line[i]));
  }
  for (const auto& line : lines) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const bool number = startsWithDigit(line[i]);
      std::string cell = pad(line[i], widths[i], number || i > 0);
      if (colour && number && line[i][0] == '-') cell = kRed + cell + kPlain;
      text += (i ? "  " : "") + cell;
    }
    out << text.substr(0, text.find_last_not_of(' ') + 1) << "\n";
  }
}

}  // namespace cli
