#include "barcodes/collection.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/report.hpp"
#include "barcodes/collection_builders.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::Collection;
using testing::FakeHost;
using testing::MessageLines;
using testing::Redigit;
using testing::With;

using Lines = std::vector<std::string>;

// Lines from texts of either kind (the _cp literals are views).
Lines L(std::initializer_list<std::string_view> texts) { return Lines(texts.begin(), texts.end()); }

struct Shown {
  Outcome outcome;
  std::vector<std::string> lines;  // of the one message box, empty when none
};

Shown RunBarcode(Handler command, const std::string& barcode) {
  FakeHost host;
  host.answers.push_back(barcode);
  const Outcome outcome = RunCommand(command, host);
  EXPECT_LE(host.messages.size(), 1u);
  EXPECT_TRUE(host.report.empty()) << "these commands answer in a message box";
  return {outcome, host.messages.empty() ? std::vector<std::string>{} : MessageLines(host.messages[0])};
}

// ---- The check digits, against the bank's description.

TEST(CollectionDv, AgreesWithTheBankRulesForEveryValueIdentifier) {
  std::mt19937 random(7);
  for (const char id : {'6', '7', '8', '9'}) {
    for (int i = 0; i < 500; ++i) {
      std::string body(40, '0');
      for (char& c : body) c = static_cast<char>('0' + random() % 10);
      const std::string valid = Collection('1' + static_cast<char>(i % 9), id, body);
      EXPECT_TRUE(HasValidCollectionDv(valid)) << valid;
      EXPECT_EQ(SetCollectionDv(valid), valid);
      for (char wrong = '0'; wrong <= '9'; ++wrong) {
        if (wrong == valid[3]) continue;
        const std::string broken = With(valid, 4, std::string(1, wrong));
        EXPECT_FALSE(HasValidCollectionDv(broken)) << broken;
        EXPECT_EQ(SetCollectionDv(broken), valid);
      }
    }
  }
}

TEST(CollectionDv, ModuloElevenRemaindersZeroOneAndTen) {
  // Weights 2..9 from the right over 43 digits; found by search in the test's
  // own rule, checked to hit each special remainder.
  int seen[11] = {};
  std::mt19937 random(11);
  for (int i = 0; i < 2000; ++i) {
    std::string body(40, '0');
    for (char& c : body) c = static_cast<char>('0' + random() % 10);
    const std::string b = Collection('5', '8', body);
    std::string covered = b.substr(0, 3) + b.substr(4);
    int total = 0, weight = 2;
    for (auto it = covered.rbegin(); it != covered.rend(); ++it) {
      total += (*it - '0') * weight;
      weight = weight == 9 ? 2 : weight + 1;
    }
    const int r = total % 11;
    ++seen[r];
    EXPECT_EQ(b[3], r == 0 || r == 1 ? '0' : r == 10 ? '1' : static_cast<char>('0' + 11 - r));
    EXPECT_TRUE(HasValidCollectionDv(b));
  }
  EXPECT_GT(seen[0], 0);
  EXPECT_GT(seen[1], 0);
  EXPECT_GT(seen[10], 0);
}

TEST(CollectionDv, ShortOrNonDigitBarcodeFailsTheConversion) {
  const std::string valid = Collection('1', '6', std::string(40, '1'));
  EXPECT_THROW(HasValidCollectionDv(valid.substr(0, 43)), ConversionError);
  EXPECT_THROW(HasValidCollectionDv(With(valid, 30, "A")), ConversionError);
  EXPECT_THROW(HasValidCollectionDv(With(valid, 4, " ")), ConversionError);
  EXPECT_THROW(SetCollectionDv(""), ConversionError);
}

