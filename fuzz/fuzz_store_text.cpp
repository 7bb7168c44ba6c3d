// Text as the databases may hold it (any bytes, Windows-1252 from older files) read through the
// store's column reader and written as JSON, as statind-cli does: the reader must hand over
// valid UTF-8, or the JSON writer would throw.
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/SqlStatement.h"
#include "platform/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static sqlite3* db = [] {
    sqlite3* handle = nullptr;
    if (sqlite3_open(":memory:", &handle) != SQLITE_OK) std::abort();
    return handle;
  }();
  static platform::SqlStatement select(db, "SELECT CAST(?1 AS TEXT), ?1", true);
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  select.bind(1, platform::Value(bytes));
  if (!select.step()) std::abort();
  platform::Value text;
  select.read(0, text);
  const std::string& read = std::get<std::string>(text);
  if (!platform::isValidUtf8(read)) std::abort();
  if (platform::isValidUtf8(bytes) && read != bytes) std::abort();
  nlohmann::json out = {{"description", read}};
  (void)out.dump(2);
  select.reset();
  return 0;
}
