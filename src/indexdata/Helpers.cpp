#include "indexdata/Helpers.h"

#include "platform/Format.h"
#include "platform/Strings.h"

namespace indexdata {

// Blanks only, as the suite trims: tabs and other spaces are part of a value.
std::string trimBlanks(const std::string& text) {
  return platform::trim(text);
}

namespace {

// Characters, not bytes: descriptions carry accented letters in UTF-8.
std::size_t characterCount(const std::string& text) {
  std::size_t count = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++count;
  return count;
}

bool holdsTwoSlashes(const std::string& text) {
  const auto first = text.find('/');
  return first != std::string::npos && text.find('/', first + 1) != std::string::npos;
}

double textNumber(const std::string& text) {
  if (holdsTwoSlashes(text)) {
    // A text that looks like a date but is none (31/02/2010, 1/2/x) gives 0, not a failure.
    const auto day = platform::parseDate(text);
    return day ? static_cast<double>(*day) : 0.0;
  }
  return platform::parseNumber(trimBlanks(text)).value_or(0.0);
}

}  // namespace

double nzNumber(const platform::Value& value) {
  if (const auto* whole = std::get_if<std::int64_t>(&value)) return static_cast<double>(*whole);
  if (const auto* real = std::get_if<double>(&value)) return *real;
  if (const auto* text = std::get_if<std::string>(&value)) {
    if (trimBlanks(*text).empty()) return 0.0;
    return textNumber(*text);
  }
  return 0.0;
}

std::string nzText(const platform::Value& value, const std::string& defaultText) {
  const std::string fallback = trimBlanks(defaultText).empty() ? " " : defaultText;
  if (platform::isNull(value)) return fallback;
  std::string text = platform::valueText(value);
  if (trimBlanks(text).empty() || text.front() == '\0') return fallback;
  return text;
}

std::string padLeft(const std::string& text, int width) {
  const std::string trimmed = trimBlanks(text);
  const std::size_t length = characterCount(trimmed);
  if (trimmed.empty() || width <= 0 || length >= static_cast<std::size_t>(width)) return text;
  return std::string(static_cast<std::size_t>(width) - length, ' ') + trimmed;
}

void beginWait(platform::Desktop& desktop) {
  try {
    desktop.setWaitCursor(true);
    desktop.processEvents();
  } catch (...) {
    // The pointer is a courtesy: a failure here must not stop the computation.
  }
}

void endWait(platform::Desktop& desktop) {
  try {
    desktop.setWaitCursor(false);
    desktop.processEvents();
  } catch (...) {
    // Called on the way out of failed computations too; it must never add a failure of its own.
  }
}

WaitScope::WaitScope(platform::Desktop& desktop) : desktop_(desktop) {
  beginWait(desktop_);
}

WaitScope::~WaitScope() {
  endWait(desktop_);
}

}  // namespace indexdata
