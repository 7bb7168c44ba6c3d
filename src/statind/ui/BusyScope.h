// Marks a stretch of list changes made by the window's own code, so that the list click handlers
// can tell them from the user's and do nothing while the flag is up.
#pragma once

namespace statind::ui {

class BusyScope {
 public:
  // Raises `flag` until the scope ends, then restores what it was.
  explicit BusyScope(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~BusyScope() { flag_ = before_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& flag_;
  bool before_;
};

}  // namespace statind::ui
