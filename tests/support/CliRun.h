// Runs the console program built beside the tests, as a script would, and captures its output.
#pragma once

#include <cstdio>
#include <string>

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#define WEXITSTATUS(status) (status)
#else
#include <sys/wait.h>
#endif

namespace testsupport {

struct CliRun {
  int exitCode = -1;
  std::string output;

  // Runs statind-cli with `arguments` (shell syntax) followed by `streams`, which picks what is
  // captured: "2>&1" both streams, "2>/dev/null" stdout only, "2>&1 >/dev/null" stderr only.
  // `through` runs it through another program ("timeout 60", "runuser -u nobody --"). The exit
  // code is -1 when the program could not be started.
  static CliRun of(const std::string& arguments, const std::string& streams = "2>&1",
                   const std::string& through = "") {
    return finish(start(arguments, streams, through));
  }

  // of() in two halves, so that several runs can go on at once: start() launches the program
  // and returns its output pipe (null when it could not be started); finish() reads it to the
  // end and waits for the exit code.
  static std::FILE* start(const std::string& arguments, const std::string& streams = "2>&1",
                          const std::string& through = "") {
    const std::string command = (through.empty() ? "" : through + " ") +
                                std::string(STATIND_CLI_PATH) + " " + arguments + " " + streams;
    return popen(command.c_str(), "r");
  }
  static CliRun finish(std::FILE* pipe) {
    CliRun run;
    if (!pipe) return run;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
    run.exitCode = WEXITSTATUS(pclose(pipe));
    return run;
  }
};

}  // namespace testsupport
