#include "platform/Processes.h"

#include <signal.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/FileSystem.h"

extern char** environ;

namespace platform {

namespace fs = std::filesystem;

namespace {

// A script runs as "interpreter [option] script ...": the script is among the first words.
constexpr std::size_t kCommandWordsChecked = 3;

bool validProcessId(long long processId) {
  return processId > 0 && processId <= INT_MAX;
}

fs::path canonicalOf(const fs::path& path) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(path, ec);
  return ec ? path.lexically_normal() : canonical;
}

std::vector<std::string> commandWords(const std::string& procFolder) {
  std::ifstream in(procFolder + "/cmdline", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start < text.size() && words.size() < kCommandWordsChecked) {
    std::size_t end = text.find('\0', start);
    if (end == std::string::npos) end = text.size();
    words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// An ended process that nobody has reaped yet (a detached program's parent may be slow to).
bool isZombie(long long processId) {
  std::ifstream in("/proc/" + std::to_string(processId) + "/stat");
  std::string stat;
  std::getline(in, stat);
  const std::size_t close = stat.rfind(')');  // the program name may hold blanks and brackets
  return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z';
}

}  // namespace

StartedProgram startProcess(const std::string& program, const std::vector<std::string>& arguments) {
  const std::string file = resolvePath(program);
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int error = ::posix_spawn(&pid, file.c_str(), nullptr, nullptr, argv.data(), environ);
  if (error != 0) return {0, std::strerror(error)};
  return {pid, {}};
}

bool processAlive(long long processId) {
  if (!validProcessId(processId)) return false;
  const auto pid = static_cast<pid_t>(processId);
  int status = 0;
  if (::waitpid(pid, &status, WNOHANG) == pid) return false;  // our own child, just ended
  if (::kill(pid, 0) != 0 && errno != EPERM) return false;
  return !isZombie(processId);
}

bool processRunsProgram(long long processId, const std::string& program) {
  if (!validProcessId(processId) || program.empty()) return false;
  const fs::path wanted = canonicalOf(resolvePath(program));
  const std::string procFolder = "/proc/" + std::to_string(processId);
  std::error_code ec;
  const fs::path executable = fs::read_symlink(procFolder + "/exe", ec);
  if (!ec && canonicalOf(executable) == wanted) return true;
  const fs::path cwd = fs::read_symlink(procFolder + "/cwd", ec);
  for (const std::string& word : commandWords(procFolder)) {
    if (word.empty()) continue;
    fs::path path(word);
    if (path.is_relative()) {
      if (cwd.empty()) continue;
      path = cwd / path;
    }
    if (canonicalOf(path) == wanted) return true;
  }
  return false;
}

}  // namespace platform
