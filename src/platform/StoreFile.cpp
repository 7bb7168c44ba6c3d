#include "platform/StoreFile.h"

#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include "platform/Store.h"

namespace platform {

namespace {

// Headers are read from regular files only: opening a FIFO that holds a database's name would
// wait for a writer for ever.
bool regularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

bool StoreFile::isJetFile(const std::string& path) {
  if (!regularFile(path)) return false;
  std::ifstream file(path, std::ios::binary);
  char header[19] = {};
  if (!file.read(header, sizeof header)) return false;
  const std::string signature(header + 4, 15);
  return signature == "Standard Jet DB" || signature == "Standard ACE DB";
}

bool StoreFile::isWriteAheadLogFile(const std::string& path) {
  if (!regularFile(path)) return false;
  std::ifstream file(path, std::ios::binary);
  char header[20] = {};
  if (!file.read(header, sizeof header)) return false;
  // The file format's write and read versions: 2 in both means write-ahead logging.
  return std::string(header, 16) == std::string("SQLite format 3", 16) && header[18] == 2 &&
         header[19] == 2;
}

void StoreFile::checkOpenable(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    throw StoreError("unable to open database file: " + path, SQLITE_CANTOPEN);
  if (isJetFile(path))
    throw StoreError("Formato di database non supportato (Jet/Access): " + path, SQLITE_NOTADB);
}

}  // namespace platform
