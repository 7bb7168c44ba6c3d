// libFuzzer target for the version page: any bytes as the page fetched from the update site.
// The first byte, when there is one, picks the running version so that both the up-to-date
// and the new-version paths (with the update list) are reached.
#include <cstddef>
#include <cstdint>
#include <string>

#include "update/VersionPage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  update::VersionCheckParams params;
  params.programName = "STATIND";
  params.runningMajor = size > 0 ? data[0] % 4 : 1;
  params.siteAddress = "127.0.0.1/";
  params.pageText.assign(reinterpret_cast<const char*>(data), size);
  const std::string known = size > 1 ? params.pageText.substr(size / 2, 16) : std::string();
  params.knownValue = [&known](const std::string&) { return known; };
  const update::VersionCheck check = update::checkVersion(params);
  if (check.updates.size() > update::kMaxListedUpdates) __builtin_trap();
  return 0;
}
