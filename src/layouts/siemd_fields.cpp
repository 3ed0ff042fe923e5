// The field dictionary of the layout, in the bank's numbering (app/fields.hpp).
#include "detect/field_registry.hpp"

namespace verilote {

const LayoutFields kSiemd01Fields{"siemd01", {}, nullptr};
const LayoutFields kSiemd03Fields{"siemd03", {}, nullptr};

}  // namespace verilote
