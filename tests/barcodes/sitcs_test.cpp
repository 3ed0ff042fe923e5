#include "barcodes/sitcs.hpp"

#include <algorithm>
#include <sstream>

#include "barcodes/boleto_builder.hpp"
#include "cli/cli.hpp"

namespace verilote {
namespace {

using testing::SitcsBoleto;

const std::string kRule(72, '-');
const std::string kSummaryHead("Resumo dos boletos para conferência:"_cp);
const std::string kInvalid("BARRA 1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
const std::string kOk12345 = "BARRA 1 CORRETA !! Tamanho: 44  Sindicato   :0035/S-12345";
constexpr std::size_t kChecklistTail = 72;  // lines after the summary rows

std::string Unionist(std::string_view code) {
  return Cat(" >>>> ATENÇÃO: Código Sindical inválido deveria ser 12345 encontrado "_cp, code);
}

// The checklist from `at`: its two heading lines, the summary rows, then its
// anchor rows; the entity row ends with the last boleto's entity reference.
void ExpectChecklist(const Lines& r, std::size_t at, const Lines& rows, std::string_view entity) {
  ASSERT_EQ(r.size(), at + 2 + rows.size() + kChecklistTail);
  EXPECT_EQ(r[at], kSummaryHead);
  EXPECT_EQ(r[at + 1],
            "COD Vencimento Nosso Numero      Valor          xxx     xx Confira nestas 5 posições o "_cp
            "código sindical"_cp);
  const auto n = static_cast<std::ptrdiff_t>(r.size() - kChecklistTail);
  EXPECT_EQ(Slice(r, static_cast<std::ptrdiff_t>(at) + 2, n), rows);
  EXPECT_EQ(Slice(r, n, n + 4), L({kRule, "Verifique os seguintes itens:", kRule, "(   ) O papel é adequado."_cp}));
  EXPECT_EQ(r[n + 13], Cat("(   ) Nome da Entidade  (   ) Código da Entidade Sindical "_cp, entity));
  EXPECT_EQ(r[n + 55], "(   ) Guia Vencida - cobrar multa de 10% nos trinta primeiros dias, com adicional");
  EXPECT_EQ(r.back(), "(   ) A Representação Numérica está separada corretamente."_cp);
}

// The summary row of a boleto: digit 27, digits 43-44, due date, Nosso
// Número, value right-aligned in ten, the typeable line with four-blank gaps.
std::string Row(const std::string& b, std::string_view value, std::string_view due = "07/07/2026") {
  return Cat(b.substr(26, 1), b.substr(42, 2), ' ', due, ' ', b.substr(30, 12), ' ',
             std::string(value.size() < 10 ? 10 - value.size() : 0, ' '), value, "  [", testing::PrintedLine(b, "    "),
             ']');
}

Lines MissingDigits(std::initializer_list<int> present) {
  Lines lines;
  for (int d = 1; d <= 9; ++d)
    if (std::find(present.begin(), present.end(), d) == present.end())
      lines.push_back(Cat("Advertência: Faltou Boleto com dígito "_cp, d));
  return lines;
}

FakeHost Several(std::vector<std::string> answers, Outcome::Status expected) {
  FakeHost host;
  host.answers.assign(answers.begin(), answers.end());
  EXPECT_EQ(RunCommand(SITCSVriosboletos1Click, host).status, expected);
  return host;
}

TEST(SitcsSeveral, OneBoletoReportAndPrompts) {
  const std::string b = SitcsBoleto{}.Barcode();
  const FakeHost host = Several({"1", "12345", "0035", b}, kRunClean);
  Lines head = {kOk12345};
  for (const std::string& line : MissingDigits({b[4] - '0'})) head.push_back(line);
  EXPECT_EQ(Slice(host.report, 0, 9), head);
  // Factor 1500 of the cycle that began at 1000 on 22/02/2025.
  ExpectChecklist(host.report, 9, {Row(b, "123,45")}, "0035/S-12345");
  // clang-format off
  const struct { std::string_view caption, prompt, defaultText; } prompts[] = {
      {"Quantidade", "Entre com a quantidade de boletos", "2"},
      {"Código SINDICAL"_cp, "Digite o código Sindical"_cp, "XXXXX"},
      {"Agência"_cp, "Digite a agência do convênio"_cp, "0035"},
      {"Código de Barras"_cp, "Passe o leitor no Código de Barras"_cp, ""}};
  // clang-format on
  ASSERT_EQ(host.prompts.size(), std::size(prompts));
  for (std::size_t i = 0; i < std::size(prompts); ++i) {
    EXPECT_EQ(host.prompts[i].caption, prompts[i].caption);
    EXPECT_EQ(host.prompts[i].prompt, prompts[i].prompt);
    EXPECT_EQ(host.prompts[i].defaultText, prompts[i].defaultText);
  }
}

TEST(SitcsSeveral, EachCorruptionOrEntityGivesItsLines) {
  const std::string valid = SitcsBoleto{}.Barcode();
  const auto with = [&](std::size_t pos, std::string_view text) {
    return testing::RedoGeneralDigit(With(valid, pos, text));
  };
  const auto entity = [](char type) { return SitcsBoleto{.type = type, .code = "345"}.Barcode(); };
  const std::string wrongDv = With(valid, 5, Other(valid[4]));
  const std::string inv12345 = kInvalid + " Sindicato   :0035/S-12345", union345 = Unionist("345");
  // clang-format off
  // lines: the boleto's lines before the first warning.
  const struct { std::string barcode; Lines lines; std::string typed = "12345"; } cases[] = {
      {entity('2'), L({"BARRA 1 CORRETA !! Tamanho: 44  Federação   :0035/F-345"_cp}), "345"},
      {entity('3'), L({"BARRA 1 CORRETA !! Tamanho: 44  Confederação:0035/C-345"_cp}), "345"},
      {entity('4'), L({"BARRA 1 CORRETA !! Tamanho: 44  MTE/CEES    :0035/M-345"}), "345"},
      {with(20, "98"), L({inv12345, "Posição 20 não é 97."_cp})},
      {with(29, "78"), L({inv12345, " Posição 29 não é 77"_cp})},
      {with(20, "98123457178"), L({inv12345, "Posição 20 não é 97. Posição 29 não é 77"_cp})},
      {with(22, "54321"), L({kInvalid + " Sindicato   :0035/S-54321", Unionist("54321")})},
      {with(28, "2"), L({Cat(kInvalid, " Federação   :0035/F-345"_cp), union345})},  // a federation code at 24-26
      {with(28, "5"), L({Cat(kInvalid, "Tipo Inválido !!!"_cp), union345})},
      // The bank's own tests of positions 1-5 reject the boleto too.
      {with(1, "237"), L({"Banco não é 104 - CAIXA"_cp, inv12345})},
      {with(4, "0"), L({"Moeda não é REAL na posição 4"_cp, inv12345})},
      {wrongDv, L({Cat("Dígito Geral inválido, esperado "_cp, valid[4], " encontrado ", wrongDv[4]), inv12345})},
      {with(6, "0000"), L({"Barra sem FATOR DE VENCIMENTO.", kOk12345})}};  // no due date is only a notice
  // clang-format on
  for (const auto& c : cases) {
    const bool correct = c.lines.back().starts_with("BARRA 1 CORRETA");
    const FakeHost host = Several({"1", c.typed, "0035", c.barcode}, correct ? kRunClean : kRunFaulty);
    const Lines& r = host.report;
    ASSERT_GT(r.size(), c.lines.size());
    EXPECT_EQ(Slice(r, 0, static_cast<std::ptrdiff_t>(c.lines.size())), c.lines) << c.barcode;
    EXPECT_TRUE(r[c.lines.size()].starts_with("Advert")) << c.barcode;
    // The checklist names the last boleto's entity.
    const std::string& last = c.lines.back();
    if (correct) {
      EXPECT_TRUE(r[r.size() - 59].ends_with(last.substr(last.rfind(':') + 1))) << c.barcode;
    }
  }
}

// ---- From a file.

TEST(SitcsFile, ExampleThroughTheCommandLine) {
  const std::string path = std::string(VERILOTE_SOURCE_DIR) + "/examples/arrecadacao/boletos_sitcs.txt";
  const std::vector<std::string_view> args = {"run",        "SITCSCdigodeBarrasViaarquivo1Click",
                                              "--file",     path,
                                              "--answer",   "12345",
                                              "--answer",   "0035",
                                              "--today",    "06/12/2026",
                                              "--encoding", "cp1252"};
  std::ostringstream out, err;
  EXPECT_EQ(CliMain(args, out, err), kExitFaulty);
  EXPECT_EQ(err.str(), "");
  Lines r;
  std::istringstream text(out.str());
  for (std::string line; std::getline(text, line);) r.push_back(line);
  Lines head = L({kOk12345, "BARRA 2 CORRETA !! Tamanho: 44  Sindicato   :0035/S-12345",
                  "BARRA 3 CORRETA !! Tamanho: 44  Sindicato   :0035/S-12345",
                  "BARRA 4 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS. Sindicato   :0035/S-54321"_cp,
                  Unionist("54321"), "Dígito Geral inválido, esperado 4 encontrado 5"_cp,
                  "BARRA 5 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS. Sindicato   :0035/S-12345"_cp});
  for (const std::string& line : MissingDigits({1, 3, 5, 7, 8})) head.push_back(line);
  head.emplace_back("Atenção: Boleto 2 está sem valor, veja observação abaixo"_cp);
  ASSERT_GT(r.size(), head.size() + 3);
  EXPECT_EQ(Slice(r, 0, static_cast<std::ptrdiff_t>(head.size())), head);
  // clang-format off
  ExpectChecklist(r, head.size() + 3, {
      "743 07/07/2026 000000000101     123,45  [10499.71235    45717.700004    00000.101436    7    15000000012345]",
      "743 27/07/2026 000000000102       0,00  [10499.71235    45717.700004    00000.102434    1    15200000000000]",
      "207 06/08/2026 000000000103   2.500,00  [10499.71235    45217.700009    00000.103077    3    15300000250000]",
      "743 07/07/2026 000000000104     123,45  [10499.75434    21717.700005    00000.104430    8    15000000012345]",
      "743 07/07/2026 000000000105     999,00  [10499.71235    45717.700004    00000.105437    5    15000000099900]"},
      "0035/S-12345");
  // clang-format on
}

}  // namespace
}  // namespace verilote
