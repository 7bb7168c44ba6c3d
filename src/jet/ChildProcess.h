// Runs a piece of work in a child process of its own, so that whatever befalls it (a crash in a
// library reading a damaged file, a loop that never ends) befalls the child only: the caller
// gets a reason instead. The child talks back in lines on a pipe; its standard error is kept
// for the reason of a failure.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace jet {

struct ChildOutcome {
  bool succeeded = false;   // the work returned 0
  int exitCode = -1;        // the work's result when it returned; -1 otherwise
  std::string failure;      // why it did not succeed, when it did not return at all
  std::string errorOutput;  // the end of what the child wrote on its standard error
};

class ChildProcess {
 public:
  // In the child: does the work, writing lines through `say`, and returns the exit code.
  using Work = std::function<int(const std::function<void(std::string_view line)>& say)>;

  // Runs `work` in a child process and waits for it, passing each line it says to `heard` and
  // calling `tick` a few times a second meanwhile (to keep a window painting). A child silent
  // for longer than `silence` is killed. The child has no standard input, and its standard
  // error and output are captured; it ends with _exit, running no destructor of the parent's
  // objects.
  static ChildOutcome run(const Work& work, const std::function<void(std::string_view)>& heard,
                          const std::function<void()>& tick, std::chrono::milliseconds silence);
};

}  // namespace jet
