#include "layouts/capcaixa.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

using testing::Lines;
using testing::Put;

// A valid guide of type '1', '2' or '3': zeros wherever the layout takes
// digits, words in the text fields, fiscal year 2027 (the host's today is
// 06/12/2026).
std::string Guide(char type) {
  std::string rec(type == '1' ? 732 : type == '2' ? 984 : 959, '0');
  rec[0] = type;
  if (type == '1') {
    for (const auto& [pos, text] : {std::pair<int, std::string_view>{2, "211222333000181SINDICATO DOS COMERCIARIOS"},
                                    {57, "BRASILIA"},
                                    {77, "DF202731012027600000000001234"},
                                    {152, "SALA 101"},
                                    {286, "COMERCIO A/B"},
                                    {301, "101012020CENTRO"},
                                    {343, "RUA DAS FLORES 12"},
                                    {613, "AVISO"}})
      Put(rec, pos, text);
    return rec;
  }
  Put(rec, 2, "PREFEITURA DE BRASILIA");
  Put(rec, 42, "12345678000031122027LIVRE");
  Put(rec, 79, "310120272027");
  const int base = type == '2' ? 0 : -25;  // type 3 has no revenue field and its fields start 25 earlier
  if (type == '2') Put(rec, 96, "IPTU");
  for (const auto& [pos, text] : {std::pair<int, std::string_view>{116, "1/10"},
                                  {123, "REAL"},
                                  {133, "RUA A, 12"},
                                  {163, "S/N"},
                                  {184, "CENTRO"},
                                  {204, "BRASILIA"},
                                  {224, "DF"},
                                  {234, "6"},
                                  {246, "100"},
                                  {400, "PAGAR ATE O VENCIMENTO"}})
    Put(rec, pos + base, text);
  return rec;
}

constexpr std::string_view kNotice =
    "****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp;
constexpr std::string_view kBanner[] = {
    "Validando Registros de importação Guia Sindical"_cp,
    "Validando Registros de importação Concessionárias e Serviços Públicos"_cp,
    "Validando Registros de importação Carnês e Assemelhados e convênio exclusivo Caixa"_cp};

// The report of a file of `records` lines of `type` with these findings.
std::vector<std::string> Report(char type, int records, const std::vector<std::string>& findings) {
  std::vector<std::string> report = Lines({kNotice, kBanner[type - '1'], std::string(60, '=')});
  report.insert(report.end(), findings.begin(), findings.end());
  if (findings.empty()) {
    report.push_back(Cat(records, " registros lidos todos corretos. Fim da validação."_cp));
  } else {
    for (const std::string& line :
         {std::string(60, '-'), Cat(records, " registros lidos. Fim da validação."_cp), std::string(23, '-'),
          Cat(findings.size(), " Erros encontradas."), std::string(23, '-')})
      report.push_back(line);
  }
  return report;
}

TEST(CapcaixaImportacao, CleanFileOfEachLayout) {
  for (const char type : {'1', '2', '3'}) {
    const testing::Validation v =
        testing::Validate(CapcaixaImportaodeguias1Click, std::vector<std::string>(10, Guide(type)));
    EXPECT_EQ(v.status, Outcome::Status::Clean) << type;
    EXPECT_EQ(v.report, Report(type, 10, {})) << type;
    EXPECT_EQ(v.host.dialogs[0].title, "Selecione o arquivo");
    EXPECT_EQ(v.host.dialogs[0].filter, FileFilter::Texto);
  }
}

