// The menu commands this folder has built.
#include "app/command_table.hpp"
#include "remittance/sad.hpp"
#include "remittance/sigcb240.hpp"

namespace verilote {

std::span<const HandlerBinding> RemittanceHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"SadSicob1Click", SadSicob1Click},
      {"SIGCBRemessa1Click", SIGCBRemessa1Click},
      {"SIGCBRemessaValidaserros1Click", SIGCBRemessaValidaserros1Click},
  };
  return kBindings;
}

}  // namespace verilote
