// Copies every user table of a Jet file into a new SQLite file, in this process: the same table
// and column names in the same order, rows in the order the reader meets them, values mapped
// to SQLite's types (texts, whole numbers, numbers, dates as ISO text, bytes), the program's
// collation and indexes on the tables it uses, all in one transaction.
#pragma once

#include <optional>
#include <string>

#include "jet/CopyEvent.h"
#include "jet/MirrorStamp.h"

namespace jet {

struct CopyParams {
  std::string from;  // the Jet file, only ever read
  std::string to;    // the SQLite file to create; it must not exist
  // Makes the copy a mirror of `from` carrying this stamp (its version is filled in).
  std::optional<MirrorStamp> stamp;
  CopyEvents events;  // may be empty
  long long rowsPerEvent = 65536;
};

// Returns what was copied. Throws JetError: Unreadable or Damaged for the Jet file (a table
// whose rows fall short of, or exceed, what its definition declares is Damaged), Target when the
// copy cannot be written; `to` is then removed.
CopyResult copyJetFile(const CopyParams& params);

}  // namespace jet
