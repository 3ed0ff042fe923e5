// What the CNAB 400 collection remittance validators (SIGCB 400 and SICOB 400)
// share: records of 400 characters with the record type at position 1, read
// one at a time; the start of a run; the list of refused characters; ddmmyy
// dates; the two inscriptions (company and payer) of a title; the whole
// numbers of range rules. Their rules differ at nearly every step, so each
// has its own loop over this vocabulary. The summary lines they share with
// the CNAB 240 frame are in cnab240.hpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/fields.hpp"
#include "app/record_reader.hpp"
#include "banking/dictionary_helpers.hpp"
#include "banking/record_rules.hpp"

namespace verilote {

class Host;

inline constexpr std::size_t kCnab400Length = 400;

// ---- The run.

struct Cnab400Start {
  std::string_view dialogTitle;
  std::string_view notice;    // message box before reading; empty for none
  std::string_view warning;   // the report's first line
  std::string_view fileLine;  // followed by the file's name; empty for no such line
};

// The state both validators keep: the line number, the current record and its
// kind in the layout's dictionary, and whether a finding was written.
// Informational lines (banners, the header's data) are not findings.
struct Cnab400Run {
  explicit Cnab400Run(Host& host) : host(host) {}

  Host& host;
  std::uint64_t line = 0;            // lines read so far, the current one included
  std::string_view rec;              // the current record
  const RecordKind* kind = nullptr;  // its kind, set by the layout's loop
  bool faulty = false;

  void Info(std::string_view text);
  // A finding about the current record naming the fields of `fields`
  // (codes of run.kind).
  void Finding(std::string_view text, std::string_view fields);
  // A finding about the file as a whole.
  void FileFinding(std::string_view text);
};

// Asks for the file and shows the notice; then opens the file, clears the
// report and writes the start lines. Nothing when the user cancels.
std::optional<RecordReader> StartCnab400(Host& host, const Cnab400Start& start);

// Runs `check(rec)` on every record of the chosen file, each after counting
// it in run.line. False when the user cancelled the file dialog.
template <typename Check>
bool ReadCnab400(Cnab400Run& run, const Cnab400Start& start, Check check) {
  std::optional<RecordReader> reader = StartCnab400(run.host, start);
  if (!reader) return false;
  std::string_view rec;  // valid until the next record is read
  while (reader->Next(rec)) {
    ++run.line;
    run.rec = rec;
    check(rec);
  }
  return true;
}

// ---- Rules.

// The positions of the bytes the bank's CNAB 400 systems refuse, each in
// decimal followed by a comma ("45,46,"); empty when there is none. Allowed
// are the unaccented letters, the digits, the blank and . - $ % & @ , / ( ) :
std::string InvalidPositions(std::string_view rec);

// A ddmmyy date, read as dd/mm/20yy.
bool IsValidDdmmyy(std::string_view field);

template <std::size_t From>
bool ValidDdmmyy(std::string_view rec) {
  return IsValidDdmmyy(Field(rec, From, From + 5));
}

// "000000" (no date) or a valid ddmmyy date.
template <std::size_t From>
bool ZerosOrDdmmyy(std::string_view rec) {
  return Field(rec, From, From + 5) == "000000" || ValidDdmmyy<From>(rec);
}

// The company's inscription of a title at positions 4-17 and the payer's at
// 221-234: of kind '1' a CPF in the last eleven positions, of kind '2' a CNPJ
// in all fourteen. Any other kind is not tested.
inline constexpr std::size_t kCompanyInscription = 4, kPayerInscription = 221;

template <std::size_t From>
bool ValidInscription(std::string_view rec, char kind) {
  if (kind == '1') return IsValidCpf(Field(rec, From + 3, From + 13));
  if (kind == '2') return IsValidCnpj(Field(rec, From, From + 13));
  return true;
}

// The inscription at From when the kind at KindPos is Kind; with TwoPositions
// the kind reads "0" Kind at KindPos - 1 and KindPos.
template <std::size_t KindPos, char Kind, std::size_t From, bool TwoPositions = false>
bool InscriptionIfKind(std::string_view rec) {
  const bool applies = At(rec, KindPos, Kind) && (!TwoPositions || At(rec, KindPos - 1, '0'));
  return !applies || ValidInscription<From>(rec, Kind);
}

// The value of a field of plain digits. Nothing for any other text, even one
// IsNumeric takes ("1,", "+1", "1e2"): a range rule then fails instead of
// ending the run.
std::optional<std::uint64_t> WholeNumber(std::string_view field);

}  // namespace verilote
