// "Relatório de Homologação": the blank homologation report of collection
// boletos, filled in by hand after printing. Only the date is computed.
#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/dates.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {

namespace {

// The form; row 4 is followed by today's date.
constexpr std::string_view kForm[] = {
    " ",
    " ",
    " ",
    "CAIXA ECONÔMICA FEDERAL               NCOSB001 - GERADO EM "_cp,
    "RELATÓRIO DE HOMOLOGAÇÃO DOS BLOQUETOS            CEDENTE: "_cp,
    "========================================================================",
    "Quantidade de amostras: ",
    "Quantidade de erros   : ",
    "Nosso Número inicial: "_cp,
    "Nosso Número final  : "_cp,
    "========================================================================",
    "Marque com X as afirmações corretas. Os itens desmarcados necessitam de ajuste"_cp,
    "========================================================================",
    "(   ) Foi feita a homologação dos dados no sistema"_cp,
    "(   ) O dígito verificador do Nosso Número confere e possui dígito de 0 a 9"_cp,
    "(   ) O código do cedente              e o campo agência/código do cedente conferem"_cp,
    "(   ) A representação numérica confere"_cp,
    "(   ) A data de vencimento está correta"_cp,
    "(   ) FICHA DE COMPENSAÇÃO e RECIBO DE SACADO têm os mesmos dados: ...Nome do Sacado"_cp,
    "      Vencimento, agencia, CODcedente, NN, valor, Nome do cedente",
    "(   ) Ficha compe com 95 a 108mm de altura e 210 a 216mm comprimento",
    "(   ) Ficha compe está corretamente preenchido:"_cp,
    "      Local de pagamento, Data doc, Data proc, carteira, Espécie"_cp,
    "      Aceite, valor doc, moeda, instruções"_cp,
    "(   ) Ficha compe contém os campos  (=) valor doc; (-) Desc/Abat, "_cp,
    "      (-) outras deduções (+) Mora/Multa; (+) Outros Acréscimos; "_cp,
    "      (=) Valor cobrado",
    "(   ) Conferido Instruções, sacado, endereço"_cp,
    "(   ) Autenticação mecânica/ficha de compensação 2mm altura (à direita)"_cp,
    "(   ) Representação Num com 3,5 a 4mm de altura, com a separação de ponto"_cp,
    "(   ) Logotipo da CAIXA está no padrão e o código é 104-0"_cp,
    "(   ) Logotipo do Cedente está com boa apresentação"_cp,
    "(   ) O recibo do sacado contém a expressão RECIBO DO SACADO"_cp,
    "(   ) Código de barras, medidas:"_cp,
    "      13mm altura X 103mm largura, 5mm de espaço a esquerda"_cp,
    "      12mm do final da folha até o centro do codbar"_cp,
    "(   ) Fundo branco, impressão azul ou preta"_cp,
    "(   ) Amostras têm dígito geral de 1 a 9"_cp,
    "(   ) Possui zona de silêncio"_cp,
    "========================================================================",
    "(   ) O Boleto está homologado"_cp,
    "(   ) O Boleto está homologado com ressalvas para os campos não marcados"_cp,
    "(   ) O Boleto NÃO está homologado com erros para os campos não marcados"_cp,
    "========================================================================",
    " ",
    "Observação:______________________________________________________________"_cp,
    " ",
    "_________________________________________________________________________",
    " ",
    "_________________________________________________________________________",
    " ",
    "_________________________________________________________________________",
    " ",
    "_________________________________________________________________________",
    " ",
    "_________________________________________________________________________",
    " ",
    "_________________________________________________________________________",
    " ",
    "_________________________________________________________________________",
    " ",
    " Local ________________       HOMOLOGADOR ______________________________",
};

constexpr std::size_t kDatedRow = 4;

}  // namespace

Verdict RelatriodeHomologao1Click(Host& host) {
  for (std::size_t row = 1; row <= std::size(kForm); ++row)
    host.ReportAppend(row == kDatedRow ? Cat(kForm[row - 1], FormatDate(host.Today())) : std::string(kForm[row - 1]));
  return Verdict::Clean;
}

}  // namespace verilote
