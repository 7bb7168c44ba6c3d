// Saving an output file whole or not at all: the bytes go to a temporary file beside the target,
// which takes the target's name only once everything is written, so that a reader never meets
// half a report and a failure leaves nothing behind.
#pragma once

#include <stdexcept>
#include <string>

namespace report {

// A file that could not be saved; what() names the file and the reason, in Italian.
class SaveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes `bytes` to `path` as platform::writeWholeFile does: a regular file is replaced and keeps
// its permissions, a device or FIFO is written in place. On any failure (missing folder, a file
// standing where a folder should be, a full disk, no permission) throws SaveError, and neither
// the temporary file nor a changed target remain.
void saveFile(const std::string& path, const std::string& bytes);

}  // namespace report
