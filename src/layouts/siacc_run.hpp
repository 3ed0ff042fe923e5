// The run of "SIACC - Arquivo Remessa" (siacc.cpp: frame, headers and
// trailers; siacc_segments.cpp: detail segments): its state, the helpers both
// files read fields with, and how a finding is written.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/dates.hpp"
#include "banking/record_rules.hpp"
#include "banking/text.hpp"
#include "layouts/siacc_fields.hpp"

namespace verilote::siacc {

// Amounts in cents, summed exactly: 15-digit amounts over any number of
// records stay far below the 128-bit limit.
__extension__ typedef __int128 Cents;
__extension__ typedef unsigned __int128 Magnitude;

inline std::string CentsText(Cents value) {
  const bool negative = value < 0;
  Magnitude magnitude = negative ? -static_cast<Magnitude>(value) : static_cast<Magnitude>(value);
  char digits[48];
  std::size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + static_cast<int>(magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  std::string text = negative ? "-" : "";
  while (n > 0) text += digits[--n];
  return text;
}

// WholeNumber of a field that is not plain digits: a sign, or no number.
inline std::optional<std::int64_t> SignedWholeNumber(std::string_view field) {
  const std::size_t sign = !field.empty() && (field[0] == '+' || field[0] == '-') ? 1 : 0;
  const std::string_view digits = field.substr(sign);
  if (digits.empty() || digits.size() > 18 || !IsAllDigits(digits)) return std::nullopt;
  const std::int64_t value = detail::DigitsValue(digits.data(), digits.size());
  return field[0] == '-' ? -value : value;
}

// The value of a field that is a whole number (digits after an optional
// sign), or nothing: a field that passed IsNumeric may still be "1,5" or
// "1E2", which no comparison with a count or a code can accept.
VERILOTE_INLINE std::optional<std::int64_t> WholeNumber(std::string_view field) {
  if (!field.empty() && field.size() <= 18 && IsAllDigits(field))  // the usual field: digits only
    return detail::DigitsValue(field.data(), field.size());
  return SignedWholeNumber(field);
}

VERILOTE_INLINE bool WholeIn(std::string_view field, std::int64_t low, std::int64_t high) {
  const std::optional<std::int64_t> value = WholeNumber(field);
  return value && *value >= low && *value <= high;
}

template <std::size_t N>
VERILOTE_INLINE bool WholeOneOf(std::string_view field, const std::int64_t (&values)[N]) {
  const std::optional<std::int64_t> value = WholeNumber(field);
  if (!value) return false;
  for (const std::int64_t v : values)
    if (v == *value) return true;
  return false;
}

// Where c stands in set, or npos: a plain loop, cheaper on a few bytes than
// the library search.
constexpr std::size_t IndexIn(std::string_view set, char c) {
  for (std::size_t i = 0; i < set.size(); ++i)
    if (set[i] == c) return i;
  return std::string_view::npos;
}

inline bool Differs(std::int64_t value, std::uint64_t count) {
  return value < 0 || static_cast<std::uint64_t>(value) != count;
}

// ---- Check digits. A field holding a non-digit has no right digit: the
// digit found is wrong and the run goes on.

inline std::string_view At1(std::string_view rec, std::size_t pos) { return Field(rec, pos, pos); }

// The account digit at Pos: Mod11DvFrom8 of agency 54-57, operation 60-62 and
// account 63-70.
template <std::size_t Pos>
bool AccountDv(std::string_view rec) {
  const std::optional<char> dv = AccountDvDigit(Field(rec, 54, 57), Field(rec, 60, 62), Field(rec, 63, 70));
  return dv && At(rec, Pos, *dv);
}

inline bool LoteAgencyDv(std::string_view rec) {
  const std::string_view agency = Field(rec, 54, 57);
  return agency.size() == 4 && IsAllDigits(agency) && At1(rec, 58) == Mod11Dv4(agency);
}

// Segment A, field A.12: the digit at 42 of a CAIXA account, in its SIDEC
// form (agency 25-28, operation 31-33, account 34-41) or its NSGD form (30-41).
inline bool CaixaAccountDv(std::string_view rec) {
  const std::optional<char> sidec = AccountDvDigit(Field(rec, 25, 28), Field(rec, 31, 33), Field(rec, 34, 41));
  if (sidec && At(rec, 42, *sidec)) return true;
  const std::string_view nsgd = Field(rec, 30, 41);
  return IsAllDigits(nsgd) && At1(rec, 42) == Mod11DvText(nsgd);
}

// ---- Tests of the tables below.

inline bool BankNameCaixa(std::string_view rec) { return TrimmedText<103, 132>(rec) == "CAIXA"; }

template <std::size_t From, std::size_t To>
bool NumericDate(std::string_view rec) {
  const std::string_view field = Field(rec, From, To);
  return IsNumeric(field) && IsValidDate(field);
}

// A revenue code (111-116) written from the right: what precedes its trimmed
// text is blank.
inline bool RightAligned(std::string_view rec) {
  const std::string_view field = Field(rec, 111, 116);
  const std::size_t length = Trim(field).size();
  return length >= 6 || IsBlankField(field.substr(0, 6 - length));
}

// An invalid transmission parameter: zeros, blanks, or a zero and a blank.
inline bool InvalidParameter(std::string_view field) {
  return field == "00" || field == "  " || field == " 0" || field == "0 ";
}

constexpr std::int64_t kNoticeCodes[] = {0, 2, 5, 6, 7};

// A row of a rule table: its test, its message, the codes of the fields the
// message is about, and what it cuts from the record after the message.
struct Row {
  RecordTest passes;
  std::string_view message;
  std::string_view fields;
  RecordText tail = nullptr;
};

// ---- The run.

constexpr bool kNamed = true;  // Apply: the failed rows name the payee

struct SiaccRun {
  SiaccRun(Host& h, CivilDate day) : host(h), today(day) {}

  Host& host;
  CivilDate today;
  std::uint64_t record = 0;
  std::uint64_t lotes = 0;
  std::uint64_t loteRecords = 0;
  std::uint64_t opPayments = 0;
  Cents loteValue = 0, loteCurrency = 0;
  std::string version, paymentForm, commitment, documentType;
  // The payee label names the payee in the findings of its A and B segments.
  // Few records have such a finding, so the label is built on first use from
  // positions 25-73 of the last A segment, kept in `payee`.
  char payee[49] = {};
  std::size_t payeeSize = 0;
  std::string label;
  bool labelDue = false;
  bool seen[5] = {};  // types 0, 1, 3, 5, 9
  bool faulty = false;

  // The record being checked and its kind in the layout's dictionary.
  std::string_view current;
  const RecordKind* kind = nullptr;

  void Info(std::string_view line) { host.ReportAppend(line); }

  // The code of a frame field of the current record's kind (kBankField...).
  std::string_view Frame(std::size_t index) const { return kind->fields[index].code; }

  // A line about the current record, naming `fields` of its kind. A warning
  // is a finding that leaves the verdict clean.
  void Bare(std::string_view fields, std::string_view line, bool fault = true) {
    host.ReportFinding({.line = line, .record = record, .rec = current, .kind = kind, .fields = fields});
    faulty = faulty || fault;
  }

  // "Reg:" and the record number, then the message (which starts with a blank).
  template <typename... Pieces>
  void Finding(std::string_view fields, const Pieces&... pieces) {
    Bare(fields, Cat("Reg:", record, pieces...));
  }

  // The few rows written "Reg: " and the number.
  template <typename... Pieces>
  void SpacedFinding(std::string_view fields, const Pieces&... pieces) {
    Bare(fields, Cat("Reg: ", record, pieces...));
  }

  const std::string& Label() {
    if (labelDue) {
      labelDue = false;
      const std::string_view kept(payee, payeeSize);
      const auto at = [kept](std::size_t from, std::size_t to) { return Field(kept, from - 24, to - 24); };
      const std::string_view name = Trim(at(44, 73));
      if (Is<"0009">(at(30, 33))) {
        CatInto(label, name, ' ', at(25, 28), '.', at(30, 41), '-', at(42, 42));
      } else {
        CatInto(label, name, ' ', at(25, 28), '.', at(31, 33), '.', at(34, 41), '-', at(42, 42));
      }
    }
    return label;
  }

  // The failed rows of a table, each followed by the payee label when
  // `named` (for the rows that name the payee). The table is a template
  // argument, so that each row's test is a direct call the compiler may
  // inline: the rows run on every record.
  template <const auto& Rules>
  void Apply(std::string_view rec, bool named = false) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      ((Rules[I].passes(rec) || (Failed(Rules[I], rec, named), true)), ...);
    }
    (std::make_index_sequence<std::size(Rules)>{});
  }

