#include "update/UpdaterCheck.h"

#include <algorithm>
#include <cctype>

namespace update {

namespace {

constexpr std::string_view kElf =
    "\x7f"
    "ELF";
constexpr std::string_view kMz = "MZ";
#ifdef _WIN32
constexpr std::string_view kOwnMagic = kMz;
constexpr std::string_view kOwnKind = "un programma per Windows";
#else
constexpr std::string_view kOwnMagic = kElf;
constexpr std::string_view kOwnKind = "un programma per Linux";
#endif

bool isText(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x20 || c == '\n' || c == '\r' || c == '\t';  // UTF-8 and Windows-1252 too
  });
}

bool containsNoCase(std::string_view text, std::string_view word) {
  return std::search(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         }) != text.end();
}

}  // namespace

std::string contentKind(std::string_view head) {
  if (head.empty()) return "un file vuoto";
  if (head.starts_with(kElf)) return "un programma per Linux";
  if (head.starts_with(kMz)) return "un programma per Windows";
  if (head.starts_with("#!")) return "uno script";
  if (head.starts_with("%PDF")) return "un documento PDF";
  if (head.starts_with("PK\x03\x04")) return "un archivio ZIP";
  std::string_view text = head;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  text.remove_prefix(std::min(text.size(), text.find_first_not_of(" \t\r\n")));
  if (text.starts_with('<') && (containsNoCase(text, "html") || containsNoCase(text, "<p")))
    return "una pagina HTML";
  if (isText(head)) return "un testo";
  return "un contenuto non riconosciuto";
}

std::string updaterRefusal(std::string_view head) {
  if (head.starts_with(kOwnMagic)) return "";
  const std::string kind = contentKind(head);
  // The participle agrees with what arrived: "arrivata una pagina", "arrivato un testo".
  const bool feminine = kind.starts_with("una ");
  return std::string(feminine ? "è arrivata " : "è arrivato ") + kind + ", non " +
         std::string(kOwnKind);
}

}  // namespace update
