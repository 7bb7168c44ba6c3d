// The local mirror of a Jet file: an SQLite copy kept beside the operator's work, made again
// whenever the Jet file's size or modification time differs from what the mirror recorded. A
// new copy is built under a temporary name and renamed into place, so a half-built mirror is
// never opened; processes of one desk take turns on the same mirror; a copy during which the
// file changed (another program writes it) is read again.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "jet/CopyEvent.h"
#include "jet/MirrorStamp.h"

namespace jet {

struct MirrorParams {
  std::string source;                     // the Jet file
  std::string mirror;                     // the mirror's file; its folder is created when missing
  int attempts = 3;                       // copies tried before giving up
  std::chrono::milliseconds pause{1000};  // between two attempts
  std::chrono::milliseconds waitLimit{10 * 60 * 1000};  // for another process's build
  CopyEvents events;                                    // progress of a copy; may be empty
  std::function<void()> waiting;  // another process is building this mirror: this one waits
  std::function<void(int attempt, const std::string& reason)> retrying;  // before attempt 2, 3...
  std::function<void()> tick;  // a few times a second during a build or a wait
};

struct MirrorState {
  std::string mirror;
  MirrorStamp stamp;        // of the mirror in use
  bool rebuilt = false;     // copied during this call
  bool stale = false;       // a new copy failed: the older mirror is in use
  std::string staleReason;  // why the new copy failed
};

// Makes sure params.mirror is a mirror of params.source, and returns it. Costs a look at both
// files when the mirror is up to date. When every attempt fails, an older mirror of the same
// file is returned as stale; without one the last JetError is thrown (Changing when the file
// changed during every copy). A Target failure is not attempted again.
MirrorState ensureMirror(const MirrorParams& params);

}  // namespace jet
