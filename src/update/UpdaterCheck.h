// What may be started as the suite's updater: only a program for this platform, recognised by
// its first bytes (ELF on Linux, "MZ" on Windows), and of a sane size. A web server answers a
// missing file or a login with an HTML page under a success status, and that must never be
// saved as a program and run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace update {

// The largest updater taken from the site; the suite's updater is a few MB.
inline constexpr std::uint64_t kMaxUpdaterBytes = 128ull << 20;

// What a file beginning with `head` is, in words for a message: "un programma per Linux",
// "un programma per Windows", "una pagina HTML", "un file vuoto", "un testo", "un contenuto
// non riconosciuto"...
std::string contentKind(std::string_view head);

// "" when `head` begins a program for this platform; otherwise why the file is not started:
// "è arrivato " + contentKind + ", non un programma per Linux".
std::string updaterRefusal(std::string_view head);

}  // namespace update
