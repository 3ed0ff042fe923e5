// The shell commands this folder has built.
#include "app/command_table.hpp"
#include "detect/detect_command.hpp"

namespace verilote {

std::span<const HandlerBinding> DetectHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"ValidarArquivoDetectarLayout1Click", ValidarArquivoDetectarLayout1Click},
  };
  return kBindings;
}

}  // namespace verilote
