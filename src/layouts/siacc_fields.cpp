// The field dictionary of the layout, in the bank's numbering (app/fields.hpp).
#include "detect/field_registry.hpp"

namespace verilote {

const LayoutFields kSiaccFields{"siacc", {}, nullptr};

}  // namespace verilote
