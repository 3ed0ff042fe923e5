// The shell commands this folder has built.
#include "app/command_table.hpp"
#include "app/report_output.hpp"
#include "app/shell.hpp"

namespace verilote {

std::span<const HandlerBinding> AppHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"LimparTela1Click", LimparTela1Click},
      {"Copiaparaarquivonovo1Click", Copiaparaarquivonovo1Click},
      {"Copiaparaarquivojexistente1Click", Copiaparaarquivojexistente1Click},
  };
  return kBindings;
}

}  // namespace verilote
