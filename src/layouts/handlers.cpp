// The menu commands this folder has built.
#include "app/command_table.hpp"
#include "layouts/construgiro.hpp"

namespace verilote {

std::span<const HandlerBinding> LayoutHandlers() {
  static constexpr HandlerBinding kBindings[] = {
      {"Construgiro1Click", Construgiro1Click},
  };
  return kBindings;
}

}  // namespace verilote