TEST(CollectionIdentification, ByLengthOfTheSignificantDigits) {
  EXPECT_EQ(PayerIdentification("12345678"), "OUTROS 12345678");
  EXPECT_EQ(PayerIdentification("0"), "OUTROS 0");
  EXPECT_EQ(PayerIdentification("123456789"), "CPF 123.456.789-09");
  EXPECT_EQ(PayerIdentification("112223330001"), "CGC 11.222.333/0001-81");
  EXPECT_EQ(PayerIdentification("1234567890"), "");
  EXPECT_EQ(PayerIdentification("12345678901"), "");
  EXPECT_EQ(PayerIdentification("1234567890123"), "");
}

// ---- Segments 1 to 5.

// Value 123,45; FEBRABAN code 0123; no due date (24-26 not "200"); payer
// 000012345678 at 28-39; free field 99887 at 40-44.
const std::string kSegmentBody =
    "00000012345"
    "0123"
    "0000"
    "0000"
    "000012345678"
    "99887";

struct SegmentCase {
  Handler command;
  char segment;
  std::string_view name, wrong;
};

const SegmentCase kSegmentCases[] = {
    {CdigodebarrasCapCaixaTipo21Click, '1', "PREFEITURAS", "SEGMENTO INVÁLIDO DEVERIA SER DE 1"_cp},
    {CdigoBarrasconcessionriassaneamento1Click, '2', "SANEAMENTO", "SEGMENTO INVÁLIDO DEVERIA SER DE 2"_cp},
    {CdigoBarrasconcessionriasEnergiaeGs1Click, '3', "ENERGIA E GÁS"_cp, "SEGMENTO INVÁLIDO DEVERIA SER DE 3"_cp},
    {CdigoBarrasconcessionriastelecomunicaes1Click, '4', "TELECOMUNICAÇÕES"_cp,
     "SEGMENTO INVÁLIDO DEVERIA SER DE 4"_cp},
    {CdigoBarrasTributosimpostostaxasOrgosGovernamentais1Click, '5', "ORGÃOS GOVERNAMENTAIS"_cp,
     "SEGMENTO INVÁLIDO DEVERIA SER DE 5"_cp},
};

std::vector<std::string> SegmentMessage(std::string_view first, std::string_view currency, std::string_view due,
                                        std::string_view payer, std::string_view identification, Lines errors) {
  Lines lines =
      L({first, "CÓD FEBRABAN = 0123"_cp, currency, "Valor da guia: 123,45", due,
         Cat("Identificação do contribuinte:"_cp, payer), identification, "Conteúdo do campo livre:99887"_cp});
  lines.insert(lines.end(), errors.begin(), errors.end());
  lines.emplace_back("Confirme se o código FEBRABAN está correto."_cp);
  return lines;
}

const Lines kNoErrors = L({"Não existem erros nas posições fixas."_cp, "Confira os outros dados."});
const std::string kOutros(Cat("Identificação do contribuinte é OUTROS 12345678"_cp));

TEST(CollectionSegments, ValidBarcodesOfEachSegmentAndValueIdentifier) {
  for (const SegmentCase& c : kSegmentCases) {
    for (const char id : {'6', '7'}) {
      const Shown shown = RunBarcode(c.command, Collection(c.segment, id, kSegmentBody));
      EXPECT_EQ(shown.outcome.status, Outcome::Status::Clean) << c.name;
      EXPECT_EQ(shown.lines, SegmentMessage(c.name, id == '6' ? "MOEDA: FIXA" : "MOEDA: VARIÁVEL"_cp, "",
                                            "000012345678", kOutros, kNoErrors))
          << c.name << id;
    }
    // Identifiers 8 and 9 carry a modulo-11 digit: only the identifier test
    // fails, the check digit is right.
    for (const char id : {'8', '9'}) {
      const Shown shown = RunBarcode(c.command, Collection(c.segment, id, kSegmentBody));
      EXPECT_EQ(shown.outcome.status, Outcome::Status::Faulty);
      EXPECT_EQ(shown.lines,
                SegmentMessage(c.name, "", "", "000012345678", kOutros, L({"Posição 3 não é 6 ou 7 "_cp, ""})));
    }
    // Another segment's barcode: the segment line says so.
    const char other = c.segment == '1' ? '2' : '1';
    const Shown shown = RunBarcode(c.command, Collection(other, '6', kSegmentBody));
    EXPECT_EQ(shown.outcome.status, Outcome::Status::Faulty);
    EXPECT_EQ(shown.lines.front(), c.wrong);
    EXPECT_EQ(shown.lines[8], "Não existem erros nas posições fixas."_cp);
  }
}

