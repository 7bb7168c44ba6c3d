#include "indeximport/CsvFields.h"

#include <map>

namespace indeximport {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// Lines looked at to choose the separator: enough to see past a title line or two.
constexpr int kSampleLines = 100;

}  // namespace

bool CsvFields::fail(const char* why) {
  error_ = why;
  fields_.clear();
  return false;
}

bool CsvFields::split(std::string_view line) {
  fields_.clear();
  error_.clear();
  if (line.size() > kMaxLineBytes) return fail("riga troppo lunga");
  unquoted_.clear();
  // Merged fields never outgrow the line, so the views into this buffer stay put.
  unquoted_.reserve(line.size());
  const auto blank = [this](char c) { return c != separator_ && isBlank(c); };
  std::size_t pos = 0;
  for (;;) {
    std::size_t start = pos;
    while (start < line.size() && blank(line[start])) ++start;
    if (start < line.size() && line[start] == '"') {
      const std::size_t from = unquoted_.size();
      std::size_t i = start + 1;
      for (;; ++i) {
        if (i >= line.size()) return fail("virgolette non chiuse");
        if (line[i] != '"') {
          unquoted_ += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
          unquoted_ += '"';
          ++i;
        } else {
          break;
        }
      }
      fields_.push_back(std::string_view(unquoted_).substr(from));
      ++i;
      while (i < line.size() && blank(line[i])) ++i;
      if (i < line.size() && line[i] != separator_)
        return fail("testo dopo le virgolette di chiusura");
      pos = i;
    } else {
      std::size_t end = line.find(separator_, pos);
      if (end == std::string_view::npos) end = line.size();
      const std::string_view field = line.substr(pos, end - pos);
      if (field.find('"') != std::string_view::npos)
        return fail("virgolette nel mezzo di un campo");
      fields_.push_back(field);
      pos = end;
    }
    if (pos >= line.size()) return true;
    ++pos;  // the separator
  }
}

char detectSeparator(const std::vector<TextLine>& lines) {
  char best = ';';
  int bestLines = 0;
  for (const char candidate : {';', '\t', ','}) {
    CsvFields splitter(candidate);
    std::map<std::size_t, int> counts;
    int sampled = 0;
    for (const auto& line : lines) {
      if (sampled == kSampleLines) break;
      if (line.text.find_first_not_of(" \t") == std::string_view::npos) continue;
      ++sampled;
      if (splitter.split(line.text) && splitter.fields().size() >= 2)
        ++counts[splitter.fields().size()];
    }
    for (const auto& [fields, count] : counts) {
      if (count > bestLines) {
        bestLines = count;
        best = candidate;
      }
    }
  }
  return best;
}

}  // namespace indeximport
