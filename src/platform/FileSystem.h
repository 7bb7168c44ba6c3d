// File and folder tests for paths that come from the suite's configuration. Installations are
// often copied from Windows, where names match without regard to case and folders are written
// with "\": a path that does not exist under its exact name is looked up, component by
// component, among the names of its folder ignoring case, and used when exactly one matches.
#pragma once

#include <string>

namespace platform {

// Outcome of a folder operation: code 0 on success, otherwise the error number the suite's
// messages show (76 path not found, 75 access error, 61 disk full) and its text.
struct FolderResult {
  int code = 0;
  std::string text;
  bool ok() const { return code == 0; }
};

// `path` with every "\" turned into "/".
std::string toSlashes(const std::string& path);
// The path as it exists on disk: unchanged when it exists as written; otherwise each component
// that does not exist is replaced by the single entry of its folder that matches it ignoring
// case. Where no single match exists the rest of the path is kept as written. Separators are
// normalised to "/" and a trailing separator is kept. Never throws.
std::string resolvePath(const std::string& path);
// True when the (resolved) path names an existing folder. False for "" and on any error.
bool folderExists(const std::string& path);
// True when the (resolved) path names an existing entry that is not a folder.
bool fileExists(const std::string& path);
// Creates one folder level (the parent must exist). Succeeds at once when the folder exists.
FolderResult createFolder(const std::string& path);

}  // namespace platform
