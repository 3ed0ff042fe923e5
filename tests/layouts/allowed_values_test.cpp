// The company layouts' coded fields, each allowed value put into a clean
// file, and their ranges at both ends: values typed from the layouts' tables.
#include "support/allowed_values.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "banking/check_digits.hpp"
#include "layouts/capcaixa.hpp"
#include "layouts/cobcaixa.hpp"
#include "layouts/construgiro.hpp"
#include "layouts/construgiro_builder.hpp"
#include "layouts/siacc.hpp"
#include "layouts/siemd.hpp"

namespace verilote {
namespace {

using testing::AllowedValueFindings;
using testing::AllowedValues;
constexpr auto& Example = testing::ExampleRecords;
using testing::kCnpj;
using testing::kCpf;
using testing::kMonths;
using testing::LimitFaults;
using testing::Pad;
using Lines = std::vector<std::string>;

// A J segment's barcode (18-61) with its digits 61 and 22 right for a new 47.
std::string JBarcode(const std::string& j, char freeFieldDigit) {
  std::string barcode = j.substr(17, 44);
  barcode[47 - 18] = freeFieldDigit;
  barcode[61 - 18] = Mod11DvLowSum(barcode.substr(37 - 18, 24));
  barcode[22 - 18] = Mod11BarcodeDv(barcode.substr(0, 4) + barcode.substr(5));
  return barcode;
}

// Header 1; lote 2 (commitment 01, supplier payment) with A 3 (document
// 018) and its B 4, A 5 (document 700), K 6, O 7, N 8 (GPS) and N 9 (DARF);
// lote 11 (boletos) with J 12 and J-52 13.
TEST(AllowedValues, Siacc) {
  const Lines clean = Example("siacc/remessa_siacc_ok.rem");
  const std::vector<std::string> currencies = {"BRL", "USD", "UFR", "TRD"}, notices = {"0", "2", "5", "6", "7"};
  const std::vector<AllowedValues> rows = {
      {"0 18 inscription type (CPF)", 1, 18, {"1"}, {{1, 19, kCpf}}},
      {"0 41 client environment", 1, 41, {"P", "T"}},
      {"0 164-171 layout 050 (lotes 030)", 1, 164, {"05001600"}, {{2, 14, "030"}, {11, 14, "030"}, {3, 93, " "}}},
      {"1 9 operation", 2, 9, {"C", "D"}},
      {"1 18 inscription type (CPF)", 2, 18, {"1"}, {{2, 19, kCpf}}},
      {"A.08 18-20 document type", 3, 18, {"018", "700", "000", "888"}},
      {"A.06 15 movement type", 3, 15, {"0", "9"}},
      {"A 93 (document 018)", 3, 93, {"0", "1", "2"}},
      {"A 102-104 currency", 3, 102, currencies},
      {"A.25 149 blocking flag", 3, 149, {"N", "S"}},
      {"A.26 150 instalment form (instalments 02, day 01)", 3, 150, {"1", "2", "3"}, {{3, 147, "02"}, {3, 151, "01"}}},
      {"A 230 payee notice", 3, 230, notices},
      {"A 218-219 DOC purpose (document 700)", 5, 218, {"00", "11"}},
      {"B 18 inscription type (CNPJ)", 4, 18, {"2"}, {{4, 19, kCnpj}}},
      {"K.06 15 movement type", 6, 15, {"0", "9"}},
      {"K.09 19 company segment", 6, 19, {"1", "2", "3", "4", "5", "6", "7", "9"}},
      {"K.10 20 value identifier", 6, 20, {"6", "7"}},
      {"K.10 20 value identifier, FEBRABAN's modulo-11 forms", 6, 20, {"8", "9"}},
      {"K 102-104 currency", 6, 102, currencies},
      {"K 230 payee notice", 6, 230, notices},
      {"O 15 movement type", 7, 15, {"0", "9"}},
      {"N 15 movement type", 8, 15, {"0", "9"}},
      {"N 117-118 taxpayer identification (CNPJ)", 8, 117, {"01", "03", "04", "06", "07", "08", "09"}},
      {"N 117-118 taxpayer identification (CPF)", 8, 117, {"02"}, {{8, 119, kCpf}}},
      {"N 135-136 GPS month", 8, 135, {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10", "11", "12"}},
      {"J 15 movement type", 12, 15, {"0", "9"}},
      {"J 16-17 movement code", 12, 16, {"00", "09", "10", "11", "23", "99"}},
      {"J 18-61 barcode, 47 registered or not", 12, 18, {JBarcode(clean[11], '1'), JBarcode(clean[11], '2')}},
      {"J 223-224 currency code", 12, 223, {"02", "03", "04", "09"}},
      {"J-52 20 payer inscription type", 13, 20, {"2"}, {{13, 21, "0" + kCnpj}}},
      {"J-52 76 beneficiary inscription type", 13, 76, {"1"}, {{13, 77, "0" + kCpf}}},
      {"J-52 132 drawer inscription type", 13, 132, {"2"}, {{13, 133, "0" + kCnpj}}},
  };
  EXPECT_EQ(AllowedValueFindings(CaixaProgramado1Click, clean, rows), Lines{});
}

// Operations (29-31) of a SIEMD lote header, each with the account digit
// (40) that follows from agency 24-27 and account 32-39.
std::vector<std::string> SiemdOperations(const std::string& loteHeader, const std::vector<std::string>& operations) {
  std::vector<std::string> values;
  const std::string account = loteHeader.substr(31, 8);
  for (const std::string& operation : operations)
    values.push_back(Cat(operation, account, Mod11DvFrom8(Cat(loteHeader.substr(23, 4), operation, account))));
  return values;
}

// Layout 01: header 1, lote header 2, employees 3-4, statement lines 5-7,
// trailers 8-9. Layout 03: header 1, lote header 2, statement lines 3-5.
TEST(AllowedValues, Siemd) {
  const Lines clean01 = Example("siemd/remessa_siemd_layout01_ok.rem");
  const std::vector<AllowedValues> rows01 = {
      {"0.02 2", 1, 2, {"0", "1", "2"}},
      {"0.03 3-4", 1, 3, {"01", "02", "03", "04", "05"}},
      {"0.11 43-44", 1, 43, kMonths},
      {"1.02 2", 2, 2, {"0", "9"}},
      {"1.03 3", 2, 3, {"T", "D"}},
      {"1.07 29-31 with 1.08's digit", 2, 29, SiemdOperations(clean01[1], {"001", "002", "003", "006", "037"})},
      {"1.09 41-54 CPF or CNPJ", 2, 41, {kCpf, kCnpj}},
      {"2.02 2", 3, 2, {"1", "2", "3", "4"}},
      {"2.10 138", 3, 138, {"A", "N"}},
      {"3.06 131", 5, 131, {"+", "-"}},
      {"3.07 132", 5, 132, {"0", "1"}},
  };
  EXPECT_EQ(AllowedValueFindings(SIDEMRemessa1Click, clean01, rows01), Lines{});
  const Lines clean03 = Example("siemd/remessa_siemd_layout03_ok.rem");
  const std::vector<AllowedValues> rows03 = {
      {"pos(29,3)", 2, 29, SiemdOperations(clean03[1], {"000", "001", "002", "003", "006", "037"})},
      {"pos(2,1) of a statement line", 3, 2, {"1", "2", "3", "4"}},
  };
  EXPECT_EQ(AllowedValueFindings(SIEMDArqu1Click, clean03, rows03), Lines{});
}

// Bills: 1 (carteira 12, protest after 10 days), 2 (carteira 14, return after
// 30 days, drawer with CPF), 3 (carteira 11, drawer with CNPJ).
TEST(AllowedValues, CobCaixa) {
  const std::vector<AllowedValues> payers = {{"person type 106 (CNPJ)", 1, 106, {"J"}, {{1, 107, Pad(kCnpj, 20)}}}};
  EXPECT_EQ(AllowedValueFindings(Sacados1Click, Example("cobcaixa/sacados_ok.txt"), payers), Lines{});
  const std::vector<AllowedValues> bills = {
      {"Nosso Numero 31-41 (carteira 12)", 1, 31, {"00000000000"}},
      {"acceptance 46", 1, 46, {"S", "N"}},
      {"document kind 47-48", 1, 47, {"02", "04", "07", "12", "99"}},
      {"collection instruction 49 (term 10)", 1, 49, {"0", "1"}},
      {"drawer person type 189 (CNPJ)", 2, 189, {"2"}, {{2, 190, Pad(kCnpj, 20)}}},
      {"drawer CPF or CNPJ 190-209", 2, 190, {std::string(20, ' ')}},
  };
  std::vector<AllowedValues> bills233 = bills;
  bills233.push_back({"bill form 164", 1, 164, {"1", "2"}});
  bills233.push_back({"instalment 166-168", 1, 166, {"000", "001"}});
  const Lines clean = Example("cobcaixa/titulos_ok.txt");
  EXPECT_EQ(AllowedValueFindings(Ttulos1Click, clean, bills), Lines{});
  EXPECT_EQ(AllowedValueFindings(TtulosV2331Click, clean, bills233), Lines{});
}

// Union guides (type 1: 1 with CNPJ, 2 with CPF), utility bills (type 2),
// booklets (type 3).
TEST(AllowedValues, CapCaixa) {
  const std::vector<AllowedValues> union1 = {
      {"identification type 2", 1, 2, {"1"}, {{1, 3, kCpf}}},
      {"identification type 2", 1, 2, {"2", "3"}},
      {"value kind 91", 1, 91, {"6", "7"}},
      {"identification type 301", 1, 301, {" ", "1", "2", "3", "4"}},
  };
  EXPECT_EQ(AllowedValueFindings(CapcaixaImportaodeguias1Click, Example("capcaixa/guias_sindicais_ok.txt"), union1),
            Lines{});
  const std::vector<AllowedValues> utility2 = {{"value kind 234", 1, 234, {"6", "7"}}};
  EXPECT_EQ(AllowedValueFindings(CapcaixaImportaodeguias1Click, Example("capcaixa/concessionarias_ok.txt"), utility2),
            Lines{});
  const std::vector<AllowedValues> booklet3 = {{"value kind 209", 1, 209, {"6", "7"}}};
  EXPECT_EQ(AllowedValueFindings(CapcaixaImportaodeguias1Click, Example("capcaixa/carnes_ok.txt"), booklet3), Lines{});
}

// Header 1, lote header 2; P 3 (protest after 30 days) Q 4 R 5 S 6.
TEST(AllowedValues, Construgiro) {
  const std::vector<AllowedValues> rows = {
      {"header 18 (CPF)", 1, 18, {"1"}, {{1, 19, kCpf}}},
      {"lote header 18 (CPF)", 2, 18, {"1"}, {{2, 20, kCpf}}},
      {"lote header 104 buyer (CNPJ)", 2, 104, {"2"}, {{2, 106, kCnpj}}},
      {"lote header 140", 2, 140, {"1", "2", "3", "4", "5"}},
      {"lote header 141", 2, 141, {"1", "2", "3", "4", "5"}},
      {"lote header 162 subrogated contract (163-170 a date)", 2, 162, {"1"}, {{2, 163, "01012026"}}},
      {"P 118 late-interest code", 3, 118, {"1", "2", "3", "4"}},
      {"P 142 discount code", 3, 142, {"0", "1", "2"}},
      {"P 109", 3, 109, {"A", "N"}},
      {"P 221 protest flag (return flag 1)", 3, 221, {"3"}, {{3, 224, "1"}, {3, 225, "060"}}},
      {"P 224 return flag (protest flag 1)", 3, 224, {"2"}},
      {"P 238", 3, 238, {"1", "2", "3", "4", "5", "6"}},
      {"P 240", 3, 240, {"1", "2"}},
      {"Q 18 (CNPJ)", 4, 18, {"2"}, {{4, 20, kCnpj}}},
      {"Q 154 drawer type", 4, 154, {"1", "2"}},
      {"R 66 fine code", 5, 66, {"0", "1", "2"}},
      {"R 66 fine code, its date unread", 5, 66, {"0"}, {{5, 67, "XXXXXXXX"}}},
  };
  EXPECT_EQ(AllowedValueFindings(Construgiro1Click, testing::CleanConstrugiroFile().Lines(), rows), Lines{});
}

// The year windows follow today (06/12/2026, then 15/01/2031).
TEST(Limits, CompanyLayouts) {
  using testing::Limit;
  const std::string day{"Reg:3 Erro na posição 151, dia inválido."_cp},
      gps{"Reg:8 Ano no campo MêsAno parece errado.."_cp};
  const std::vector<Limit> siacc = {
      {"A 151-152 instalment day", 3, 151, "01", "00", day, {{3, 147, "02"}}},
      {"A 151-152 instalment day", 3, 151, "31", "32", day, {{3, 147, "02"}}},
      {"A 218-219 DOC purpose (document 700)", 5, 218, "11", "12", "Reg:5 Finalidade DOC:12 inválido !!"_cp},
      {"N 137-140 GPS year", 8, 137, "2018", "2017", gps},
      {"N 137-140 GPS year", 8, 137, "2030", "2031", gps},
  };
  const Lines siaccFile = Example("siacc/remessa_siacc_ok.rem");
  EXPECT_EQ(LimitFaults(CaixaProgramado1Click, siaccFile, siacc), Lines{});
  EXPECT_EQ(LimitFaults(CaixaProgramado1Click, siaccFile, {{"N 137-140 GPS year", 8, 137, "2032", "2033", gps}},
                        {2031, 1, 15}),
            Lines{});
  const std::string year{"Linha 1 Ano inválido no campo 0.10"_cp};
  const std::vector<Limit> siemd = {
      {"0.10 39-42", 1, 39, "2010", "2009", year},
      {"0.10 39-42", 1, 39, "2027", "2028", year},
  };
  EXPECT_EQ(LimitFaults(SIDEMRemessa1Click, Example("siemd/remessa_siemd_layout01_ok.rem"), siemd), Lines{});
  const std::string union79{"Linha 1 - Exercício inválido da posição 79 até a 82"_cp},
      utility87{"Linha 1 - Exercício inválido da posição 87 até a 90"_cp};
  const std::vector<Limit> unionGuides = {
      {"fiscal year 79-82", 1, 79, "2000", "1999", union79},
      {"fiscal year 79-82", 1, 79, "2027", "2028", union79},
  };
  const std::vector<Limit> utilityBills = {
      {"fiscal year 87-90", 1, 87, "2000", "1999", utility87},
      {"fiscal year 87-90", 1, 87, "2027", "2028", utility87},
  };
  EXPECT_EQ(LimitFaults(CapcaixaImportaodeguias1Click, Example("capcaixa/guias_sindicais_ok.txt"), unionGuides),
            Lines{});
  EXPECT_EQ(LimitFaults(CapcaixaImportaodeguias1Click, Example("capcaixa/concessionarias_ok.txt"), utilityBills),
            Lines{});
  const std::string protest{"Linha 1 - Prazo de protesto inválido"_cp},
      giveBack{"Linha 2 - Prazo de devolução inválido"_cp};
  const std::vector<Limit> bills = {
      {"protest term 50-53", 1, 50, "0002", "0001", protest},
      {"protest term 50-53", 1, 50, "0090", "0091", protest},
      {"return term 50-53", 2, 50, "0005", "0004", giveBack},
      {"return term 50-53", 2, 50, "0090", "0091", giveBack},
  };
  EXPECT_EQ(LimitFaults(Ttulos1Click, Example("cobcaixa/titulos_ok.txt"), bills), Lines{});
  const std::string protestP{"Linha 3  Prazo de protesto inválido"_cp},
      giveBackP{"Linha 11  Prazo de devolução inválido"_cp};
  const std::vector<Limit> construgiro = {
      {"P 222-223 protest term", 3, 222, "02", "01", protestP},
      {"P 222-223 protest term", 3, 222, "90", "91", protestP},
      {"P 225-227 return term", 11, 225, "005", "004", giveBackP},
      {"P 225-227 return term", 11, 225, "090", "091", giveBackP},
  };
  EXPECT_EQ(LimitFaults(Construgiro1Click, testing::CleanConstrugiroFile().Lines(), construgiro), Lines{});
}

// Every entry of the lote header's three description tables, and the word
// for a value none of them holds.
TEST(LookupTables, SiaccLoteHeaderDescriptions) {
  const struct {
    std::size_t pos;
    std::string value;
    testing::LineText line;
  } cases[] = {
      {39, "01", "Tipo compromisso:Pagamento a fornecedor"},
      {39, "02", "Tipo compromisso:Pagamento de salários"_cp},
      {39, "03", "Tipo compromisso:AutoPagamento"},
      {39, "06", "Tipo compromisso:Salário CAIXA/Trabalhador"_cp},
      {39, "11", "Tipo compromisso:Débito em conta"_cp},
      {39, "04", "Tipo compromisso:Inválido !!"_cp},
      {10, "00", "Tipo de serviço: Optantes"_cp},
      {10, "05", "Tipo de serviço: Déb/Rec"_cp},
      {10, "10", "Tipo de serviço: Pagamento Dividendos"_cp},
      {10, "20", "Tipo de serviço: Pagamento fornecedor"_cp},
      {10, "30", "Tipo de serviço: Pagamento salários"_cp},
      {10, "50", "Tipo de serviço: Pagamento sin seg"_cp},
      {10, "60", "Tipo de serviço: Pagamento desp viaj trans"_cp},
      {10, "70", "Tipo de serviço: Pagamento autor"_cp},
      {10, "75", "Tipo de serviço: Pagamento credenciados"_cp},
      {10, "80", "Tipo de serviço: Pagamento repres."_cp},
      {10, "90", "Tipo de serviço: Pagamento beneficios"_cp},
      {10, "98", "Tipo de serviço: Pagamento diversos"_cp},
      {10, "99", "Tipo de serviço: Inválido"_cp},
      {12, "01", "Forma de lançam: Crédito em C/C"_cp},
      {12, "02", "Forma de lançam: CH pag/adm"_cp},
      {12, "03", "Forma de lançam: DOC"_cp},
      {12, "05", "Forma de lançam: Crédito poupança"_cp},
      {12, "10", "Forma de lançam: OP à disp"_cp},
      {12, "11", "Forma de lançam: Pag de Cta e Trib com Cód Barras"_cp},
      {12, "16", "Forma de lançam: Pag DARF sem Cód Barras"_cp},
      {12, "17", "Forma de lançam: Pag GPS sem Cód Barras"_cp},
      {12, "30", "Forma de lançam: Liq tit próprio banco"_cp},
      {12, "31", "Forma de lançam: Pag tit outro banco"_cp},
      {12, "41", "Forma de lançam: TED"_cp},
      {12, "43", "Forma de lançam: TED MTitularidade"_cp},
      {12, "50", "Forma de lançam: Déb C/C - Rec"_cp},
      {12, "04", "Forma de lançam: Inválida"_cp},
  };
  const Lines clean = Example("siacc/remessa_siacc_ok.rem");
  for (const auto& c : cases) {
    const Lines report = testing::RunWith(CaixaProgramado1Click, clean, {{2, c.pos, c.value}}).report;
    EXPECT_NE(std::find(report.begin(), report.end(), std::string(c.line)), report.end()) << c.pos << " " << c.value;
  }
}

}  // namespace
}  // namespace verilote
