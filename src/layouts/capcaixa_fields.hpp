// The record kinds of the CapCaixa guide import file, as the validator names
// them in its findings: one per record type at position 1, and one for a line
// whose type names none. The bank's layout numbers no fields here: each
// field's code is its positions ("3-16", "91").
#pragma once

#include "app/fields.hpp"

namespace verilote {

extern const RecordKind kCapcaixaUnionKind;    // type "1"
extern const RecordKind kCapcaixaUtilityKind;  // type "2"
extern const RecordKind kCapcaixaBookletKind;  // type "3"
extern const RecordKind kCapcaixaUnknownKind;  // any other position 1

// The kind of a record by its position 1.
const RecordKind* CapcaixaKindOf(std::string_view rec);

}  // namespace verilote
