#include "tools/file_utilities.hpp"

#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using L = std::vector<std::string>;

// The eight lines "Verificar o conteudo de um campo" shows for a found record.
L FieldLines(std::string_view field, std::string_view request) {
  const std::string rule(57, '=');
  return {rule, std::string("Conteúdo do campo porcurado:"_cp), "", std::string(field), "", std::string(request), "",
          rule};
}

std::string Diff(std::string_view at, std::string_view a, std::string_view b) {
  return Cat("Linha: ", at, " Arquivo 1 tem: ", a, " Arquivo 2 tem: ", b);
}

TEST(FileUtilities, ReportLinesAndMessages) {
  const std::string end(std::string("======= Fim da verificação ======="_cp)), many = RepeatText(9999, "x\r\n");
  const std::string banner(
      "****  Dependendo do tipo de caracter inválido, o programa para de ler e nesse caso, deve consertar e rodar novamente esta opção ****"_cp);
  const auto closing = [](std::string_view n, std::string_view next) {
    return L{
        Cat("Foi lido até o registro de número "_cp, n),
        Cat("Verifique se o arquivo tem ", n, " registros. Se tiver mais que isso, deve ter um caracter inválido "_cp,
            "no registro ", n, " ou no ", next)};
  };
  // A record of thousands of refused bytes: the first 4000 positions listed, then their count.
  std::string upTo4000(std::string("linha numero 1 com Caracter inválido nas posições: "_cp));
  for (int at = 1; at <= 4000; ++at) upTo4000 += Cat(at, ',');
  const std::string e9(4000, '\xE9');
  // The second file is read in pieces of 64 KiB: a difference just past one,
  // and a CR LF split between two.
  const std::string wide(70000, 'x'), edge(65535, 'x');
  std::string wideOther = wide + "z";
  wideOther[65536] = 'y';
  const Handler compare = VerificarsedoisarquivossoiguaisAt2000registros1Click,
                field = Verificaroconteudodeumcampo1Click, invalid = Verificaseumarquivotemcaracteresinvlidos1Click;
  const struct {
    Handler command;
    L files, answers, report, messages;
    bool faulty = true;
  } cases[] = {
      // clang-format off
      {compare, {"ABC\r\n", "ABD\r\n"}, {}, {Diff("0001 Posição: 3"_cp, "C", "D"), end}, {}},
      {compare, {"AB\r\nXY", "ABC\r\nX"}, {}, {Diff("0001 Posição: 3"_cp, "(fim da linha)", "C"),
                                                Diff("0002 Posição: 2"_cp, "Y", "(fim da linha)"), end}, {}},
      {compare, {many + "x", many + "y"}, {}, {Diff("10000 Posição: 1"_cp, "x", "y"), end}, {}},
      {compare, {wide, wideOther}, {}, {Diff("0001 Posição: 65537"_cp, "x", "y"),
                                        Diff("0001 Posição: 70001"_cp, "(fim da linha)", "z"), end}, {}},
      {compare, {edge + "\r\nAC", edge + "\r\nAB"}, {}, {Diff("0002 Posição: 2"_cp, "C", "B"), end}, {}},
      {compare, {"AB\r\nCD", "AB\r\nCD\x1Azz"}, {}, {end}, {}, false},
      {compare, {"a\r\nb\r\nc", "a\r\nb\r\nc\r\nd"}, {}, {}, {std::string("O arquivo 1 tem 3 registros e o arquivo 2 "
               "tem 4 registros e deverão ter a mesma quantidade para poder comparar."_cp)}},
      {field, {"X\r\nABCDEF\r\n"}, {"2", "5", "3"}, FieldLines("EF", "Linha:2 Coluna=5 Tamanho=3"), {}, false},
      {field, {"ABCDEF"}, {"1", "-2", "5"}, FieldLines("AB", "Linha:1 Coluna=-2 Tamanho=5"), {}, false},
      {field, {"ABCDEF"}, {"1", "2", "-1"}, FieldLines("", "Linha:1 Coluna=2 Tamanho=-1"), {}, false},
      {field, {RepeatText(69999, "\r\n") + "ABCDEF"}, {"70000", "6", "9"}, FieldLines("F", "Linha:70000 Coluna=6 Tamanho=9"), {}, false},
      {invalid, {"ABCDEFGHI\tKLMNOPQRS\xC3\x83Z\r\nOK ;.,+-*/\\$#!%&()=[]{}?:<>@\r\n"}, {}, {banner,
               std::string("linha numero 1 com Caracter inválido nas posições: 10,20,21,"_cp), closing("2", "3")[0],
               closing("2", "3")[1]}, {}},
      {invalid, {""}, {}, {banner, closing("0", "1")[0], closing("0", "1")[1]}, {}, false},
      {invalid, {e9}, {}, {banner, upTo4000, closing("1", "2")[0], closing("1", "2")[1]}, {}},
      {invalid, {e9 + "A\xE9\x01"}, {}, {banner, Cat(upTo4000, "…e mais 2 posições"_cp), closing("1", "2")[0], closing("1", "2")[1]}, {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    testing::FakeHost host;
    std::vector<std::unique_ptr<testing::TempFile>> files;
    for (const std::string& bytes : c.files)
      host.files.push_back(files.emplace_back(new testing::TempFile(bytes))->path());
    host.answers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(c.command(host), c.faulty ? Verdict::Faulty : Verdict::Clean) << c.files[0].substr(0, 9);
    EXPECT_EQ(host.report, c.report);
    EXPECT_EQ(host.messages, c.messages);
  }
}

}  // namespace
}  // namespace verilote
