#include "barcodes/collection.hpp"

#include <random>

#include "barcodes/boleto_builder.hpp"

namespace verilote {
namespace {

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

const std::string kPos1("Posição 1  não é 8 "_cp), kPos3("Posição 3 não é 6 ou 7 "_cp);
const std::string kDv("DÍGITO DO CÓDIGO DE BARRAS INVÁLIDO !!! "_cp),
    kNoErrors("Não existem erros nas posições fixas."_cp);
const std::string kYear(" O ano de vencimento está inválido "_cp), kMonth(" O mês de vencimento está inválido "_cp);
const std::string kDay(" O dia de vencimento está inválido "_cp);

// The error lines of a message: each ends in a line break, so an empty line follows.
Lines Errors(std::initializer_list<std::string_view> errors) {
  Lines lines = L(errors);
  lines.emplace_back();
  return lines;
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

// ---- Segments 1 to 5.

// Value 123,45; FEBRABAN code 0123 at 16-19; 24-31 given (no due date unless
// they start "200"); payer at 28-39; free field 99887 at 40-44.
std::string Segment(char segment = '1', char id = '6', std::string_view from24 = "00000000") {
  return Collection(segment, id, Cat("00000012345", "0123", "0000", from24, "12345678", "99887"));
}

Lines SegmentMessage(std::string_view first, std::string_view currency, std::string_view due, std::string_view payer,
                     std::string_view identification, const Lines& errors) {
  Lines lines =
      L({first, "CÓD FEBRABAN = 0123"_cp, currency, "Valor da guia: 123,45", due,
         Cat("Identificação do contribuinte:"_cp, payer), identification, "Conteúdo do campo livre:99887"_cp});
  lines.insert(lines.end(), errors.begin(), errors.end());
  lines.emplace_back("Confirme se o código FEBRABAN está correto."_cp);
  return lines;
}

TEST(CollectionSegments, ValidBarcodesOfEachSegmentAndValueIdentifier) {
  // clang-format off
  const struct { Handler command; char segment; std::string_view name; } segments[] = {
      {CdigodebarrasCapCaixaTipo21Click, '1', "PREFEITURAS"},
      {CdigoBarrasconcessionriassaneamento1Click, '2', "SANEAMENTO"},
      {CdigoBarrasconcessionriasEnergiaeGs1Click, '3', "ENERGIA E GÁS"_cp},
      {CdigoBarrasconcessionriastelecomunicaes1Click, '4', "TELECOMUNICAÇÕES"_cp},
      {CdigoBarrasTributosimpostostaxasOrgosGovernamentais1Click, '5', "ORGÃOS GOVERNAMENTAIS"_cp}};
  // Identifiers 8 and 9 carry a right modulo-11 digit: only the identifier test fails.
  const struct { char id; std::string_view currency; Lines errors; } ids[] = {
      {'6', "MOEDA: FIXA", L({kNoErrors, "Confira os outros dados."})},
      {'7', "MOEDA: VARIÁVEL"_cp, L({kNoErrors, "Confira os outros dados."})},
      {'8', "", Errors({kPos3})}, {'9', "", Errors({kPos3})}};
  // clang-format on
  const std::string outros("Identificação do contribuinte é OUTROS 12345678"_cp);
  for (const auto& s : segments) {
    for (const auto& v : ids) {
      const Shown shown = RunBarcode(s.command, Segment(s.segment, v.id));
      EXPECT_EQ(shown.status, v.id <= '7' ? kRunClean : kRunFaulty) << s.name << v.id;
      EXPECT_EQ(shown.lines, SegmentMessage(s.name, v.currency, "", "000012345678", outros, v.errors)) << s.name;
    }
    // Another segment's barcode: the segment line says so.
    const Shown shown = RunBarcode(s.command, Segment(s.segment == '1' ? '2' : '1'));
    EXPECT_EQ(shown.status, kRunFaulty);
    EXPECT_EQ(shown.lines.front(), Cat("SEGMENTO INVÁLIDO DEVERIA SER DE "_cp, s.segment));
    EXPECT_EQ(shown.lines.at(8), kNoErrors);
  }
}

TEST(CollectionSegments, EachCorruptionGivesItsMessage) {
  const std::string valid = Segment(), dated = Segment('1', '6', "20031231");
  // clang-format off
  const struct { std::string barcode; Lines errors; } cases[] = {  // errors: between free field and closing line
      {Redigit(With(valid, 1, "7")), Errors({kPos1})},
      {With(valid, 1, "7"), Errors({kDv})},  // with position 1 wrong, the check digit's message replaces its own
      {With(valid, 4, Other(valid[3])), Errors({kDv})},
      {Redigit(With(valid, 3, "5")), Errors({kPos3})},
      {With(valid, 3, "8"), Errors({kDv, kPos3})},  // a modulo-10 digit on an identifier-8 barcode is wrong
      {Redigit(With(dated, 24, "2005")), Errors({kYear})},
      {Redigit(With(dated, 28, "00")), Errors({kMonth})},
      {Redigit(With(dated, 30, "32")), Errors({kDay})},
      {Redigit(With(dated, 24, "20090000")), Errors({kYear, kMonth, kDay})}};
  // clang-format on
  for (const auto& c : cases) {
    const Shown shown = RunBarcode(CdigodebarrasCapCaixaTipo21Click, c.barcode);
    EXPECT_EQ(shown.status, kRunFaulty) << c.barcode;
    EXPECT_EQ(Slice(shown.lines, 8, -1), c.errors) << c.barcode;
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
  EXPECT_EQ(shown.status, kRunClean);
  EXPECT_EQ(shown.lines,
            L({"SEGMENTO 6 - CARNÊS E ASSEMELHADOS"_cp, "Início do CGC convenente= 12.345.678/"_cp,
               "MOEDA: VARIÁVEL"_cp, "Valor da guia: 0,05", "Código do Convênio:12345678"_cp, "Vencimento:29/02/2004",
               "Identificação do contribuinte:000123456789"_cp, "Identificação Provavelmente é CPF 123.456.789-09"_cp,
               "Conteúdo do campo livre:67890"_cp, kNoErrors, "Verifique a veracidade das informações acima."_cp}));

  const std::string valid = Collection('6', '6',
                                       "00000000005"
                                       "12345678"
                                       "00000000"
                                       "0001234567890");
  Shown wrong = RunBarcode(CdigodebarrasCapCaixaTipo31Click, Redigit(With(valid, 2, "5")));
  EXPECT_EQ(wrong.lines.front(), "SEGMENTO INVÁLIDO, DEVERIA SER 6 "_cp);
  EXPECT_EQ(wrong.status, kRunFaulty);
  wrong = RunBarcode(CdigodebarrasCapCaixaTipo31Click, Redigit(With(valid, 1, "9")));
  EXPECT_EQ(Slice(wrong.lines, 9, -1), Errors({kPos1}));
  EXPECT_EQ(wrong.lines[5], "") << "no due date without 200 at 24-26";
}

// ---- Segment 9, exclusive to CAIXA.

TEST(CollectionCaixa, MessagesAndFixedTestsThatReplaceEachOther) {
  // Bank 0104 at 16-19, agreement 9876 at 20-23, payer 00000042 at 32-39.
  const auto caixa = [](std::string_view from24To31) {
    return Collection('9', '6', Cat("00000100000", "0104", "9876", from24To31, "00000042", "55555"));
  };
  const auto message = [](std::string_view due, const Lines& errors) {
    Lines lines = L({"SEGMENTO 9 - EXCLUSIVO CAIXA", "MOEDA: FIXA", "Valor da guia: 1.000,00",
                     "Código do Convênio:9876"_cp, due, "Identificação do contribuinte:00000042"_cp,
                     "Identificação Provavelmente é OUTROS 42"_cp, "Conteúdo do campo livre:55555"_cp});
    lines.insert(lines.end(), errors.begin(), errors.end());
    return lines;
  };
  const std::string valid = caixa("12345678");
  // clang-format off
  const struct { std::string barcode; Outcome::Status status; Lines expected; } cases[] = {
      {valid, kRunClean, message("", Errors({}))},  // without a due date the error line stays empty
      {caixa("20011015"), kRunClean, message("Vencimento:15/10/2001", L({kNoErrors}))},
      // The bank test after the position-1 test: only the bank message stays.
    {Redigit(With(With(valid, 1, "7"), 16, "0105")), kRunFaulty,
      message("", Errors({"Posições 16  não tem 0104 "_cp}))},
      {With(valid, 16, "0105"), kRunFaulty, message("", Errors({kDv}))}};
  // clang-format on
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

TEST(CollectionUnionDues, EachCorruptionGivesItsMessage) {
  const std::string valid = UnionDues();
  // clang-format off
  const struct { std::string barcode; Lines errors; } cases[] = {  // no errors: the conversion error ends the command
      {Redigit(With(valid, 2, "4")), Errors({"Posições 1 e 2 não é 85 "_cp})},
      {Redigit(With(valid, 16, "0068")), Errors({"Posições 16 a 19 não é 0067 "_cp})},
      {Redigit(With(valid, 3, "0")), Errors({kPos3})},
      {UnionDues('4'), Errors({"Posição 20 não é 1, 2 ou 3 "_cp})},
      {UnionDues('3', "12345", "201105"), Errors({kYear})},
      {UnionDues('3', "12345", "200813"), Errors({kMonth})},
      {With(valid, 4, Other(valid[3])), Errors({kDv})},
      {With(Redigit(With(valid, 16, "0068")), 4, "x"), {}},
      {With(valid, 20, "-"), {}}};
  // clang-format on
  for (const auto& c : cases) {
    const Shown shown = RunBarcode(ValidaCdigodebarrasCapCaixa1Click, c.barcode);
    EXPECT_EQ(shown.status, c.errors.empty() ? kRunAborted : kRunFaulty) << c.barcode;
    if (!c.errors.empty()) {
      EXPECT_EQ(Slice(shown.lines, 7, 0), c.errors) << c.barcode;
    }
  }
}

// ---- One 12-digit block.

TEST(CollectionBlock, CheckDigitOfOneBlock) {
  // 817700000000: 8x2=16 -> 7, 1, 7x2=14 -> 5, 7: total 20, digit 0; 012345678903 weighted from the right.
  const std::pair<std::string, bool> cases[] = {{"817700000000", true},
                                                {"817700000001", false},
                                                {"012345678903", true},
                                                {"012345678904", false},
                                                {"000000000000", true}};
  for (const auto& [block, valid] : cases) {
    FakeHost host;
    host.answers.push_back(block);
    EXPECT_EQ(RunCommand(Cdigodebarras12posies1Click, host).status, valid ? kRunClean : kRunFaulty);
    EXPECT_EQ(host.messages, L({valid ? "DV correto." : "Dígito verificador INVÁLIDO !!!!!"_cp})) << block;
    EXPECT_EQ(host.prompts.at(0).prompt, "Digite o Código de Barras"_cp);
  }
  FakeHost host;
  host.answers.push_back("01234");
  EXPECT_EQ(RunCommand(Cdigodebarras12posies1Click, host).status, kRunAborted);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace verilote
