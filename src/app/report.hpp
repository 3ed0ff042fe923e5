// Building report lines: Cat joins texts and numbers into one line, as the
// layouts' messages are written ("Erro reg nr. " n " tamanho esperado 162").
#pragma once

#include <charconv>
#include <concepts>
#include <string>
#include <string_view>
#include <type_traits>

namespace verilote {

namespace detail {

inline void AppendPiece(std::string& out, std::string_view text) { out += text; }
inline void AppendPiece(std::string& out, char c) { out += c; }

template <std::integral T>
requires(!std::same_as<T, char> && !std::same_as<T, bool>) void AppendPiece(std::string& out, T number) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  // By length: libstdc++ appends an iterator pair through its general
  // replace, some 70 instructions more for every number of every line.
  out.append(digits, static_cast<std::size_t>(result.ptr - digits));
}

// The piece's length, so that a line is allocated once.
inline std::size_t PieceSize(std::string_view text) { return text.size(); }
inline std::size_t PieceSize(char) { return 1; }

template <std::integral T>
requires(!std::same_as<T, char> && !std::same_as<T, bool>) std::size_t PieceSize(T number) {
  std::size_t size = 1;
  if constexpr (std::is_signed_v<T>) {
    if (number < 0) ++size;
    for (; number <= -10; number /= 10) ++size;
  }
  for (; number >= 10; number /= 10) ++size;
  return size;
}

}  // namespace detail

template <typename... Pieces>
std::string Cat(const Pieces&... pieces) {
  std::string out;
  out.reserve((detail::PieceSize(pieces) + ... + 0));
  (detail::AppendPiece(out, pieces), ...);
  return out;
}

// The same into `out`, replacing its text but keeping its memory: for a text
// rebuilt on every record of a file.
template <typename... Pieces>
void CatInto(std::string& out, const Pieces&... pieces) {
  out.clear();
  (detail::AppendPiece(out, pieces), ...);
}

}  // namespace verilote
