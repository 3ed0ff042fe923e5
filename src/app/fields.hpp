// Field dictionaries: each layout's records as the bank numbers their fields
// ("09.3P", "20.0", "13A.1", "A.08"), with positions, a short name and what
// the layout's rules accept there; and findings, the report lines that name a
// record and some of its fields. Validators write a finding through
// Host::ReportFinding, which writes its line as any other; the check command,
// `show` and the window's inspector resolve its fields through the layout's
// dictionary to the bytes found and the value expected.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace verilote {

// One field of a record kind. Texts are Windows-1252.
struct FieldSpec {
  std::string_view code;  // as the findings write it: "09.3P", "A.08"; empty for an unnamed stretch
  std::size_t from = 0;   // positions, 1-based, inclusive
  std::size_t to = 0;
  std::string_view name;  // short name in Portuguese: "Código do banco"
  // What the layout accepts, in words: "104", "em branco", "zeros",
  // "data ddmmaaaa válida", "1, 2, 4 ou 5"; empty when anything goes.
  std::string_view expected = {};
  // For a value the record's other fields make (check digits): the expected
  // value computed from `rec`, in words ("dígito 7"); replaces `expected`.
  std::string (*computed)(std::string_view rec) = nullptr;
};

// A kind of record of a layout: its fields in order of position, none
// overlapping, every position of the layout's record in one of them (the
// reserved ranges too, as the bank's manuals name them). Positions of a
// longer record past the fields `show` lists by their positions alone.
struct RecordKind {
  std::string_view name;  // "Segmento P", "Header de arquivo"
  std::span<const FieldSpec> fields;

  // The field of a code, or nullptr.
  const FieldSpec* Find(std::string_view code) const;
};

// A layout's dictionary: its record kinds and how a record's kind is told.
struct LayoutFields {
  std::string_view layout;  // the layout's name as `check --layout` takes it
  std::span<const RecordKind* const> kinds;
  // The kind of `rec`, or nullptr when the layout has none for it.
  const RecordKind* (*kindOf)(std::string_view rec) = nullptr;
};

// A finding: a report line about a record (or the file as a whole, record 0)
// and the fields it names.
struct Finding {
  std::string_view line;             // the report line, as it is written
  std::uint64_t record = 0;          // the record's number in the file, from 1; 0: the file as a whole
  std::string_view rec = {};         // the record's bytes (may be empty for record 0)
  const RecordKind* kind = nullptr;  // the kind whose fields `fields` names
  // The codes of the fields the line names, separated by blanks, commas or
  // parentheses: " 04.0 22.0", "(09.3P)(20.3P)".
  std::string_view fields = {};
};

// The codes of a field list, in order, each once.
std::vector<std::string_view> FieldCodes(std::string_view fields);

// A named field of a finding with what the record holds there and what the
// layout expects.
struct ResolvedField {
  std::string code;
  std::size_t from = 0, to = 0;
  std::string name;      // Windows-1252
  std::string found;     // the record's bytes at from-to (shorter when the record is)
  std::string expected;  // in words (Windows-1252); empty when the dictionary says nothing
  bool known = false;    // false: the kind has no field of this code (from/to 0)
};

std::vector<ResolvedField> ResolveFields(const Finding& finding);

// One field of `kind` resolved against `rec`.
ResolvedField ResolveField(const FieldSpec& field, std::string_view rec);

}  // namespace verilote
