// The menu commands this folder has built.
#include "app/command_table.hpp"
#include "tools/barcode_repair.hpp"

namespace verilote {

std::span<const HandlerBinding> ToolHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"Acertardigitodeumcdigodebarras1Click", Acertardigitodeumcdigodebarras1Click},
      {"Acertadgitodocodbarradacobrana1Click", Acertadgitodocodbarradacobrana1Click},
  };
  return kBindings;
}

}  // namespace verilote
