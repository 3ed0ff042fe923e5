// The menu commands this folder has built.
#include "app/command_table.hpp"
#include "remittance/sad.hpp"
#include "remittance/sicob400.hpp"
#include "remittance/sigcb240.hpp"
#include "remittance/sigcb400.hpp"

namespace verilote {

std::span<const HandlerBinding> RemittanceHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"SadSicob1Click", SadSicob1Click},
      {"SIGCBRemessa1Click", SIGCBRemessa1Click},
      {"SIGCBRemessaValidaserros1Click", SIGCBRemessaValidaserros1Click},
      {"SIGCBRemessa400ValidaTudo1Click", SIGCBRemessa400ValidaTudo1Click},
      {"CobranaRemessapadro4001Click", CobranaRemessapadro4001Click},
  };
  return kBindings;
}

}  // namespace verilote
