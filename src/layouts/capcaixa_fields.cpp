// The field dictionary of the layout, in the bank's numbering (app/fields.hpp).
#include "detect/field_registry.hpp"

namespace verilote {

const LayoutFields kCapcaixaSindicalFields{"capcaixa-sindical", {}, nullptr};
const LayoutFields kCapcaixaConcessionariasFields{"capcaixa-concessionarias", {}, nullptr};
const LayoutFields kCapcaixaCarnesFields{"capcaixa-carnes", {}, nullptr};

}  // namespace verilote
