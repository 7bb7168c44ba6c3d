#include "platform/ReplyBody.h"

#include <algorithm>

namespace platform {

bool ReplyBody::announce(long long length) {
  if (length >= 0 && static_cast<std::uint64_t>(length) > maxBytes_) overflowed_ = true;
  return !overflowed_;
}

bool ReplyBody::add(std::string_view piece) {
  if (overflowed_ || piece.size() > maxBytes_ - size_) {
    overflowed_ = true;
    return false;
  }
  size_ += piece.size();
  const std::size_t room =
      keepWhole_ ? piece.size() : kHeadBytes - std::min(kHeadBytes, text_.size());
  text_.append(piece.substr(0, std::min(room, piece.size())));
  return true;
}

std::string_view ReplyBody::head() const {
  return std::string_view(text_).substr(0, kHeadBytes);
}

std::string ReplyBody::overflowReason() const {
  constexpr std::uint64_t kMegabyte = 1 << 20;
  const std::string bound = maxBytes_ >= kMegabyte && maxBytes_ % kMegabyte == 0
                                ? std::to_string(maxBytes_ / kMegabyte) + " MB"
                                : std::to_string(maxBytes_) + " byte";
  return "la risposta supera " + bound;
}

}  // namespace platform
