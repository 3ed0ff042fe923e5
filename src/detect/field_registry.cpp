#include "detect/field_registry.hpp"

namespace verilote {

std::span<const LayoutFields* const> AllLayoutFields() {
  static const LayoutFields* const kAll[] = {
      &kSigcb240Fields,
      &kSicob240Fields,
      &kSincoFields,
      &kConstrugiroFields,
      &kSiaccFields,
      &kSigcb400Fields,
      &kSicob400Fields,
      &kSadFields,
      &kSiemd01Fields,
      &kSiemd03Fields,
      &kCobcaixaSacadosFields,
      &kCobcaixaTitulos233Fields,
      &kCobcaixaTitulos220Fields,
      &kCapcaixaSindicalFields,
      &kCapcaixaConcessionariasFields,
      &kCapcaixaCarnesFields,
  };
  return kAll;
}

const LayoutFields* FieldsOfLayout(std::string_view layout) {
  for (const LayoutFields* fields : AllLayoutFields())
    if (fields->layout == layout) return fields;
  return nullptr;
}

}  // namespace verilote
