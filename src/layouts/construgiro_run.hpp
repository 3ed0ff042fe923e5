// The run state of the Construgiro validator and the helpers that its frame
// (construgiro.cpp: headers, trailers, statistics) and its detail segments
// (construgiro_segments.cpp: P, Q, R, S) share. Internal to the two files.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/fields.hpp"
#include "app/host.hpp"
#include "banking/record_rules.hpp"

namespace verilote::construgiro {

// A date as one number, yyyymmdd, so that dates compare as numbers and
// "N calendar years before" is the key minus N x 10000.
using DateKey = std::int64_t;

constexpr DateKey KeyOf(CivilDate date) { return date.year * 10000LL + date.month * 100LL + date.day; }

// The key of a field that IsValidDate accepts (ddmmyyyy or dd/mm/yyyy);
// nothing for any other text, so that only valid dates are ever compared.
std::optional<DateKey> DateKeyOf(std::string_view field);

// What the program reads out of a money field: its digits as cents, as
// FormatMoney keeps them (blanks, letters and signs dropped). A field of 15
// positions holds at most 15 digits.
std::uint64_t AmountOf(std::string_view field);

// A text that StrToInt converts (leading blanks, an optional sign, digits),
// as a value; nothing for any other text, where StrToInt would fail.
std::optional<std::int64_t> WholeNumber(std::string_view text);

// A count of at least `width` digits, zero-filled, never cut: 35000 stays
// 35000 where a four-digit text would keep 3500.
std::string PadCount(std::uint64_t count, std::size_t width);

// A sum of amounts in exact cents: high x 10^18 + low. Amounts of 15 digits
// would overflow 64 bits after some ten thousand of them.
class CentsTotal {
 public:
  void Add(std::uint64_t cents);
  std::string Digits() const;  // the value in decimal, for FormatMoney

 private:
  static constexpr std::uint64_t kBase = 1000000000000000000ULL;
  std::uint64_t high_ = 0, low_ = 0;
};

// A rule row that writes its message after "Linha n" when the test fails,
// naming `fields`: the positions the test reads, as the dictionary codes them.
struct MessageRule {
  RecordTest passes;
  std::string_view message;
  std::string_view fields;
};

// Positions From-To equal positions OtherFrom-OtherTo.
template <std::size_t From, std::size_t To, std::size_t OtherFrom, std::size_t OtherTo>
bool SameAs(std::string_view rec) {
  return Field(rec, From, To) == Field(rec, OtherFrom, OtherTo);
}

// Positions From-To are eight zeros (no date) or a valid date.
template <std::size_t From, std::size_t To>
bool ZerosOrDate(std::string_view rec) {
  return AllOf<From, To, '0'>(rec) || ValidDate<From, To>(rec);
}

struct Run {
  explicit Run(Host& host);

  Host& host;
  DateKey today;
  int todayYear;

  std::uint64_t line = 0;  // every line read, the current one included
  std::uint64_t fileHeaders = 0, fileTrailers = 0, loteTrailers = 0;
  std::uint64_t lotes = 0;        // lote headers met
  std::uint64_t loteDetails = 0;  // details since the last lote header
  std::uint64_t p = 0, q = 0;     // P and Q segments of the whole file

  std::string nsa;  // file header 158-163; normalised after each lote header
  std::optional<DateKey> fileDate, informationDate;
  std::string loteOk;     // "CAPA DE LOTE OK Bloco:..." of the last lote header
  std::string payerName;  // trimmed 34-73 of the last Q
  std::optional<DateKey> lastDue;

  // Statistics of the P segments.
  std::uint64_t protests = 0, returns = 0, instalments = 0;
  std::string protestTerm = "00", returnTerm = "000";
  std::uint64_t protestTermChanges = 0, returnTermChanges = 0;
  std::uint64_t overdue = 0, toFallDue = 0;
  CentsTotal overdueTotal, toFallDueTotal;

  std::string_view rec;              // the current record
  const RecordKind* kind = nullptr;  // its kind in the dictionary
  bool faulty = false;

  void Info(std::string_view text);
  // A finding of the current line: "Linha n" + message, naming `fields`.
  void Finding(std::string_view message, std::string_view fields);
  // A finding that names no line (the closing counts): the file as a whole.
  void Fault(std::string_view text);
  void Apply(std::span<const MessageRule> rules, std::string_view rec);

  void Record(std::string_view rec);
  void Close();

  void FileHeader(std::string_view rec);
  void UnitTotals(std::string_view rec);
  void LoteHeader(std::string_view rec);
  void LoteTrailer(std::string_view rec);
  void FileTrailer(std::string_view rec);
  // "name. Nao é um número válido" unless From-To is numeric, then
  // "name. Nao pode ser zero" when it is all zeros and zero is refused; the
  // finding names the field `code`.
  void NumberField(std::string_view rec, std::size_t from, std::size_t to, std::string_view name, bool zeroRefused,
                   std::string_view code);

  void SegmentP(std::string_view rec);
  void PStatistics(std::string_view rec);
  void SegmentQ(std::string_view rec);
  void BirthDate(std::string_view rec);
  void SegmentR(std::string_view rec);
  void SegmentS(std::string_view rec);
};

}  // namespace verilote::construgiro
