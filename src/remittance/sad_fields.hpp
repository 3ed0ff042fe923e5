// The record kinds of the old SAD/SICOB remittance, as the validator names
// them in its findings. The bank's layout numbers no fields here: each
// field's code is its positions ("6-11", "15").
#pragma once

#include "app/fields.hpp"

namespace verilote {

extern const RecordKind kSadHeaderKind;
extern const RecordKind kSadPayerKind;

}  // namespace verilote