TEST(CollectionSegments, EachCorruptionGivesItsMessage) {
  const std::string valid = Collection('1', '6', kSegmentBody);
  struct Case {
    std::string barcode;
    Lines errors;  // the lines between free field and closing line
  };
  const std::string dated = Collection('1', '6',
                                       "00000012345"
                                       "0123"
                                       "0000"
                                       "20031231"
                                       "12345678"
                                       "99887");
  const Case cases[] = {
      {Redigit(With(valid, 1, "7")), L({"Posição 1  não é 8 "_cp, ""})},
      {With(valid, 4, valid[3] == '9' ? "0" : "9"), L({"DÍGITO DO CÓDIGO DE BARRAS INVÁLIDO !!! "_cp, ""})},
      {Redigit(With(valid, 3, "5")), L({"Posição 3 não é 6 ou 7 "_cp, ""})},
      // A modulo-10 digit on an identifier-8 barcode is wrong.
      {With(valid, 3, "8"), L({"DÍGITO DO CÓDIGO DE BARRAS INVÁLIDO !!! "_cp, "Posição 3 não é 6 ou 7 "_cp, ""})},
      {Redigit(With(dated, 24, "2005")), L({" O ano de vencimento está inválido "_cp, ""})},
      {Redigit(With(dated, 28, "00")), L({" O mês de vencimento está inválido "_cp, ""})},
      {Redigit(With(dated, 30, "32")), L({" O dia de vencimento está inválido "_cp, ""})},
      {Redigit(With(dated, 24, "20090000")),
       L({" O ano de vencimento está inválido "_cp, " O mês de vencimento está inválido "_cp,
          " O dia de vencimento está inválido "_cp, ""})},
  };
  for (const Case& c : cases) {
    const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo21Click, c.barcode);
    EXPECT_EQ(shown.outcome.status, Outcome::Status::Faulty) << c.barcode;
    ASSERT_EQ(shown.lines.size(), 9 + c.errors.size()) << c.barcode;
    EXPECT_EQ(std::vector<std::string>(shown.lines.begin() + 8, shown.lines.end() - 1), c.errors) << c.barcode;
  }
}

TEST(CollectionSegments, PositionOneAndCheckDigitTogetherShowOnlyTheCheckDigit) {
  const std::string broken = With(Collection('1', '6', kSegmentBody), 1, "7");
  const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo21Click, broken);
  EXPECT_EQ(shown.lines, SegmentMessage("PREFEITURAS", "MOEDA: FIXA", "", "000012345678", kOutros,
                                        L({"DÍGITO DO CÓDIGO DE BARRAS INVÁLIDO !!! "_cp, ""})));
}

TEST(CollectionSegments, MonthThirteenIsShownAsRead) {
  // 24-31 "20031301": year 2003, month 13, day 01; the payer digits 28-39 are
  // then 130112345678, a CNPJ base (check digits 10).
  const std::string b = Collection('1', '6',
                                   "00000012345"
                                   "0123"
                                   "0000"
                                   "20031301"
                                   "12345678"
                                   "99887");
  const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo21Click, b);
  EXPECT_EQ(shown.outcome.status, Outcome::Status::Faulty);
  EXPECT_EQ(shown.lines, SegmentMessage("PREFEITURAS", "MOEDA: FIXA", "Vencimento:01/13/2003", "130112345678",
                                        "Identificação do contribuinte é CGC 13.011.234/5678-10"_cp,
                                        L({" O mês de vencimento está inválido "_cp, ""})));
}

