// The body of an answer from the network as it arrives, piece by piece, under a bound: a server
// may announce or send any length, and the program holds (or saves) at most so much of it. A
// page is kept whole; a file written to disk as it arrives keeps only its first bytes here, for
// the judgement of what it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class ReplyBody {
 public:
  // Bytes kept of a body that is not kept whole.
  static constexpr std::size_t kHeadBytes = 64;

  ReplyBody(std::uint64_t maxBytes, bool keepWhole) : maxBytes_(maxBytes), keepWhole_(keepWhole) {}

  // The length the server announced (negative: none). False, and the body counts as over its
  // bound from now on, when that length alone is over it.
  bool announce(long long length);
  // Takes the next piece. False, keeping nothing of it, once the total passes the bound; the
  // body then stays over its bound.
  bool add(std::string_view piece);

  bool overflowed() const { return overflowed_; }
  // Bytes taken so far.
  std::uint64_t size() const { return size_; }
  // The whole body when kept whole, otherwise its first kHeadBytes (fewer when shorter).
  const std::string& text() const { return text_; }
  // The body's first kHeadBytes (fewer when shorter).
  std::string_view head() const;
  // Why an over-long body was dropped: "la risposta supera 1 MB".
  std::string overflowReason() const;

 private:
  std::uint64_t maxBytes_;
  bool keepWhole_;
  bool overflowed_ = false;
  std::uint64_t size_ = 0;
  std::string text_;
};

}  // namespace platform
