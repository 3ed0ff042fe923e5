// The bank's code tables: codes typed from the CNAB 240 manual's notes C044
// and C047 and the CNAB 400 manual's notes NE032-NE038 give the manual's
// words; a code a table lacks gives "código NN não consta da tabela".
#include "returns/return_codes.hpp"

#include <gtest/gtest.h>

#include "app/cp1252.hpp"

namespace verilote::returns {
namespace {

TEST(ReturnCodes, EachTableGivesTheManualsWords) {
  struct Case {
    CodeTable table;
    std::string_view code;
    std::string_view words;  // empty: the table lacks the code
  };
  // clang-format off
  const Case cases[] = {
      {CodeTable::Movimento240, "02", "Entrada Confirmada"},
      {CodeTable::Movimento240, "06", "Liquidação"_cp},
      {CodeTable::Movimento240, "28", "Débito de Tarifas/Custas"_cp},
      {CodeTable::Movimento240, "62", "Confirmação de alteração do valor/percentual mínimo/máximo"_cp},
      {CodeTable::Movimento240, "10", ""},
      {CodeTable::MotivoRejeicao240, "01", "Código do Banco Inválido"_cp},
      {CodeTable::MotivoRejeicao240, "48", "CEP Inválido"_cp},
      {CodeTable::MotivoRejeicao240, "88", "Número da remessa menor/igual remessa anterior"_cp},
      {CodeTable::MotivoRejeicao240, "99", "Código de DDD inválido"_cp},
      {CodeTable::MotivoRejeicao240, "AA", "Cód Desconto Preenchido, Obrig Data e Valor/Perc"_cp},
      {CodeTable::MotivoRejeicao240, "A4", "Pagador DDA"},
      {CodeTable::MotivoRejeicao240, "VC", "Beneficiário deve ser padrão CNAB240"_cp},
      {CodeTable::MotivoRejeicao240, "ZZ", "Código Movimento Inválido p/ Segmento Y8"_cp},
      {CodeTable::MotivoRejeicao240, "00", ""},
      {CodeTable::MotivoRejeicao240, "A5", ""},
      {CodeTable::MotivoTarifa240, "02", "Tarifa de Manutenção de Título Vencido"_cp},
      {CodeTable::MotivoTarifa240, "45", "Emissão de 2ª via de Boleto Cobrança Registrada"_cp},
      {CodeTable::MotivoTarifa240, "22", ""},
      {CodeTable::MotivoLiquidacao240, "02", "Casa Lotérica"_cp},
      {CodeTable::MotivoLiquidacao240, "14", "Protestado"},
      {CodeTable::MotivoLiquidacao240, "01", ""},
      {CodeTable::FormaPagamento240, "01", "Dinheiro"},
      {CodeTable::FormaPagamento240, "02", "Cheque"},
      {CodeTable::FormaPagamento240, "03", ""},
      {CodeTable::Ocorrencia400, "01", "Entrada Confirmada"},
      {CodeTable::Ocorrencia400, "21", "Liquidação"_cp},
      {CodeTable::Ocorrencia400, "34", "Tarifas Diversas"},
      {CodeTable::Ocorrencia400, "99", "Rejeição do Título – Código rejeição informado nas pos 80 a 82"_cp},
      {CodeTable::Ocorrencia400, "A4", "Pagador DDA"},
      {CodeTable::Ocorrencia400, "24", ""},
      {CodeTable::Rejeicao400, "09", "Nosso Número não pertence ao Beneficiário"_cp},
      {CodeTable::Rejeicao400, "84", "Protesto inválido para título sem Número do documento (seu número)"_cp},
      {CodeTable::Rejeicao400, "03", ""},
      {CodeTable::Erro400, "12", "Número de Remessa já Processada"_cp},
      {CodeTable::Erro400, "19", "Número seqüencial do Registro Inválido"_cp},
      {CodeTable::Erro400, "53", "“USO DA EMPRESA” obrigatório"_cp},
      {CodeTable::Erro400, "95", "Autorização de pagamento parcial inválida"_cp},
      {CodeTable::Erro400, "22", ""},
      {CodeTable::Canal400, "002", "Unidade Lotérica"_cp},
      {CodeTable::Canal400, "011", "Comandada Cliente On-line"},
      {CodeTable::Canal400, "005", ""},
      {CodeTable::FormaPagamento400, "02", "Cheque"},
      {CodeTable::FormaPagamento400, "03", ""},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(CodeText(c.table, c.code), c.words) << static_cast<int>(c.table) << " " << c.code;
    const std::string described =
        c.words.empty() ? std::string("código "_cp) + std::string(c.code) + std::string(" não consta da tabela"_cp)
                        : std::string(c.words);
    EXPECT_EQ(DescribeCode(c.table, c.code), described) << static_cast<int>(c.table) << " " << c.code;
  }
}

// The 400 return writes two-digit codes in three positions (rejection at
// 80-82) and the payment form in one (192): the same code in either width
// finds the same words, and the unknown code is echoed as written.
TEST(ReturnCodes, NumericCodesAreFoundInTheWidthTheFileWrites) {
  struct Case {
    CodeTable table;
    std::string_view code;
    std::string_view sameAs;
  };
  const Case cases[] = {
      {CodeTable::Rejeicao400, "026", "26"},     {CodeTable::Rejeicao400, "26 ", "26"},
      {CodeTable::FormaPagamento400, "1", "01"}, {CodeTable::Canal400, "02", "002"},
      {CodeTable::Erro400, "019", "19"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(CodeText(c.table, c.code).empty()) << c.code;
    EXPECT_EQ(CodeText(c.table, c.code), CodeText(c.table, c.sameAs)) << c.code;
  }
  for (const std::string_view odd : {"", "  ", "0", "1234", "A", "\xFF\x80", "2 6"})
    EXPECT_TRUE(CodeText(CodeTable::Rejeicao400, odd).empty()) << odd;
  EXPECT_EQ(DescribeCode(CodeTable::Rejeicao400, "003"), std::string("código 003 não consta da tabela"_cp));
}

TEST(ReturnCodes, MotivesAreReadFromTheTableTheMovementNames) {
  const std::pair<std::string_view, std::optional<CodeTable>> cases[] = {
      {"02", CodeTable::MotivoRejeicao240},
      {"03", CodeTable::MotivoRejeicao240},
      {"26", CodeTable::MotivoRejeicao240},
      {"30", CodeTable::MotivoRejeicao240},
      {"28", CodeTable::MotivoTarifa240},
      {"06", CodeTable::MotivoLiquidacao240},
      {"09", CodeTable::MotivoLiquidacao240},
      {"17", CodeTable::MotivoLiquidacao240},
      {"46", std::nullopt},
      {"  ", std::nullopt},
  };
  for (const auto& [movement, table] : cases) EXPECT_EQ(MotiveTableOf240(movement), table) << movement;
}

}  // namespace
}  // namespace verilote::returns
