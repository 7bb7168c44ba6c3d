// Where one database of the configuration is read from: the configured file itself, or, for
// one of the suite's Jet files, the SQLite file the program uses in its place.
#pragma once

#include <cstdint>
#include <string>

namespace startup {

struct DatabaseFile {
  std::string configured;  // the file the configuration names
  // The file the program opens: `configured`, or for a Jet file its mirror (data, visits and
  // index databases) or the program's own work database beside it (work database).
  std::string opened;
  std::string format;              // "SQLite", "Jet 3", "Jet 4" or "server"
  std::string mirror;              // the mirror of a Jet file; "" otherwise
  std::int64_t mirrorBuiltAt = 0;  // seconds since 1970, when the mirror was copied
  bool mirrorRebuilt = false;      // copied during this start
  bool mirrorStale = false;        // the new copy failed: an older mirror is in use

  // A database opened where it is configured.
  static DatabaseFile itself(const std::string& path, const std::string& format) {
    DatabaseFile file;
    file.configured = file.opened = path;
    file.format = format;
    return file;
  }
};

}  // namespace startup
