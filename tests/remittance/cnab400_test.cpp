// The CNAB 400 validators: the examples through verilote-cli, then one field broken at a time in the
// builder's files (the clean examples) against the lines it must add, and line numbers past 16 bits.
#include "remittance/cnab400.hpp"

#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "remittance/cnab400_builder.hpp"
#include "remittance/sicob400.hpp"
#include "remittance/sigcb400.hpp"

namespace verilote {
namespace {

using testing::kFim;
using Lines = std::vector<std::string>;

struct Text : std::string {  // an expected line: a std::string, a _cp literal or a plain literal
  template <typename T>
  Text(const T& text) : std::string(text) {}
};
using Texts = std::vector<Text>;
Lines L(const Texts& texts) { return Lines(texts.begin(), texts.end()); }

const std::string kAgency{"Agência: 1234 Cedente: "_cp}, kName(" -> EMPRESA CEDENTE LTDA          ");
const std::string kEnd{"Fim da validação. Quantidade de linhas validadas: "_cp};
std::string Err(std::uint64_t line, std::string_view field, std::string_view found) {
  return Cat("Linha:", line, " Erro no campo ", field, " - Informação encontrada: "_cp, found);
}

Handler Command(std::string_view layout) {
  return layout == "SICOB" ? CobranaRemessapadro4001Click : SIGCBRemessa400ValidaTudo1Click;
}
Lines Clean(std::string_view layout) {
  return layout == "SICOB" ? testing::CleanSicob400() : testing::CleanSigcb400(layout);
}

TEST(Cnab400, EachBrokenFieldAddsItsLines) {
  const std::string ced = " Erro no campo 05.1 - Cedente encontrado 123456 cedente esperado ";
  const std::string carteira{" Nosso número não pertence a carteira informada."_cp};
  const auto codes = [](std::size_t line, std::string_view codes) { return Cat("Linha ", line, ": ", codes); };
  const struct {
    std::string_view layout;  // SIGCB of version "   " or "007", or SICOB
    std::size_t line, pos;
    std::string value;
    Texts added;  // with the header line that shows a broken field; SICOB: before its verdict
  } cases[] = {
      // clang-format off
      {"   ", 1, 31, "000000", {Err(1, "7.0", "000000"), Cat(kAgency, "000000", kName),
                               Cat("Linha:2", ced, "000000"), Cat("Linha:4", ced, "000000")}},
      {"   ", 1, 101, "006", {"ERRO FATAL: O arquivo "
                             "está com uma versão não permitida, o resto dessa validação está inválida."_cp,
                             kAgency + kName, "Linha:2" + ced, "Linha:4" + ced}},
      {"   ", 1, 80, "CAIXA          ", {"HEADER DE ARQUIVO deveria ter string C ECON FEDERAL ",
          "Linha:1 Erro no campo 11.0 - Esperado C ECON FEDERAL  Informação encontrada: CAIXA          "_cp}},
      {"   ", 1, 395, "1,0000", {Err(1, "15.0", "1,0000")}},  // numeric, not whole: no abort
      {"007", 2, 18, "001", {Err(2, "04.1", "001")}},
      {"   ", 2, 392, "1,", {Err(2, "43.1", "1,")}},  // numeric, not whole: no abort
      {"   ", 3, 1, "3", {"Linha:3 Registro com segmento diferente de 0,1,2 e 9"}},
      {"SICOB", 1, 43, "X", {"Erro no HEADER. Codigos de erro: nao branco(43,4)"}},
      {"SICOB", 1, 389, "X", {"Erro no HEADER. Codigos de erro: nao branco(101,289)"}},
      {"SICOB", 2, 17, "6", {codes(2, " CPF invalido pos=4")}},
      {"SICOB", 2, 25, "A", {codes(2, " DV da conta inválido"_cp)}},  // a letter: a wrong digit, no abort
      {"SICOB", 2, 63, "1", {codes(2, Cat(" Nosso Número não é CAIXA (63,11)  Nosso Número inválido"_cp, carteira))}},
      {"SICOB", 2, 70, "X", {codes(2, " Nosso número com DV inválido"_cp)}},  // no numeric guard: a wrong digit
      {"SICOB", 4, 63, "9000000002 ", {codes(4, Cat(" Erro na formação de nosso número"_cp, carteira))}},
      {"SICOB", 4, 392, "1,", {codes(4, " Prazo de devolução inválido, esperado de 5 a 90"_cp)}},  // no abort
      {"SICOB", 2, 192, "X", {codes(2, " Campo não numérico(180,13)"_cp)}},
      {"SICOB", 2, 36, "52", {codes(2, " posição 36,2 deveria ser 00 ou 51"_cp)}},
      {"SICOB", 2, 352, "000000", {codes(2, " Data Inválida na Posição 352"_cp)}},
      {"SICOB", 2, 390, "X", {codes(2, " Campo não numérico(390,2)"_cp)}},
      {"SICOB", 3, 1, "3", {"Registro numero 3 com tipo inválido !!! Esperado 0,1,2 ou 9"_cp,
                            "Existem registros inválidos diferente de 0,1 e 9"_cp}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Cat("layout '", c.layout, "' line ", c.line, " position ", c.pos, " value ", c.value));
    const Lines clean = Clean(c.layout);
    Lines broken = clean;
    testing::Put(broken[c.line - 1], c.pos, c.value);
    const testing::Validation before = testing::Validate(Command(c.layout), clean),
                              after = testing::Validate(Command(c.layout), broken);
    EXPECT_EQ(std::pair(before.status, after.status), std::pair(Outcome::Status::Clean, Outcome::Status::Faulty));
    const testing::ReportChanges changes = testing::Changes(before.report, after.report);
    // Removed: a SIGCB header line that shows the field, SICOB's OK verdict and "HEADER OK" banner.
    const bool sicob = c.layout == "SICOB";
    EXPECT_EQ(changes.removed.size(), std::size_t(sicob + (c.line == 1 && (sicob || c.pos == 31 || c.pos == 101))));
    Lines added = L(c.added);
    if (sicob) added.push_back(kFim);
    EXPECT_EQ(changes.added, added);
  }
  // A SIGCB file without its trailer ends without the closing line, and is not clean.
  const Lines sigcb = testing::CleanSigcb400("007");
  const testing::Validation v = testing::Validate(Command("007"), Lines(sigcb.begin(), sigcb.end() - 1));
  EXPECT_EQ(v.status, Outcome::Status::Faulty);
  EXPECT_EQ(v.report.back(), " ");
}

// Every byte value: the CNAB 400 systems take unaccented letters, digits, the blank and . - $ % & @ , / ( ) :
TEST(Cnab400, CharacterCheckOfEveryByte) {
  const std::string allowed = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .-$%&@,/():";
  std::string all, refused;
  for (int byte = 0; byte < 256; ++byte) {
    all += static_cast<char>(byte);
    if (allowed.find(static_cast<char>(byte)) == std::string::npos) refused += Cat(byte + 1, ',');
  }
  EXPECT_EQ(InvalidPositions(all), refused);
}

TEST(Cnab400, LineNumbersPastSixteenBits) {
  for (const std::string_view layout : {"   ", "SICOB"}) {
    Lines lines(70000, Clean(layout)[1]);  // header, 69,998 titles, trailer
    lines.front() = Clean(layout).front();
    lines.back() = Clean(layout).back();
    testing::Put(lines[69997], 150, layout == "SICOB" ? "A" : "S");  // acceptance: N or S; A or N
    const Lines report = testing::Validate(Command(layout), lines).report;
    const Texts expected = layout == "SICOB" ? Texts{"Linha 69998:  Aceite Inválido (150,1)"_cp, kFim}
                                             : Texts{Err(69998, "22.1", "S"), kEnd + "70000"};
    EXPECT_EQ(Lines(report.end() - 2, report.end()), L(expected));
  }
}

}  // namespace
}  // namespace verilote
