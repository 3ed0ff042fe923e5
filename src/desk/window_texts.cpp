#include "desk/window_texts.hpp"

#include <utility>

namespace verilote {

namespace {

// Longer phrases first, where one holds another.
const std::pair<std::string_view, std::string_view> kPhrases[] = {
    {"is not a regular file (a device, FIFO or socket): refused",
     "não é um arquivo comum (é um dispositivo, FIFO ou soquete): recusado"_cp},
    {"is not a regular file (a FIFO, a device or a socket)",
     "não é um arquivo comum (é um FIFO, dispositivo ou soquete)"_cp},
    {"is the remittance being read: move or rename the remittance first",
     "é a remessa que está sendo lida: mova ou renomeie a remessa antes"_cp},
    {"is a directory, not a file", "é uma pasta, não um arquivo"_cp},
    {"no file name was given", "nenhum nome de arquivo foi informado"_cp},
    {"cannot make a temporary file in", "não foi possível criar um arquivo temporário em"_cp},
    {"cannot read a temporary file in", "não foi possível ler um arquivo temporário em"_cp},
    {"cannot write a temporary file in", "não foi possível gravar um arquivo temporário em"_cp},
    {"cannot create the directory", "não foi possível criar a pasta"_cp},
    {"cannot create the file", "não foi possível criar o arquivo"_cp},
    {"cannot follow the symbolic link", "não foi possível seguir o link simbólico"_cp},
    {"cannot open the file", "não foi possível abrir o arquivo"_cp},
    {"cannot read the file", "não foi possível ler o arquivo"_cp},
    {"cannot replace the file", "não foi possível substituir o arquivo"_cp},
    {"cannot write the file", "não foi possível gravar o arquivo"_cp},
    {"refused, nothing written", "recusado, nada foi gravado"_cp},
    {"No such file or directory", "arquivo ou pasta inexistente"_cp},
    {"Permission denied", "permissão negada"_cp},
    {"Is a directory", "é uma pasta"_cp},
    {"No space left on device", "sem espaço no dispositivo"_cp},
    {"Read-only file system", "sistema de arquivos somente leitura"_cp},
    {"File exists", "o arquivo já existe"_cp},
    {"Out of memory", "Memória insuficiente"_cp},
    {"I/O error", "Erro de E/S"_cp},
};

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// The second line of a conversion error, where the command was: "File 'x',
// record n." and "Answer to the prompt "p".".
std::string Where(std::string_view line) {
  constexpr std::string_view kFile = "File '", kRecord = "', record ", kPrompt = "Answer to the prompt \"";
  if (line.starts_with(kFile) && line.ends_with(".")) {
    const std::string_view body = line.substr(kFile.size(), line.size() - kFile.size() - 1);
    const std::size_t cut = body.rfind(kRecord);
    if (cut != std::string_view::npos && IsDigits(body.substr(cut + kRecord.size())))
      return std::string("Arquivo '")
          .append(body.substr(0, cut))
          .append("', registro ")
          .append(body.substr(cut + kRecord.size()))
          .append(".");
  }
  if (line.starts_with(kPrompt) && line.ends_with("\".") && line.size() >= kPrompt.size() + 2)
    return std::string("Resposta à pergunta \""_cp).append(line.substr(kPrompt.size()));
  return std::string(line);
}

}  // namespace

std::string InPortuguese(std::string_view message) {
  std::string lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = message.find('\n', start);
    lines += Where(message.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) break;
    lines += '\n';
    start = end + 1;
  }
  std::string out;
  for (std::size_t i = 0; i < lines.size();) {
    bool replaced = false;
    for (const auto& [english, portuguese] : kPhrases) {
      if (std::string_view(lines).substr(i).starts_with(english)) {
        out += portuguese;
        i += english.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += lines[i++];
  }
  return out;
}

}  // namespace verilote
