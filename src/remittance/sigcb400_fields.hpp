// The record kinds of the SIGCB CNAB 400 remittance, as the validator picks
// them: the header and the title (type "1") change with the header's layout
// version ("   " or "007").
#pragma once

#include <string_view>

#include "app/fields.hpp"

namespace verilote {

// The kind of `rec` under the header's layout `version` (positions 101-103 of
// the header; a header is told by its own version): never nullptr, a record
// of an unknown type has a kind naming its type alone.
const RecordKind* Sigcb400KindOf(std::string_view rec, std::string_view version);

}  // namespace verilote
