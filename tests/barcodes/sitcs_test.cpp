#include "barcodes/sitcs.hpp"

#include "barcodes/boleto_builder.hpp"

namespace verilote {
namespace {

using testing::SitcsBoleto;

const std::string kInvalid("BARRA 1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
const std::string kOk12345 = "BARRA 1 CORRETA !! Tamanho: 44  Sindicato   :0035/S-12345";

FakeHost Several(std::vector<std::string> answers, Outcome::Status expected) {
  return Execute(SITCSVriosboletos1Click, std::move(answers), expected);
}

TEST(SitcsSeveral, EachCorruptionOrEntityGivesItsLines) {
  const std::string valid = SitcsBoleto{}.Barcode();
  const auto with = [&](std::size_t pos, std::string_view text) {
    return testing::RedoGeneralDigit(With(valid, pos, text));
  };
  const auto entity = [](char type) { return SitcsBoleto{.type = type, .code = "345"}.Barcode(); };
  const std::string inv12345 = kInvalid + " Sindicato   :0035/S-12345";
  const std::string union345(" >>>> ATENÇÃO: Código Sindical inválido deveria ser 12345 encontrado 345"_cp);
  // clang-format off
  // lines: the boleto's lines before the first warning.
  const struct { std::string barcode; Lines lines; std::string typed = "12345"; } cases[] = {
      {entity('2'), L({"BARRA 1 CORRETA !! Tamanho: 44  Federação   :0035/F-345"_cp}), "345"},
      {entity('3'), L({"BARRA 1 CORRETA !! Tamanho: 44  Confederação:0035/C-345"_cp}), "345"},
      {entity('4'), L({"BARRA 1 CORRETA !! Tamanho: 44  MTE/CEES    :0035/M-345"}), "345"},
      {with(20, "98123457178"), L({inv12345, "Posição 20 não é 97. Posição 29 não é 77"_cp})},
      {with(28, "5"), L({Cat(kInvalid, "Tipo Inválido !!!"_cp), union345})},
      {with(6, "0000"), L({"Barra sem FATOR DE VENCIMENTO.", kOk12345})}};  // no due date is only a notice
  // clang-format on
  for (const auto& c : cases) {
    const bool correct = c.lines.back().starts_with("BARRA 1 CORRETA");
    const FakeHost host = Several({"1", c.typed, "0035", c.barcode}, correct ? kRunClean : kRunFaulty);
    const Lines& r = host.report;
    ASSERT_GT(r.size(), c.lines.size());
    EXPECT_EQ(Slice(r, 0, static_cast<std::ptrdiff_t>(c.lines.size())), c.lines) << c.barcode;
    EXPECT_TRUE(r[c.lines.size()].starts_with("Advert")) << c.barcode;
  }
}

// The wrong union code, the general digit, the boletos of no value, the
// summary rows and the checklist are the file command's, run on the example
// file end to end; here the prompts of the union code and the agency.
TEST(SitcsSeveral, Prompts) {
  const FakeHost host = Several({"1", "12345", "0035", SitcsBoleto{}.Barcode()}, kRunClean);
  const auto prompt = [&](std::size_t i) {
    return Cat(host.prompts.at(i).caption, "|", host.prompts[i].prompt, "|", host.prompts[i].defaultText);
  };
  EXPECT_EQ(prompt(1), "Código SINDICAL|Digite o código Sindical|XXXXX"_cp);
  EXPECT_EQ(prompt(2), "Agência|Digite a agência do convênio|0035"_cp);
}

}  // namespace
}  // namespace verilote
