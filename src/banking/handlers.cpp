// The menu commands this folder has built.
#include "app/command_table.hpp"
#include "banking/calculators.hpp"

namespace verilote {

std::span<const HandlerBinding> BankingHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"ValidaCPF1Click", ValidaCPF1Click},
      {"ValidaCGC1Click", ValidaCGC1Click},
      {"NossoNmero1Click", NossoNmero1Click},
      {"NossoNmero16Pos1Click", NossoNmero16Pos1Click},
      {"NossoNmero18Posdv1Click", NossoNmero18Posdv1Click},
      {"NossoNmeroSIGCB1Click", NossoNmeroSIGCB1Click},
      {"GerarrelaodeNNcom10Posies1Click", GerarrelaodeNNcom10Posies1Click},
      {"GerarrelaodeNNcom16Posies1Click", GerarrelaodeNNcom16Posies1Click},
      {"GerarrelaodeNNcom18Posies1Click", GerarrelaodeNNcom18Posies1Click},
      {"GerarrelaodeNNdoSIGCB1Click", GerarrelaodeNNdoSIGCB1Click},
      {"MostrarDVdeumaconta1Click", MostrarDVdeumaconta1Click},
      {"Gerarfatordevencimento1Click", Gerarfatordevencimento1Click},
      {"Validarumfatordevencimento1Click", Validarumfatordevencimento1Click},
  };
  return kBindings;
}

}  // namespace verilote
