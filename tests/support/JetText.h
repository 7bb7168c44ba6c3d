// Text as Jet files store it: UCS-2 (little-endian), optionally in Jet 4's compressed form, or a
// single-byte code page (Windows-1252) in Jet 3 files. Part of the Jet writer of the test
// fixtures; input is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace jetfixture {

// The UTF-16 code units of `utf8`. A byte that does not start a valid sequence is taken as the
// Windows-1252 character of that byte, so text that is not clean UTF-8 still comes out readable.
std::u16string utf16Of(std::string_view utf8);

// `text` as a Jet 4 column stores it: plain UCS-2LE, or, when `compress` is set, the compressed
// form (0xFF 0xFE, then one byte per character whose high byte is 0 and two per other
// character, a 0 byte switching between the two modes) if that is shorter. A string holding a
// character whose low byte is 0 cannot be compressed (the 0 would read as a mode switch) and is
// stored plain.
std::string jet4Bytes(std::u16string_view text, bool compress);

// `text` in Windows-1252, as Jet 3 stores it; a character the code page lacks becomes '?'.
std::string windows1252Bytes(std::u16string_view text);

}  // namespace jetfixture
