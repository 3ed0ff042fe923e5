// The field dictionary of the layout, in the bank's numbering (app/fields.hpp).
#include "detect/field_registry.hpp"

namespace verilote {

const LayoutFields kCobcaixaSacadosFields{"cobcaixa-sacados", {}, nullptr};
const LayoutFields kCobcaixaTitulos233Fields{"cobcaixa-titulos-233", {}, nullptr};
const LayoutFields kCobcaixaTitulos220Fields{"cobcaixa-titulos-220", {}, nullptr};

}  // namespace verilote
