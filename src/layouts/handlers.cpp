// The menu commands this folder has built.
#include "app/command_table.hpp"
#include "layouts/capcaixa.hpp"
#include "layouts/cobcaixa.hpp"
#include "layouts/construgiro.hpp"
#include "layouts/siacc.hpp"
#include "layouts/siemd.hpp"

namespace verilote {

std::span<const HandlerBinding> LayoutHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"SIDEMRemessa1Click", SIDEMRemessa1Click},
      {"SIEMDArqu1Click", SIEMDArqu1Click},
      {"Sacados1Click", Sacados1Click},
      {"Ttulos1Click", Ttulos1Click},
      {"TtulosV2331Click", TtulosV2331Click},
      {"CapcaixaImportaodeguias1Click", CapcaixaImportaodeguias1Click},
      {"Construgiro1Click", Construgiro1Click},
      {"CaixaProgramado1Click", CaixaProgramado1Click},
      {"GeraarquivoparaImportaoapartirderemessa1Click", GeraarquivoparaImportaoapartirderemessa1Click},
  };
  return kBindings;
}

}  // namespace verilote
