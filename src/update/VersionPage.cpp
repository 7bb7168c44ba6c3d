#include "update/VersionPage.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

#include "platform/Format.h"
#include "platform/Profile.h"
#include "platform/Strings.h"

namespace update {

namespace {

constexpr std::string_view kEnd = "</P>";

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
    if (at == std::string_view::npos) return parts;
    start = at + 1;
  }
}

// The text from just after the first `mark` at or after `from` up to the first "</P>";
// nothing without a "</P>". `next` receives where the record's text starts.
std::optional<std::string_view> recordAt(std::string_view page, std::size_t from, char mark,
                                         std::size_t& next) {
  const std::size_t q = page.find(mark, from) + 1;  // `from` starts a match holding `mark`
  next = q;
  const std::size_t e = page.find(kEnd, q);
  if (e == std::string_view::npos) return std::nullopt;
  return page.substr(q, e - q);
}

// A whole number of at most nine digits, blanks around allowed.
std::optional<std::int64_t> wholeNumber(std::string_view text) {
  const std::string part = platform::trim(text);
  if (part.empty() || part.size() > 9) return std::nullopt;
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
  if (error != std::errc() || end != part.data() + part.size() || value < 0) return std::nullopt;
  return value;
}

// A version part read as the suite's programs read numbers: the digits at its start, after
// blanks, so that "0</p> text" reads 0. Nothing when it does not start with a digit or has
// more than nine.
std::optional<std::int64_t> versionPart(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  std::size_t end = start;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  if (end == start || end - start > 9) return std::nullopt;
  return wholeNumber(text.substr(start, end - start));
}

// "hh:mm[:ss]" as a fraction of a day.
std::optional<double> timeOfDay(std::string_view text) {
  const auto parts = split(text, ':');
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  const int limits[] = {23, 59, 59};
  double seconds = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const auto value = wholeNumber(parts[i]);
    if (!value || *value > limits[i] || parts[i].size() > 2) return std::nullopt;
    seconds += static_cast<double>(*value) * (i == 0 ? 3600 : i == 1 ? 60 : 1);
  }
  return seconds / 86400.0;
}

// "dd/mm/yyyy[ hh:mm[:ss]]" as a day value with the time as a fraction.
std::optional<double> dateValue(std::string_view text) {
  const std::string trimmed = platform::trim(text);
  const std::size_t blank = trimmed.find(' ');
  const auto day = platform::parseDate(std::string_view(trimmed).substr(0, blank));
  if (!day) return std::nullopt;
  if (blank == std::string::npos) return *day;
  const auto time = timeOfDay(platform::trim(std::string_view(trimmed).substr(blank + 1)));
  if (!time) return std::nullopt;
  return *day + *time;
}

}  // namespace

FetchResult fetchResult(const platform::HttpReply& reply) {
  if (reply.status >= 200 && reply.status <= 299) return {};
  if (reply.status == 0) return {1, reply.error.empty() ? "nessuna risposta" : reply.error};
  std::string text = "ERRORE HTTP " + std::to_string(reply.status);
  if (!reply.error.empty()) text += " " + reply.error;
  return {reply.status, text};
}

std::string releaseNotesUrl(const std::string& releaseNotesPage) {
  return siteUrl(kMakerHost) + "/" + releaseNotesPage;
}

std::string siteUrl(std::string_view address) {
  if (address.find("://") != std::string_view::npos) return std::string(address);
  return "http://" + std::string(address);
}

UpdateSite updateSite(std::string_view site, std::string_view pagePath) {
  UpdateSite result;
  result.siteAddress = platform::trim(site);
  if (result.siteAddress.empty()) result.siteAddress = std::string(kMakerHost) + "/";
  if (result.siteAddress.back() != '/') result.siteAddress += '/';
  std::string path = platform::trim(pagePath);
  if (path.empty()) path = kDefaultPagePath;
  result.versionPageUrl = siteUrl(result.siteAddress) + path;
  return result;
}

