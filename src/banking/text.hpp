// Text and number helpers shared by every validator and calculator. Texts are
// byte strings; positions are 1-based; a character is one byte. Every function
// returns a new value and never changes its argument. The four padding
// functions keep the left end when they cut: PadZeroLeft("123456", 4) is "1234".
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// Long texts are scanned 32 bytes at a time where the processor has AVX2,
// chosen when the program runs (GCC and Clang on x86-64).
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define VERILOTE_AVX2_SCAN 1
#endif

// The tiny helpers below run on every field of every record: they are
// inlined whatever the optimiser's budget, which a whole-program (LTO) build
// otherwise spends elsewhere and leaves them as calls.
#if defined(__GNUC__)
#define VERILOTE_INLINE [[gnu::always_inline]] inline
#else
#define VERILOTE_INLINE inline
#endif

namespace verilote {

#if defined(VERILOTE_AVX2_SCAN)
namespace detail {
inline const bool kHasAvx2 = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
}();
}  // namespace detail
#endif

// The character's code minus 48, unchecked: '7' gives 7, a blank gives -16.
constexpr int CharToDigit(char c) { return static_cast<unsigned char>(c) - 48; }
constexpr char DigitToChar(int n) { return static_cast<char>(n + 48); }

std::string KeepDigits(std::string_view text);
std::string SignedDigits(std::string_view text);
std::string RemoveDots(std::string_view text);
std::string PadZeroLeft(std::string_view text, std::size_t width);
std::string PadZeroRight(std::string_view text, std::size_t width);
std::string PadSpaceLeft(std::string_view text, std::size_t width);
std::string PadSpaceRight(std::string_view text, std::size_t width);
std::string RepeatText(std::size_t count, std::string_view text);
std::string StripLeadingZeros(std::string_view text);
std::string StripTrailingZeros(std::string_view text);
std::string FormatMoney(std::string_view cents);
std::string FormatCpfCnpj(std::string_view text);

// An inclusive range of byte values.
struct ByteRange {
  unsigned char first, last;
};

// A set of bytes written as ranges, e.g. the characters a layout accepts. The
// character checks scan every byte of every record, so AnyOutside tests 16
// bytes at a time with SSE2 intrinsics where the target has them (every
// x86-64) and otherwise walks a 256-entry table: neither hangs on what the
// optimiser's vectoriser happens to do.
template <ByteRange... Ranges>
class ByteSet {
 public:
  VERILOTE_INLINE static constexpr bool Holds(unsigned char c) { return kTable[c]; }

  // Whether some byte of text lies outside the set.
  VERILOTE_INLINE static bool AnyOutside(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
#if defined(VERILOTE_AVX2_SCAN)
    if (kAscii && n >= 32 && detail::kHasAvx2) return AnyOutsideAvx2(p, n);
#endif
#if defined(__SSE2__)
    if (n >= 16) {
      for (std::size_t i = 0; i + 16 <= n; i += 16)
        if (InsideMask(p + i) != 0xFFFF) return true;
      return InsideMask(p + n - 16) != 0xFFFF;  // the last 16 bytes, overlapping
    }
#endif
    bool outside = false;  // no early exit: fields are short and nearly always pass
    for (std::size_t i = 0; i < n; ++i) outside |= !kTable[p[i]];
    return outside;
  }

 private:
  static constexpr std::array<bool, 256> kTable = [] {
    std::array<bool, 256> table{};
    for (const ByteRange r : {Ranges...})
      for (unsigned c = r.first; c <= r.last; ++c) table[c] = true;
    return table;
  }();

  static constexpr bool kAscii = [] {
    for (unsigned c = 0x80; c < 0x100; ++c)
      if (kTable[c]) return false;
    return true;
  }();

#if defined(VERILOTE_AVX2_SCAN)
  // A set of bytes below 0x80 as two 16-entry tables, looked up with a byte's
  // low and high nibble: the byte is in the set when the two entries share a
  // bit (bit h of kLowNibble[l] says whether byte 16h + l is in the set). Each
  // table is written twice, once for each 16-byte half of a 32-byte block.
  static constexpr std::array<char, 32> kLowNibble = [] {
    std::array<char, 32> table{};
    for (unsigned low = 0; low < 32; ++low)
      for (unsigned high = 0; high < 8; ++high)
        if (kTable[high * 16 + low % 16]) table[low] = static_cast<char>(table[low] | (1u << high));
    return table;
  }();
  static constexpr std::array<char, 32> kHighNibble = [] {
    std::array<char, 32> table{};
    for (unsigned high = 0; high < 8; ++high) table[high] = table[high + 16] = static_cast<char>(1u << high);
    return table;
  }();

