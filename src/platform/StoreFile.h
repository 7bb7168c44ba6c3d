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
  // True when the file at `path` can only be read as it stands: in write-ahead log mode in a
  // folder this program cannot write (so the engine cannot make the log's index beside it),
  // with neither the log nor its index beside it (so no program is writing it).
  static bool isUnchanging(const std::string& path);
  // True when this program cannot write the folder of the file at `path` (also on a read-only
  // mount, where even the superuser cannot).
  static bool inReadOnlyFolder(const std::string& path);
  // The log files ("-wal", "-shm") beside the file at `path`, as "NAME-wal, NAME-shm"; "" when
  // there are none.
  static std::string logFilesBeside(const std::string& path);
  // The URI that names the file at `path` to the engine without ever creating it: read-write,
  // or with `unchanging` read-only as a file that nothing changes (no locks taken); a mirror of a
  // Jet file always read-only.
  static std::string uri(const std::string& path, bool unchanging = false);
};

}  // namespace platform
