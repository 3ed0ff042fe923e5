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
using Lines = std::vector<std::string>;
using testing::Redigit;
using testing::With;

struct Shown {
  Outcome::Status status;
  Lines lines;  // of the one message box, empty when none
};

Shown RunBarcode(Handler command, const std::string& barcode) {
  FakeHost host;
  host.answers.push_back(barcode);
  const Outcome outcome = RunCommand(command, host);
  EXPECT_LE(host.messages.size(), 1u);
  EXPECT_TRUE(host.report.empty()) << "these commands answer in a message box";
  return {outcome.status, host.messages.empty() ? Lines{} : testing::MessageLines(host.messages[0])};
}

// The lines from `from` up to the closing ones (`closing` of them).
Lines Between(const Lines& lines, std::size_t from, std::size_t closing) {
  if (lines.size() < from + closing) return {"(too short)"};
  return Lines(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end() - static_cast<std::ptrdiff_t>(closing));
}

// ---- The check digits, against the bank's description.

TEST(CollectionDv, AgreesWithTheBankRulesForEveryValueIdentifier) {
  std::mt19937 random(7);
  int remainders[11] = {};
  for (const char id : {'6', '7', '8', '9'}) {
    for (int i = 0; i < 500; ++i) {
      std::string body(40, '0');
      for (char& c : body) c = static_cast<char>('0' + random() % 10);
      const std::string valid = Collection('1' + static_cast<char>(i % 9), id, body);
      if (id >= '8') ++remainders[testing::WeightedSum2To9(valid.substr(0, 3) + valid.substr(4)) % 11];
      EXPECT_TRUE(HasValidCollectionDv(valid)) << valid;
      EXPECT_EQ(SetCollectionDv(valid), valid);
      for (char wrong = '0'; wrong <= '9'; ++wrong) {
        if (wrong == valid[3]) continue;
        const std::string broken = With(valid, 4, wrong);
        EXPECT_FALSE(HasValidCollectionDv(broken)) << broken;
        EXPECT_EQ(SetCollectionDv(broken), valid);
      }
    }
  }
  // The modulo-11 special remainders 0, 1 and 10 were all met.
  EXPECT_TRUE(remainders[0] > 0 && remainders[1] > 0 && remainders[10] > 0);
}

TEST(CollectionDv, ShortOrNonDigitBarcodeFailsTheConversion) {
  const std::string valid = Collection('1', '6', std::string(40, '1'));
  for (const std::string& b : {valid.substr(0, 43), With(valid, 30, 'A'), With(valid, 4, ' ')})
    EXPECT_THROW(HasValidCollectionDv(b), ConversionError) << b;
  EXPECT_THROW(SetCollectionDv(""), ConversionError);
}

TEST(CollectionIdentification, ByLengthOfTheSignificantDigits) {
  const std::pair<std::string_view, std::string_view> cases[] = {{"12345678", "OUTROS 12345678"},
                                                                 {"0", "OUTROS 0"},
                                                                 {"123456789", "CPF 123.456.789-09"},
                                                                 {"112223330001", "CGC 11.222.333/0001-81"},
                                                                 {"1234567890", ""},
                                                                 {"12345678901", ""},
                                                                 {"1234567890123", ""}};
  for (const auto& [digits, shown] : cases) EXPECT_EQ(PayerIdentification(digits), shown) << digits;
}

// ---- Segments 1 to 5.

// Value 123,45; FEBRABAN code 0123 at 16-19; 24-31 given (no due date unless
// they start "200"); payer at 28-39; free field 99887 at 40-44.
std::string Segment(char segment = '1', char id = '6', std::string_view from24 = "00000000") {
  return Collection(segment, id, Cat("00000012345", "0123", "0000", from24, "12345678", "99887"));
}

const struct {
  Handler command;
  char segment;
  std::string_view name;
} kSegmentCases[] = {
    {CdigodebarrasCapCaixaTipo21Click, '1', "PREFEITURAS"},
    {CdigoBarrasconcessionriassaneamento1Click, '2', "SANEAMENTO"},
    {CdigoBarrasconcessionriasEnergiaeGs1Click, '3', "ENERGIA E GÁS"_cp},
    {CdigoBarrasconcessionriastelecomunicaes1Click, '4', "TELECOMUNICAÇÕES"_cp},
    {CdigoBarrasTributosimpostostaxasOrgosGovernamentais1Click, '5', "ORGÃOS GOVERNAMENTAIS"_cp},
};

Lines SegmentMessage(std::string_view first, std::string_view currency, std::string_view due, std::string_view payer,
                     std::string_view identification, const Lines& errors) {
  Lines lines = testing::Lines({first, "CÓD FEBRABAN = 0123"_cp, currency, "Valor da guia: 123,45", due,
                                Cat("Identificação do contribuinte:"_cp, payer), identification,
                                "Conteúdo do campo livre:99887"_cp});
  lines.insert(lines.end(), errors.begin(), errors.end());
  lines.emplace_back("Confirme se o código FEBRABAN está correto."_cp);
  return lines;
}

