// The command line the suite passes: any bytes at all must give parameters, never a fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "startup/AppParams.h"
#include "startup/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  startup::AppParams params;
  startup::parseCommandLine(std::string(reinterpret_cast<const char*>(data), size), params);
  return 0;
}
