// The two encodings a configuration file of the suite can be in: UTF-8, or Windows-1252 for the
// files that Windows programs of the suite wrote with the ANSI code page. Lets the reader work in
// UTF-8 and the writer put a value back in the file's own encoding.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF). Pure ASCII is valid.
bool isValidUtf8(std::string_view bytes);
// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined map to the C1
// control characters of the same number, as Windows itself does.
std::string cp1252ToUtf8(std::string_view bytes);
// UTF-8 text as Windows-1252; a character the code page cannot hold becomes '?'. Invalid UTF-8
// bytes are taken as Windows-1252 already.
std::string utf8ToCp1252(std::string_view text);

}  // namespace platform
