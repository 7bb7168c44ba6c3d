// Small text helpers shared by the configuration code: the trimming, upper-casing and
// case-insensitive comparison rules that the suite's Windows heritage implies. Texts are UTF-8;
// case rules apply to ASCII letters only, which is what section, key, operator and file names
// use in practice.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// `text` without the leading and trailing characters found in `blanks` (VB Trim: blanks only).
std::string trim(std::string_view text, std::string_view blanks = " ");
// ASCII letters upper-cased, every other byte unchanged.
std::string upperCase(std::string_view text);
// True when the two texts are equal ignoring the case of ASCII letters.
bool equalsNoCase(std::string_view a, std::string_view b);
// The first `count` characters (UTF-8 code points) of `text`; the whole text when shorter.
std::string firstChars(std::string_view text, std::size_t count);
// `text` cut or padded with blanks on the right to exactly `width` characters (UTF-8 code points).
std::string fitChars(std::string_view text, std::size_t width);

}  // namespace platform
