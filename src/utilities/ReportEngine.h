// The print engine's lifecycle: opened at start-up, closed at exit. The program prints no
// report through it, so opening only records that it is available.
#pragma once

namespace utilities {

class ReportEngine {
 public:
  // Returns false when the engine cannot be opened (the caller tells the user and goes on).
  bool open();
  void close();
  bool isOpen() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace utilities
