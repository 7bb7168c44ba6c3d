#include "jet/CopyEvent.h"

#include <charconv>

namespace jet {

namespace {

constexpr char kSeparator = '\t';
constexpr std::string_view kLetters = "OSRDIAF";

std::string flattened(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return out;
}

// The fields of a line between tabs.
std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> parts;
  for (;;) {
    const auto tab = line.find(kSeparator);
    parts.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return parts;
    line.remove_prefix(tab + 1);
  }
}

bool number(std::string_view text, long long& into) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), into);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

std::string CopyEvent::encode() const {
  std::string line(1, kLetters[static_cast<std::size_t>(kind)]);
  for (long long value : {done, total, truncated, invalid, static_cast<long long>(failure)})
    line += kSeparator + std::to_string(value);
  line += kSeparator + flattened(table);
  line += kSeparator + flattened(reason);
  return line;
}

std::optional<CopyEvent> CopyEvent::decode(std::string_view line) {
  const auto parts = fields(line);
  if (parts.size() != 8 || parts[0].size() != 1) return std::nullopt;
  const auto letter = kLetters.find(parts[0][0]);
  if (letter == std::string_view::npos) return std::nullopt;
  CopyEvent event;
  event.kind = static_cast<Kind>(letter);
  long long failure = 0;
  if (!number(parts[1], event.done) || !number(parts[2], event.total) ||
      !number(parts[3], event.truncated) || !number(parts[4], event.invalid) ||
      !number(parts[5], failure))
    return std::nullopt;
  event.failure = static_cast<int>(failure);
  event.table = parts[6];
  event.reason = parts[7];
  return event;
}

void CopyResult::note(const CopyEvent& event) {
  if (event.kind == CopyEvent::Kind::Opened) version = static_cast<int>(event.done);
  if (event.kind == CopyEvent::Kind::TableDone)
    tables.push_back({event.table, event.done, event.truncated, event.invalid});
}

}  // namespace jet
