#include "layouts/capcaixa.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

using testing::Put;

// A valid guide of type '1', '2' or '3': zeros wherever they are valid (the
// examples' guides carry the words), fiscal year 2027 (the last that the
// host's today, 06/12/2026, accepts), value kind "6" and R$ 1,00.
std::string Guide(char type) {
  std::string rec(type == '1' ? 732 : type == '2' ? 984 : 959, '0');
  rec[0] = type;
  if (type == '1') {
    Put(rec, 2, "2");  // CNPJ 00000000000000
    Put(rec, 77, "DF202731012027600000000000100");
    Put(rec, 301, "101012020");
  } else {
    Put(rec, 42, "12345678000031122027");
    Put(rec, 79, "310120272027");
    Put(rec, type == '2' ? 234 : 209, "6000000000000100");
  }
  return rec;
}

// The report of a file of `records` lines of `type` ('0': no layout) with these findings.
std::vector<std::string> Report(char type, int records, const std::vector<std::string>& findings) {
  constexpr std::string_view kBanner[] = {
      "", "Validando Registros de importação Guia Sindical"_cp,
      "Validando Registros de importação Concessionárias e Serviços Públicos"_cp,
      "Validando Registros de importação Carnês e Assemelhados e convênio exclusivo Caixa"_cp};
  std::vector<std::string> r =
      testing::Lines({"****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp,
                      kBanner[type - '0'], std::string(60, '=')});
  if (type == '0') r.erase(r.begin() + 1);
  r.insert(r.end(), findings.begin(), findings.end());
  if (findings.empty())
    r.push_back(Cat(records, " registros lidos todos corretos. Fim da validação."_cp));
  else
    r.insert(r.end(), {std::string(60, '-'), Cat(records, " registros lidos. Fim da validação."_cp),
                       std::string(23, '-'), Cat(findings.size(), " Erros encontradas."), std::string(23, '-')});
  return r;
}

TEST(CapcaixaImportacao, OneFieldFault) {
  const struct {
    char type;
    int pos;
    std::string bytes;                         // written at pos in line 2; none: line 2 ends before pos
    std::string_view first = {}, second = {};  // the findings, each after "Linha 2"
  } cases[] = {
      // clang-format off
      {'1', 2, "100011144477734", " - CPF inválido da posição 6 até a 16"_cp},
      {'1', 3, "1122233300A181", " - campo não numérico da posição 3 até a 16"_cp,
                                 " - CGC inválido da posição 3 até a 16"_cp},
      {'1', 92, std::string(15, '0'), " - Valor da contribuição não pode ser zero da posição 92 até a 106"_cp},
      {'1', 91, "7" + std::string(15, '0')},
      {'1', 92, std::string(15, '9')},  // far above 32 bits of cents
      {'1', 92, std::string(15, ' '), " - campo não numérico da posição 92 até a 106"_cp,
                " - Da posição 92 até a 106 Não pode ser branco, deve preencher no mínimo com zeros."_cp},
      {'1', 203, "              0", " - campo não numérico da posição 203 até a 217"_cp},  // not a blank field
      {'1', 167, "      ", " - Da posição 167 até a 172 Não pode ser branco, deve preencher no mínimo com zeros."_cp},
      {'1', 301, "5", " - Tipo identificador deveria ser 1,2,3 ou 4 na posição 301"_cp},
      {'2', 235, std::string(15, '0'), " - Valor  não pode ser zero da posição 235 até a 249"_cp},
      {'2', 41, "*", " - Caracter não esperado no Nome do contribuinte entre as posições 2 e 41"_cp},
      {'2', 984, "\x80", " - Caracter não esperado na Mensagem11, posições de 925 e 984"_cp},
      {'3', 42, "000000001234", " - Código não pode ser somente zeros da posição 42 até a 49"_cp,
                                " - Parte final do código deveria ser zeros da posição 50 até a 53"_cp},
      {'3', 285, "", " - campo não numérico da posição 285 até a 299"_cp},
      // clang-format on
  };
  for (const auto& c : cases) {
    std::string guide = Guide(c.type);
    if (c.bytes.empty()) guide.resize(c.pos - 1);
    Put(guide, c.pos, c.bytes);
    std::vector<std::string> findings;
    for (const std::string_view m : {c.first, c.second})
      if (!m.empty()) findings.push_back(Cat("Linha 2", m));
    const testing::Validation v = testing::Validate(CapcaixaImportaodeguias1Click, {Guide(c.type), guide});
    EXPECT_EQ(v.report, Report(c.type, 2, findings)) << c.type << " " << c.pos << " " << c.bytes;
  }
}

}  // namespace
}  // namespace verilote
