// What the store checks about a database file before handing it to the engine: it must exist
// (the engine would otherwise create it) and must not be one of the suite's old Jet files, which
// get a message of their own instead of the engine's vague "not a database".
#pragma once

#include <string>

namespace platform {

class StoreFile {
 public:
  // The application id (SQLite header, byte 68) of a local mirror of a Jet file: the program
  // opens such a file read-only, directly and through the links of a work database.
  static constexpr int kMirrorApplicationId = 0x53544a4d;

  // Returns normally when `path` names an existing file that is not a Jet/ACE database. Throws
  // StoreError naming the file otherwise.
  static void checkOpenable(const std::string& path);
  // True when the file at `path` carries the Jet or ACE signature at byte 4.
  static bool isJetFile(const std::string& path);
  // True when it carries the ACE signature (Access 2007 and later), which the program cannot read.
  static bool isAceFile(const std::string& path);
  // True when the file at `path` is an SQLite database with the mirror's application id.
  static bool isMirrorFile(const std::string& path);
  // True when the file at `path` is an SQLite database whose header says write-ahead log mode.
  static bool isWriteAheadLogFile(const std::string& path);
};

}  // namespace platform