TEST(CollectionSegments, CpfBaseOfNineSignificantDigits) {
  const std::string b = Collection('3', '7',
                                   "00000012345"
                                   "0123"
                                   "0000"
                                   "0000"
                                   "000123456789"
                                   "99887");
  const Shown shown = RunBarcode(CdigoBarrasconcessionriasEnergiaeGs1Click, b);
  EXPECT_EQ(shown.lines[6], "Identificação do contribuinte é CPF 123.456.789-09"_cp);
  EXPECT_EQ(shown.lines[5], "Identificação do contribuinte:000123456789"_cp);
}

TEST(CollectionSegments, NonDigitOrShortBarcodeEndsWithTheConversionError) {
  const std::string valid = Collection('1', '6', kSegmentBody);
  for (const std::string& b : {With(valid, 20, "x"), valid.substr(0, 40), std::string()}) {
    const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo21Click, b);
    EXPECT_EQ(shown.outcome.status, Outcome::Status::Aborted) << b;
    EXPECT_TRUE(shown.lines.empty());
  }
  const std::string dated = Collection('1', '6',
                                       "00000012345"
                                       "0123"
                                       "0000"
                                       "200 1231"
                                       "12345678"
                                       "99887");
  EXPECT_EQ(RunBarcode(CdigodebarrasCapCaixaTipo21Click, dated).outcome.status, Outcome::Status::Aborted);
}

// ---- Segment 6, booklets.

TEST(CollectionBooklets, ValidBarcodeAndItsMessage) {
  // Agreement 12345678 at 16-23, due date 29/02/2004 at 24-31, payer
  // 0001234567890 at 32-44: stripped of zeros at both ends a CPF base.
  const std::string b = Collection('6', '7',
                                   "00000000005"
                                   "12345678"
                                   "20040229"
                                   "0001234567890");
  const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo31Click, b);
  EXPECT_EQ(shown.outcome.status, Outcome::Status::Clean);
  const std::vector<std::string> expected =
      L({"SEGMENTO 6 - CARNÊS E ASSEMELHADOS"_cp, "Início do CGC convenente= 12.345.678/"_cp, "MOEDA: VARIÁVEL"_cp,
         "Valor da guia: 0,05", "Código do Convênio:12345678"_cp, "Vencimento:29/02/2004",
         "Identificação do contribuinte:000123456789"_cp, "Identificação Provavelmente é CPF 123.456.789-09"_cp,
         "Conteúdo do campo livre:67890"_cp, "Não existem erros nas posições fixas."_cp,
         "Verifique a veracidade das informações acima."_cp});
  EXPECT_EQ(shown.lines, expected);
}

TEST(CollectionBooklets, WrongSegmentAndFixedPositions) {
  const std::string valid = Collection('6', '6',
                                       "00000000005"
                                       "12345678"
                                       "00000000"
                                       "0001234567890");
  Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo31Click, Redigit(With(valid, 2, "5")));
  EXPECT_EQ(shown.lines.front(), "SEGMENTO INVÁLIDO, DEVERIA SER 6 "_cp);
  EXPECT_EQ(shown.outcome.status, Outcome::Status::Faulty);
  shown = RunBarcode(CdigodebarrasCapCaixaTipo31Click, Redigit(With(valid, 1, "9")));
  EXPECT_EQ(shown.lines[9], "Posição 1  não é 8 "_cp);
  EXPECT_EQ(shown.lines[10], "");
  EXPECT_EQ(shown.lines[5], "") << "no due date without 200 at 24-26";
}

// ---- Segment 9, exclusive to CAIXA.

