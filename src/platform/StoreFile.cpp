#include "platform/StoreFile.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
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

// The fifteen bytes from byte 4, where Jet and ACE files carry their signature.
std::string signatureOf(const std::string& path) {
  if (!regularFile(path)) return "";
  std::ifstream file(path, std::ios::binary);
  char header[19] = {};
  if (!file.read(header, sizeof header)) return "";
  return std::string(header + 4, 15);
}

}  // namespace

bool StoreFile::isJetFile(const std::string& path) {
  const std::string signature = signatureOf(path);
  return signature == "Standard Jet DB" || signature == "Standard ACE DB";
}

bool StoreFile::isAceFile(const std::string& path) {
  return signatureOf(path) == "Standard ACE DB";
}

bool StoreFile::isMirrorFile(const std::string& path) {
  if (!regularFile(path)) return false;
  std::ifstream file(path, std::ios::binary);
  unsigned char header[72] = {};
  if (!file.read(reinterpret_cast<char*>(header), sizeof header)) return false;
  if (std::string(reinterpret_cast<char*>(header), 16) != std::string("SQLite format 3", 16))
    return false;
  const std::uint32_t id = (std::uint32_t{header[68]} << 24) | (std::uint32_t{header[69]} << 16) |
                           (std::uint32_t{header[70]} << 8) | header[71];
  return id == static_cast<std::uint32_t>(kMirrorApplicationId);
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

bool StoreFile::isUnchanging(const std::string& path) {
  return isWriteAheadLogFile(path) && logFilesBeside(path).empty() && inReadOnlyFolder(path);
}

bool StoreFile::inReadOnlyFolder(const std::string& path) {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::absolute(path, error).parent_path();
  return access(folder.c_str(), W_OK) != 0;
}

std::string StoreFile::logFilesBeside(const std::string& path) {
  std::string found;
  for (const char* suffix : {"-wal", "-shm"}) {
    std::error_code error;
    if (!std::filesystem::exists(path + suffix, error)) continue;
    if (!found.empty()) found += ", ";
    found += std::filesystem::path(path).filename().string() + suffix;
  }
  return found;
}

std::string StoreFile::uri(const std::string& path, bool unchanging) {
  // Absolute: a URI has no notion of the current folder. A drive letter follows "file:///".
  std::error_code error;
  const std::string file = std::filesystem::absolute(path, error).generic_string();
  std::string uri = file.empty() || file[0] != '/' ? "file:///" : "file:";
  for (char c : file) {
    if (c == '%' || c == '?' || c == '#') {
      static const char* hex = "0123456789ABCDEF";
      uri += '%';
      uri += hex[static_cast<unsigned char>(c) >> 4];
      uri += hex[static_cast<unsigned char>(c) & 15];
    } else {
      uri += c;
    }
  }
  if (unchanging) return uri + "?mode=ro&immutable=1";
  return uri + (isMirrorFile(path) ? "?mode=ro" : "?mode=rw");
}

void StoreFile::checkOpenable(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    throw StoreError("unable to open database file: " + path, SQLITE_CANTOPEN);
  if (isJetFile(path))
    throw StoreError("Formato di database non supportato (Jet/Access): " + path, SQLITE_NOTADB);
}

}  // namespace platform
