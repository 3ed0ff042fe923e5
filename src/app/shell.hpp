// The shell's own commands and texts.
#pragma once

#include <string_view>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"

namespace verilote {

inline constexpr std::string_view kProgramName = "Verilote";
inline constexpr std::string_view kVersion = "10.03";
inline constexpr std::string_view kReleaseDate = "14/12/2021";

// Written at start-up and by "Limpar Tela".
inline constexpr std::string_view kNoticeLine =
    "****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp;

// "Limpar Tela" (F10): clears the report and writes the notice line.
Verdict LimparTela1Click(Host& host);

}  // namespace verilote
