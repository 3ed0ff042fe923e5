// What every window says the same way, whatever toolkit draws it: the pages
// it opens, its own messages, and the program's English error texts put in
// Portuguese for its error boxes (the command line keeps them in English).
// All texts are Windows-1252 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/cp1252.hpp"

namespace verilote {

// The project's home page: "Suporte Técnico", the click on Label1 and the
// download page of "Atualizar Versão deste aplicativo".
inline constexpr std::string_view kHomePage = "https://github.com/verilote/verilote";

// The user guide that "Ajuda" opens; installed beside the program.
inline constexpr std::string_view kHelpFile = "verilote-ajuda.html";

// Label1 after start-up, around the release date.
inline constexpr std::string_view kReleaseBefore = "Essa versão é de "_cp;
inline constexpr std::string_view kReleaseAfter = " - A cada 10 meses tem versão nova."_cp;

// Closing the window while a command runs.
inline constexpr std::string_view kStopAndClose =
    "Um comando está em andamento. Interromper o comando e fechar o programa?"_cp;

inline constexpr std::string_view kPrintDone = "Fim da impressão !!!"_cp;
inline constexpr std::string_view kCannotOpenPage = "Não foi possível abrir "_cp;
inline constexpr std::string_view kHelpNotFound = "A página de ajuda não foi encontrada: "_cp;
// clang-format off
inline constexpr std::string_view kUpdateNotice =
    "Uma página na web vai ser aberta com os arquivos que podem ser baixados para atualizar.\rBaixe, dizipe e substitua o seu executável."_cp;
// clang-format on

// `message` (an error's text) with every known English phrase in Portuguese;
// the names and values it quotes stay as they are.
std::string InPortuguese(std::string_view message);

// What a window copies to the clipboard at most, in report bytes: pasting a
// few million lines would cost the pasting program and the system a
// gigabyte. A larger selection is refused with kSelectionTooBig, which offers
// "Copia tela para arquivo novo" instead.
inline constexpr std::uint64_t kClipboardMostBytes = std::uint64_t{32} << 20;
inline constexpr std::string_view kSelectionTooBig =
    "A seleção passa de 32 MB: grande demais para a área de transferência.\rCopiar o relatório num arquivo com \"Copia tela para arquivo novo\"?"_cp;

}  // namespace verilote
