#include "barcodes/union_homologation.hpp"

#include <string_view>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/dates.hpp"

namespace verilote {

namespace {

constexpr std::string_view kRule = "========================================================================";
constexpr std::string_view kBlankLine = "_________________________________________________________________________";

// The form after its heading line with the date.
constexpr std::string_view kForm[] = {
    "RELATÓRIO DE HOMOLOGAÇÃO DOS BLOQUETOS     CÓDIGO SINDICAL: "_cp,
    kRule,
    "Quantidade de amostras: ",
    "Quantidade de erros   : ",
    "Nosso Número inicial: "_cp,
    "Nosso Número final  : "_cp,
    kRule,
    "Marque com X as afirmações corretas. Os itens desmarcados necessitam de ajuste"_cp,
    kRule,
    "(   ) O dígito verificador do Nosso Número confere e possui dígito de 0 a 9"_cp,
    "(   ) O código do sindicato              e o campo agência/código do cedente conferem"_cp,
    "(   ) A representação numérica confere"_cp,
    "(   ) A data de vencimento está correta"_cp,
    "(   ) FICHA DE COMPENSAÇÃO e RECIBO DO CONTRIBUINTE têm os mesmos dados: ...Nome do Contribuinte"_cp,
    "      Vencimento, agencia, CODSIND, NN, valor, Nome do SINDICATO",
    "(   ) Ficha compe com 95 a 108mm de altura e 210 a 216mm comprimento",
    "(   ) Ficha compe está corretamente preenchido:"_cp,
    "      Local de pagamento, Data doc, Data proc, carteira, Espécie"_cp,
    "      Aceite, valor doc, moeda, instruções"_cp,
    "(   ) Ficha compe contém os campos  (=) valor doc; (-) Desc/Abat, "_cp,
    "      (-) outras deduções (+) Mora/Multa; (+) Outros Acréscimos; "_cp,
    "      (=) Valor cobrado",
    "(   ) Conferido Instruções, contribuitne, endereço"_cp,
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
    kRule,
    "(   ) O Boleto está homologado"_cp,
    "(   ) O Boleto está homologado com ressalvas para os campos não marcados"_cp,
    "(   ) O Boleto NÃO está homologado com erros para os campos não marcados"_cp,
    kRule,
    " ",
    "Observação:______________________________________________________________"_cp,
    " ",
    kBlankLine,
    " ",
    kBlankLine,
    " ",
    kBlankLine,
    " ",
    kBlankLine,
    " ",
    kBlankLine,
    " ",
    kBlankLine,
    " ",
    kBlankLine,
    " ",
    " Local ________________       HOMOLOGADOR ______________________________",
};

}  // namespace

Verdict RelatoriodeHomologao1Click(Host& host) {
  for (int i = 0; i < 3; ++i) host.ReportAppend(" ");
  host.ReportAppend(Cat("CAIXA ECONÔMICA FEDERAL               TCSSB001 - GERADO EM "_cp, FormatDate(host.Today())));
  for (const std::string_view line : kForm) host.ReportAppend(line);
  return Verdict::Clean;
}

}  // namespace verilote
