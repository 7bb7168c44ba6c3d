// libFuzzer target for the checks on what the update site sends: any bytes as an answer that
// arrives in pieces under a bound (the version page kept whole, the updater's first bytes kept
// for judging), then judged as the updater. The first two bytes pick the bound, whether the
// body is kept whole, the announced length and how the rest is cut into pieces.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ReplyBody.h"
#include "update/UpdaterCheck.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint64_t bound = data[0] % 128;
  const bool keepWhole = (data[1] & 1) != 0;
  const long long announced = (data[1] & 2) != 0 ? static_cast<long long>(data[1] >> 2) * 3 : -1;
  const std::string_view body(reinterpret_cast<const char*>(data) + 2, size - 2);

  platform::ReplyBody reply(bound, keepWhole);
  const bool announcedFits = reply.announce(announced);
  check(announcedFits == (announced < 0 || static_cast<std::uint64_t>(announced) <= bound));
  // Pieces of 1 to 16 bytes, their lengths taken from the body itself.
  for (std::size_t at = 0; at < body.size();) {
    const std::size_t length =
        std::min<std::size_t>(1 + static_cast<unsigned char>(body[at]) % 16, body.size() - at);
    reply.add(body.substr(at, length));
    at += length;
  }
  check(reply.size() <= bound);
  check(reply.overflowed() == (!announcedFits || body.size() > bound));
  if (!reply.overflowed()) check(reply.size() == body.size());
  check(body.starts_with(reply.text()));
  check(keepWhole ? reply.text().size() == reply.size()
                  : reply.text().size() <= platform::ReplyBody::kHeadBytes);
  check(body.starts_with(reply.head()));
  check(!reply.overflowReason().empty());

  const std::string refusal = update::updaterRefusal(reply.head());
  check(refusal.empty() == reply.head().starts_with("\x7f"
                                                    "ELF"));
  check(!update::contentKind(body).empty());
  return 0;
}