const std::string kOutros("Identificação do contribuinte é OUTROS 12345678"_cp);

TEST(CollectionSegments, ValidBarcodesOfEachSegmentAndValueIdentifier) {
  for (const auto& c : kSegmentCases) {
    for (const char id : {'6', '7', '8', '9'}) {
      const Shown shown = RunBarcode(c.command, Segment(c.segment, id));
      // Identifiers 8 and 9 carry a right modulo-11 digit: only the identifier test fails.
      const bool fixed = id <= '7';
      EXPECT_EQ(shown.status, fixed ? Outcome::Status::Clean : Outcome::Status::Faulty) << c.name << id;
      EXPECT_EQ(shown.lines, SegmentMessage(c.name,
                                            id == '6'   ? "MOEDA: FIXA"
                                            : id == '7' ? "MOEDA: VARIÁVEL"_cp
                                                        : "",
                                            "", "000012345678", kOutros,
                                            fixed ? testing::Lines({"Não existem erros nas posições fixas."_cp,
                                                                    "Confira os outros dados."})
                                                  : testing::Lines({"Posição 3 não é 6 ou 7 "_cp, ""})))
          << c.name << id;
    }
    // Another segment's barcode: the segment line says so.
    const Shown shown = RunBarcode(c.command, Segment(c.segment == '1' ? '2' : '1'));
    EXPECT_EQ(shown.status, Outcome::Status::Faulty);
    EXPECT_EQ(shown.lines.front(), Cat("SEGMENTO INVÁLIDO DEVERIA SER DE "_cp, c.segment));
    EXPECT_EQ(shown.lines.at(8), "Não existem erros nas posições fixas."_cp);
  }
}

TEST(CollectionSegments, EachCorruptionGivesItsMessage) {
  const std::string valid = Segment(), dated = Segment('1', '6', "20031231");
  const struct {
    std::string barcode;
    Lines errors;  // the lines between free field and closing line
  } cases[] = {
      {Redigit(With(valid, 1, "7")), testing::Lines({"Posição 1  não é 8 "_cp, ""})},
      // With position 1 wrong, the check digit's message replaces its own.
      {With(valid, 1, "7"), testing::Lines({"DÍGITO DO CÓDIGO DE BARRAS INVÁLIDO !!! "_cp, ""})},
      {With(valid, 4, testing::Other(valid[3])), testing::Lines({"DÍGITO DO CÓDIGO DE BARRAS INVÁLIDO !!! "_cp, ""})},
      {Redigit(With(valid, 3, "5")), testing::Lines({"Posição 3 não é 6 ou 7 "_cp, ""})},
      // A modulo-10 digit on an identifier-8 barcode is wrong.
      {With(valid, 3, "8"),
       testing::Lines({"DÍGITO DO CÓDIGO DE BARRAS INVÁLIDO !!! "_cp, "Posição 3 não é 6 ou 7 "_cp, ""})},
      {Redigit(With(dated, 24, "2005")), testing::Lines({" O ano de vencimento está inválido "_cp, ""})},
      {Redigit(With(dated, 28, "00")), testing::Lines({" O mês de vencimento está inválido "_cp, ""})},
      {Redigit(With(dated, 30, "32")), testing::Lines({" O dia de vencimento está inválido "_cp, ""})},
      {Redigit(With(dated, 24, "20090000")),
       testing::Lines({" O ano de vencimento está inválido "_cp, " O mês de vencimento está inválido "_cp,
                       " O dia de vencimento está inválido "_cp, ""})},
  };
  for (const auto& c : cases) {
    const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo21Click, c.barcode);
    EXPECT_EQ(shown.status, Outcome::Status::Faulty) << c.barcode;
    EXPECT_EQ(Between(shown.lines, 8, 1), c.errors) << c.barcode;
  }
}

TEST(CollectionSegments, MonthThirteenIsShownAsRead) {
  // 24-31 "20031301": year 2003, month 13, day 01; the payer digits 28-39 are
  // then 130112345678, a CNPJ base (check digits 10).
  const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo21Click, Segment('1', '6', "20031301"));
  EXPECT_EQ(shown.status, Outcome::Status::Faulty);
  EXPECT_EQ(shown.lines, SegmentMessage("PREFEITURAS", "MOEDA: FIXA", "Vencimento:01/13/2003", "130112345678",
                                        "Identificação do contribuinte é CGC 13.011.234/5678-10"_cp,
                                        testing::Lines({" O mês de vencimento está inválido "_cp, ""})));
}

