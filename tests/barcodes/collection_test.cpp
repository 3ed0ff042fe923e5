#include "barcodes/collection.hpp"

#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"
#include "barcodes/sicap.hpp"
#include "tools/barcode_repair.hpp"

namespace verilote {
namespace {

// The lines of the one message box a command shows (a carriage return breaks
// the line), after checking its status; none when it shows none.
Lines Message(Handler command, const std::string& barcode, Outcome::Status expected) {
  const FakeHost host = Execute(command, {barcode}, expected);
  EXPECT_LE(host.messages.size(), 1u) << barcode;
  EXPECT_TRUE(host.report.empty()) << "these commands answer in a message box";
  if (host.messages.empty()) return {};
  Lines lines(1);
  for (const char c : host.messages[0]) {
    if (c == '\r')
      lines.emplace_back();
    else
      lines.back() += c;
  }
  return lines;
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

// ---- Segments 1 to 5.

// Value 123,45; FEBRABAN code 0123 at 16-19; 24-31 given (no due date unless
// they start "200"); payer 12345678 at 28-39; free field 99887 at 40-44.
std::string Segment(char segment = '1', char id = '6', std::string_view from24 = "00000000") {
  return Collection(segment, id, Cat("00000012345", "0123", "0000", from24, "12345678", "99887"));
}

// The message of a segment's barcode; the payer at 28-39 and what it is taken for.
Lines SegmentMessage(std::string_view first, std::string_view currency, std::string_view due, const Lines& errors,
                     std::string_view payer = "000012345678", std::string_view payerIs = "OUTROS 12345678") {
  Lines lines = L({first, "CÓD FEBRABAN = 0123"_cp, currency, "Valor da guia: 123,45", due,
                   Cat("Identificação do contribuinte:"_cp, payer),
                   payerIs.empty() ? "" : Cat("Identificação do contribuinte é "_cp, payerIs),
                   "Conteúdo do campo livre:99887"_cp});
  lines.insert(lines.end(), errors.begin(), errors.end());
  lines.emplace_back("Confirme se o código FEBRABAN está correto."_cp);
  return lines;
}

TEST(CollectionSegments, EachCommandChecksItsSegment) {
  // clang-format off
  const struct { Handler command; char segment, id; std::string_view name, currency; } segments[] = {
      {CdigodebarrasCapCaixaTipo21Click, '1', '6', "PREFEITURAS", "MOEDA: FIXA"},
      {CdigoBarrasconcessionriassaneamento1Click, '2', '8', "SANEAMENTO", "MOEDA: FIXA"},
      {CdigoBarrasconcessionriasEnergiaeGs1Click, '3', '9', "ENERGIA E GÁS"_cp, "MOEDA: VARIÁVEL"_cp},
      {CdigoBarrasconcessionriastelecomunicaes1Click, '4', '7', "TELECOMUNICAÇÕES"_cp, "MOEDA: VARIÁVEL"_cp},
      {CdigoBarrasTributosimpostostaxasOrgosGovernamentais1Click, '5', '8', "ORGÃOS GOVERNAMENTAIS"_cp, "MOEDA: FIXA"}};
  // clang-format on
  for (const auto& s : segments) {
    EXPECT_EQ(Message(s.command, Segment(s.segment, s.id), kRunClean),
              SegmentMessage(s.name, s.currency, "", L({kNoErrors, "Confira os outros dados."})))
        << s.name;
    // Another segment's barcode: the segment line says so.
    const Lines other = Message(s.command, Segment(s.segment == '1' ? '2' : '1'), kRunFaulty);
    EXPECT_EQ(other.front(), Cat("SEGMENTO INVÁLIDO DEVERIA SER DE "_cp, s.segment));
    EXPECT_EQ(other.at(8), kNoErrors);
  }
}

TEST(CollectionSegments, ValueIdentifiersAndCorruptions) {
  const std::string valid = Segment();
  const auto message = [](std::string_view currency, const Lines& errors) {
    return SegmentMessage("PREFEITURAS", currency, "", errors);
  };
  // clang-format off
  const struct { std::string barcode; Lines expected; } cases[] = {
      // Identifiers other than 6 to 9.
      {Segment('1', '5'), message("", Errors({kPos3}))},
      {Redigit(With(valid, 1, "7")), message("MOEDA: FIXA", Errors({kPos1}))},
      // With position 1 wrong, the check digit's message replaces its own.
      {With(valid, 1, "7"), message("MOEDA: FIXA", Errors({kDv}))},
      // A modulo-10 digit on an identifier-8 barcode is wrong.
      {With(valid, 3, "8"), message("MOEDA: FIXA", Errors({kDv}))},
      // Dates from 2000 to 2004, months 1 to 12, days 1 to 31; 28-31 are part of the payer too.
      {Segment('1', '6', "20050032"), SegmentMessage("PREFEITURAS", "MOEDA: FIXA", "Vencimento:32/00/2005",
                                                     Errors({kYear, kMonth, kDay}), "003212345678", "")},
      {Segment('1', '6', "20031300"), SegmentMessage("PREFEITURAS", "MOEDA: FIXA", "Vencimento:00/13/2003",
                                                     Errors({kMonth, kDay}), "130012345678",
                                                     "CGC 13.001.234/5678-39")}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(Message(CdigodebarrasCapCaixaTipo21Click, c.barcode, kRunFaulty), c.expected);
}

// ---- Segment 6, booklets.

TEST(CollectionBooklets, ValidBarcodeWrongSegmentAndFixedPositions) {
  // Agreement 12345678 at 16-23, the due date at 24-31, payer 0001234567890
  // at 32-44: stripped of zeros at both ends a CPF base.
  const auto booklet = [](char segment, std::string_view due) {
    return Collection(segment, '7', Cat("00000000005", "12345678", due, "0001234567890"));
  };
  EXPECT_EQ(Message(CdigodebarrasCapCaixaTipo31Click, booklet('6', "20040229"), kRunClean),
            L({"SEGMENTO 6 - CARNÊS E ASSEMELHADOS"_cp, "Início do CGC convenente= 12.345.678/"_cp,
               "MOEDA: VARIÁVEL"_cp, "Valor da guia: 0,05", "Código do Convênio:12345678"_cp, "Vencimento:29/02/2004",
               "Identificação do contribuinte:000123456789"_cp, "Identificação Provavelmente é CPF 123.456.789-09"_cp,
               "Conteúdo do campo livre:67890"_cp, kNoErrors, "Verifique a veracidade das informações acima."_cp}));
  // Another segment and position 1 wrong; no due date without 200 at 24-26.
  const Lines wrong =
      Message(CdigodebarrasCapCaixaTipo31Click, Redigit(With(booklet('9', "00000000"), 1, "7")), kRunFaulty);
  EXPECT_EQ(wrong.front(), "SEGMENTO INVÁLIDO, DEVERIA SER 6 "_cp);
  EXPECT_EQ(wrong[5], "");
  EXPECT_EQ(Slice(wrong, 9, -1), Errors({kPos1}));
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
       message("", Errors({"Posições 16  não tem 0104 "_cp}))}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(Message(CdigodebarrasCapCaixaTipo3Caixa1Click, c.barcode, c.status), c.expected);
  EXPECT_EQ(Message(CdigodebarrasCapCaixaTipo3Caixa1Click, Redigit(With(valid, 2, "1")), kRunFaulty).front(),
            "SEGMENTO INVÁLIDO. DEVERIA SER 9 "_cp);
}

// ---- Union dues.

// "85", agreement 0067, entity 3 (union), code 12345, due 05/2008, payer
// 0000123456789.
std::string UnionDues(char entity = '3', std::string_view code = "12345", std::string_view due = "200805") {
  return Collection('5', '6', Cat("00000002500", "0067", entity, code, due, "0000123456789"));
}

TEST(CollectionUnionDues, ValidBarcodeAndEachCorruption) {
  const std::string valid = UnionDues();
  EXPECT_EQ(Message(ValidaCdigodebarrasCapCaixa1Click, valid, kRunClean),
            L({"SINDICATO", "MOEDA: FIXA", "Valor da guia: 25,00", "Código do Convênio:12345"_cp, "Vencimento:05/2008",
               "Identificação do contribuinte:0000123456789"_cp, "Identificação Provavelmente é CPF 123.456.789-09"_cp,
               kNoErrors}));
  // clang-format off
  const struct { std::string barcode; Lines errors; } cases[] = {  // no errors: the conversion error ends the command
      {Redigit(With(valid, 2, "4")), Errors({"Posições 1 e 2 não é 85 "_cp})},
      {Redigit(With(valid, 16, "0068")), Errors({"Posições 16 a 19 não é 0067 "_cp})},
      {UnionDues('4'), Errors({"Posição 20 não é 1, 2 ou 3 "_cp})},
      {UnionDues('3', "12345", "201105"), Errors({kYear})},
      {UnionDues('3', "12345", "200813"), Errors({kMonth})},
      {With(valid, 4, Other(valid[3])), Errors({kDv})},
      {With(Redigit(With(valid, 16, "0068")), 4, "x"), {}},
      {With(valid, 20, "-"), {}}};
  // clang-format on
  for (const auto& c : cases) {
    const Lines shown =
        Message(ValidaCdigodebarrasCapCaixa1Click, c.barcode, c.errors.empty() ? kRunAborted : kRunFaulty);
    if (!c.errors.empty()) {
      EXPECT_EQ(Slice(shown, 7, 0), c.errors) << c.barcode;
    }
  }
}

// ---- The check-digit commands: the generic 44-position check and one block of 12.

TEST(CheckDigitCommands, MessageAndStatus) {
  // Not product 8: modulo 10 whatever position 3 holds (7x2=14 -> 5, 0, 8x2=16 -> 7: total 12, digit 8).
  const std::string notProduct8 = "7088" + std::string(40, '0');
  // 817700000000: 8x2=16 -> 7, 1, 7x2=14 -> 5, 7: total 20, digit 0.
  // clang-format off
  const struct { Handler command; std::string answer; Outcome::Status status; Lines message; } cases[] = {
      {Cdigodebarras1Click, notProduct8, kRunClean, L({"DV Geral correto."})},
      {Cdigodebarras1Click, With(notProduct8, 4, '0'), kRunFaulty, L({"Dígito geral verificador INVÁLIDO !!!!!"_cp})},
      {Cdigodebarras1Click, "1049X", kRunAborted, {}},
      {Cdigodebarras12posies1Click, "817700000000", kRunClean, L({"DV correto."})},
      {Cdigodebarras12posies1Click, "817700000001", kRunFaulty, L({"Dígito verificador INVÁLIDO !!!!!"_cp})},
      {Cdigodebarras12posies1Click, "01234", kRunAborted, {}}};
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(Message(c.command, c.answer, c.status), c.message);
  }
}

// ---- Every command that checks a collection barcode, on the same barcodes.

TEST(CollectionCommands, OneVerdictByTheModuleOfTheValueIdentifier) {
  // Positions 16-44 fit every command (union dues too). Each row: the barcode, the digit its identifier asks for at
  // position 4 (8 and 9: weights 2-9 from the right, remainder r 0 or 1 gives 0, else 11 - r), the digits of its four
  // printed blocks, and the commands of its segment.
  const std::vector<Handler> kFive = {CdigoBarrasTributosimpostostaxasOrgosGovernamentais1Click,
                                      ValidaCdigodebarrasCapCaixa1Click};
  // clang-format off
  const struct { std::string barcode; char right; std::string_view blocks; std::vector<Handler> own; } cases[] = {
      {"85690000000250000673123452008050000123456789", '9', "6097", kFive},
      {"85610000000250000673123452008050000123456789", '9', "4097", kFive},  // the modulo-11 digit
      {"85770000000250000673123452008050000123456789", '7', "6097", kFive},
      {"85780000000250000673123452008050000123456789", '7', "5097", kFive},
      {"85800000000100000673123452008050000123456789", '0', "3517", kFive},  // remainder 0
      {"85820000000100000673123452008050000123456789", '0', "7517", kFive},  // the modulo-10 digit
      {"85810000000100000673123452008050000123456789", '0', "5517", kFive},
      {"85800000001000000673123452008050000123456789", '0', "1917", kFive},  // remainder 1
      {"85810000000600000673123452008050000123456789", '1', "5717", kFive},  // remainder 10
      {"85800000000600000673123452008050000123456789", '1', "3717", kFive},
      {"85960000000250000673123452008050000123456789", '6', "2817", kFive},
      {"85930000000250000673123452008050000123456789", '6', "7817", kFive},  // the modulo-10 digit
      {"82890000000100000673123452008050000123456789", '9', "8517", {CdigoBarrasconcessionriassaneamento1Click}},
      {"82800000000100000673123452008050000123456789", '9', "1517", {CdigoBarrasconcessionriassaneamento1Click}},
      {"86850000000250000673123452008050000123456789", '5', "0817", {CdigodebarrasCapCaixaTipo31Click}},
      {"86860000000250000673123452008050000123456789", '5', "1817", {CdigodebarrasCapCaixaTipo31Click}},
      {"89900000000250001043123452008050000123456789", '0', "0817", {CdigodebarrasCapCaixaTipo3Caixa1Click}},
      {"89910000000250001043123452008050000123456789", '0', "2817", {CdigodebarrasCapCaixaTipo3Caixa1Click}}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.barcode);
    const Outcome::Status status = c.barcode[3] == c.right ? kRunClean : kRunFaulty;
    std::string typed, printed;  // the 48 digits of the form; the same as the SICAP report shows them
    for (std::size_t i = 0; i < 4; ++i) {
      typed += Cat(c.barcode.substr(11 * i, 11), c.blocks[i]);
      printed += Cat(i ? "   " : "", c.barcode.substr(11 * i, 11), '-', c.blocks[i]);
    }
    for (const Handler command : c.own) Execute(command, {c.barcode}, status);
    for (const Handler command : {Cdigodebarras1Click, Umdocumento1Click}) Execute(command, {c.barcode}, status);
    Execute(VriosDocumentos1Click, {"1", c.barcode.substr(15, 4), c.barcode}, status);
    EXPECT_EQ(Execute(Digitandoosdados1Click, {typed}, status).report.back(), printed);
    for (const Handler repair : {Acertardigitodeumcdigodebarras1Click, Acertadgitodocodbarradacobrana1Click})
      EXPECT_EQ(Execute(repair, {c.barcode}, status).messages,
                L({Cat("Barra digitada: \r", c.barcode, "\rBarra Calculada\r", With(c.barcode, 4, c.right))}));
  }
}

}  // namespace
}  // namespace verilote