  // n >= 32: blocks of 32 bytes, the last one overlapping; no early exit.
  [[gnu::target("avx2")]] [[gnu::noinline]] static bool AnyOutsideAvx2(const unsigned char* p, std::size_t n) {
    const __m256i lowTable = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kLowNibble.data()));
    const __m256i highTable = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(kHighNibble.data()));
    const __m256i nibble = _mm256_set1_epi8(0x0F), zero = _mm256_setzero_si256();
    __m256i outside = zero;
    for (std::size_t i = 0;; i += 32) {
      if (i + 32 > n) i = n - 32;
      const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
      const __m256i low = _mm256_shuffle_epi8(lowTable, _mm256_and_si256(v, nibble));
      const __m256i high = _mm256_shuffle_epi8(highTable, _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble));
      outside = _mm256_or_si256(outside, _mm256_cmpeq_epi8(_mm256_and_si256(low, high), zero));
      if (i + 32 == n) break;
    }
    return _mm256_testz_si256(outside, outside) == 0;
  }
#endif

#if defined(__SSE2__)
  // 0xFF in each lane whose byte lies in the range.
  template <ByteRange R>
  VERILOTE_INLINE static __m128i InRange(__m128i v) {
    const auto byte = [](unsigned char c) { return _mm_set1_epi8(static_cast<char>(c)); };
    if constexpr (R.first == R.last) {
      return _mm_cmpeq_epi8(v, byte(R.first));
    } else if constexpr (R.first == 0) {
      return _mm_cmpeq_epi8(_mm_min_epu8(v, byte(R.last)), v);
    } else if constexpr (R.last == 0xFF) {
      return _mm_cmpeq_epi8(_mm_max_epu8(v, byte(R.first)), v);
    } else {  // v - first, unsigned, at most last - first
      const __m128i offset = _mm_sub_epi8(v, byte(R.first));
      return _mm_cmpeq_epi8(_mm_min_epu8(offset, byte(static_cast<unsigned char>(R.last - R.first))), offset);
    }
  }

  // One bit per byte of p[0..15]: set when the byte is in the set.
  VERILOTE_INLINE static int InsideMask(const unsigned char* p) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i inside = _mm_setzero_si128();
    ((inside = _mm_or_si128(inside, InRange<Ranges>(v))), ...);
    return _mm_movemask_epi8(inside);
  }
#endif
};

// Blanks and control bytes: what Trim removes.
using BlankBytes = ByteSet<ByteRange{0x00, ' '}>;
using DigitBytes = ByteSet<ByteRange{'0', '9'}>;
// IsPlainText's bytes, all a CNAB 400 or Construgiro record may hold: the
// unaccented letters, the digits, the blank and . - $ % & @ , / ( ) :.
using PlainBytes = ByteSet<ByteRange{' ', ' '}, ByteRange{'$', '&'}, ByteRange{'(', ')'}, ByteRange{',', ':'},
                           ByteRange{'@', 'Z'}, ByteRange{'a', 'z'}>;

