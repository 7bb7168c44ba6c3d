#include "platform/Environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace platform {

namespace {

// The running executable: /proc/self/exe where the system has it, otherwise argv0 made
// absolute against the current folder.
fs::path executablePath(const std::string& argv0) {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec && !self.empty()) return self;
  if (argv0.empty()) return {};
  const fs::path absolute = fs::absolute(argv0, ec);
  return ec ? fs::path(argv0) : absolute.lexically_normal();
}

std::string systemUserName() {
  if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name) {
    return entry->pw_name;
  }
  const char* user = std::getenv("USER");
  return user ? user : "";
}

}  // namespace

Environment Environment::fromSystem(const std::string& argv0, const std::string& commandLine) {
  Environment env;
  env.commandLine = commandLine;
  const fs::path exe = executablePath(argv0);
  env.programFolder = exe.parent_path().string();
  if (!exe.stem().empty()) env.programFileName = exe.stem().string();
  env.windowsFolder = "/etc/";
  env.userName = systemUserName();
  env.processId = static_cast<int>(::getpid());
  return env;
}

}  // namespace platform
