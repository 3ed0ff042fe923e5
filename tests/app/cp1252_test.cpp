#include "app/cp1252.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace verilote {
namespace {

TEST(Cp1252, LiteralsBecomeWindows1252Bytes) {
  EXPECT_EQ("não é"_cp, "n\xE3o \xE9");
  EXPECT_EQ("Código › Ç €"_cp,
            "C\xF3"
            "digo \x9B \xC7 \x80");
  EXPECT_EQ("plain"_cp, "plain");
}

// 0x80-0x9F in the Unicode consortium's cp1252.txt (0: undefined); every
// other byte stands for the code point of its own value.
constexpr char32_t kPublished80To9F[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

std::string Utf8Of(char32_t cp) {
  if (cp < 0x80) return std::string(1, static_cast<char>(cp));
  if (cp < 0x800) return {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F))};
  return {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
          static_cast<char>(0x80 | (cp & 0x3F))};
}

// All 256 bytes against the published table, both ways. The five undefined
// bytes go out as the C1 control of their own value (U+0081...), as Windows
// decodes them, and come back as the same byte: nothing is lost.
TEST(Cp1252, EveryByteRoundTripsThroughThePublishedTable) {
  std::string all, allUtf8;
  for (int b = 0; b < 256; ++b) {
    const bool high = b >= 0x80 && b <= 0x9F;
    const char32_t cp = high && kPublished80To9F[b - 0x80] != 0 ? kPublished80To9F[b - 0x80] : char32_t(b);
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(cp1252::ToCodePoint(static_cast<unsigned char>(b)), cp) << "byte " << b;
    EXPECT_EQ(cp1252::FromCodePoint(cp), b) << "byte " << b;
    EXPECT_EQ(ToUtf8(byte), Utf8Of(cp)) << "byte " << b;
    EXPECT_EQ(FromUtf8(Utf8Of(cp)), byte) << "byte " << b;
    all += byte;
    allUtf8 += Utf8Of(cp);
  }
  EXPECT_EQ(ToUtf8(all), allUtf8) << "a whole run, past the eight-byte ASCII steps";
  EXPECT_EQ(FromUtf8(allUtf8), all);
  EXPECT_EQ(FromUtf8("\xE4\xB8\xAD"), "?") << "a character outside the code page";
  EXPECT_EQ(FromUtf8("a\xC3"), "a?") << "a cut sequence";
}

// ASCII goes eight bytes at a time: an accented letter at every place of a
// line of more than two words, appended after text already there.
TEST(Cp1252, ConvertsAnAccentAtEveryPlaceOfAWord) {
  for (std::size_t at = 0; at < 20; ++at) {
    std::string line(20, 'a');
    line[at] = '\xE9';
    std::string out = "x";
    AppendUtf8(out, line);
    EXPECT_EQ(out, "x" + std::string(at, 'a') + "\xC3\xA9" + std::string(19 - at, 'a')) << at;
  }
}

// Scans the C++ sources for string or character literals that hold a
// non-ASCII byte and do not go through the _cp conversion: such a literal
// would put UTF-8 bytes into a Windows-1252 report.
std::vector<std::string> UnconvertedLiterals(const std::string& text) {
  std::vector<std::string> found;
  const std::size_t n = text.size();
  int line = 1;
  for (std::size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c == '\n') ++line;
    if (c == '/' && i + 1 < n && text[i + 1] == '/') {
      while (i < n && text[i] != '\n') ++i;
      ++line;
      continue;
    }
    if (c == '/' && i + 1 < n && text[i + 1] == '*') {
      for (i += 2; i + 1 < n && !(text[i] == '*' && text[i + 1] == '/'); ++i)
        if (text[i] == '\n') ++line;
      ++i;
      continue;
    }
    if (c != '"' && c != '\'') continue;
    if (c == '\'' && i > 0 && std::isxdigit(static_cast<unsigned char>(text[i - 1]))) continue;  // 1'000
    std::size_t end;
    bool nonAscii = false;
    if (c == '"' && i > 0 && text[i - 1] == 'R') {  // raw string R"delim( ... )delim"
      const std::size_t open = text.find('(', i);
      const std::string close = ")" + text.substr(i + 1, open - i - 1) + "\"";
      end = text.find(close, open);
      for (std::size_t k = i; k < end; ++k) nonAscii |= static_cast<unsigned char>(text[k]) >= 0x80;
      for (std::size_t k = i; k < end; ++k) line += text[k] == '\n';
      end += close.size() - 1;
    } else {
      for (end = i + 1; end < n && text[end] != c && text[end] != '\n'; ++end) {
        if (text[end] == '\\')
          ++end;
        else
          nonAscii |= static_cast<unsigned char>(text[end]) >= 0x80;
      }
    }
    if (nonAscii && text.compare(end + 1, 3, "_cp") != 0) found.push_back("line " + std::to_string(line));
    i = end;
  }
  return found;
}

TEST(Cp1252, NoNonAsciiLiteralBypassesTheConversion) {
  const std::filesystem::path root = VERILOTE_SOURCE_DIR;
  int scanned = 0;
  for (const char* folder : {"src", "tests", "bench"}) {
    if (!std::filesystem::exists(root / folder)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
      const auto ext = entry.path().extension();
      if (ext != ".cpp" && ext != ".hpp" && ext != ".h") continue;
      if (entry.path().filename() == "cp1252_test.cpp") continue;  // holds the scanner's own samples
      std::ifstream file(entry.path(), std::ios::binary);
      std::stringstream text;
      text << file.rdbuf();
      ++scanned;
      for (const std::string& where : UnconvertedLiterals(text.str()))
        ADD_FAILURE() << entry.path() << " " << where << ": non-ASCII literal without _cp";
    }
  }
  EXPECT_GT(scanned, 10);
}

}  // namespace
}  // namespace verilote
