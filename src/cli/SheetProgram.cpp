#include "cli/SheetProgram.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/Commands.h"

namespace cli {

int runInSheetProgram(char** argv) {
#ifdef STATIND_SHEET_PROGRAM
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error) {
    std::cerr << "statind-cli: programma della scheda non trovato: " << error.message() << "\n";
    return kExitStore;
  }
  const fs::path folder = self.parent_path();
  for (const fs::path& candidate :
       {folder / STATIND_SHEET_PROGRAM, folder / "../libexec/statind" / STATIND_SHEET_PROGRAM}) {
    if (::access(candidate.c_str(), X_OK) != 0) continue;
    ::setenv(kCallerFolderVariable, folder.c_str(), 1);
    ::execv(candidate.c_str(), argv);
    std::cerr << "statind-cli: " << candidate.string() << ": " << std::strerror(errno) << "\n";
    return kExitStore;
  }
  std::cerr << "statind-cli: " << STATIND_SHEET_PROGRAM << " non trovato accanto a "
            << self.string() << "\n";
  return kExitStore;
#else
  (void)argv;
  std::cerr << "questa build di statind-cli non scrive PDF\n";
  return kExitUsage;
#endif
}

std::string callerFolder() {
  const char* folder = std::getenv(kCallerFolderVariable);
  std::string result = folder ? folder : "";
  ::unsetenv(kCallerFolderVariable);
  return result;
}

}  // namespace cli
