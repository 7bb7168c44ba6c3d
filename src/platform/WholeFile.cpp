#include "platform/WholeFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "platform/Processes.h"

namespace platform {

namespace {

constexpr std::size_t kRandomDigits = 16;
constexpr std::string_view kSuffix = ".tmp";
constexpr int kNameAttempts = 8;

// The folder ("." for a bare name) and the file name of `path`.
std::pair<std::string, std::string> splitPath(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string randomHex() {
  unsigned long long value = 0;
  if (::getrandom(&value, sizeof value, 0) != static_cast<ssize_t>(sizeof value)) {
    // No entropy to be had: the exclusive creation still keeps the write safe, only the name
    // becomes guessable.
    value = static_cast<unsigned long long>(
                std::chrono::steady_clock::now().time_since_epoch().count()) ^
            reinterpret_cast<std::uintptr_t>(&value);
  }
  char text[kRandomDigits + 1];
  std::snprintf(text, sizeof text, "%016llx", value);
  return text;
}

// Reads a process number of 1 to 10 digits at the start of `text`; advances past it.
bool readPid(std::string_view& text, long long& pid) {
  std::size_t digits = 0;
  pid = 0;
  while (digits < text.size() && digits < 10 && text[digits] >= '0' && text[digits] <= '9')
    pid = pid * 10 + (text[digits++] - '0');
  text.remove_prefix(digits);
  return digits > 0;
}

bool isHex(std::string_view text) {
  for (char c : text)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

int writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// A device, FIFO or terminal is the reader itself: it gets the bytes, it is never replaced.
int writeInPlace(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = writeAll(fd, bytes);
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

// Whether the system itself would follow the link `path` (described by `link`) when opening
// it: in a folder that everybody may write and that keeps its entries to their owners (sticky,
// as /tmp), only a link of this user or of the folder's owner.
bool followable(const std::string& path, const struct stat& link) {
  struct stat folder {};
  if (::stat(splitPath(path).first.c_str(), &folder) != 0) return false;
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

void keepOwnerAndMode(int fd, const struct stat& old) {
  // Changing the owner clears set-id bits, so it comes first; it fails harmlessly where the
  // system allows only the superuser to give a file away.
  if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
    [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
  }
  ::fchmod(fd, old.st_mode & 0777);
}

int replaceRegular(const std::string& target, std::string_view bytes, const struct stat* old) {
  removeStaleTemporaries(target);
  const auto [folder, name] = splitPath(target);
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
    temp = folder + "/." + name + "." + std::to_string(::getpid()) + "." + randomHex() +
           std::string(kSuffix);
    fd =
        ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return errno;
  }
  if (fd < 0) return EEXIST;
  // Held while writing: a program on another machine of a shared folder sees the file in use.
  ::flock(fd, LOCK_EX | LOCK_NB);
  if (old) keepOwnerAndMode(fd, *old);
  int error = writeAll(fd, bytes);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) ::unlink(temp.c_str());
  return error;
}

// Whether `name` is the name of a temporary of a write of the file named `target` (file names,
// not paths); `pid` receives the process number written into it.
bool isTemporaryName(std::string_view name, std::string_view target, long long& pid) {
  if (name.size() <= target.size() + 1 || name[0] != '.' || name.substr(1, target.size()) != target)
    return false;
  std::string_view rest = name.substr(1 + target.size());
  if (rest.starts_with(".tmp")) {  // earlier versions: .NAME.tmp<pid>-<n>
    rest.remove_prefix(4);
    long long count = 0;
    if (!readPid(rest, pid) || !rest.starts_with('-')) return false;
    rest.remove_prefix(1);
    return readPid(rest, count) && rest.empty();
  }
  if (!rest.starts_with('.')) return false;
  rest.remove_prefix(1);
  if (!readPid(rest, pid) || !rest.starts_with('.')) return false;
  rest.remove_prefix(1);
  return rest.size() == kRandomDigits + kSuffix.size() && isHex(rest.substr(0, kRandomDigits)) &&
         rest.ends_with(kSuffix);
}

}  // namespace

void removeStaleTemporaries(const std::string& path) {
  namespace fs = std::filesystem;
  const auto [folder, name] = splitPath(path);
  if (name.empty()) return;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    long long pid = 0;
    if (!isTemporaryName(entry, name, pid) || pid == ::getpid() || processAlive(pid)) continue;
    const std::string full = folder + "/" + entry;
    const int fd = ::open(full.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    const bool ours = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
    const bool inUse = ours && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (ours && !inUse) ::unlink(full.c_str());
    ::close(fd);
  }
}

int writeWholeFile(const std::string& path, std::string_view bytes) {
  if (splitPath(path).second.empty()) return path.empty() ? ENOENT : EISDIR;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    // A missing name (or a link to nothing, which the rename replaces) gets a new file.
    return errno == ENOENT ? replaceRegular(path, bytes, nullptr) : errno;
  }
  if (S_ISDIR(st.st_mode)) return EISDIR;
  if (!S_ISREG(st.st_mode)) return writeInPlace(path, bytes);
  struct stat link {};
  if (::lstat(path.c_str(), &link) != 0) return errno;
  if (!S_ISLNK(link.st_mode)) return replaceRegular(path, bytes, &st);
  if (!followable(path, link)) return EACCES;
  char* real = ::realpath(path.c_str(), nullptr);
  if (!real) return errno;
  const std::string target(real);
  std::free(real);
  return replaceRegular(target, bytes, &st);
}

}  // namespace platform