TEST(CapcaixaImportacao, OneFieldFault) {
  const auto D = [](int from, int to) { return Cat(" - Da posição "_cp, from, " até a "_cp, to); };
  const std::string blank15(15, ' '), kZeros(" Não pode ser branco, deve preencher no mínimo com zeros."_cp);
  const struct {
    char type;
    int pos;
    std::string bytes;
    std::vector<std::string> messages;  // each after "Linha 2"
  } cases[] = {
      // clang-format off
      {'1', 2, "4", Lines({" - Tipo identificador deveria ser 1,2 ou 3 na posição 2"_cp})},
      {'1', 2, "100011144477734", Lines({" - CPF inválido da posição 6 até a 16"_cp})},
      {'1', 3, "1122233300A181", Lines({" - campo não numérico da posição 3 até a 16"_cp,
                                        " - CGC inválido da posição 3 até a 16"_cp})},
      {'1', 17, "JOS\xC9", Lines({" - Caracter não esperado no Nome do contribuinte entre as posições 17 e 56"_cp})},
      {'1', 17, std::string(10, ' '), Lines({" - Nome do contribuinte é obrigatório e não existe no registro."_cp})},
      {'1', 77, "D ", Lines({" - Estado inválido da posição 77 até a 78"_cp})},
      {'1', 79, "2028", Lines({" - Exercício inválido da posição 79 até a 82"_cp})},
      {'1', 79, "1999", Lines({" - Exercício inválido da posição 79 até a 82"_cp})},
      {'1', 79, "20A7", Lines({" - campo não numérico da posição 79 até a 82"_cp})},
      {'1', 83, "29022027", Lines({" - Data de vencimento inválida da posição 83 até a 90"_cp})},
      {'1', 91, "8", Lines({" - Moeda deveria ser 6 ou 7 na posição 91"_cp})},
      {'1', 92, std::string(15, '0'), Lines({" - Valor da contribuição não pode ser zero da posição 92 até a 106"_cp})},
      {'1', 91, "7" + std::string(15, '0'), {}},
      {'1', 92, std::string(15, '9'), {}},  // far above 32 bits of cents
      {'1', 92, blank15, Lines({" - campo não numérico da posição 92 até a 106"_cp, D(92, 106) + kZeros})},
      {'1', 167, "      ", Lines({D(167, 172) + kZeros})},
      {'1', 248, "12A456", Lines({" - campo não numérico da posição 248 até a 253"_cp})},
      {'1', 301, "5", Lines({" - Tipo identificador deveria ser 1,2,3 ou 4 na posição 301"_cp})},
      {'1', 301, std::string(9, ' '), {}},
      {'1', 302, "32012020", Lines({" - Data inicio atividade inválida da posição 302 até a 309"_cp})},
      {'1', 330, "7000-000", Lines({" - CEP não numérico da posição 330 até a 337"_cp})},
      {'1', 700, "@#", Lines({" - Caracter não esperado na Mensagem6, posições de 673 e 732"_cp})},
      {'2', 42, std::string(12, '0'), Lines({" - Código não pode ser somente zeros da posição 42 até a 49"_cp})},
      {'2', 100, "!", Lines({" - Caracter não esperado na receita/tributo entre as posições 96 e 100"_cp})},
      {'2', 235, std::string(15, '0'), Lines({" - Valor  não pode ser zero da posição 235 até a 249"_cp})},
      {'2', 163, "      ", Lines({" -  Número no endereço é obrigatório e não existe no registro."_cp})},
      {'2', 984, "\x80", Lines({" - Caracter não esperado na Mensagem11, posições de 925 e 984"_cp})},
      {'3', 42, "000000001234", Lines({" - Código não pode ser somente zeros da posição 42 até a 49"_cp,
                                      " - Parte final do código deveria ser zeros da posição 50 até a 53"_cp})},
      {'3', 87, "2028", Lines({" - Exercício inválido da posição 87 até a 90"_cp})},
      {'3', 210, std::string(15, '0'), Lines({" - Valor não pode ser zero da posição 210 até a 224"_cp})},
      {'3', 199, "  ", Lines({" -  Estado é obrigatório e não existe no registro."_cp})},
      {'3', 270, "", Lines({" - campo não numérico da posição 270 até a 284"_cp,  // cut after position 269
                            " - campo não numérico da posição 285 até a 299"_cp})},
      // clang-format on
  };
  for (const auto& c : cases) {
    std::string guide = Guide(c.type);
    if (c.bytes.empty()) guide.resize(c.pos - 1);
    Put(guide, c.pos, c.bytes);
    std::vector<std::string> findings;
    for (const std::string& m : c.messages) findings.push_back("Linha 2" + m);
    const testing::Validation v = testing::Validate(CapcaixaImportaodeguias1Click, {Guide(c.type), guide});
    EXPECT_EQ(v.report, Report(c.type, 2, findings)) << c.type << " " << c.pos << " " << c.bytes;
  }
}

}  // namespace
}  // namespace verilote
