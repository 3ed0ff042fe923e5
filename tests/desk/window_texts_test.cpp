// The program's English error texts as the windows show them, in Portuguese:
// the phrases of file errors, and the second line of a conversion error
// (where the command was); quoted names and values stay as they are.
#include "desk/window_texts.hpp"

#include <gtest/gtest.h>

namespace verilote {
namespace {

TEST(WindowTexts, ErrorsInPortuguese) {
  const struct {
    std::string_view english, portuguese;
  } kCases[] = {
      {"I/O error: '/d/a.txt': cannot open the file (No such file or directory)",
       "Erro de E/S: '/d/a.txt': não foi possível abrir o arquivo (arquivo ou pasta inexistente)"_cp},
      {"'1x' is not a valid integer value\nFile '/r, record 2.rem', record 7.",
       "'1x' is not a valid integer value\nArquivo '/r, record 2.rem', registro 7."},
      {"'3/13/2026' is not a valid date\nAnswer to the prompt \"Data\".",
       "'3/13/2026' is not a valid date\nResposta à pergunta \"Data\"."_cp},
      // Not the whole line: left as it is.
      {"File 'x', record 7 of 9.", "File 'x', record 7 of 9."},
  };
  for (const auto& c : kCases) EXPECT_EQ(InPortuguese(c.english), c.portuguese) << c.english;
}

}  // namespace
}  // namespace verilote