UpdateSite updateSiteFromIni(const std::string& iniPath) {
  return updateSite(platform::readIni(iniPath, "AGGIORNA", "TORVA"),
                    platform::readIni(iniPath, "AGGIORNA", "AGGIORNAMENTI"));
}

int versionNumber(int major, int minor, int revision) {
  return major * 10000 + minor * 100 + revision;
}

std::string versionText(int major, int minor, int revision) {
  const auto part = [](int value) { return value == 0 ? std::string() : std::to_string(value); };
  return part(major) + "." + part(minor) + "." + part(revision);
}

std::optional<ProgramEntry> findProgramEntry(std::string_view page, std::string_view programName) {
  const std::string key = std::string(programName) + "=";
  const std::size_t p = page.find(key);
  if (p == std::string_view::npos) return std::nullopt;
  std::size_t next = 0;
  const auto text = recordAt(page, p, '=', next);
  if (!text) return std::nullopt;
  const auto fields = split(*text, '#');
  const auto parts = split(fields[0], '.');
  if (parts.size() < 3) return std::nullopt;
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    const auto value = versionPart(parts[i]);
    if (!value) return std::nullopt;
    sum += *value * (i == 0 ? 10000 : i == 1 ? 100 : 1);
  }
  if (sum > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  ProgramEntry entry;
  entry.versionText = std::string(fields[0]);
  entry.version = static_cast<int>(sum);
  entry.releaseNotesPage =
      fields.size() >= 2 ? std::string(fields[1]) : std::string(programName) + ".htm";
  return entry;
}

std::vector<UpdateEntry> updateEntries(std::string_view page, std::string_view programName) {
  const std::string key = std::string(programName) + ":";
  std::vector<UpdateEntry> entries;
  for (std::size_t s = page.find(key); s != std::string_view::npos; s = page.find(key, s)) {
    const auto text = recordAt(page, s, ':', s);
    if (!text) break;  // no "</P>" further on: no later entry can end either
    const auto fields = split(*text, '#');
    if (fields.size() < 4) continue;
    entries.push_back({std::string(fields[0]), std::string(fields[1]), std::string(fields[2]),
                       std::string(fields[3])});
  }
  return entries;
}

double configNumber(std::string_view text) {
  const std::string trimmed = platform::trim(text);
  if (trimmed.empty()) return 0;
  if (std::count(trimmed.begin(), trimmed.end(), '/') >= 2) return dateValue(trimmed).value_or(0);
  return platform::parseNumber(trimmed).value_or(0);
}

bool isUnknownUpdate(double day, double known) {
  const float threshold = static_cast<float>(day + 0.99);
  const float knownSingle = static_cast<float>(known);
  return threshold > knownSingle;
}

VersionCheck checkVersion(const VersionCheckParams& params) {
  VersionCheck check;
  check.runningVersion =
      versionNumber(params.runningMajor, params.runningMinor, params.runningRevision);
  check.runningVersionText =
      versionText(params.runningMajor, params.runningMinor, params.runningRevision);
  const auto entry = findProgramEntry(params.pageText, params.programName);
  check.availableVersion = entry ? entry->version : check.runningVersion;
  check.availableVersionText = entry ? entry->versionText : check.runningVersionText;
  check.releaseNotesPage = entry ? entry->releaseNotesPage : params.programName + ".htm";
  check.newVersion = check.availableVersion > check.runningVersion;
  if (!check.newVersion) return check;

  for (const UpdateEntry& update : updateEntries(params.pageText, params.programName)) {
    if (check.updates.size() == kMaxListedUpdates) break;
    const auto day = dateValue(update.date);
    if (!day) continue;
    const double known = params.knownValue ? configNumber(params.knownValue(update.date)) : 0;
    if (!isUnknownUpdate(*day, known)) continue;
    check.updates.push_back({update.title + " - " + update.description + " (" + update.note + ")",
                             siteUrl(params.siteAddress) + update.date});
  }
  return check;
}

}  // namespace update