TEST(CollectionSegments, NonDigitOrShortBarcodeEndsWithTheConversionError) {
  const std::string valid = Segment();
  for (const std::string& b :
       {With(valid, 20, "x"), valid.substr(0, 40), std::string(), Segment('1', '6', "200 1231")}) {
    const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo21Click, b);
    EXPECT_EQ(shown.status, Outcome::Status::Aborted) << b;
    EXPECT_TRUE(shown.lines.empty());
  }
}

// ---- Segment 6, booklets.

TEST(CollectionBooklets, ValidBarcodeWrongSegmentAndFixedPositions) {
  // Agreement 12345678 at 16-23, due date 29/02/2004 at 24-31, payer
  // 0001234567890 at 32-44: stripped of zeros at both ends a CPF base.
  const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo31Click, Collection('6', '7',
                                                                              "00000000005"
                                                                              "12345678"
                                                                              "20040229"
                                                                              "0001234567890"));
  EXPECT_EQ(shown.status, Outcome::Status::Clean);
  EXPECT_EQ(
      shown.lines,
      testing::Lines({"SEGMENTO 6 - CARNÊS E ASSEMELHADOS"_cp, "Início do CGC convenente= 12.345.678/"_cp,
                      "MOEDA: VARIÁVEL"_cp, "Valor da guia: 0,05", "Código do Convênio:12345678"_cp,
                      "Vencimento:29/02/2004", "Identificação do contribuinte:000123456789"_cp,
                      "Identificação Provavelmente é CPF 123.456.789-09"_cp, "Conteúdo do campo livre:67890"_cp,
                      "Não existem erros nas posições fixas."_cp, "Verifique a veracidade das informações acima."_cp}));

  const std::string valid = Collection('6', '6',
                                       "00000000005"
                                       "12345678"
                                       "00000000"
                                       "0001234567890");
  Shown wrong = RunBarcode(CdigodebarrasCapCaixaTipo31Click, Redigit(With(valid, 2, "5")));
  EXPECT_EQ(wrong.lines.front(), "SEGMENTO INVÁLIDO, DEVERIA SER 6 "_cp);
  EXPECT_EQ(wrong.status, Outcome::Status::Faulty);
  wrong = RunBarcode(CdigodebarrasCapCaixaTipo31Click, Redigit(With(valid, 1, "9")));
  EXPECT_EQ(Between(wrong.lines, 9, 1), testing::Lines({"Posição 1  não é 8 "_cp, ""}));
  EXPECT_EQ(wrong.lines[5], "") << "no due date without 200 at 24-26";
}

// ---- Segment 9, exclusive to CAIXA.

TEST(CollectionCaixa, MessagesAndFixedTestsThatReplaceEachOther) {
  // Bank 0104 at 16-19, agreement 9876 at 20-23, payer 00000042 at 32-39.
  const auto caixa = [](std::string_view from24To31) {
    return Collection('9', '6', Cat("00000100000", "0104", "9876", from24To31, "00000042", "55555"));
  };
  const auto message = [](std::string_view due, std::initializer_list<std::string_view> errors) {
    Lines lines = testing::Lines({"SEGMENTO 9 - EXCLUSIVO CAIXA", "MOEDA: FIXA", "Valor da guia: 1.000,00",
                                  "Código do Convênio:9876"_cp, due, "Identificação do contribuinte:00000042"_cp,
                                  "Identificação Provavelmente é OUTROS 42"_cp, "Conteúdo do campo livre:55555"_cp});
    lines.insert(lines.end(), errors.begin(), errors.end());
    return lines;
  };
  const std::string valid = caixa("12345678");
  const struct {
    std::string barcode;
    Outcome::Status status;
    Lines expected;
  } cases[] = {
      // Without a due date the error line stays empty.
      {valid, Outcome::Status::Clean, message("", {""})},
      {caixa("20011015"), Outcome::Status::Clean,
       message("Vencimento:15/10/2001", {"Não existem erros nas posições fixas."_cp})},
      // The bank test after the position-1 test: only the bank message stays.
      {Redigit(With(With(valid, 1, "7"), 16, "0105")), Outcome::Status::Faulty,
       message("", {"Posições 16  não tem 0104 "_cp, ""})},
      {With(valid, 16, "0105"), Outcome::Status::Faulty,
       message("", {"DÍGITO DO CÓDIGO DE BARRAS INVÁLIDO !!! "_cp, ""})},
  };
  for (const auto& c : cases) {
    const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo3Caixa1Click, c.barcode);
    EXPECT_EQ(shown.status, c.status);
    EXPECT_EQ(shown.lines, c.expected);
  }
  EXPECT_EQ(RunBarcode(CdigodebarrasCapCaixaTipo3Caixa1Click, Redigit(With(valid, 2, "1"))).lines.front(),
            "SEGMENTO INVÁLIDO. DEVERIA SER 9 "_cp);
}

