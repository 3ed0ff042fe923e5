// The SIACC 240 field dictionary's record kinds (app/fields.hpp), for the
// validator that names them in its findings. The first fields of every kind
// are its frame, in this order: bank code (1-3), lote number (4-7), record
// type (8) and, for a detail record, its sequence (9-13) and segment (14).
#pragma once

#include <string_view>

#include "app/fields.hpp"

namespace verilote::siacc {

// Indexes of the frame fields in every kind.
inline constexpr std::size_t kBankField = 0, kLoteField = 1, kTypeField = 2, kSequenceField = 3, kSegmentField = 4;

extern const RecordKind kSegmentAKind, kSegmentBKind, kSegmentJKind, kSegmentJ52Kind, kSegmentKKind, kSegmentOKind,
    kSegmentNGpsKind, kSegmentNDarfKind, kOtherSegmentKind;

// The kind of a record, as the validator tells it: the type at position 8,
// the segment at 14, "52" at 18-19 for a J-52, the tax at 133-134 for an N.
const RecordKind* KindOf(std::string_view rec);

// The kind of a detail record (type 3).
const RecordKind* DetailKindOf(std::string_view rec);

}  // namespace verilote::siacc
