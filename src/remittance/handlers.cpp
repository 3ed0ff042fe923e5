// The menu commands this folder has built.
#include "app/command_table.hpp"
#include "remittance/sad.hpp"
#include "remittance/sicob240.hpp"
#include "remittance/sicob400.hpp"
#include "remittance/sigcb240.hpp"
#include "remittance/sigcb400.hpp"
#include "remittance/sinco.hpp"

namespace verilote {

std::span<const HandlerBinding> RemittanceHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"SadSicob1Click", SadSicob1Click},
      {"SIGCBRemessa1Click", SIGCBRemessa1Click},
      {"SIGCBRemessaValidaserros1Click", SIGCBRemessaValidaserros1Click},
      {"CobranaRemessapadro2401Click", CobranaRemessapadro2401Click},
      {"SINCO1Click", SINCO1Click},
      {"SIGCBRemessa400ValidaTudo1Click", SIGCBRemessa400ValidaTudo1Click},
      {"CobranaRemessapadro4001Click", CobranaRemessapadro4001Click},
  };
  return kBindings;
}

}  // namespace verilote
