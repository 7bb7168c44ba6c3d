// A configuration file of any content, as other suite programs or a user may leave it: reading
// must not fault, and a value written into it must read back as written.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Profile.h"

namespace {

// One file per process, in memory when the system offers it (the writer syncs every write),
// removed when the run ends.
struct ScratchFile {
  std::string path;
  ScratchFile() {
    const std::filesystem::path shm = "/dev/shm";
    const auto folder =
        std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
    path = (folder / ("statind-fuzz-" + std::to_string(::getpid()) + ".ini")).string();
  }
  ~ScratchFile() {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFile scratch;
  const std::string& ini = scratch.path;
  std::ofstream(ini, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  platform::readIni(ini, "BASE", "POSIZ");
  platform::readIni(ini, "PARAMETRI", "StartUp");
  if (!platform::writeIni(ini, "PARAMETRI", "StartUp", "12;34")) std::abort();
  if (platform::readIni(ini, "parametri", "startup") != "12;34") std::abort();
  if (!platform::writeIni(ini, "Nuova", "chiave", "Città")) std::abort();
  if (platform::readIni(ini, "NUOVA", "CHIAVE") != "Città") std::abort();
  return 0;
}
