#include "support/JetText.h"

#include <array>
#include <cstdint>

namespace jetfixture {

namespace {

// Windows-1252 bytes 0x80-0x9F; the other bytes map to the code point of the same number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t fromWindows1252(unsigned char b) {
  return b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b);
}

// Length of the UTF-8 sequence starting at `s[i]` and its code point; 0 when it is not valid.
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  std::size_t len = b0 < 0x80         ? 1
                    : (b0 >> 5) == 6  ? 2
                    : (b0 >> 4) == 14 ? 3
                    : (b0 >> 3) == 30 ? 4
                                      : 0;
  if (len == 0 || i + len > s.size()) return 0;
  cp = len == 1 ? b0 : b0 & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kLeast[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

void appendUnit(std::string& out, char16_t c) {
  out += static_cast<char>(c & 0xFF);
  out += static_cast<char>(c >> 8);
}

}  // namespace

std::u16string utf16Of(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    const std::size_t len = decodeUtf8(utf8, i, cp);
    if (len == 0) {
      out += fromWindows1252(static_cast<unsigned char>(utf8[i++]));
      continue;
    }
    i += len;
    if (cp < 0x10000) {
      out += static_cast<char16_t>(cp);
    } else {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string jet4Bytes(std::u16string_view text, bool compress) {
  std::string plain;
  plain.reserve(text.size() * 2);
  for (char16_t c : text) appendUnit(plain, c);
  if (!compress) return plain;

  std::string packed = "\xFF\xFE";
  bool oneByte = true;
  for (char16_t c : text) {
    if ((c & 0xFF) == 0) return plain;
    const bool fits = (c >> 8) == 0;
    if (fits != oneByte) {
      packed += '\0';
      oneByte = fits;
    }
    if (oneByte)
      packed += static_cast<char>(c);
    else
      appendUnit(packed, c);
  }
  return packed.size() < plain.size() ? packed : plain;
}

std::string windows1252Bytes(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    char byte = '?';
    for (std::size_t k = 0; k < kHighControls.size(); ++k)
      if (kHighControls[k] == c) byte = static_cast<char>(0x80 + k);
    out += byte;
  }
  return out;
}

}  // namespace jetfixture
