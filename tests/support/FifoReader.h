// Reads a FIFO to its end on a thread of its own while the code under test writes into it.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <future>
#include <string>

#include "support/TempFolder.h"

namespace testsupport {

class FifoReader {
 public:
  explicit FifoReader(std::string path)
      : path_(std::move(path)),
        text_(std::async(std::launch::async, [this] { return TempFolder::read(path_); })) {}

  // What arrived. A writer that never came would leave the reader waiting in its open: a
  // writer of our own that closes at once ends the wait.
  std::string finish() {
    const int unblock = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
    if (unblock >= 0) ::close(unblock);
    return text_.get();
  }

 private:
  std::string path_;
  std::future<std::string> text_;
};

}  // namespace testsupport
