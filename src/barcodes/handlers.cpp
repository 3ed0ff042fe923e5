// The menu commands this folder has built.
#include "app/command_table.hpp"
#include "barcodes/boleto_commands.hpp"
#include "barcodes/collection.hpp"
#include "barcodes/sicap.hpp"
#include "barcodes/sitcs.hpp"
#include "barcodes/union_homologation.hpp"

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
      {"CdigodebarrasCapCaixaTipo21Click", CdigodebarrasCapCaixaTipo21Click},
      {"CdigoBarrasconcessionriassaneamento1Click", CdigoBarrasconcessionriassaneamento1Click},
      {"CdigoBarrasconcessionriasEnergiaeGs1Click", CdigoBarrasconcessionriasEnergiaeGs1Click},
      {"CdigoBarrasconcessionriastelecomunicaes1Click", CdigoBarrasconcessionriastelecomunicaes1Click},
      {"CdigoBarrasTributosimpostostaxasOrgosGovernamentais1Click",
       CdigoBarrasTributosimpostostaxasOrgosGovernamentais1Click},
      {"CdigodebarrasCapCaixaTipo31Click", CdigodebarrasCapCaixaTipo31Click},
      {"CdigodebarrasCapCaixaTipo3Caixa1Click", CdigodebarrasCapCaixaTipo3Caixa1Click},
      {"ValidaCdigodebarrasCapCaixa1Click", ValidaCdigodebarrasCapCaixa1Click},
      {"Cdigodebarras12posies1Click", Cdigodebarras12posies1Click},
      {"SITCSVriosboletos1Click", SITCSVriosboletos1Click},
      {"SITCSCdigodeBarrasViaarquivo1Click", SITCSCdigodeBarrasViaarquivo1Click},
      {"Umdocumento1Click", Umdocumento1Click},
      {"VriosDocumentos1Click", VriosDocumentos1Click},
      {"Digitandoosdados1Click", Digitandoosdados1Click},
      {"RelatoriodeHomologao1Click", RelatoriodeHomologao1Click},
  };
  return kBindings;
}

}  // namespace verilote
