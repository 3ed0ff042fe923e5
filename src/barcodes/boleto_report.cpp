#include "barcodes/boleto_report.hpp"

#include <algorithm>
#include <string>

#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "barcodes/boleto.hpp"

namespace verilote {

namespace {

// The summary and printed-form checklist of the SIGCB batch commands, rows 1
// to 48. Rows 34 and 35 are alternatives (registered or unregistered
// collection); the SICOB batch command writes rows 5-48 with its own changes.
constexpr std::string_view kChecklistC[] = {
    "Resumo dos boletos para conferência:"_cp,
    "========== ======== == ================= ========= "
    "==================================================================",
    "DT VENC    COD CED  CT NOSSO NÚMERO       VALOR    REPRESENTAÇÃO NUMÉRICA"_cp,
    "========== ======== == ================= ========= "
    "==================================================================",
    "------------------------------------------------------------------------",
    "Verifique os seguintes itens:",
    "------------------------------------------------------------------------",
    "(   ) O papel é adequado."_cp,
    "(   ) A ficha de compensação tem De 88 a 108 mm de altura por 166 (Papel A4) a 216 mm (Papel Carta) de comprimento;"_cp,
    "Acesse o SIGCB e confira com o boleto os seguntes dados",
    "(   ) Nome do Cedente",
    "(   ) CNPJ",
    "(   ) Agência e Código do cedente"_cp,
    "O recibo do sacado - É livre, porém deve constar os seguintes dados:"_cp,
    "Confira se é o mesmo: Recibo do Sacado X Ficha de Compensação"_cp,
    "(   ) Nome do cedente",
    "(   ) Agência/Código do cedente"_cp,
    "(   ) Vencimento",
    "(   ) Nosso número"_cp,
    "(   ) Valor do título"_cp,
    "(   ) Nome do sacado.",
    "Na Ficha de compensação de ter:"_cp,
    "(   ) Logotipo CAIXA no padrão"_cp,
    "(   ) 104-0 ( Deve estar em negrito altura de 5 mm e traços de 1,2 mm )"_cp,
    "(   ) A Representação Numérica do código de barras fica na parte superior direita do documento"_cp,
    "(   ) A Representação Numérica tem Caracteres: de 3,5 mm a 4 mm de altura fios de 0,3 mm e espaços = 1 caracter"_cp,
    "(   ) A Representação Numérica está separada corretamente."_cp,
    "(   ) Local de pagamento;",
    "(   ) Data documento;",
    "(   ) Número do documento"_cp,
    "(   ) Espécie documento CH,DM,DMI,DS,DSI,DR,LC,NCC,NCE,NCI,NCR,NP,NPR,TM,TS,NS,RC,FAT,ND,AP,ME,PC,NF,DD,CPR,OU"_cp,
    "(   ) Aceite (S/N)",
    "(   ) Data processamento",
    "(   ) Carteira RG. Informe sobre os juros e multas que devem ser informados em campos específicos na remessa."_cp,
    "(   ) Carteira SR",
    "(   ) Moeda R$",
    "(   ) Instruções (texto de responsabilidade do Cedente)"_cp,
    "(   ) (-)Desconto/Abatimento;",
    "(   ) (-)Outras Deduções/Abatimento;"_cp,
    "(   ) (+)Mora/Multa/Juros;",
    "(   ) (+)Outros Acréscimos;"_cp,
    "(   ) (=)Valor Cobrado",
    "(   ) Sacado (nome e endereço completo)"_cp,
    "(   ) CPF/CNPJ do sacado",
    "(   ) Na Barra: Zona de silêncio de 5 mm"_cp,
    "(   ) Código de barras, 13mm x 103mm zona de silêncio de 5 mm a esquerda."_cp,
    "(   ) Código de barras - Do fim do papel até o centro da barra tem 12mm"_cp,
    "(   ) Termo: AUTENTICAÇÃO MECÂNICA - FICHA DE COMPENSAÇÃO  ( altura de 2 mm e traços de 0,3 mm)"_cp,
};

constexpr std::size_t kSicobAccessRow = 10;
constexpr std::string_view kSicobAccess = "Acesse o SICOB e confira com o boleto os seguntes dados";

// Rows the SICOB batch command adds after a row of the list above.
struct AddedRow {
  std::size_t after;
  std::string_view text;
};
constexpr AddedRow kSicobAddedRows[] = {
    {28, "(   ) Vencimento;"},
    {33, "(   ) Nosso número"_cp},
    {36, "(   ) (=)Valor do documento;"},
};

constexpr std::size_t kRegisteredRow = 34;
constexpr std::size_t kUnregisteredRow = 35;

}  // namespace

void BoletoTally::Error(std::string_view line) {
  host.ReportAppend(line);
  ++errors;
}

void BoletoTally::CommonTests(std::string_view barcode, std::string_view dvWrong) {
  if (!IsCaixaBank(barcode)) Error(kBankNotCaixa);
  if (!IsRealCurrency(barcode)) Error(kCurrencyNotReal);
  if (!HasValidGeneralDv(barcode)) Error(Cat(dvWrong, BarcodeGeneralDv(barcode), " encontrado ", Field(barcode, 5, 5)));
}

void BoletoTally::InputEcho(std::string_view text) {
  host.ReportAppend(Cat("Valor de entrada: ", text, " Tamanho: ", text.size()));
}

bool BoletoTally::Verdict() {
  host.ReportAppend(kVerdictRule);
  host.ReportAppend(errors == 0 ? kBoletoCorrect : kBoletoInvalid);
  host.ReportAppend(kVerdictRule);
  return errors == 0;
}

void WriteChecklistHead(Host& host) {
  for (std::size_t row = 1; row <= 4; ++row) host.ReportAppend(kChecklistC[row - 1]);
}

void WriteChecklistTail(Host& host, ChecklistSystem system, bool registered) {
  const bool sicob = system == ChecklistSystem::Sicob;
  for (std::size_t row = 5; row <= std::size(kChecklistC); ++row) {
    if (row == (registered ? kUnregisteredRow : kRegisteredRow)) continue;
    host.ReportAppend(sicob && row == kSicobAccessRow ? kSicobAccess : kChecklistC[row - 1]);
    if (!sicob) continue;
    for (const AddedRow& added : kSicobAddedRows)
      if (added.after == row) host.ReportAppend(added.text);
  }
}

std::string TwoDigitNumber(std::uint64_t n) {
  const std::string digits = Cat(n);
  return PadZeroLeft(digits, std::max<std::size_t>(2, digits.size()));
}

}  // namespace verilote
