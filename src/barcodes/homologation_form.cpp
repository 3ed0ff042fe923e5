#include "barcodes/homologation_form.hpp"

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/dates.hpp"

namespace verilote {

namespace {

constexpr std::string_view kRule = "========================================================================";

constexpr std::string_view kCounts[] = {
    kRule,
    "Quantidade de amostras: ",
    "Quantidade de erros   : ",
    "Nosso Número inicial: "_cp,
    "Nosso Número final  : "_cp,
    kRule,
    "Marque com X as afirmações corretas. Os itens desmarcados necessitam de ajuste"_cp,
    kRule,
};

constexpr std::string_view kFichaItems[] = {
    "(   ) Ficha compe com 95 a 108mm de altura e 210 a 216mm comprimento",
    "(   ) Ficha compe está corretamente preenchido:"_cp,
    "      Local de pagamento, Data doc, Data proc, carteira, Espécie"_cp,
    "      Aceite, valor doc, moeda, instruções"_cp,
    "(   ) Ficha compe contém os campos  (=) valor doc; (-) Desc/Abat, "_cp,
    "      (-) outras deduções (+) Mora/Multa; (+) Outros Acréscimos; "_cp,
    "      (=) Valor cobrado",
};

constexpr std::string_view kPrintItems[] = {
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
};

// Seven underlined lines for the remarks, each followed by a blank one.
constexpr int kRemarkLines = 7;
constexpr std::string_view kRemarkLine = "_________________________________________________________________________";

constexpr std::string_view kSignature = " Local ________________       HOMOLOGADOR ______________________________";

void AppendAll(Host& host, std::span<const std::string_view> lines) {
  for (const std::string_view line : lines) host.ReportAppend(line);
}

}  // namespace

void WriteHomologationForm(Host& host, const HomologationForm& form) {
  for (int i = 0; i < 3; ++i) host.ReportAppend(" ");
  host.ReportAppend(
      Cat("CAIXA ECONÔMICA FEDERAL               "_cp, form.program, " - GERADO EM ", FormatDate(host.Today())));
  host.ReportAppend(form.title);
  AppendAll(host, kCounts);
  AppendAll(host, form.items);
  AppendAll(host, kFichaItems);
  host.ReportAppend(form.payerItem);
  AppendAll(host, kPrintItems);
  for (int i = 0; i < kRemarkLines; ++i) {
    host.ReportAppend(kRemarkLine);
    host.ReportAppend(" ");
  }
  host.ReportAppend(kSignature);
}

}  // namespace verilote
