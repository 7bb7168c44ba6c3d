#include "update/Updater.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

#include "platform/FileSystem.h"
#include "platform/ReplyBody.h"
#include "platform/Strings.h"
#include "startup/RunFile.h"
#include "update/UpdaterCheck.h"
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

// Whether a program of this platform is at `path` (an HTML page saved by an earlier version
// under the updater's name is not one).
bool programAt(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream file(path, std::ios::binary);
  std::string head(platform::ReplyBody::kHeadBytes, '\0');
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(file.gcount()));
  return updaterRefusal(head).empty();
}

// A plain http answer may have been changed on its way: the user decides whether to run it.
bool confirmUnverifiedSource(platform::Desktop& desktop, const std::string& url) {
  if (platform::upperCase(url).starts_with("HTTPS://")) return true;
  const std::string text =
      "Il programma di aggiornamento arriva da un sito non protetto:\n" + url +
      "\nLa sua provenienza non può essere verificata.\n\nScaricarlo e avviarlo?";
  return desktop.messageBox({text, "AGGIORNAMENTO", platform::Buttons::YesNoDefaultNo,
                             platform::Icon::Question}) == platform::Answer::Yes;
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

bool installedAsPackage(const std::string& programFolder) {
#ifdef _WIN32
  (void)programFolder;
  return false;
#else
  const std::string folder = platform::toSlashes(programFolder);
  if (folder == "/usr" || folder.starts_with("/usr/")) return true;
  return ::access(programFolder.c_str(), W_OK) != 0;
#endif
}

bool installUpdate(platform::Desktop& desktop, const UpdaterRequest& request) {
  if (installedAsPackage(request.programFolder)) {
    desktop.messageBox(
        {"Il programma è installato come pacchetto del sistema.\n"
         "Per aggiornarlo installare il pacchetto della nuova versione "
         "(apt install ./statind_VERSIONE_amd64.deb) o chiedere "
         "all'amministratore del sistema.",
         "AGGIORNAMENTO", platform::Buttons::Ok, platform::Icon::Information});
    return false;
  }
  std::string target = request.programFolder + "/" + updaterFileName();
  if (!utilities::fileExists(desktop, target, 0) || !programAt(target)) {
    const std::string url = updaterUrl(request.siteAddress);
    if (!confirmUnverifiedSource(desktop, url)) return false;
    const platform::DownloadRules rules{kMaxUpdaterBytes, updaterRefusal};
    const std::string failure = desktop.downloadFile(url, target, request.timeoutMs, rules);
    if (!failure.empty()) {
      desktop.messageBox({"SCARICAMENTO DELL'AGGIORNAMENTO NON RIUSCITO\n" + failure + "\n\n" + url,
                          "AGGIORNAMENTO", platform::Buttons::Ok, platform::Icon::Exclamation});
      desktop.shellOpen(url, "", driveRootOf(request.programFolder));
      return true;
    }
    makeExecutable(target);
  }
  startUpdater(desktop, target, request.programName, request.programFolder);
  return true;
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
