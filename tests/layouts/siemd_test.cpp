// The SIEMD payslip remittance validators: valid files of layouts 01 and 03,
// then one field broken at a time and the exact lines it adds.
#include "layouts/siemd.hpp"

#include "banking/text.hpp"
#include "layouts/siemd_cases.hpp"

namespace verilote {
namespace {

using testing::Put;
using testing::Rec;
using testing::Texts;

std::string N(std::size_t n, std::size_t width) { return PadZeroLeft(std::to_string(n), width); }

// Header (convênio 123456, file 000001, dates 05/01/2026, year 2026), lote
// header (agency 1234-3, operation 001, account 00012345-9, CNPJ
// 11.222.333/0001-81), two employees (layout 01 only), statement lines, lote
// trailer, file trailer; every count and sequence right.
Texts SiemdFile(bool v03, std::size_t statements = 3) {
  // clang-format off
  Texts f{Rec(150, {{1, "0101123456010001202601050000012026010520260101"}, {47, "EMPRESA EXEMPLO"},
               {125, v03 ? "EMISSAO DOCTOL001" : "EMISSAO DOCUMENTO"}, {142, "000000000"}}),
          Rec(150, {{1, v03 ? "10 " : "10T"}, {24, "1234300100012345911222333000181"}, {142, N(1, 9)}})};
  // clang-format on
  for (std::size_t i = 0; !v03 && i < 2; ++i)
    f.push_back(Rec(150, {{1, "21MARIA DA SILVA"}, {93, "0102ANALISTA"}, {132, "030405A1"}, {142, N(f.size(), 9)}}));
  for (std::size_t i = 0; i < statements; ++i)
    f.push_back(v03 ? Rec(150, {{1, "31SALARIO"}, {141, "0"}, {142, N(f.size(), 9)}})
                    : Rec(150, {{1, "30101SALARIO"}, {96, "1.000,00"}, {131, "+0"}, {142, N(f.size(), 9)}}));
  f.push_back(Rec(150, {{1, "4" + N(f.size(), 6)}, {142, N(f.size(), 9)}}));
  f.push_back(Rec(150, {{1, "9000001" + N(f.size() + 1, 6)}, {142, "999999999"}}));
  return f;
}

constexpr std::string_view kDv = " DV Agência inválido"_cp, kAccountDv = " Dígito da conta inválido."_cp;
constexpr std::string_view kDocument = " Dígito CPF/CNPJ inválido."_cp;

TEST(Siemd, Layout01FieldFaults) {
  // Lines: 1 header, 2 lote header, 3-4 employees, 5-7 statement lines, 8 lote trailer, 9 file trailer.
  testing::BreakOneField(SIDEMRemessa1Click, SiemdFile(false),
                         {
                             {9, 1, "A", {" com Código do Tipo do Registro não númérico."_cp}},
                             {9, 150, "", {" com tamanho diferente de 150 bytes."}},

                             {1, 17, "20260230", {" Data invalida no campo 0.07"}},

                             {1, 125, "EMISSAO DOCUMENTX", {" campo 0.15 não é EMISSAO DOCUMENTO"_cp}},
                             {2, 3, "X", {" campo 1.03 inválido."_cp}},
                             {2, 24, "5234", {" Campo inválido campo 0.12."_cp, kDv, kAccountDv}},
                             {2, 29, "000000123450", {" Campo inválido campo 1.07."_cp}},

                             {2, 41, "              ", {kDocument}},
                             {2, 41, "00000000000000", {kDocument}},

                             {4, 150, "9", {" Campo 2.13 deve ser sequencial"}},

                             {9, 8, "000010", {" Campo 9.03 deve ser a soma dos registros no arquivo"}},
                             {9, 2, "000002", {" Quantidade de lotes inválida, mas esta versão só valida um lote."_cp}},
                         });
}

TEST(Siemd, Layout03FieldFaults) {
  // Lines: 1 header, 2 lote header, 3-5 statement lines, 6 lote trailer, 7 file trailer.
  testing::BreakOneField(
      SIEMDArqu1Click, SiemdFile(true),
      {
          {7, 1, "2", {" pos(1,1)."}},
          {1, 125, "EMISSAO DOCUMENTO", {" pos(125,17) não é EMISSAO DOCTOL001"_cp}},
          {1, 45, "X", {" Sequencial inválido pos(45,2)."_cp}},
          {2, 40, "X", {" Dígito da conta inválido pos(40,1)."_cp}},

          {7, 8, "000009", {" pos(8,6) deve ser a soma dos registros no arquivo. Encontrado 9 Esperado 7"}},
          {7, 141, "X", {" pos(14,128) deve ser branco"}},
      });
}

TEST(Siemd, SeventyThousandLinesNumberedAndCounted) {
  for (const bool v03 : {false, true}) {
    const Handler handler = v03 ? SIEMDArqu1Click : SIDEMRemessa1Click;
    Texts file = SiemdFile(v03, v03 ? 69996 : 69994);
    Put(file.back(), 8, "070001");
    Texts expected = testing::Validate(handler, SiemdFile(v03)).report;  // the clean file's
    expected.emplace_back(
        v03 ? "Linha 70000 pos(8,6) deve ser a soma dos registros no arquivo. Encontrado 70001 Esperado 70000"
            : "Linha 70000 Campo 9.03 deve ser a soma dos registros no arquivo");
    EXPECT_EQ(testing::Validate(handler, file).report, expected);
  }
}

}  // namespace
}  // namespace verilote
