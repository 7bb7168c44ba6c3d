#include "platform/StoreFile.h"

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "platform/Store.h"

namespace platform {

namespace {

// The fifteen bytes from byte 4, where Jet and ACE files carry their signature.
std::string signatureOf(const std::string& path) {
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
