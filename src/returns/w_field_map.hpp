// The fields a pre-validation return's W record names (W 25-28), mapped to
// the remittance field they point at, by the numbering of the bank's SIGCB
// CNAB 240 manual (67.118 v010, remittance records, section 3.5). That
// numbering is not the one our validators print in places (the file header's
// bank name at 103-132 is 14.0 in the manual and 13.0 in our messages), so a
// W code is always shown with positions and name.
//
// How W 25-28 writes a field (note C076 of the manual): "CCTS", CC the
// field's number, T the record type, S the segment, so field 13.3P is
// "133P"; a field of a file or lote header or trailer is "CC.T" ("19.0" the
// NSA, "05.1", "06.9"); "0000" names no field (a grave error of the whole
// file: not a CNAB 240 file, beneficiary not in electronic collection...).
// The manual numbers the NSA at 158-163 "19.0" (18.0 is the generation
// time); a real pre-validation file answered an NSA not above the last one
// (error 88) with "18.0": ResolveWField240 takes that departure into account.
//
// Some records read differently by their content: the S segment by its
// printing type at 18 (1/2 lines of message, 3 receipt messages), the Q by its
// movement (36-38: banco de pagadores), the Y by its identification at 18-19
// (04, 08, 50, 53; the personalised models 10-30 are mapped up to field 08).
// Given the remittance record, the lookup picks the variant that applies.
//
// Because of the above, the lookups differ from a plain code-to-field table:
// FindWField240 takes the remittance record as an optional second argument,
// ResolveWField240 also weighs the error code, FindErrorField400 takes the
// record type the error was reported on, and WFieldRef::code holds the
// manual's printed form ("13.3P"), not W's ("133P").
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace verilote::returns {

struct WFieldRef {
  std::string_view code;  // the manual's number as it prints it: "19.0", "13.3P", "09.4Y"
  char recordType;        // '0' file header, '1' lote header, '3' detail, '5' lote trailer, '9' file trailer
  char segment;           // 'P', 'Q', 'R', 'S', 'Y' or ' '
  std::size_t from, to;   // positions in the remittance record, 1-based inclusive
  std::string_view name;  // the field's name as the manual gives it (Windows-1252)
};

// The field a W 25-28 code names ("133P", "19.0"; the manual's "13.3P" is
// accepted too), or nullptr for "0000" and for a code the manual has no field
// for. With the remittance record the code points at (W 18-23 is its line in
// the file), the variant of S, Q and Y records is chosen by that record's
// content; without it, the common form (S lines of message, Q with a
// sacador/avalista) is taken.
const WFieldRef* FindWField240(std::string_view code, std::string_view remittanceRecord = {});

// The field W names together with its error code (W 29-30). `renumbered` is
// set where the bank's file numbers the field otherwise than the manual.
struct WFieldMatch {
  const WFieldRef* field = nullptr;
  bool renumbered = false;
};
WFieldMatch ResolveWField240(std::string_view code, std::string_view error, std::string_view remittanceRecord = {});

// The fields of one kind of record (one variant of it when `variant` is not
// empty: "S3", "Q36", "Y50"...), in the manual's order; the common fields of
// S, Q and Y come in the group with an empty variant.
struct WFieldGroup {
  char recordType;
  char segment;
  std::string_view variant;
  std::span<const WFieldRef> fields;
};
std::span<const WFieldGroup> WFieldGroups240();

// Every field of every group above, in the same order.
std::span<const WFieldRef> WFields240();

// The CNAB 400 pre-validation's error codes (note NE038 of the CNAB 400
// manual) that name one field of the SIGCB 400 remittance, and that field.
struct Error400FieldRef {
  std::string_view error;  // NE038 code, two digits
  char recordType;         // '0' header, '1' title, '9' trailer
  std::size_t from, to;
  std::string_view name;  // the field's name in the CNAB 400 manual (Windows-1252)
};
// The field an NE038 error names in a record of the given type, or nullptr
// when the error names no single field there.
const Error400FieldRef* FindErrorField400(std::string_view error, char recordType);

}  // namespace verilote::returns
