// The menu commands this folder has built.
#include "app/command_table.hpp"

namespace verilote {

std::span<const HandlerBinding> ToolHandlers() { return {}; }

}  // namespace verilote
