// The menu commands this folder has built.
#include "app/command_table.hpp"
#include "layouts/capcaixa.hpp"

namespace verilote {

std::span<const HandlerBinding> LayoutHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"CapcaixaImportaodeguias1Click", CapcaixaImportaodeguias1Click},
  };
  return kBindings;
}

}  // namespace verilote
