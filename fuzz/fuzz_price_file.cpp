// Price files from outside: any bytes, read whole in every form the import offers. Whatever is
// read must be a date the index may hold and a positive, finite value that is no marker, and
// every bad line must name a line of the file.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "indeximport/FileRead.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (int form = 0; form < 3; ++form) {
    indeximport::ReadOptions options;
    options.longForm = form == 1;
    if (form == 2) {
      options.columns = {"1,2", "1,3"};
    }
    const auto read = indeximport::readPriceFile(bytes, options);
    for (const auto& series : read.series) {
      for (const auto& record : series.records) {
        if (record.day <= platform::kNoDateLimit || record.day >= platform::kFixedValueDate)
          std::abort();
        if (!std::isfinite(record.value) || record.value <= 0 || record.value == 999999)
          std::abort();
        if (record.line < 1) std::abort();
      }
    }
    for (const auto& bad : read.badLines)
      if (bad.line < 1 || bad.reason.empty()) std::abort();
  }
  return 0;
}
