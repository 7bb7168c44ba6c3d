#include "jet/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "jet/JetError.h"

namespace jet {

namespace {

constexpr auto kPause = std::chrono::milliseconds(100);

}  // namespace

FileLock::FileLock(const std::string& path, const std::function<void()>& waiting,
                   const std::function<void()>& tick, std::chrono::milliseconds limit) {
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0)
    throw JetError(JetFailure::Target, path, "",
                   std::string("non creabile: ") + std::strerror(errno));
  const auto start = std::chrono::steady_clock::now();
  bool told = false;
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      const std::string reason = std::strerror(errno);
      ::close(fd_);
      throw JetError(JetFailure::Target, path, "", "blocco non disponibile: " + reason);
    }
    if (std::chrono::steady_clock::now() - start > limit) {
      ::close(fd_);
      throw JetError(JetFailure::Target, path, "",
                     "un altro programma prepara la stessa copia da troppo tempo");
    }
    if (!told && waiting) waiting();
    told = true;
    if (tick) tick();
    std::this_thread::sleep_for(kPause);
  }
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the last descriptor releases the lock
}

}  // namespace jet
