// The record-rule vocabulary every validator reads its field rules from:
// tests of fixed positions in a record (OneOf, Blank, Numeric, ValidDate, a CPF
// or CNPJ chosen by an inscription kind...) and the code-rule table that runs
// them. It belongs to no layout: CNAB 240 and 400, SIACC, SIEMD, CobCaixa,
// CapCaixa and Construgiro all write their tables with it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/dates.hpp"
#include "banking/text.hpp"

namespace verilote {

// The bytes the bank's systems accept anywhere in a CNAB 240 record (and the
// file utilities' character check): the unaccented letters, the digits, the
// blank and . , + - * / \ $ # ! % & ( ) = [ ] { } ? ; : < > @.
using CnabBytes =
    ByteSet<ByteRange{' ', '!'}, ByteRange{'#', '&'}, ByteRange{'(', ']'}, ByteRange{'a', '{'}, ByteRange{'}', '}'}>;

// The character check's list: one piece per position of `rec` whose byte lies
// outside Set, `piece(line, position, byte)` appending it to `line`. A record
// may be as long as the reader takes (32 MiB) and every byte of it refused:
// after kListedPositions pieces the list stops with `separator` and
// "…e mais n posições" (n the positions left), so that the line stays some
// tens of kilobytes. No record of a fixed-width layout comes near the cap.
inline constexpr std::size_t kListedPositions = 4000;

template <typename Set, typename Piece>
void ListInvalidPositions(std::string& line, std::string_view rec, std::string_view separator, Piece piece) {
  std::size_t listed = 0, i = 0;
  for (; i < rec.size() && listed < kListedPositions; ++i)
    if (!Set::Holds(static_cast<unsigned char>(rec[i]))) {
      piece(line, i + 1, rec[i]);
      ++listed;
    }
  std::uint64_t more = 0;
  for (; i < rec.size(); ++i) more += !Set::Holds(static_cast<unsigned char>(rec[i]));
  if (more != 0) line += Cat(separator, "…e mais "_cp, more, " posições"_cp);
}

// The common form of the list: each position in decimal followed by a comma
// ("45,46,").
template <typename Set>
void ListInvalidPositions(std::string& line, std::string_view rec) {
  ListInvalidPositions<Set>(line, rec, "", [](std::string& out, std::size_t at, char) { out += Cat(at, ','); });
}

// Trim(field).empty(): nothing but blanks and control bytes.
VERILOTE_INLINE bool IsBlankField(std::string_view field) {
  if (field.size() < 16) return !detail::AnyLaneFails<detail::NonBlankLanes>(field.data(), field.size());
  return !BlankBytes::AnyOutside(field);
}

// The field holds exactly `length` characters, all of them c.
inline bool IsAll(std::string_view field, std::size_t length, char c) {
  if (field.size() != length) return false;
  const char* p = field.data();
  if (length >= 8) {  // words of eight, the last one overlapping
    const std::uint64_t pattern = detail::EveryByte<std::uint64_t>(static_cast<unsigned char>(c));
    for (std::size_t i = 0; i + 8 < length; i += 8)
      if (detail::LoadWord<std::uint64_t>(p + i) != pattern) return false;
    return detail::LoadWord<std::uint64_t>(p + length - 8) == pattern;
  }
  return field.find_first_not_of(c) == std::string_view::npos;
}

// ---- Rule tables. A row names a test of the record and the code appended to
// the code list when the test fails; the rows run top to bottom.

using RecordTest = bool (*)(std::string_view rec);

struct CodeRule {
  RecordTest passes;
  std::string_view code;
};

// Appends the code of every row of the table whose test fails. The table is a
// template argument: each row's test becomes a direct call the compiler may
// inline.
template <const auto& Rules>
void ApplyCodeRules(std::string_view rec, std::string& codes) {
  [&]<std::size_t... I>(std::index_sequence<I...>) { ((Rules[I].passes(rec) || (codes += Rules[I].code, true)), ...); }
  (std::make_index_sequence<std::size(Rules)>{});
}

// A rule whose failure is a report line of its own: the message, followed by
// what `tail` cuts from the record ("Encontrado:" and the field), if anything.
// The validator adds its record reference in front.
using RecordText = std::string_view (*)(std::string_view rec);

struct FindingRule {
  RecordTest passes;
  std::string_view message;
  RecordText tail = nullptr;
};

// The message of a failed finding rule with its tail.
std::string FindingText(const FindingRule& rule, std::string_view rec);

// Tails: positions From-To as they stand, or trimmed.
template <std::size_t From, std::size_t To>
std::string_view FieldText(std::string_view rec) {
  return Field(rec, From, To);
}
template <std::size_t From, std::size_t To>
std::string_view TrimmedText(std::string_view rec) {
  return Trim(Field(rec, From, To));
}

// A string literal usable as a template argument: OneOf<1, 3, "104">.
template <std::size_t N>
struct FixedText {
  char chars[N]{};
  consteval FixedText(const char (&text)[N]) {
    for (std::size_t i = 0; i < N; ++i) chars[i] = text[i];
  }
  constexpr std::string_view view() const { return {chars, N - 1}; }
  // Compared with a length and bytes known at compile time, so that the
  // compiler turns the memcmp into a word compare or two.
  VERILOTE_INLINE bool Matches(std::string_view field) const {
    if constexpr (N == 1)
      return field.empty();  // an empty field may have no bytes to compare
    else
      return field.size() == N - 1 && std::memcmp(field.data(), chars, N - 1) == 0;
  }
};

// field == Text, compared inline: the per-record comparisons with a literal
// stay inline in a whole-program (LTO) build too, where a shared out-of-line
// comparison would cost a call and a memcmp each.
template <FixedText Text>
VERILOTE_INLINE bool Is(std::string_view field) {
  return Text.Matches(field);
}

// Positions From-To equal one of the values exactly.
template <std::size_t From, std::size_t To, FixedText... Values>
bool OneOf(std::string_view rec) {
  const std::string_view field = Field(rec, From, To);
  return (Values.Matches(field) || ...);
}

// Positions From-To all hold the character C (a field cut short by the record's
// end does not).
template <std::size_t From, std::size_t To, char C>
bool AllOf(std::string_view rec) {
  return IsAll(Field(rec, From, To), To - From + 1, C);
}

// Blank after trimming.
template <std::size_t From, std::size_t To>
bool Blank(std::string_view rec) {
  return IsBlankField(Field(rec, From, To));
}

template <std::size_t From, std::size_t To>
bool NotBlank(std::string_view rec) {
  return !IsBlankField(Field(rec, From, To));
}

template <std::size_t From, std::size_t To>
bool Numeric(std::string_view rec) {
  return IsNumeric(Field(rec, From, To));
}

// IsPlainText of the field; an empty field passes.
template <std::size_t From, std::size_t To>
bool PlainText(std::string_view rec) {
  return IsPlainText(Field(rec, From, To));
}

// An optional field: blank after trimming, or passing Test.
template <std::size_t From, std::size_t To, RecordTest Test>
bool BlankOr(std::string_view rec) {
  return IsBlankField(Field(rec, From, To)) || Test(rec);
}

// At least Min characters after trimming.
template <std::size_t From, std::size_t To, std::size_t Min>
bool TrimmedAtLeast(std::string_view rec) {
  return Trim(Field(rec, From, To)).size() >= Min;
}

// Exactly Length characters after trimming.
template <std::size_t From, std::size_t To, std::size_t Length>
bool TrimmedExactly(std::string_view rec) {
  return Trim(Field(rec, From, To)).size() == Length;
}

template <std::size_t From, std::size_t To>
bool ValidDate(std::string_view rec) {
  return IsValidDate(Field(rec, From, To));
}

// The agency check digit at Pos equals Dv (Mod11DvTimesTen unless named) of
// positions From-To.
template <std::size_t Pos, std::size_t From, std::size_t To, char (*Dv)(std::string_view) = Mod11DvTimesTen>
bool AgencyDv(std::string_view rec) {
  const std::string_view dv = Field(rec, Pos, Pos);
  return dv.size() == 1 && dv[0] == Dv(Field(rec, From, To));
}

// Position pos (1-based) holds c.
VERILOTE_INLINE bool At(std::string_view rec, std::size_t pos, char c) {
  return pos >= 1 && pos <= rec.size() && rec[pos - 1] == c;
}

template <std::size_t From, std::size_t To, char C>
bool NotAllOf(std::string_view rec) {
  return !AllOf<From, To, C>(rec);
}

using DocumentTest = bool (*)(std::string_view);

// A CPF or CNPJ rule that applies when position KindPos holds Kind (or, with
// Unless, when it does not).
template <std::size_t KindPos, char Kind, std::size_t From, std::size_t To, DocumentTest Valid, bool Unless = false>
bool ValidIfKind(std::string_view rec) {
  return At(rec, KindPos, Kind) == Unless || Valid(Field(rec, From, To));
}
template <std::size_t KindPos, char Kind, std::size_t From, std::size_t To>
constexpr RecordTest CpfIfKind = ValidIfKind<KindPos, Kind, From, To, IsValidCpf>;
template <std::size_t KindPos, char Kind, std::size_t From, std::size_t To>
constexpr RecordTest CnpjIfKind = ValidIfKind<KindPos, Kind, From, To, IsValidCnpj>;
// The CNPJ rule of the headers, which applies to every kind of inscription
// other than "1" (CPF).
template <std::size_t KindPos, std::size_t From, std::size_t To>
constexpr RecordTest CnpjUnlessCpf = ValidIfKind<KindPos, '1', From, To, IsValidCnpj, true>;

}  // namespace verilote
