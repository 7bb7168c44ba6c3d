#include "startup/JetFiles.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <stdexcept>

#include "jet/JetError.h"
#include "jet/Mirror.h"
#include "platform/FileSystem.h"
#include "platform/Format.h"
#include "platform/StoreFile.h"
#include "platform/Strings.h"
#include "utilities/Schema.h"

namespace startup {

namespace {

namespace fs = std::filesystem;
using jet::CopyEvent;

constexpr long long kLargeTable = 50000;

std::string count(long long value) {
  return platform::formatNumber(static_cast<double>(value), "#,###,###,##0");
}

// When the mirror was made, with how long ago: "12/05/2025 10:31, 3 giorni fa".
std::string ageText(std::int64_t builtAt) {
  const std::time_t when = static_cast<std::time_t>(builtAt);
  std::tm local{};
  ::localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%d/%m/%Y %H:%M", &local);
  const long long minutes = std::max<long long>(0, (std::time(nullptr) - when) / 60);
  std::string ago;
  if (minutes >= 2 * 24 * 60)
    ago = std::to_string(minutes / (24 * 60)) + " giorni fa";
  else if (minutes >= 120)
    ago = std::to_string(minutes / 60) + " ore fa";
  else
    ago = std::to_string(minutes) + " minuti fa";
  return std::string(stamp) + ", " + ago;
}

std::string failureText(const std::string& configured, const jet::JetError& error) {
  switch (error.kind()) {
    case jet::JetFailure::Damaged:
      return "DATABASE " + configured + " DANNEGGIATO\n" + error.what();
    case jet::JetFailure::Changing:
      return "DATABASE " + configured + " IN SCRITTURA DA UN ALTRO PROGRAMMA\n" + error.what();
    case jet::JetFailure::Unreadable:
      return "DATABASE " + configured + " NON LEGGIBILE\n" + error.what();
    case jet::JetFailure::Target:
      break;
  }
  return "COPIA LOCALE DI " + configured + " NON SCRIVIBILE\n" + error.what();
}

// The progress captions of one mirror's copy.
jet::MirrorParams mirrorParams(const std::string& configured, const std::string& mirror,
                               platform::Desktop& desktop, const ProgressLabel& progress) {
  const std::string head = "Copia locale di " + fs::path(configured).filename().string();
  jet::MirrorParams params;
  params.source = configured;
  params.mirror = mirror;
  // Only a large table gets captions of its own: a small one is copied in a blink.
  params.events = [head, progress](const CopyEvent& event) {
    const bool large = event.total >= kLargeTable;
    switch (event.kind) {
      case CopyEvent::Kind::Opened:
        progress(head);
        break;
      case CopyEvent::Kind::TableStart:
      case CopyEvent::Kind::Rows:
        if (large)
          progress(head + ": " + event.table + " " + count(event.done) + " di " +
                   count(event.total) + " record");
        break;
      case CopyEvent::Kind::Indexing:
        if (large) progress(head + ": indici di " + event.table);
        break;
      default:
        break;
    }
  };
  params.waiting = [head, progress] { progress(head + ": attesa di un altro programma"); };
  params.retrying = [head, progress](int attempt, const std::string&) {
    progress(head + ": tentativo " + std::to_string(attempt));
  };
  params.tick = [&desktop] { desktop.processEvents(); };
  return params;
}

// Made under a temporary name and linked into place: two programs starting at once on a new
// installation both find a whole work database, whichever of them made it.
void createOwnWorkDb(const std::string& path) {
  const std::string temp = path + ".tmp" + std::to_string(::getpid());
  std::error_code ignored;
  fs::remove(temp, ignored);
  utilities::createWorkDb(temp);
  const bool linked = ::link(temp.c_str(), path.c_str()) == 0 || errno == EEXIST;
  const int error = errno;
  fs::remove(temp, ignored);
  if (!linked) throw std::runtime_error(path + ": " + std::strerror(error));
}

DatabaseFile ownWorkDb(const std::string& configured, DatabaseFile file) {
  file.opened = ownWorkDbPath(configured);
  if (!platform::fileExists(file.opened)) createOwnWorkDb(file.opened);
  return file;
}

}  // namespace

std::string mirrorFolder(const AppParams& params) {
  const std::string configured = platform::trim(params.jetMirrorFolder);
  if (configured.empty()) return params.operatorWorkFolder;
  return platform::resolvePath(platform::toSlashes(configured));
}

std::string ownWorkDbPath(const std::string& jetWorkDb) {
  const fs::path jet(jetWorkDb);
  return (jet.parent_path() / (jet.stem().string() + ".statind.sqlite")).string();
}

DatabaseFile prepareDatabaseFile(DatabaseRole role, const std::string& configured,
                                 const AppParams& params, Databases& dbs,
                                 platform::Desktop& desktop, const ProgressLabel& progress) {
  DatabaseFile file = DatabaseFile::itself(configured, "SQLite");
  // An ACE file is left to the opening, which names its format as unsupported.
  if (!platform::StoreFile::isJetFile(configured) || platform::StoreFile::isAceFile(configured))
    return file;
  file.format = "Jet";
  try {
    if (role == DatabaseRole::Work) return ownWorkDb(configured, file);
    const fs::path mirror =
        fs::path(mirrorFolder(params)) / (fs::path(configured).stem().string() + ".mirror.sqlite");
    const jet::MirrorState state =
        jet::ensureMirror(mirrorParams(configured, mirror.string(), desktop, progress));
    file.opened = state.mirror;
    file.mirror = state.mirror;
    file.format = "Jet " + std::to_string(state.stamp.version);
    file.mirrorBuiltAt = state.stamp.builtAt;
    file.mirrorRebuilt = state.rebuilt;
    file.mirrorStale = state.stale;
    if (state.stale) {
      desktop.messageBox({"COPIA LOCALE DI " + configured +
                              " NON AGGIORNATA\nIn uso la copia del " +
                              ageText(state.stamp.builtAt) + "\n" + state.staleReason,
                          platform::upperCase(params.programFileName) + " -ATTENZIONE",
                          platform::Buttons::Ok, platform::Icon::Exclamation});
    }
    return file;
  } catch (const jet::JetError& e) {
    dbs.pendingMessage = failureText(configured, e);
    throw;
  } catch (const std::exception& e) {
    dbs.pendingMessage =
        role == DatabaseRole::Work
            ? "DATABASE " + ownWorkDbPath(configured) + " NON CREABILE\n" + e.what()
            : "COPIA LOCALE DI " + configured + " NON SCRIVIBILE\n" + e.what();
    throw;
  }
}

}  // namespace startup
