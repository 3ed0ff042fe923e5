// The menu commands this folder has built.
#include "app/command_table.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {

std::span<const HandlerBinding> BarcodeHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      // Boleto barcodes and typeable lines.
      {"ConverteCdBarraRepresentao1Click", ConverteCdBarraRepresentao1Click},
      {"ConverteRepresentaoCdBarra1Click", ConverteRepresentaoCdBarra1Click},
      {"Cdigodebarras1Click", Cdigodebarras1Click},
      {"CdigodebarrasSIGCB1Click", CdigodebarrasSIGCB1Click},
      {"RepresentaoNumricaSIGCB1Click", RepresentaoNumricaSIGCB1Click},
      {"CdigodebarrasSIGCBVriosboletos1Click", CdigodebarrasSIGCBVriosboletos1Click},
      {"CdigodebarrasSIGCBviaarquivo1Click", CdigodebarrasSIGCBviaarquivo1Click},
      {"Cdigodebarrasumboleto1Click", Cdigodebarrasumboleto1Click},
      {"CdigodebarrasCobCaixa1Click", CdigodebarrasCobCaixa1Click},
      {"Representaonumricacobcaixacobranacaixa1Click", Representaonumricacobcaixacobranacaixa1Click},
      {"CdigodebarrasSICOBViaarquivo1Click", CdigodebarrasSICOBViaarquivo1Click},
      {"CdigodebarrasSINCO1Click", CdigodebarrasSINCO1Click},
      {"RepresentaoNumricadocdigodebarrasSINCO1Click", RepresentaoNumricadocdigodebarrasSINCO1Click},
      {"CdigodebarrasSINCOViaarquivo1Click", CdigodebarrasSINCOViaarquivo1Click},
      {"Montarcdigodebarras1Click", Montarcdigodebarras1Click},
      {"RelatriodeHomologao1Click", RelatriodeHomologao1Click},
      // Collection barcodes.
  };
  return kBindings;
}

}  // namespace verilote