// ---- Union dues.

// "85", agreement 0067, entity 3 (union), code 12345, due 05/2008, payer
// 0000123456789.
std::string UnionDues(char entity = '3', std::string_view code = "12345", std::string_view due = "200805") {
  return Collection('5', '6', Cat("00000002500", "0067", entity, code, due, "0000123456789"));
}

TEST(CollectionUnionDues, ValidBarcodeEntitiesAndPrompt) {
  FakeHost host;
  host.answers.push_back(UnionDues());
  EXPECT_EQ(RunCommand(ValidaCdigodebarrasCapCaixa1Click, host).status, Outcome::Status::Clean);
  ASSERT_EQ(host.prompts.size(), 1u);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Passe o leitor no Código de Barras"_cp);
  EXPECT_EQ(testing::MessageLines(host.messages.at(0)),
            testing::Lines({"SINDICATO", "MOEDA: FIXA", "Valor da guia: 25,00", "Código do Convênio:12345"_cp,
                            "Vencimento:05/2008", "Identificação do contribuinte:0000123456789"_cp,
                            "Identificação Provavelmente é CPF 123.456.789-09"_cp,
                            "Não existem erros nas posições fixas."_cp}));
  EXPECT_EQ(RunBarcode(ValidaCdigodebarrasCapCaixa1Click, UnionDues('1')).lines.front(), "CEES E CONFEDERAÇÃO"_cp);
  EXPECT_EQ(RunBarcode(ValidaCdigodebarrasCapCaixa1Click, UnionDues('2')).lines.front(), "FEDERAÇÃO"_cp);
  EXPECT_EQ(RunBarcode(ValidaCdigodebarrasCapCaixa1Click, UnionDues('9')).lines.front(), "");
}

TEST(CollectionUnionDues, EachCorruptionGivesItsMessage) {
  const std::string valid = UnionDues();
  const struct {
    std::string barcode;
    Lines errors;  // empty: the conversion error ends the command
  } cases[] = {
      {Redigit(With(valid, 2, "4")), testing::Lines({"Posições 1 e 2 não é 85 "_cp, ""})},
      {Redigit(With(valid, 16, "0068")), testing::Lines({"Posições 16 a 19 não é 0067 "_cp, ""})},
      {Redigit(With(valid, 3, "0")), testing::Lines({"Posição 3 não é 6 ou 7 "_cp, ""})},
      {UnionDues('4'), testing::Lines({"Posição 20 não é 1, 2 ou 3 "_cp, ""})},
      {UnionDues('3', "12345", "201105"), testing::Lines({" O ano de vencimento está inválido "_cp, ""})},
      {UnionDues('3', "12345", "200813"), testing::Lines({" O mês de vencimento está inválido "_cp, ""})},
      {With(valid, 4, valid[3] == '0' ? "1" : "0"),
       testing::Lines({"DÍGITO DO CÓDIGO DE BARRAS INVÁLIDO !!! "_cp, ""})},
      {With(Redigit(With(valid, 16, "0068")), 4, "x"), {}},
      {With(valid, 20, "-"), {}},
  };
  for (const auto& c : cases) {
    const Shown shown = RunBarcode(ValidaCdigodebarrasCapCaixa1Click, c.barcode);
    EXPECT_EQ(shown.status, c.errors.empty() ? Outcome::Status::Aborted : Outcome::Status::Faulty) << c.barcode;
    if (!c.errors.empty()) {
      EXPECT_EQ(Between(shown.lines, 7, 0), c.errors) << c.barcode;
    }
  }
}

// ---- One 12-digit block.

TEST(CollectionBlock, CheckDigitOfOneBlock) {
  const std::pair<std::string, bool> cases[] = {
      {"817700000000", true},   // 8x2=16 -> 7, 1, 7x2=14 -> 5, 7: total 20, digit 0
      {"817700000001", false},  //
      {"012345678903", true},   // 0 1 2 3 4 5 6 7 8 9 0 weighted from the right
      {"012345678904", false}, {"000000000000", true},
  };
  for (const auto& [block, valid] : cases) {
    FakeHost host;
    host.answers.push_back(block);
    EXPECT_EQ(RunCommand(Cdigodebarras12posies1Click, host).status,
              valid ? Outcome::Status::Clean : Outcome::Status::Faulty);
    EXPECT_EQ(host.messages, testing::Lines({valid ? "DV correto." : "Dígito verificador INVÁLIDO !!!!!"_cp})) << block;
    EXPECT_EQ(host.prompts.at(0).prompt, "Digite o Código de Barras"_cp);
  }
  FakeHost host;
  host.answers.push_back("01234");
  EXPECT_EQ(RunCommand(Cdigodebarras12posies1Click, host).status, Outcome::Status::Aborted);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace verilote
