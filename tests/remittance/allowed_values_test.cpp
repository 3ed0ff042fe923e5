// The collection layouts' coded fields, each allowed value put into a clean
// file, and their ranges at both ends: values typed from the layouts' tables.
#include "support/allowed_values.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "layouts/cobcaixa.hpp"
#include "layouts/construgiro.hpp"
#include "layouts/construgiro_builder.hpp"
#include "layouts/siemd.hpp"
#include "remittance/cnab400_builder.hpp"
#include "remittance/sad.hpp"
#include "remittance/sicob240.hpp"
#include "remittance/sicob400.hpp"
#include "remittance/sigcb240.hpp"
#include "remittance/sigcb240_builder.hpp"
#include "remittance/sigcb400.hpp"
#include "remittance/sinco.hpp"

namespace verilote {
namespace {

using testing::AllowedValueFindings;
constexpr auto& Example = testing::ExampleRecords;
using testing::kCnpj;
using testing::kCpf;
using testing::kMonths;
using testing::LimitFaults;
using testing::Pad;
using Lines = std::vector<std::string>;

// The clean file: 1 header, 2 and 11 lote headers; title A (P 3, modality 14,
// cedente prints), B (P 7, modality 11, CAIXA prints, kind 31 with option 1;
// its Y53 is 9), C (P 12, modality 21), D (P 15, no Nosso Número); Q 4, 8, 13
// (guarantor CPF), 16 (guarantor CNPJ); R 5 and 14. Header 20.0's "107"
// and "050" are the clean file of layout 107 and a version line of their own.
TEST(AllowedValues, Sigcb240) {
  // The frame's movement codes; field 07.3Y lists 47 and 48 besides, which
  // the frame refuses in any detail (a limit below).
  const std::vector<std::string> movements = {"01", "02", "04", "05", "06", "07", "08", "09", "10", "11", "12", "13",
                                              "14", "15", "16", "17", "18", "31", "33", "34", "36", "37", "38", "40"};
  const std::vector<std::string> banks = {Pad("CAIXA ECONOMICA FEDERAL", 30), Pad("C ECON FEDERAL", 30),
                                          Pad("CAIXA", 30), Pad("CEF", 30)};
  const std::vector<testing::AllowedValues> rows = {
      {"bank name 103-132", 1, 103, banks},
      {"remittance kind 192-207", 1, 192, {"REMESSA-PRODUCAO", "REMESSA-TESTE   "}},
      {"05.0 18 (CPF)", 1, 18, {"1"}, {{1, 19, kCpf}}},
      {"05.1 10-11", 2, 10, {"01", "02"}},
      {"06.1 07.1 12-16", 2, 12, {"00030", "00060", "00067"}, {}, SIGCBRemessaValidaserros1Click},
      {"09.1 18 (CPF)", 2, 18, {"1"}, {{2, 20, kCpf}}},
      {"22.1 200-207", 11, 200, {"00000000", "07122026"}},
      {"15.3P 59 (no Nosso Numero)", 15, 59, {"1", "2"}},
      {"17.3P 61 (no Nosso Numero)", 15, 61, {"1", "2", "4", "5"}},
      {"18.3P 62 (no Nosso Numero)", 15, 62, {"1", "2", "3", "0"}},
      {"17.3P 61 (modality 11)", 7, 61, {"1", "4", "5"}},
      {"18.3P 62 (modality 11)", 7, 62, {"1", "2", "3"}},
      {"17.3P 61 (modality 21)", 12, 61, {"1", "4", "5"}},
      {"18.3P 62 (modality 21)", 12, 62, {"1", "2", "3"}},
      {"36.3P 221 (modality 14, 38.3P 1)", 3, 221, {"3", "9"}},
      {"38.3P 224 (modality 14, 36.3P 1)", 3, 224, {"2"}, {{3, 221, "1"}}},
      {"36.3P 221 (modality 21)", 12, 221, {"3", "9"}},
      {"38.3P 224 (modality 21)", 12, 224, {"1", "2"}},
      {"36.3P 221 (no Nosso Numero, 38.3P 2)", 15, 221, {"1", "3", "9"}, {{15, 224, "2"}}},
      {"25.3P 109", 3, 109, {"A", "N"}},
      {"27.3P 118 (with date and amount)", 7, 118, {"1", "2"}},
      {"30.3P 142 (with date and amount)", 7, 142, {"1", "2"}},
      {"42.3P 240 (kind 31, Y53 10.3Y 01)", 7, 240, {"2"}, {{9, 22, "01"}}},
      {"24.3P 107-108 (42.3P 1)", 7, 107, {"31", "32"}},
      {"08.3Q 18 (CNPJ)", 4, 18, {"2"}, {{4, 20, kCnpj}}},
      {"17.3Q 154 (CPF)", 4, 154, {"0", "1"}, {{4, 155, "000011144477735"}, {4, 170, Pad("ANTONIO AVALISTA", 40)}}},
      {"17.3Q 154 (CNPJ)", 4, 154, {"2"}, {{4, 155, "0" + kCnpj}, {4, 170, Pad("HOLDING AVALISTA SA", 40)}}},
      {"20.3Q 210-212", 4, 210, {"000", "   "}},
      {"08.3R 18", 5, 18, {"1", "2"}, {{5, 19, "10012027000000000000100"}}},
      {"11.3R 42", 5, 42, {"1", "2"}, {{5, 43, "12012027000000000000100"}}},
      {"14.3R 66", 5, 66, {"0", "1", "2"}},
      {"frame 16-17 movement code", 3, 16, movements},
      {"07.3Y 16-17", 9, 16, movements},
      {"09.3Y 20-21", 9, 20, {"02", "04"}},
      {"10.3Y 22-23 (42.3P 2)", 9, 22, {"01", "99"}, {{7, 240, "2"}}},
      {"11.3Y 24", 9, 24, {"1", "2"}},
      {"14.3Y 40", 9, 40, {"1", "2"}},
  };
  EXPECT_EQ(AllowedValueFindings(SIGCBRemessa1Click, testing::CleanSigcbFile().Lines(), rows), Lines{});
}

// Header 1, title A (2: CPF company and payer, carteira fields 57-58 "00"),
// its type 2 record (3), title B (4: CNPJ company and payer, 57-58 "14").
TEST(AllowedValues, Sigcb400) {
  const std::vector<testing::AllowedValues> rows = {
      {"03.0 3-9", 1, 3, {"REM.TST", "REMESSA"}},
      {"02.1 2-3 (CNPJ)", 2, 2, {"02"}, {{2, 4, kCnpj}}},
      {"06.1 28", 2, 28, {"1", "2"}},
      {"07.1 29", 2, 29, {"0", "1", "2", "3"}},
      {"09.1 30-31", 2, 30, {"00", "51"}},
      {"11.1 57-58 (59-73 not zero)", 2, 57, {"00", "14"}, {{2, 59, "000000000000100"}}},
      {"14.1 107-108", 2, 107, {"01", "02"}},
      {"15.1 109-110", 2, 109, kMonths},
      {"21.1 148-149", 2, 148, {"01", "02", "03", "05", "06", "09"}},
      {"22.1 150", 2, 150, {"A", "N"}},
      {"24.1 157-158", 2, 157, {"01", "02"}},
      {"27.1 174-179", 2, 174, {"000000", "100127"}},
      {"31.1 219-220 (CNPJ)", 2, 219, {"02"}, {{2, 221, kCnpj}}},
      {"39.1 352-357", 2, 352, {"000000", "160127"}},
      {"42.1 390-391", 2, 390, {"00", "02"}},
      {"44.1 394", 2, 394, {"1", "2", "3", "4", "7"}},
      {"02.2 2-3 (CNPJ)", 3, 2, {"02"}, {{3, 4, kCnpj}}},
      {"8.2 57-58 (59-73 not zero)", 3, 57, {"00", "14"}, {{3, 59, "000000000000100"}}},
      {"10.2 107-108", 3, 107, {"01", "02"}},
      {"11.2 109-110", 3, 109, kMonths},
  };
  EXPECT_EQ(AllowedValueFindings(SIGCBRemessa400ValidaTudo1Click, testing::CleanSigcb400("   "), rows), Lines{});
  // Version "007": field 13B.1 (84), with title B's date 13A.1 (78-83).
  const std::vector<testing::AllowedValues> v007 = {{"13B.1 84", 4, 84, {"0", "1", "2", "3", "4", "5", "6"}}};
  EXPECT_EQ(AllowedValueFindings(SIGCBRemessa400ValidaTudo1Click, testing::CleanSigcb400("007"), v007), Lines{});
}

// Title A (2: carteira 12, protest), title B (4: carteira 11, return).
TEST(AllowedValues, Sicob400) {
  const std::vector<testing::AllowedValues> rows = {
      {"company CNPJ 3", 2, 3, {"2"}, {{2, 4, kCnpj}}},
      {"36-37", 2, 36, {"00", "51"}},
      {"Nosso Numero 63-73 (carteira 11)", 4, 63, {"00000000000"}},
      {"acceptance 150", 2, 150, {"N", "S"}},
      {"discount date 174-179", 2, 174, {"000000", "100127"}},
      {"payer kind 220", 2, 220, {"2"}, {{2, 221, kCnpj}}},
  };
  EXPECT_EQ(AllowedValueFindings(CobranaRemessapadro4001Click, testing::CleanSicob400(), rows), Lines{});
}

// Title A (P 3 Q 4: no interest nor discount, return), B (P 7 Q 8: all three).
TEST(AllowedValues, Sicob240) {
  const std::vector<testing::AllowedValues> rows = {
      {"remittance kind 192-207", 1, 192, {"REMESSA-PRODUCAO", "REMESSA-TESTE   "}},
      {"05.0 18 (CPF)", 1, 18, {"1"}, {{1, 19, kCpf}}},
      {"09.1 18", 2, 18, {"1", "2"}},
      {"Nosso Numero 47-57", 3, 47, {"00000000000"}},
      {"14.3P 58", 3, 58, {"1", "3"}},
      {"15.3P 59", 3, 59, {"1", "2"}},
      {"16.3P 60", 3, 60, {"1", "2"}},
      {"17.3P 61", 3, 61, {"1", "2", "4", "5"}},
      {"18.3P 62", 3, 62, {"1", "2"}},
      {"25.3P 109", 3, 109, {"A", "N"}},
      {"27.3P 118 (with date and amount)", 7, 118, {"1", "2", "3"}},
      {"30.3P 142 (with date and amount)", 7, 142, {"0", "1", "2"}},
      {"36.3P 221 (37.3P 02)", 3, 221, {"1", "3"}, {{3, 222, "02"}}},
      {"38.3P 224 (39.3P 005)", 3, 224, {"1", "2"}, {{3, 225, "005"}}},
      {"08.3Q 18 (CNPJ)", 4, 18, {"2"}, {{4, 20, kCnpj}}},
      {"09.3Q 20-33", 4, 20, {"00000000000000"}},
      {"17.3Q 154", 4, 154, {"1", "2"}},
  };
  EXPECT_EQ(AllowedValueFindings(CobranaRemessapadro2401Click, Example("sicob240/remessa_sicob240_ok.rem"), rows),
            Lines{});
}

TEST(AllowedValues, Sinco) {
  const std::vector<testing::AllowedValues> rows = {
      {"remittance kind 192-207", 1, 192, {"REMESSA-PRODUCAO", "REMESSA-TESTE   "}},
      {"05.0 18 (CPF)", 1, 18, {"1"}, {{1, 19, kCpf}}},
      {"time 152-157", 1, 152, {"000001", "235959"}},
      {"06.1 12-13", 2, 12, {"00", "  "}},
      {"09.1 18 (CPF)", 2, 18, {"1"}, {{2, 20, kCpf}}},
      {"Nosso Numero 39-57", 3, 39, {"0000000000000000000"}},
      {"15.3P 59", 3, 59, {"1", "2", "3"}},
      {"17.3P 61", 3, 61, {"1", "2", "4", "5"}},
      {"18.3P 62", 3, 62, {"1", "2"}},
      {"25.3P 109", 3, 109, {"A", "N"}},
      {"27.3P 118", 3, 118, {"1", "2", "3", "4"}},
      {"28.3P 119-126", 3, 119, {"00000000", "16012027"}},
      {"30.3P 142", 3, 142, {"0", "1", "2"}},
      {"08.3Q 18 (CNPJ)", 4, 18, {"2"}, {{4, 20, kCnpj}}},
      {"17.3Q 154", 4, 154, {"1", "2", "0"}},
  };
  EXPECT_EQ(AllowedValueFindings(SINCO1Click, Example("sinco/remessa_sinco_ok.rem"), rows), Lines{});
}

TEST(AllowedValues, Sad) {
  const std::vector<testing::AllowedValues> rows = {{"movement 15", 2, 15, {"I", "A", "E"}}};
  EXPECT_EQ(AllowedValueFindings(SadSicob1Click, Example("sad/remessa_sad_ok.txt"), rows), Lines{});
}

TEST(Limits, CollectionRemittances) {
  using testing::Limit;
  const std::vector<Limit> sigcb400 = {
      {"43.1 392-393", 2, 392, "02", "01", "Linha:2 Erro no campo 43.1 - Informação encontrada: 01"_cp},
      {"43.1 392-393", 2, 392, "90", "91", "Linha:2 Erro no campo 43.1 - Informação encontrada: 91"_cp},
  };
  EXPECT_EQ(LimitFaults(SIGCBRemessa400ValidaTudo1Click, testing::CleanSigcb400("   "), sigcb400), Lines{});
  const std::string protest{"Linha 2:  Prazo de protesto inválido, esperado de 2 a 30"_cp},
      giveBack{"Linha 4:  Prazo de devolução inválido, esperado de 5 a 90"_cp};
  const std::vector<Limit> sicob400 = {
      {"protest days 392-393", 2, 392, "02", "01", protest},
      {"protest days 392-393", 2, 392, "30", "31", protest},
      {"return days 392-393", 4, 392, "05", "04", giveBack},
      {"return days 392-393", 4, 392, "90", "91", giveBack},
  };
  EXPECT_EQ(LimitFaults(CobranaRemessapadro4001Click, testing::CleanSicob400(), sicob400), Lines{});
  const std::string p3 = "Linha 3 SEGMENTO P. Codigos de erro:", p7 = "Linha 7 SEGMENTO P. Codigos de erro:";
  const std::string days37{" 37.3P está marcado para protesto mas a quantidade de dias é inválida."_cp};
  const std::string back = Cat(p3, " Dias para Devolução deve ser de 5 a 90"_cp);
  const std::vector<Limit> sicob240 = {
      {"07.3P 16-17", 3, 16, "01", "00", p3 + " 07.3P"},
      {"07.3P 16-17", 3, 16, "10", "11", p3 + " 07.3P"},
      {"37.3P 222-223 (protest)", 7, 222, "02", "01", p7 + days37},
      {"37.3P 222-223 (protest)", 7, 222, "90", "91", p7 + days37},
      {"39.3P 225-227 (return)", 3, 225, "005", "004", back, {{3, 224, "1"}}},
      {"39.3P 225-227 (return)", 3, 225, "090", "091", back, {{3, 224, "1"}}},
  };
  EXPECT_EQ(LimitFaults(CobranaRemessapadro2401Click, Example("sicob240/remessa_sicob240_ok.rem"), sicob240), Lines{});
  const std::string header = "Erro no HEADER. Codigos de erro:";
  const std::vector<Limit> sinco = {
      {"movement 16-17, 01 only", 3, 16, "01", "02", "Registro numero 3 não é 01 na posição 16,2 !!!"_cp},
      {"hour 152-153", 1, 152, "23", "24", Cat(header, " Hora inválida na posição 152, maior que 23"_cp)},
      {"minute 154-155", 1, 154, "59", "60", Cat(header, " Minuto inválido na posição 154, maior que 59"_cp)},
      {"second 156-157", 1, 156, "59", "60", Cat(header, " Segundos da Hora inválido na posição 156, maior que 59"_cp)},
  };
  EXPECT_EQ(LimitFaults(SINCO1Click, Example("sinco/remessa_sinco_ok.rem"), sinco), Lines{});
  // The discount of title B (fixed, title amount 100,00) and of title C
  // (percentage with two decimals).
  const Lines sigcb = testing::CleanSigcbFile().Lines();
  const auto label = [&sigcb](std::size_t record) {
    const std::string& p = sigcb[record - 1];
    return Cat(" Para ->  NN: ", p.substr(40, 2), "/", p.substr(42, 15), " SeuN: ", p.substr(62, 11));
  };
  const std::vector<Limit> sigcb240 = {
      {"07.3Y 16-17, the frame's list", 9, 16, "40", "47",
       "Registro numero 9 Na posição 16,2 tem um código não esperado para remessa !!!"_cp},
      {"32.3P 151-165 (30.3P 1)", 7, 151, "000000000009999", "000000000010000",
       Cat(p7, " Desconto não pode ser maior ou igual ao valor do título. "_cp, label(7))},
      {"32.3P 151-165 (30.3P 2)", 12, 151, "000000000009999", "000000000010000",
       Cat("Linha 12 SEGMENTO P. Codigos de erro: Desconto não pode ser maior 100% "_cp, label(12))},
  };
  EXPECT_EQ(LimitFaults(SIGCBRemessa1Click, sigcb, sigcb240), Lines{});
}

// Each layout's record length, one blank past it: the byte before the
// length is tested by each layout's own field tests.
TEST(Limits, RecordLengths) {
  const struct {
    Handler handler;
    Lines clean;
    std::size_t record, length;
    testing::LineText finding;
  } cases[] = {
      {SIGCBRemessa1Click, testing::CleanSigcbFile().Lines(), 3, 240, "Registro numero 3 com tamanho 241"},
      {SIGCBRemessa400ValidaTudo1Click, testing::CleanSigcb400("   "), 2, 400,
       "Linha:2 Registro com tamanho diferente de 400 bytes."},
      {CobranaRemessapadro4001Click, testing::CleanSicob400(), 2, 400, "Registro numero 2 com tamanho 401"},
      {SIDEMRemessa1Click, Example("siemd/remessa_siemd_layout01_ok.rem"), 9, 150,
       "Linha 9 com tamanho diferente de 150 bytes."},
      {Sacados1Click, Example("cobcaixa/sacados_ok.txt"), 1, 254,
       "Linha 1 - Registro com tamanho 255 deveria ser 254, não será importado."_cp},
      {Construgiro1Click, testing::CleanConstrugiroFile().Lines(), 3, 240, "Linha 3 com tamanho 241"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LimitFaults(c.handler, c.clean, {{"record length", c.record, c.length + 1, "", " ", c.finding}}),
              Lines{});
}

}  // namespace
}  // namespace verilote
