// The client sheet is drawn by a second program built from the same sources with the ui library
// (`statind-sheet`): a console command that writes text, JSON or CSV then starts without Qt's
// libraries, which cost more than the command itself.
#pragma once

#include <string>

namespace cli {

// Replaces this process by the sheet program with the same arguments. Looks for it beside this
// program, then in `../libexec/statind/` (the installed layout). Returns only on failure, with a
// message on stderr: 64 when this build has no sheet program, 2 when it cannot be started.
// The sheet program is told the folder of the statind-cli that started it in this environment
// variable, so that both find the same configuration.
inline constexpr const char* kCallerFolderVariable = "STATIND_CLI_FOLDER";
int runInSheetProgram(char** argv);

// In the sheet program: the folder of the statind-cli that started it, or "" (and the variable
// is removed, so that nothing this program starts inherits it).
std::string callerFolder();

}  // namespace cli
