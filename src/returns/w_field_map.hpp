// The fields a pre-validation return's W record names (W 25-28), mapped to
// the remittance field they point at, by the numbering of the bank's SIGCB
// CNAB 240 manual. That numbering is not always the one our validators print
// (the file header's NSA at 158-163 is field 18.0 in the manual and 19.0 in
// our messages), so a W code is always shown with positions and name.
//
// How W 25-28 writes a field: four characters, two-digit field number,
// record type, segment, so field 18.3P is "183P" and a header or trailer
// field N.0 is "N0" followed by a blank or a point ("180 " / "18.0" as real
// files show); "0000" names no field (a grave error of the whole file).
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace verilote::returns {

struct WFieldRef {
  std::string_view code;  // the manual's field number as it prints it, e.g. "18.0", "07.3P"
  char recordType;        // '0' file header, '1' lote header, '3' detail, '5' lote trailer, '9' file trailer
  char segment;           // 'P', 'Q', 'R', 'S', 'Y' or ' '
  std::size_t from, to;   // positions in the remittance record, 1-based inclusive
  std::string_view name;  // the field's name as the manual gives it (Windows-1252)
};

// The field a W 25-28 code names, or nullptr for "0000" and for a code the
// manual has no field for. Accepts the forms real files write (see above).
const WFieldRef* FindWField240(std::string_view code);

// Every field of every SIGCB 240 remittance record, in the manual's order.
std::span<const WFieldRef> WFields240();

// The CNAB 400 pre-validation's error codes (note NE038) that name one field
// of the remittance: the record type ('0', '1', '9') and positions of that
// field in the SIGCB 400 remittance, and its name.
struct Error400FieldRef {
  std::string_view error;  // NE038 code, two digits
  char recordType;
  std::size_t from, to;
  std::string_view name;
};
const Error400FieldRef* FindErrorField400(std::string_view error);

}  // namespace verilote::returns
