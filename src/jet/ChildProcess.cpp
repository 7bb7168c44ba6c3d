#include "jet/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>

namespace jet {

namespace {

constexpr std::size_t kErrorTail = 4096;
constexpr int kTickMs = 100;
constexpr int kCrashed = 125;

void writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ::_exit(kCrashed);  // the parent is gone
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

[[noreturn]] void runChild(int lines, int errors, const ChildProcess::Work& work) {
  // The child must not outlive a parent killed meanwhile.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  ::signal(SIGPIPE, SIG_DFL);
  const int nothing = ::open("/dev/null", O_RDONLY);
  if (nothing >= 0) ::dup2(nothing, STDIN_FILENO);
  // Whatever the reader prints is kept for the reason of a failure, never mixed into the
  // parent's own output.
  ::dup2(errors, STDOUT_FILENO);
  ::dup2(errors, STDERR_FILENO);
  int code = kCrashed;
  try {
    code = work([lines](std::string_view line) {
      std::string text(line);
      text += '\n';
      writeAll(lines, text);
    });
  } catch (const std::exception& e) {
    writeAll(STDERR_FILENO, std::string(e.what()) + "\n");
  } catch (...) {
  }
  ::_exit(code);
}

// Reads what is ready on `fd` into `into`; false at the end of the stream.
bool drain(int fd, std::string& into) {
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      into.append(buffer, static_cast<std::size_t>(n));
      if (static_cast<std::size_t>(n) < sizeof buffer) return true;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

std::string describe(int status) {
  if (WIFSIGNALED(status)) {
    const int signal = WTERMSIG(status);
    return "lettura interrotta dal segnale " + std::to_string(signal) + " (" + ::strsignal(signal) +
           ")";
  }
  return "lettura terminata con codice " + std::to_string(WEXITSTATUS(status));
}

}  // namespace

ChildOutcome ChildProcess::run(const Work& work, const std::function<void(std::string_view)>& heard,
                               const std::function<void()>& tick,
                               std::chrono::milliseconds silence) {
  ChildOutcome outcome;
  int linePipe[2], errorPipe[2];
  if (::pipe2(linePipe, O_CLOEXEC) != 0) {
    outcome.failure = std::string("pipe: ") + std::strerror(errno);
    return outcome;
  }
  if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
    outcome.failure = std::string("pipe: ") + std::strerror(errno);
    ::close(linePipe[0]), ::close(linePipe[1]);
    return outcome;
  }
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(linePipe[0]);
    ::close(errorPipe[0]);
    runChild(linePipe[1], errorPipe[1], work);
  }
  ::close(linePipe[1]);
  ::close(errorPipe[1]);
  if (child < 0) {
    outcome.failure = std::string("fork: ") + std::strerror(errno);
    ::close(linePipe[0]), ::close(errorPipe[0]);
    return outcome;
  }
  ::fcntl(linePipe[0], F_SETFL, O_NONBLOCK);
  ::fcntl(errorPipe[0], F_SETFL, O_NONBLOCK);

  std::string pending, errors;
  bool linesOpen = true, errorsOpen = true, killed = false;
  auto lastHeard = std::chrono::steady_clock::now();
  while (linesOpen || errorsOpen) {
    pollfd fds[2] = {{linesOpen ? linePipe[0] : -1, POLLIN, 0},
                     {errorsOpen ? errorPipe[0] : -1, POLLIN, 0}};
    const int ready = ::poll(fds, 2, kTickMs);
    if (ready < 0 && errno != EINTR) break;
    if (linesOpen && fds[0].revents) {
      linesOpen = drain(linePipe[0], pending);
      for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
        if (heard) heard(std::string_view(pending).substr(0, end));
        pending.erase(0, end + 1);
      }
      lastHeard = std::chrono::steady_clock::now();
    }
    if (errorsOpen && fds[1].revents) {
      errorsOpen = drain(errorPipe[0], errors);
      if (errors.size() > 2 * kErrorTail) errors.erase(0, errors.size() - kErrorTail);
    }
    if (tick) tick();
    if (!killed && std::chrono::steady_clock::now() - lastHeard > silence) {
      ::kill(child, SIGKILL);
      killed = true;
      outcome.failure = "la lettura non risponde da " + std::to_string(silence.count() / 1000) +
                        " secondi: interrotta";
    }
  }
  ::close(linePipe[0]);
  ::close(errorPipe[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (errors.size() > kErrorTail) errors.erase(0, errors.size() - kErrorTail);
  outcome.errorOutput = errors;
  if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
  outcome.succeeded = !killed && outcome.exitCode == 0;
  if (!killed && !WIFEXITED(status)) outcome.failure = describe(status);
  return outcome;
}

}  // namespace jet
