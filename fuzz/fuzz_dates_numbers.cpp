// Dates and numbers typed by a user or read from a file. Whatever parses must also survive
// being written back and read again unchanged.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/Format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto day = platform::parseDate(text)) {
    if (platform::parseDate(platform::formatDate(*day)) != day) std::abort();
  }
  if (const auto day = platform::parseIsoDate(text)) {
    if (platform::parseIsoDate(platform::isoDate(*day)) != day) std::abort();
  }
  if (const auto number = platform::parseNumber(text)) {
    if (std::isfinite(*number) && std::fabs(*number) < 1e15) {
      if (!platform::parseNumber(platform::formatNumber(*number, "#,###,###,##0.00"))) std::abort();
      platform::roundThrough(*number, "#0.000");
    }
  }
  return 0;
}
