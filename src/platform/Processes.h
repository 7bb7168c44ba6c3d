// Other programs as operating-system processes, without a window system: starting one with a
// program file and its arguments (never through a shell), asking whether a process number is
// still alive, and whether the process behind a number really runs a given program file, since
// process numbers are reused once a program has ended.
#pragma once

#include <string>
#include <vector>

#include "platform/Desktop.h"

namespace platform {

// Starts `program` with `arguments` (argv[0] is `program`) in the current folder. A program
// file written with "\" or in another case is looked up as resolvePath does. Returns the new
// process number, or 0 and the system's reason when the program could not be started. The
// caller owns the child: it ends when the child is reaped (processAlive does that).
StartedProgram startProcess(const std::string& program, const std::vector<std::string>& arguments);

// True when a process with the number `processId` exists. Numbers that cannot name one process
// (0, negative, beyond the system's range) are never alive. A process that has ended but is not
// reaped yet reads as dead (a child of this process is reaped here).
bool processAlive(long long processId);

// True when the process `processId` runs the program file `program`: its executable is that
// file, or (for a script) one of the first words of its command line names that file. Paths
// are compared once resolved and made canonical. False when the process is gone or cannot be
// inspected.
bool processRunsProgram(long long processId, const std::string& program);

}  // namespace platform