// Bank 0104 at 16-19, agreement 9876 at 20-23, payer 00000042 at 32-39.
std::string Caixa(std::string_view from24To31) {
  return Collection('9', '6',
                    "00000100000"
                    "0104"
                    "9876" +
                        std::string(from24To31) +
                        "00000042"
                        "55555");
}

std::vector<std::string> CaixaMessage(std::string_view due, Lines errors) {
  Lines lines = L({"SEGMENTO 9 - EXCLUSIVO CAIXA", "MOEDA: FIXA", "Valor da guia: 1.000,00",
                   "Código do Convênio:9876"_cp, due, "Identificação do contribuinte:00000042"_cp,
                   "Identificação Provavelmente é OUTROS 42"_cp, "Conteúdo do campo livre:55555"_cp});
  lines.insert(lines.end(), errors.begin(), errors.end());
  return lines;
}

TEST(CollectionCaixa, NoErrorWithoutDueDateLeavesTheErrorLineEmpty) {
  const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo3Caixa1Click, Caixa("12345678"));
  EXPECT_EQ(shown.outcome.status, Outcome::Status::Clean);
  EXPECT_EQ(shown.lines, CaixaMessage("", {""}));
}

TEST(CollectionCaixa, NoErrorWithDueDateShowsTheNoErrorText) {
  const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo3Caixa1Click, Caixa("20011015"));
  EXPECT_EQ(shown.lines, CaixaMessage("Vencimento:15/10/2001", L({"Não existem erros nas posições fixas."_cp})));
}

TEST(CollectionCaixa, FixedTestsReplaceEachOther) {
  const std::string valid = Caixa("12345678");
  // Bank test after the position-1 test: only the bank message stays.
  Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo3Caixa1Click, Redigit(With(With(valid, 1, "7"), 16, "0105")));
  EXPECT_EQ(shown.lines, CaixaMessage("", L({"Posições 16  não tem 0104 "_cp, ""})));
  EXPECT_EQ(shown.outcome.status, Outcome::Status::Faulty);
  shown = RunBarcode(CdigodebarrasCapCaixaTipo3Caixa1Click, With(valid, 16, "0105"));
  EXPECT_EQ(shown.lines, CaixaMessage("", L({"DÍGITO DO CÓDIGO DE BARRAS INVÁLIDO !!! "_cp, ""})));
  shown = RunBarcode(CdigodebarrasCapCaixaTipo3Caixa1Click, Redigit(With(valid, 2, "1")));
  EXPECT_EQ(shown.lines.front(), "SEGMENTO INVÁLIDO. DEVERIA SER 9 "_cp);
}

// ---- Union dues.

// "85", agreement 0067, entity 3 (union), code 12345, due 05/2008, payer
// 0000123456789.
std::string UnionDues(char entity = '3', std::string_view code = "12345", std::string_view due = "200805") {
  return Collection('5', '6',
                    "00000002500"
                    "0067" +
                        std::string(1, entity) + std::string(code) + std::string(due) + "0000123456789");
}

TEST(CollectionUnionDues, ValidBarcodeAndItsMessage) {
  const Shown shown = RunBarcode(ValidaCdigodebarrasCapCaixa1Click, UnionDues());
  EXPECT_EQ(shown.outcome.status, Outcome::Status::Clean);
  const std::vector<std::string> expected =
      L({"SINDICATO", "MOEDA: FIXA", "Valor da guia: 25,00", "Código do Convênio:12345"_cp, "Vencimento:05/2008",
         "Identificação do contribuinte:0000123456789"_cp, "Identificação Provavelmente é CPF 123.456.789-09"_cp,
         "Não existem erros nas posições fixas."_cp});
  EXPECT_EQ(shown.lines, expected);
  EXPECT_EQ(RunBarcode(ValidaCdigodebarrasCapCaixa1Click, UnionDues('1')).lines.front(), "CEES E CONFEDERAÇÃO"_cp);
  EXPECT_EQ(RunBarcode(ValidaCdigodebarrasCapCaixa1Click, UnionDues('2')).lines.front(), "FEDERAÇÃO"_cp);
}

