// A Jet file from outside, as the start-up copies it into a mirror: whatever the bytes, the
// program goes on with a JetError naming the file (or the copy), leaves no copy behind, and a copy
// that does succeed is a database every value of which reads back. libmdb reads in a child process,
// so its own faults end as a JetError here too.
#include <sqlite3.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "jet/IsolatedCopy.h"
#include "jet/JetError.h"

namespace {

const std::string& folder() {
  static const std::string path = [] {
    const auto made =
        std::filesystem::temp_directory_path() / ("statind-fuzz-jet-" + std::to_string(::getpid()));
    std::filesystem::create_directories(made);
    return made.string();
  }();
  return path;
}

// Every value of every table, read once: a copy that says it succeeded must be whole.
void readBack(const std::string& file) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) std::abort();
  if (sqlite3_exec(db, "PRAGMA integrity_check", nullptr, nullptr, nullptr) != SQLITE_OK)
    std::abort();
  sqlite3_close(db);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string from = folder() + "/in.mdb";
  const std::string to = folder() + "/out.sqlite";
  std::ofstream(from, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  jet::CopyParams params;
  params.from = from;
  params.to = to;
  try {
    jet::copyJetFileApart(params, {}, std::chrono::seconds(10));
    readBack(to);
  } catch (const jet::JetError& e) {
    if (std::filesystem::exists(to)) std::abort();
    // Named: the Jet file, or the copy when writing it failed.
    const std::string what = e.what();
    if (what.find(from) == std::string::npos && what.find(to) == std::string::npos) std::abort();
  }
  std::filesystem::remove(to);
  return 0;
}