  void Failed(const Row& rule, std::string_view rec, bool named) {
    Finding(rule.fields, rule.message, rule.tail != nullptr ? rule.tail(rec) : std::string_view(),
            named ? std::string_view(Label()) : std::string_view());
  }

  // Adds an amount to a lote total. An amount its own row found not numeric
  // is not added; any other text is converted (and may end the run).
  static void Add(Cents& total, std::string_view amount, bool checked = true) {
    if (!amount.empty() && amount.size() <= 18 && IsAllDigits(amount)) {  // the usual amount
      total += detail::DigitsValue(amount.data(), amount.size());
      return;
    }
    if (checked && !IsNumeric(amount)) return;
    total += StrToInt(amount);
  }

  // The codes of the current kind's fields that hold a byte the bank's
  // systems do not read.
  std::string UnreadableFields(std::string_view rec) const;

  void Record(std::string_view rec);
  void FileHeader(std::string_view rec);
  void LoteHeader(std::string_view rec);
  void Detail(std::string_view rec);
  void SegmentA(std::string_view rec);
  void SegmentB(std::string_view rec);
  void SegmentJ(std::string_view rec);
  void SegmentJ52(std::string_view rec);
  void SegmentK(std::string_view rec);
  void SegmentN(std::string_view rec);
  void SegmentO(std::string_view rec);
  void LoteTrailer(std::string_view rec);
  void FileTrailer(std::string_view rec);
  void Summary();
};

}  // namespace verilote::siacc
