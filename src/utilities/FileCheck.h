// The error-tolerant test for a file or folder that comes from the configuration: a path in
// double quotes loses them, and a failure of the disk itself (no medium, disk full, I/O error)
// is explained in Italian with the chance to retry, instead of reading as "missing".
#pragma once

#include <functional>
#include <string>

#include "platform/Desktop.h"

namespace utilities {

// Attribute mask of fileExists: 0 files only, kFolders folders as well.
constexpr int kFolders = 16;

// Action codes of fileErrorMessage.
constexpr int kRetry = 0;
constexpr int kGiveUp = 2;  // OK or Cancel
constexpr int kNoMessage = 3;

// What a directory lookup found: the entry's name ("" when there is none) or a file error
// number of the suite's table (0 when none).
struct DirectoryLookup {
  std::string name;
  int error = 0;
};
using DirectoryLookupFn = std::function<DirectoryLookup(const std::string& path, int attributes)>;

// Looks `path` up on disk (resolvePath rules): its name when it exists as a file, or as a
// folder when `attributes` holds kFolders; a missing entry is "" with no error; any other
// failure carries fileErrorNumber of the system's error.
DirectoryLookup lookUpPath(const std::string& path, int attributes);

// The suite's file error number for a system error (errno): no medium 71, disk full 61, I/O
// error 57, not a folder on the way 76, name too long 64, bad name 52, no such device 68,
// busy 55; anything else 75 (access error, which has no message).
int fileErrorNumber(int systemError);

// False for a blank path. Otherwise removes the quotes (from a '"' at the second character or
// later: the text between the first character and it, followed by what comes after it; the
// caller's `path` receives the result) and looks it up; a file error shows fileErrorMessage,
// where Retry looks again and anything else gives false. Never throws.
bool fileExists(platform::Desktop& desktop, std::string& path, int attributes,
                const DirectoryLookupFn& lookup = lookUpPath);

// Shows the message of `errorNumber` (52, 54, 55, 57, 61, 62, 64, 68, 71, 76) with the
// exclamation icon, its buttons and the title "Errori su  " + path. Returns kRetry, kGiveUp
// (OK or Cancel) or kNoMessage (a number outside the table, or any other answer).
int fileErrorMessage(platform::Desktop& desktop, int errorNumber, const std::string& path);

}  // namespace utilities
