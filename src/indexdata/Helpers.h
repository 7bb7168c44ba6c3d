// The small null-safe helpers around the lookup, and the wait pointer.
#pragma once

#include <string>

#include "platform/Desktop.h"
#include "platform/Store.h"

namespace indexdata {

// Null or blank gives 0; a text with two "/" is read as a dd/mm/yyyy date (its day number, 0
// when it is no valid date); a number unchanged; any other text its numeric value or 0.
double nzNumber(const platform::Value& value);
// The default (" " when missing or blank) for Null, blank text or a text starting with NUL;
// otherwise the value's text, untrimmed.
std::string nzText(const platform::Value& value, const std::string& defaultText = " ");
// The trimmed text right-aligned in `width` characters when it is non-empty and shorter;
// otherwise `text` unchanged.
std::string padLeft(const std::string& text, int width);
// `text` without the blanks (spaces only) on both sides.
std::string trimBlanks(const std::string& text);

// beginWait on construction, endWait on destruction: the wait pointer is reset on every way
// out of a computation, exceptions included.
class WaitScope {
 public:
  explicit WaitScope(platform::Desktop& desktop);
  ~WaitScope();
  WaitScope(const WaitScope&) = delete;
  WaitScope& operator=(const WaitScope&) = delete;

 private:
  platform::Desktop& desktop_;
};

void beginWait(platform::Desktop& desktop);
void endWait(platform::Desktop& desktop);

}  // namespace indexdata
