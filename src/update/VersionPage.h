// The version page of the update site: where it is, how its two kinds of record read, and
// what they say against the running program. Pure functions over the page text: fetching it
// is the caller's business (Desktop::httpGet), so the rules can be tested and fuzzed alone.
//
// The page is searched with plain, case-sensitive substring search, each record ending at the
// first "</P>" after it:
//   program entry  NAME=major.minor.revision#notes.htm[#...]</P>
//   update entry   NAME:date#field2#field3#field4[#...]</P>
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Desktop.h"

namespace update {

// The maker's web host: the update site when the configuration names none, the home of the
// release notes and of the updater.
inline constexpr std::string_view kMakerHost = "www.statind.example";
inline constexpr std::string_view kDefaultPagePath = "Aggiornamenti/Versioni.htm";
// Update lines the dialog has room for; further listed updates are left out.
inline constexpr std::size_t kMaxListedUpdates = 10;

struct UpdateSite {
  std::string siteAddress;     // host and optional path, with or without a scheme; ends in "/"
  std::string versionPageUrl;  // siteUrl(siteAddress) + page path
};

// The site from the "AGGIORNA" keys "TORVA" (`site`) and "AGGIORNAMENTI" (`pagePath`): an
// empty site is the maker's host, a missing final "/" is added, an empty page path is
// kDefaultPagePath.
UpdateSite updateSite(std::string_view site, std::string_view pagePath);
// The same, read from the configuration file `iniPath`.
UpdateSite updateSiteFromIni(const std::string& iniPath);

// The longest wait for the version page, and its largest size: the page lists a few versions
// and updates, a larger answer is no version page.
inline constexpr int kFetchTimeoutMs = 30'000;
inline constexpr std::uint64_t kMaxPageBytes = 1 << 20;

// The outcome of fetching the version page, as the dialog keeps it.
struct FetchResult {
  int updateStatus = 0;   // 0: the body is the page; otherwise the error number
  std::string errorText;  // "" when the page arrived
};

// A 2xx answer gives status 0. Any other answer is a connection error, whatever its body:
// its number is the HTTP status, or 1 when no answer came at all, and its text names the
// status ("ERRORE HTTP 404 Not Found") or the desktop's reason.
FetchResult fetchResult(const platform::HttpReply& reply);

// The release notes on the maker's host: "http://" + host + "/" + `releaseNotesPage`.
std::string releaseNotesUrl(const std::string& releaseNotesPage);

// `address` as a URL: kept as it is when it names its own scheme ("https://host/"),
// otherwise "http://" in front.
std::string siteUrl(std::string_view address);

// major × 10000 + minor × 100 + revision.
int versionNumber(int major, int minor, int revision);
// "major.minor.revision", each part without leading zeros and a 0 part as empty text
// (2.0.7 reads "2..7").
std::string versionText(int major, int minor, int revision);

struct ProgramEntry {
  std::string versionText;       // verbatim from the page
  int version = 0;               // versionNumber of its first three parts
  std::string releaseNotesPage;  // programName + ".htm" when the entry names none
};

// The first program entry of `programName` in `page`. Each of the first three version parts
// reads as the digits it starts with (further parts are ignored). Nothing when there is no
// entry, when it lacks its "</P>", when a part does not start with a digit, or when the
// version number leaves the 32-bit range.
std::optional<ProgramEntry> findProgramEntry(std::string_view page, std::string_view programName);

struct UpdateEntry {
  std::string date;         // field 1: the update's day, also its page relative to the site
  std::string note;         // field 2, shown in parentheses
  std::string title;        // field 3, shown first
  std::string description;  // field 4
};

// Every update entry of `programName` in page order, each search starting just after the
// previous entry's ":". An entry with fewer than four fields is passed over; the search stops
// at an entry without a following "</P>".
std::vector<UpdateEntry> updateEntries(std::string_view page, std::string_view programName);

// A configuration value read as a number: "" gives 0; a text with at least two "/" is a date
// "dd/mm/yyyy[ hh:mm[:ss]]" giving its day number plus the time as a fraction (0 when it is
// not a valid date); otherwise an Italian-written number, or 0.
double configNumber(std::string_view text);

// Whether an update of day value `day` is still to be shown to an operator who knows the
// updates up to `known`: day + 0.99 > known, both sides held in single precision as the
// suite's programs compare them (so a known time from about 23:45 of that day hides it).
bool isUnknownUpdate(double day, double known);

struct ListedUpdate {
  std::string caption;  // field 3 - field 4 (field 2)
  std::string pageUrl;  // siteUrl(siteAddress) + field 1
};

struct VersionCheckParams {
  std::string programName;  // upper case, as the page writes it
  int runningMajor = 0, runningMinor = 0, runningRevision = 0;
  std::string siteAddress;
  std::string pageText;
  // The "AGGIORNAMENTI" value of the operator's key for an update of field 1 `date`.
  std::function<std::string(const std::string& date)> knownValue;
};

struct VersionCheck {
  bool newVersion = false;
  int runningVersion = 0;
  std::string runningVersionText;
  int availableVersion = 0;
  std::string availableVersionText;
  std::string releaseNotesPage;
  std::vector<ListedUpdate> updates;  // page order; only with a new version, at most 10
};

// Compares the page with the running program. Without a usable program entry the program is
// up to date, showing its own version as the available one. An update entry whose field 1 is
// not a date is passed over. Never throws on any page text.
VersionCheck checkVersion(const VersionCheckParams& params);

}  // namespace update
