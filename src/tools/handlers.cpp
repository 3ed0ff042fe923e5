// The menu commands this folder has built.
#include "app/command_table.hpp"
#include "tools/barcode_repair.hpp"
#include "tools/database_rebuild.hpp"
#include "tools/file_utilities.hpp"
#include "tools/sicob_reconciliation.hpp"
#include "tools/sicov_repair.hpp"
#include "tools/sigcb_repair.hpp"

namespace verilote {

std::span<const HandlerBinding> ToolHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"Acertardigitodeumcdigodebarras1Click", Acertardigitodeumcdigodebarras1Click},
      {"Acertadgitodocodbarradacobrana1Click", Acertadgitodocodbarradacobrana1Click},
      {"VerificarsedoisarquivossoiguaisAt2000registros1Click", VerificarsedoisarquivossoiguaisAt2000registros1Click},
      {"Verificaroconteudodeumcampo1Click", Verificaroconteudodeumcampo1Click},
      {"Verificaseumarquivotemcaracteresinvlidos1Click", Verificaseumarquivotemcaracteresinvlidos1Click},
      {"AlteraNSA1Click", AlteraNSA1Click},
      {"AcertacamposBrancos1Click", AcertacamposBrancos1Click},
      {"AlteraNmerodaRemessa1Click", AlteraNmerodaRemessa1Click},
      {"RemessaComRegistroCarnRetirasegmentoY1Click", RemessaComRegistroCarnRetirasegmentoY1Click},
      {"Sacados2Click", Sacados2Click},
      {"Ttulos2Click", Ttulos2Click},
      {"ValidaBDcobcaixacolistageCAIXA1Click", ValidaBDcobcaixacolistageCAIXA1Click},
  };
  return kBindings;
}

}  // namespace verilote