TEST(CollectionUnionDues, EachCorruptionGivesItsMessage) {
  const std::string valid = UnionDues();
  struct Case {
    std::string barcode;
    Lines errors;
  };
  const Case cases[] = {
      {Redigit(With(valid, 2, "4")), L({"Posições 1 e 2 não é 85 "_cp, ""})},
      {Redigit(With(valid, 16, "0068")), L({"Posições 16 a 19 não é 0067 "_cp, ""})},
      {Redigit(With(valid, 3, "0")), L({"Posição 3 não é 6 ou 7 "_cp, ""})},
      {UnionDues('4'), L({"Posição 20 não é 1, 2 ou 3 "_cp, ""})},
      {UnionDues('3', "12345", "201105"), L({" O ano de vencimento está inválido "_cp, ""})},
      {UnionDues('3', "12345", "200813"), L({" O mês de vencimento está inválido "_cp, ""})},
      {With(valid, 4, valid[3] == '0' ? "1" : "0"), L({"DÍGITO DO CÓDIGO DE BARRAS INVÁLIDO !!! "_cp, ""})},
      {With(Redigit(With(valid, 16, "0068")), 4, "x"), {}},
  };
  for (const Case& c : cases) {
    const Shown shown = RunBarcode(ValidaCdigodebarrasCapCaixa1Click, c.barcode);
    if (c.errors.empty()) {
      EXPECT_EQ(shown.outcome.status, Outcome::Status::Aborted);
      continue;
    }
    EXPECT_EQ(shown.outcome.status, Outcome::Status::Faulty) << c.barcode;
    ASSERT_EQ(shown.lines.size(), 7 + c.errors.size()) << c.barcode;
    EXPECT_EQ(std::vector<std::string>(shown.lines.begin() + 7, shown.lines.end()), c.errors) << c.barcode;
  }
  EXPECT_EQ(RunBarcode(ValidaCdigodebarrasCapCaixa1Click, UnionDues('9')).lines.front(), "");
  EXPECT_EQ(RunBarcode(ValidaCdigodebarrasCapCaixa1Click, With(valid, 20, "-")).outcome.status,
            Outcome::Status::Aborted);
}

// ---- One 12-digit block.

TEST(CollectionBlock, CheckDigitOfOneBlock) {
  const struct {
    std::string block;
    bool valid;
  } cases[] = {
      {"817700000000", true},   // 8x2=16 -> 7, 1, 7x2=14 -> 5, 7: total 20, digit 0
      {"817700000001", false},  //
      {"012345678903", true},   // 0 1 2 3 4 5 6 7 8 9 0 weighted from the right
      {"012345678904", false}, {"000000000000", true},
  };
  for (const auto& c : cases) {
    FakeHost host;
    host.answers.push_back(c.block);
    EXPECT_EQ(RunCommand(Cdigodebarras12posies1Click, host).status,
              c.valid ? Outcome::Status::Clean : Outcome::Status::Faulty);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], c.valid ? "DV correto." : "Dígito verificador INVÁLIDO !!!!!"_cp) << c.block;
    EXPECT_EQ(host.prompts[0].prompt, "Digite o Código de Barras"_cp);
  }
  FakeHost host;
  host.answers.push_back("01234");
  EXPECT_EQ(RunCommand(Cdigodebarras12posies1Click, host).status, Outcome::Status::Aborted);
  EXPECT_TRUE(host.messages.empty());
}

TEST(CollectionPrompts, BarcodeIsAskedOnce) {
  FakeHost host;
  host.answers.push_back(UnionDues());
  RunCommand(ValidaCdigodebarrasCapCaixa1Click, host);
  ASSERT_EQ(host.prompts.size(), 1u);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Passe o leitor no Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].defaultText, "");
}

}  // namespace
}  // namespace verilote
