// The menu commands this folder has built.
#include "app/command_table.hpp"
#include "layouts/siacc.hpp"

namespace verilote {

std::span<const HandlerBinding> LayoutHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"CaixaProgramado1Click", CaixaProgramado1Click},
      {"GeraarquivoparaImportaoapartirderemessa1Click", GeraarquivoparaImportaoapartirderemessa1Click},
  };
  return kBindings;
}

}  // namespace verilote
