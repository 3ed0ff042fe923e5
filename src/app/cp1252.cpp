#include "app/cp1252.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

namespace verilote {

void AppendUtf8(std::string& out, std::string_view bytes) {
  // At most three bytes a character. Runs of ASCII, most of a report line,
  // go eight bytes at a time: each word is stored whole (the room for three
  // bytes a character leaves space for it) and kept up to its first byte
  // above 0x7F. The CLI converts every line that has an accented letter.
  const std::size_t start = out.size(), n = bytes.size();
  out.resize(start + 3 * n);
  char* p = out.data() + start;
  for (std::size_t i = 0; i < n;) {
    for (; i + 8 <= n; i += 8, p += 8) {
      std::uint64_t word;
      std::memcpy(&word, bytes.data() + i, sizeof word);
      std::memcpy(p, &word, sizeof word);
      if (const std::uint64_t high = word & 0x8080808080808080u; high != 0) {
        if constexpr (std::endian::native == std::endian::little) {
          const std::size_t ascii = static_cast<std::size_t>(std::countr_zero(high)) / 8;
          i += ascii;
          p += ascii;
        }
        break;
      }
    }
    while (i < n && static_cast<unsigned char>(bytes[i]) < 0x80) *p++ = bytes[i++];
    if (i == n) break;
    const char32_t cp = cp1252::ToCodePoint(static_cast<unsigned char>(bytes[i]));
    ++i;
    if (cp < 0x800) {
      *p++ = static_cast<char>(0xC0 | (cp >> 6));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      *p++ = static_cast<char>(0xE0 | (cp >> 12));
      *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
}

std::string ToUtf8(std::string_view bytes) {
  std::string out;
  AppendUtf8(out, bytes);
  return out;
}

std::string FromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto cp = cp1252::DecodeUtf8(utf8, i);
    const int byte = cp ? cp1252::FromCodePoint(*cp) : -1;
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

}  // namespace verilote
