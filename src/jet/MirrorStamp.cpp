#include "jet/MirrorStamp.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include "platform/SqlStatement.h"
#include "platform/StoreFile.h"

namespace jet {

namespace {

// Raised whenever a copy would come out different from an older one of the same file, so that
// older mirrors are copied again.
constexpr int kLayout = 1;
constexpr const char* kTable = "_statind_mirror";

}  // namespace

std::optional<FileStamp> FileStamp::of(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileStamp{
      static_cast<std::int64_t>(info.st_size),
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

void MirrorStamp::writeInto(sqlite3* db) const {
  const std::string create = std::string("CREATE TABLE ") + kTable +
                             " (layout INTEGER, source TEXT, size INTEGER, modified_ns INTEGER, "
                             "built_at INTEGER, jet_version INTEGER)";
  platform::SqlStatement(db, create).step();
  platform::SqlStatement insert(
      db, std::string("INSERT INTO ") + kTable + " VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
  insert.bindAll(
      {std::int64_t{kLayout}, source, file.size, file.modifiedNs, builtAt, std::int64_t{version}});
  insert.step();
  platform::SqlStatement(
      db, "PRAGMA application_id = " + std::to_string(platform::StoreFile::kMirrorApplicationId))
      .step();
}

std::optional<MirrorStamp> MirrorStamp::readFrom(const std::string& path) {
  if (!platform::StoreFile::isMirrorFile(path)) return std::nullopt;
  sqlite3* db = nullptr;
  std::optional<MirrorStamp> stamp;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* query = nullptr;
    const std::string sql = std::string(
                                "SELECT layout, source, size, modified_ns, built_at, "
                                "jet_version FROM ") +
                            kTable;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &query, nullptr) == SQLITE_OK &&
        sqlite3_step(query) == SQLITE_ROW && sqlite3_column_int(query, 0) == kLayout) {
      const auto* source = reinterpret_cast<const char*>(sqlite3_column_text(query, 1));
      stamp = MirrorStamp{source ? source : "",
                          {sqlite3_column_int64(query, 2), sqlite3_column_int64(query, 3)},
                          sqlite3_column_int64(query, 4),
                          sqlite3_column_int(query, 5)};
    }
    sqlite3_finalize(query);
  }
  sqlite3_close(db);
  return stamp;
}

}  // namespace jet
