#include "update/Updater.h"

#include <filesystem>

#include "platform/FileSystem.h"
#include "startup/RunFile.h"
#include "update/VersionPage.h"
#include "utilities/FileCheck.h"

namespace update {

namespace {

// The root of the file system holding `folder`, the shell's working folder for addresses.
std::string driveRootOf(const std::string& folder) {
#ifdef _WIN32
  return folder.substr(0, 3);
#else
  (void)folder;
  return "/";
#endif
}

void makeExecutable(const std::string& path) {
#ifndef _WIN32
  namespace fs = std::filesystem;
  std::error_code ignored;
  fs::permissions(path, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, ignored);
#else
  (void)path;
#endif
}

}  // namespace

std::string updaterFileName() {
#ifdef _WIN32
  return "TorvaSWAgg.exe";
#else
  return "TorvaSWAgg";
#endif
}

std::string updaterUrl(const std::string& siteAddress) {
  return siteUrl(siteAddress) + "Programmi/" + updaterFileName();
}

void installUpdate(platform::Desktop& desktop, const UpdaterRequest& request) {
  std::string target = request.programFolder + "/" + updaterFileName();
  if (!utilities::fileExists(desktop, target, 0)) {
    const std::string url = updaterUrl(request.siteAddress);
    const std::string failure = desktop.downloadFile(url, target, request.timeoutMs);
    if (!failure.empty()) {
      desktop.messageBox({"SCARICAMENTO DELL'AGGIORNAMENTO NON RIUSCITO\n" + failure + "\n\n" + url,
                          "AGGIORNAMENTO", platform::Buttons::Ok, platform::Icon::Exclamation});
      desktop.shellOpen(url, "", driveRootOf(request.programFolder));
      return;
    }
    makeExecutable(target);
  }
  startUpdater(desktop, target, request.programName, request.programFolder);
}

void openReleaseNotes(platform::Desktop& desktop, const std::string& releaseNotesPage,
                      const std::string& programFolder) {
  desktop.shellOpen(releaseNotesUrl(releaseNotesPage), "", driveRootOf(programFolder));
}

void startUpdater(platform::Desktop& desktop, const std::string& path,
                  const std::string& programName, const std::string& folder) {
  startup::runFile(desktop, path, programName, folder);
}

}  // namespace update
