// The way from "&AGGIORNA" to the suite's updater: the updater program beside this one,
// downloaded from the update site when it is missing, then started with the program's
// upper-case name while this program ends. The updater itself lies outside this program.
#pragma once

#include <string>

#include "platform/Desktop.h"

namespace update {

// The updater's file name: "TorvaSWAgg", with ".exe" on Windows.
std::string updaterFileName();

// Where the updater is fetched from: the update site's "Programmi/" folder (the maker's host
// when the configuration names no site), with the site's own scheme or "http://".
std::string updaterUrl(const std::string& siteAddress);

// The longest wait for the updater's download.
inline constexpr int kDownloadTimeoutMs = 60'000;

struct UpdaterRequest {
  std::string programFolder;  // where this program and the updater live
  std::string programName;    // upper case: the updater's only argument
  std::string siteAddress;
  int timeoutMs = kDownloadTimeoutMs;
};

// Whether the program was installed by the system's package manager: it lives under /usr, or in a
// folder this user cannot write. Such a program is updated by its package, never by an updater
// saved beside it.
bool installedAsPackage(const std::string& programFolder);

// For a program installed as a package (above): tells the user to install the package of the
// new version, downloads and starts nothing, and returns false. Otherwise:
// gets the updater beside the program when it is not there yet (or what is there is no program
// for this platform, see UpdaterCheck.h) and starts it. Before a download from a site that is
// not https the user is told that its source cannot be verified and asked to go on (Sì/No).
// A download that fails, does not finish in time, is over kMaxUpdaterBytes, is not a program
// for this platform or comes from an https site whose certificate does not hold is told in a
// message box with its reason, its address goes to the desktop's browser instead, and nothing
// is saved or started. On Linux the downloaded file becomes executable. Returns true when the
// caller is to end the program (the updater started, or the download failed); false when the
// user chose not to download.
bool installUpdate(platform::Desktop& desktop, const UpdaterRequest& request);

// "&VAI AL SITO": the release notes page on the maker's host goes to the browser, with the
// root of the program's drive as working folder.
void openReleaseNotes(platform::Desktop& desktop, const std::string& releaseNotesPage,
                      const std::string& programFolder);

// Starts the updater at `path` with `programName` as its argument, in `folder`; a start that
// fails is explained by runFile's messages.
void startUpdater(platform::Desktop& desktop, const std::string& path,
                  const std::string& programName, const std::string& folder);

}  // namespace update
