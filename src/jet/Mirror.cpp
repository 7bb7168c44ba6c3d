#include "jet/Mirror.h"

#include <fcntl.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <optional>
#include <thread>

#include "jet/FileLock.h"
#include "jet/IsolatedCopy.h"
#include "jet/JetError.h"

namespace jet {

namespace {

namespace fs = std::filesystem;

MirrorState inUse(const std::string& mirror, const MirrorStamp& stamp, bool rebuilt) {
  MirrorState state;
  state.mirror = mirror;
  state.stamp = stamp;
  state.rebuilt = rebuilt;
  return state;
}

bool upToDate(const std::optional<MirrorStamp>& stamp, const std::string& source) {
  const auto now = FileStamp::of(source);
  return stamp && now && stamp->source == source && stamp->file == *now;
}

// Copies left by a builder that died: only the holder of the lock builds, so every temporary
// file of this mirror is an orphan then.
void removeLeftovers(const fs::path& mirror) {
  std::error_code error;
  const std::string prefix = mirror.filename().string() + ".tmp";
  for (const auto& entry : fs::directory_iterator(mirror.parent_path(), error)) {
    if (entry.path().filename().string().rfind(prefix, 0) == 0) fs::remove(entry.path(), error);
  }
}

// The rename into place made durable: the folder's entry reaches the disk too.
void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void pauseWithTicks(std::chrono::milliseconds pause, const std::function<void()>& tick) {
  const auto end = std::chrono::steady_clock::now() + pause;
  while (std::chrono::steady_clock::now() < end) {
    if (tick) tick();
    std::this_thread::sleep_for(std::min(pause, std::chrono::milliseconds(100)));
  }
}

// One copy into `temp` renamed over the mirror; nullopt when the file changed meanwhile.
std::optional<MirrorStamp> copyOnce(const MirrorParams& params, const std::string& temp) {
  const auto before = FileStamp::of(params.source);
  if (!before) throw JetError(JetFailure::Unreadable, params.source, "", "file non accessibile");
  MirrorStamp stamp{params.source, *before, static_cast<std::int64_t>(std::time(nullptr))};
  CopyParams copy{params.source, temp, stamp, params.events};
  stamp.version = copyJetFileApart(copy, params.tick).version;
  if (FileStamp::of(params.source) != before) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    return std::nullopt;
  }
  std::error_code error;
  fs::rename(temp, params.mirror, error);
  if (error) {
    fs::remove(temp, error);
    throw JetError(JetFailure::Target, params.mirror, "", "non sostituibile: " + error.message());
  }
  syncFolder(fs::path(params.mirror).parent_path());
  return stamp;
}

}  // namespace

MirrorState ensureMirror(const MirrorParams& params) {
  auto stamp = MirrorStamp::readFrom(params.mirror);
  if (upToDate(stamp, params.source)) return inUse(params.mirror, *stamp, false);

  const fs::path mirror = fs::absolute(params.mirror);
  std::error_code error;
  fs::create_directories(mirror.parent_path(), error);
  if (error)
    throw JetError(JetFailure::Target, mirror.parent_path().string(), "",
                   "cartella non creabile: " + error.message());
  FileLock lock(params.mirror + ".lock", params.waiting, params.tick, params.waitLimit);
  // Another process may have built it while this one waited.
  stamp = MirrorStamp::readFrom(params.mirror);
  if (upToDate(stamp, params.source)) return inUse(params.mirror, *stamp, false);
  removeLeftovers(mirror);

  const std::string temp = params.mirror + ".tmp" + std::to_string(::getpid());
  std::optional<JetError> last;
  for (int attempt = 1; attempt <= std::max(1, params.attempts); ++attempt) {
    if (attempt > 1) {
      if (params.retrying) params.retrying(attempt, last ? last->what() : "");
      pauseWithTicks(params.pause, params.tick);
    }
    try {
      if (auto built = copyOnce(params, temp)) return inUse(params.mirror, *built, true);
      last =
          JetError(JetFailure::Changing, params.source, "",
                   "il file è cambiato durante la lettura (un altro programma lo sta scrivendo)");
    } catch (const JetError& e) {
      last = e;
      if (e.kind() == JetFailure::Target) break;
    }
  }
  if (stamp && stamp->source == params.source) {
    MirrorState state = inUse(params.mirror, *stamp, false);
    state.stale = true;
    state.staleReason = last->what();
    return state;
  }
  throw *last;
}

}  // namespace jet
