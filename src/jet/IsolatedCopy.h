// copyJetFile in a child process: a Jet file from outside is read where a fault of the reader
// cannot take the program down with it. What the child reports arrives as the same events; a
// child that crashes or stops answering becomes a JetError with the reader's last words.
#pragma once

#include <chrono>
#include <functional>

#include "jet/JetCopy.h"

namespace jet {

// As copyJetFile, with `tick` called a few times a second while waiting (to keep a window
// painting). A child silent for longer than `silence` is stopped and the copy fails as Damaged.
// Nothing is left at params.to after a failure.
CopyResult copyJetFileApart(const CopyParams& params, const std::function<void()>& tick = {},
                            std::chrono::milliseconds silence = std::chrono::seconds(60));

}  // namespace jet