// The small helpers below run on most fields of every record: their common
// case is inline, the rest out of line in text.cpp.
namespace detail {

// Fields are mostly shorter than 16 bytes. Such a field is tested a machine
// word at a time: two overlapping 8- or 4-byte loads cover 4 to 15 bytes, and
// a word built of the first, middle and last bytes covers 1 to 3. A Lanes
// type maps a word to a nonzero value when some byte of it fails its test.
template <typename Word>
VERILOTE_INLINE Word LoadWord(const char* p) {
  Word word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

template <typename Word>
constexpr Word EveryByte(unsigned char c) {
  return static_cast<Word>(~Word{0} / 0xFF * c);
}

// A byte other than '0' to '9': its high nibble is not 3, or adding 6 to it
// carries out of its low nibble (no carry crosses bytes once every high nibble
// is 3).
struct NonDigitLanes {
  template <typename Word>
  VERILOTE_INLINE static Word Of(Word x) {
    constexpr Word kHigh = EveryByte<Word>(0xF0), kZeros = EveryByte<Word>('0');
    return static_cast<Word>(((x & kHigh) ^ kZeros) | (((x + EveryByte<Word>(6)) & kHigh) ^ kZeros));
  }
};

// A byte above ' ': adding 0x5F sets its high bit, or the high bit is set
// already. A carry out of a byte only leaves one of 0x80 or more, itself found.
struct NonBlankLanes {
  template <typename Word>
  VERILOTE_INLINE static Word Of(Word x) {
    return static_cast<Word>(((x + EveryByte<Word>(0x7F - ' ')) | x) & EveryByte<Word>(0x80));
  }
};

// The value of eight digits in a word loaded from the text (little-endian:
// the first digit in the lowest byte): pairs, then fours, then eights.
VERILOTE_INLINE std::uint64_t EightDigitsValue(std::uint64_t word) {
  word -= EveryByte<std::uint64_t>('0');
  word = (word * 10 + (word >> 8)) & 0x00FF00FF00FF00FFu;
  word = (word * 100 + (word >> 16)) & 0x0000FFFF0000FFFFu;
  return (word * 10000 + (word >> 32)) & 0xFFFFFFFFu;
}

// The value of four digits in a word loaded from the text, the same way.
VERILOTE_INLINE std::uint32_t FourDigitsValue(std::uint32_t word) {
  word -= EveryByte<std::uint32_t>('0');
  word = (word * 10 + (word >> 8)) & 0x00FF00FFu;
  return (word * 100 + (word >> 16)) & 0xFFFFu;
}

// The value of n digits at p, n at most 18.
VERILOTE_INLINE std::int64_t DigitsValue(const char* p, std::size_t n) {
  if (std::endian::native == std::endian::little && n >= 4 && n < 8) {  // short codes and counters
    std::int64_t lead = 0;
    for (std::size_t i = 0; i + 4 < n; ++i) lead = lead * 10 + (p[i] - '0');
    return lead * 10000 + FourDigitsValue(LoadWord<std::uint32_t>(p + n - 4));
  }
  if (std::endian::native == std::endian::little && n >= 8 && n <= 16) {
    const std::uint64_t low = EightDigitsValue(LoadWord<std::uint64_t>(p + n - 8));
    const std::size_t lead = n - 8;  // the digits before the last eight, as the last of eight
    if (lead == 0) return static_cast<std::int64_t>(low);
    std::uint64_t word = LoadWord<std::uint64_t>(p);
    if (lead < 8) word = word << (8 * (8 - lead)) | EveryByte<std::uint64_t>('0') >> (8 * lead);
    return static_cast<std::int64_t>(EightDigitsValue(word) * 100000000 + low);
  }
  std::int64_t value = 0;
  for (std::size_t i = 0; i < n; ++i) value = value * 10 + (p[i] - '0');
  return value;
}

// Whether some byte of p[0..n), n below 16, fails the Lanes test.
template <typename Lanes>
VERILOTE_INLINE bool AnyLaneFails(const char* p, std::size_t n) {
  if (n >= 8) return (Lanes::Of(LoadWord<std::uint64_t>(p)) | Lanes::Of(LoadWord<std::uint64_t>(p + n - 8))) != 0;
  if (n >= 4) return (Lanes::Of(LoadWord<std::uint32_t>(p)) | Lanes::Of(LoadWord<std::uint32_t>(p + n - 4))) != 0;
  if (n == 0) return false;
  const auto byte = [p](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(p[i])); };
  return Lanes::Of(byte(0) | byte(n / 2) << 8 | byte(n - 1) << 16 | byte(0) << 24) != 0;
}

bool IsNumericForm(std::string_view text);
std::int64_t StrToIntChecked(std::string_view text);
std::string_view TrimBoth(std::string_view text);
}  // namespace detail

// Every byte a digit (true for an empty text).
VERILOTE_INLINE bool IsAllDigits(std::string_view text) {
  if (text.size() < 16) return !detail::AnyLaneFails<detail::NonDigitLanes>(text.data(), text.size());
  return !DigitBytes::AnyOutside(text);
}

// A floating-point number as the toolkit reads one: optional sign, digits with
// an optional decimal comma and digits, optional exponent; nothing around it.
VERILOTE_INLINE bool IsNumeric(std::string_view text) {
  return (!text.empty() && IsAllDigits(text)) || detail::IsNumericForm(text);  // digits: what layout fields hold
}

VERILOTE_INLINE bool IsPlainText(std::string_view text) { return !PlainBytes::AnyOutside(text); }
bool IsMonthText(std::string_view text);

// The integer conversion of every layout rule: leading blanks skipped, an
// optional sign, then decimal digits to the end. Anything else (empty, only
// blanks, a trailing blank, a letter, a value beyond 64 bits) throws
// ConversionError "'text' is not a valid integer value".
VERILOTE_INLINE std::int64_t StrToInt(std::string_view text) {
  // Up to 18 plain digits, the usual field, cannot overflow.
  if (text.empty() || text.size() > 18 || !IsAllDigits(text)) return detail::StrToIntChecked(text);
  return detail::DigitsValue(text.data(), text.size());
}

// Blanks and control characters (bytes up to 32) removed at both ends.
VERILOTE_INLINE std::string_view Trim(std::string_view text) {
  const auto kept = [](char c) { return static_cast<unsigned char>(c) > ' '; };
  if (text.empty() || (kept(text.front()) && kept(text.back()))) return text;
  return detail::TrimBoth(text);
}

// Positions `from` to `to` (1-based, inclusive) of a record, clipped: a field
// that lies partly or wholly beyond the end reads as a shorter or empty text.
VERILOTE_INLINE constexpr std::string_view Field(std::string_view record, std::size_t from, std::size_t to) {
  if (from == 0 || from > record.size() || to < from) return {};
  const std::size_t left = record.size() - from + 1;
  return {record.data() + from - 1, to - from + 1 < left ? to - from + 1 : left};
}

// `length` characters from position `from` (1-based), clipped the same way.
VERILOTE_INLINE constexpr std::string_view Copy(std::string_view record, std::size_t from, std::size_t length) {
  if (from == 0 || from > record.size()) return {};
  const std::size_t left = record.size() - from + 1;
  return {record.data() + from - 1, length < left ? length : left};
}

}  // namespace verilote
