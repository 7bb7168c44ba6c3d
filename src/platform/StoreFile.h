// What the store checks about a database file before handing it to the engine: it must exist
// (the engine would otherwise create it) and must not be one of the suite's old Jet files, which
// get a message of their own instead of the engine's vague "not a database".
#pragma once

#include <string>

namespace platform {

class StoreFile {
 public:
  // Returns normally when `path` names an existing file that is not a Jet/ACE database. Throws
  // StoreError naming the file otherwise.
  static void checkOpenable(const std::string& path);
  // True when the file at `path` carries the Jet or ACE signature at byte 4.
  static bool isJetFile(const std::string& path);
  // True when the file at `path` is an SQLite database whose header says write-ahead log mode.
  static bool isWriteAheadLogFile(const std::string& path);
};

}  // namespace platform
