// Every layout's field dictionary (app/fields.hpp), by the layout names of
// the detection table. Each dictionary lives beside its layout's rules.
#pragma once

#include <span>
#include <string_view>

#include "app/fields.hpp"

namespace verilote {

extern const LayoutFields kSigcb240Fields;
extern const LayoutFields kSicob240Fields;
extern const LayoutFields kSincoFields;
extern const LayoutFields kConstrugiroFields;
extern const LayoutFields kSiaccFields;
extern const LayoutFields kSigcb400Fields;
extern const LayoutFields kSicob400Fields;
extern const LayoutFields kSadFields;
extern const LayoutFields kSiemd01Fields;
extern const LayoutFields kSiemd03Fields;
extern const LayoutFields kCobcaixaSacadosFields;
extern const LayoutFields kCobcaixaTitulos233Fields;
extern const LayoutFields kCobcaixaTitulos220Fields;
extern const LayoutFields kCapcaixaSindicalFields;
extern const LayoutFields kCapcaixaConcessionariasFields;
extern const LayoutFields kCapcaixaCarnesFields;

std::span<const LayoutFields* const> AllLayoutFields();

// The dictionary of a layout name, or nullptr.
const LayoutFields* FieldsOfLayout(std::string_view layout);

}  // namespace verilote
