// What a copy of a Jet file reports while it runs, and the result it ends with. Events also
// cross from the process that reads the file to the one that waits for it, one line each.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jet {

struct CopyEvent {
  enum class Kind {
    Opened,      // the file is open: `done` is its Jet version (3 or 4)
    TableStart,  // `table` begins: `total` rows declared
    Rows,        // `done` rows of `table` copied so far, of `total`
    TableDone,   // `table` copied whole: `done` rows; `truncated` texts cut, `invalid` values
    Indexing,    // the indexes of `table` are being built
    Alive,       // still working (a long step without rows)
    Failed       // the copy failed: `table` and `reason`, and `failure` its JetFailure number
  };
  Kind kind = Kind::Alive;
  std::string table;
  long long done = 0;
  long long total = 0;
  long long truncated = 0;
  long long invalid = 0;
  int failure = 0;
  std::string reason;

  static CopyEvent of(Kind kind, std::string table = "", long long done = 0, long long total = 0) {
    CopyEvent event;
    event.kind = kind;
    event.table = std::move(table);
    event.done = done;
    event.total = total;
    return event;
  }

  // One line without its line feed; tabs and line breaks in names and reasons become blanks.
  std::string encode() const;
  // The event of a line encode() wrote; nullopt for anything else.
  static std::optional<CopyEvent> decode(std::string_view line);
};

using CopyEvents = std::function<void(const CopyEvent&)>;

struct TableCopy {
  std::string table;
  long long rows = 0;
  long long truncatedTexts = 0;  // texts longer than the reader's buffer, cut
  long long invalidValues = 0;   // dates or amounts the reader could not take, copied as Null
};

struct CopyResult {
  int version = 0;  // of the Jet file: 3 or 4
  std::vector<TableCopy> tables;

  // Keeps what `event` says about the copy's outcome (version, finished tables).
  void note(const CopyEvent& event);
};

}  // namespace jet
