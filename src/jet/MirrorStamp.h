// What a mirror records, inside itself, about the Jet file it copies: which file, its size and
// modification time when the copy began, when the copy was made and from which Jet version. A
// mirror whose stamp still matches its file needs no new copy.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct sqlite3;

namespace jet {

// A file's size and modification time (nanoseconds), as the file system reports them.
struct FileStamp {
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
  // Nullopt when the file cannot be examined.
  static std::optional<FileStamp> of(const std::string& path);
};

struct MirrorStamp {
  std::string source;  // the Jet file, as configured
  FileStamp file;
  std::int64_t builtAt = 0;  // seconds since 1970 (UTC)
  int version = 0;           // Jet 3 or 4

  // Records the stamp in the database being built and marks the database as a mirror (which
  // every later connection of the program opens read-only). Throws StoreError on failure.
  void writeInto(sqlite3* db) const;
  // The stamp of the mirror at `path`; nullopt when there is no file, it is no mirror, or it
  // was made by a copy whose layout differs from this program's.
  static std::optional<MirrorStamp> readFrom(const std::string& path);
};

}  // namespace jet
