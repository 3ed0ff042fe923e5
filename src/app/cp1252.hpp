// Windows-1252 is the code page of every file the bank exchanges and of every
// report line. Record bytes travel unchanged in std::string; texts of our own
// that hold accents are written in UTF-8 in the source and turned into
// Windows-1252 bytes here, at compile time, through the _cp literal:
//
//     host.ReportAppend(Cat("Erro não é branco (pos=148). registro="_cp, n));
//
// A non-ASCII character in any other string literal is a fault (a test scans
// the sources for it). The only run-time conversions are ToUtf8, for the CLI's
// terminal output, and FromUtf8, for texts typed on its command line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace verilote {

namespace cp1252 {

// Unicode code points of the bytes 0x80..0x9F; 0 marks the five bytes that
// Windows-1252 leaves undefined (they map to U+0080.. on the way out).
inline constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The code point a Windows-1252 byte stands for.
constexpr char32_t ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] != 0) return kHigh[byte - 0x80];
  return byte;
}

// The Windows-1252 byte of a code point, or -1 when the code page lacks it.
constexpr int FromCodePoint(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] != 0 && kHigh[i] == cp) return 0x80 + i;
  if (cp >= 0x80 && cp <= 0x9F) return static_cast<int>(cp);  // the undefined five
  return -1;
}

// Decodes one UTF-8 sequence at text[i]; advances i. Returns nullopt on a
// malformed sequence (i then moves past its first byte).
constexpr std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  int extra = b0 < 0x80 ? 0 : (b0 & 0xE0) == 0xC0 ? 1 : (b0 & 0xF0) == 0xE0 ? 2 : (b0 & 0xF8) == 0xF0 ? 3 : -1;
  if (extra < 0 || i + extra >= text.size()) {
    ++i;
    return std::nullopt;
  }
  char32_t cp = extra == 0 ? b0 : b0 & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return std::nullopt;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += extra + 1;
  return cp;
}

// A string literal converted to Windows-1252 at compile time. A character the
// code page lacks stops the build.
template <std::size_t N>
struct Literal {
  char bytes[N]{};
  std::size_t size = 0;
  consteval explicit Literal(const char (&utf8)[N]) {
    const std::string_view text(utf8, N - 1);
    for (std::size_t i = 0; i < text.size();) {
      const auto cp = DecodeUtf8(text, i);
      if (!cp) throw "malformed UTF-8 in a _cp literal";
      const int byte = FromCodePoint(*cp);
      if (byte < 0) throw "character outside Windows-1252 in a _cp literal";
      bytes[size++] = static_cast<char>(byte);
    }
  }
};

// One converted copy per distinct literal, in static storage.
template <char... Utf8>
struct Converted {
  static constexpr auto kValue = [] {
    constexpr char utf8[] = {Utf8..., '\0'};
    return Literal<sizeof...(Utf8) + 1>(utf8);
  }();
};

}  // namespace cp1252

// The literal operator takes its characters as a template pack (a GNU
// extension that gcc and clang share): the C++20 form with a class-type
// parameter crashes clang 14 in static initializers.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wgnu-string-literal-operator-template"
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#endif
template <typename Char, Char... Utf8>
constexpr std::string_view operator""_cp() {
  static_assert(std::is_same_v<Char, char>, "_cp takes plain string literals");
  return {cp1252::Converted<Utf8...>::kValue.bytes, cp1252::Converted<Utf8...>::kValue.size};
}
#if defined(__clang__)
#pragma clang diagnostic pop
#else
#pragma GCC diagnostic pop
#endif

// Windows-1252 bytes to UTF-8 (terminal output of the CLI); AppendUtf8 adds
// the converted text to `out`.
std::string ToUtf8(std::string_view cp1252Bytes);
void AppendUtf8(std::string& out, std::string_view cp1252Bytes);

// UTF-8 to Windows-1252 (texts typed on the CLI's command line). A character
// the code page lacks, or a malformed byte, becomes "?".
std::string FromUtf8(std::string_view utf8);

}  // namespace verilote
