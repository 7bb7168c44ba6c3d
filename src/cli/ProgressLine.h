// One line of progress on a console stream, rewritten in place: each text replaces the one
// before it (a carriage return, blanks over a longer old text), and end() closes the line.
// Nothing is written when nothing was shown.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace cli {

class ProgressLine {
 public:
  explicit ProgressLine(std::ostream& out) : out_(out) {}
  ~ProgressLine() { end(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void show(const std::string& text) {
    out_ << '\r' << text;
    if (text.size() < shown_) out_ << std::string(shown_ - text.size(), ' ');
    out_ << std::flush;
    shown_ = text.size();
    open_ = true;
  }
  void end() {
    if (open_) out_ << '\n' << std::flush;
    open_ = false;
    shown_ = 0;
  }

 private:
  std::ostream& out_;
  std::size_t shown_ = 0;
  bool open_ = false;
};

}  // namespace cli
