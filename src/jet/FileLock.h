// An exclusive lock between processes on one machine, held on a lock file for the lifetime of
// the object: the processes that build the same mirror take turns. The lock file itself stays
// (removing it would let two processes lock two different files of one name).
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace jet {

class FileLock {
 public:
  // Locks `path` (creating it when missing), waiting while another process holds it: `waiting`
  // is called once when the wait begins, `tick` a few times a second meanwhile. Throws JetError
  // (Target) when the file cannot be created, or when the lock is still held after `limit`.
  FileLock(const std::string& path, const std::function<void()>& waiting,
           const std::function<void()>& tick, std::chrono::milliseconds limit);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace jet
