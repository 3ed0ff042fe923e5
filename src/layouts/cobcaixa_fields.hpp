// The record kinds of the CobCaixa 2.x import files, as the validators name
// them in their findings. The bank's layout numbers no fields here: each
// field's code is its positions ("107-126", "41").
#pragma once

#include "app/fields.hpp"

namespace verilote {

extern const RecordKind kCobcaixaPayerKind;
extern const RecordKind kCobcaixaBill220Kind;
extern const RecordKind kCobcaixaBill233Kind;

}  // namespace verilote
