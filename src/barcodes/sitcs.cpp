#include "barcodes/sitcs.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "app/spool.hpp"
#include "banking/dates.hpp"
#include "banking/text.hpp"
#include "barcodes/boleto.hpp"
#include "barcodes/boleto_report.hpp"
#include "barcodes/collection.hpp"

namespace verilote {

namespace {

// The checklist for the printed boletos; the summary rows go after its second
// line, the last boleto's entity reference at the end of the line "Nome da
// Entidade".
constexpr std::string_view kChecklistHead[] = {
    "Resumo dos boletos para conferência:"_cp,
    "COD Vencimento Nosso Numero      Valor          xxx     xx Confira nestas 5 posições o código sindical"_cp,
};

constexpr std::string_view kChecklistBody[] = {
    kHyphenRule,
    "Verifique os seguintes itens:",
    kHyphenRule,
    "(   ) O papel é adequado."_cp,
    "Acesse o site da CAIXA (www.caixa.gov.br), opção Contribuição Sindical Urbana, e confira com o boleto os dados "_cp
    "abaixo:"_cp,
    "(   ) Nome da entidade",
    "(   ) Código sindical"_cp,
    "(   ) Endereço"_cp,
    "(   ) CNPJ",
    "Via do contribuinte:",
    "(   ) Vencimento",
    "(   ) Exercício"_cp,
    "Dados da Entidade Sindical",
};

constexpr std::string_view kEntityItem = "(   ) Nome da Entidade  (   ) Código da Entidade Sindical "_cp;

constexpr std::string_view kChecklistTail[] = {
    "(   ) Endereço (   ) Número (   ) Complemento (   ) CNPJ Entidade"_cp,
    "(   ) Bairro   (   ) CEP    (   ) Cidade      (   ) UF",
    "Dados do contribuinte",
    "(   ) Nome     (   ) CPF/CNPJ",
    "(   ) Endereço (   ) Número (   ) Complemento"_cp,
    "(   ) CEP      (   ) Bairro (   ) Cidade      (   ) UF (   ) Código da atividade"_cp,
    "Dados da contribuição"_cp,
    "(   ) Categoria",
    "(   ) Capital Social Empresa",
    "(   ) Capital Social Estabelecimento",
    "(   ) Num de Empregados",
    "(   ) Total da remuneração - Contribuintes"_cp,
    "(   ) Total de empregados do estabelecimento",
    "(   ) Mensagem destinada ao Contribuinte",
    "(   ) Valor do documento",
    "(   ) Desconto/abatimento",
    "(   ) Outras deduções"_cp,
    "(   ) Mora/Multa",
    "(   ) Outros Acréscimos"_cp,
    "(   ) Valor Cobrado",
    "Na Ficha de compensação:"_cp,
    "(   ) Logotipo CAIXA,",
    "(   ) 104-0",
    "(   ) Local de pagamento: Preferencialmente nas Lotéricas até o valor limite"_cp,
    "(   ) Vencimento;",
    "(   ) Nome da entidade",
    "(   ) Data documento;",
    "(   ) Número do documento"_cp,
    "(   ) Espécie documento - GRCSU"_cp,
    "(   ) Aceite - Em branco",
    "(   ) Data processamento",
    "(   ) Nosso número"_cp,
    "(   ) Uso do banco - EXERC AAAA",
    "(   ) Carteira - SIND",
    "(   ) Espécie - R$"_cp,
    "(   ) Quantidade - Deixar em branco",
    "(   ) valor - Deixar em branco",
    "(   ) Instruções (texto de responsabilidade do Cedente)"_cp,
    "(   ) BLOQUETO DE CONTRIBUIÇÃO SINDICAL URBANA"_cp,
    "(   ) Até o vencimento, pagável nas Lotéricas, Agências da CAIXA e Rede Bancária"_cp,
    "(   ) Documento vencido pagável somente nas agências da CAIXA"_cp,
    "(   ) Guia Vencida - cobrar multa de 10% nos trinta primeiros dias, com adicional",
    "(   ) de 2% por mês subsequente de atraso e juros de mora de 1% ao mês e correção monetária."_cp,
    "(   ) Sacado - Nome e Endereço"_cp,
    "(   ) Sacador/Avalista - Deixar em branco",
    "(   ) (=)Valor do documento;",
    "(   ) (-)Desconto/Abatimento",
    "(   ) (-)Outras Deduções/Abatimento;"_cp,
    "(   ) (+)Mora/Multa/Juros;",
    "(   ) (+)Outros Acréscimos;"_cp,
    "(   ) (=)Valor Cobrado",
    "(   ) A ficha de compensação tem De 88 a 108 mm de altura por 166 (Papel A4) a 216 mm (Papel Carta) de "_cp
    "comprimento;"_cp,
    "(   ) O número código que identifica o Banco, utiliza caractere de 5 mm e tem o DV = 0 ou seja 104-0"_cp,
    "(   ) Código de barras, 13mm x 103mm zona de silêncio de 5 mm a esquerda."_cp,
    "(   ) Código de barras - Do fim do papel até o centro da barra tem 12mm"_cp,
    "(   ) A Representação Numérica do código de barras fica na parte superior direita do documento"_cp,
    "(   ) A Representação Numérica tem Caracteres: de 3,5 mm a 4 mm de altura"_cp,
    "(   ) A Representação Numérica está separada corretamente."_cp,
};

// What boletos without a value must carry printed.
constexpr std::string_view kZeroValueNotes[] = {
    "Os boletos acima que estão sem valor, deverão ter os seguintes dizeres impressos:"_cp,
    "Não receber este documento após o vencimento."_cp,
    "Emita nova guia no site da CAIXA (www.caixa.gov.br), área Empresas ou Você, Contribuição Sindical Urbana, "_cp
    "Emissão de Guias, e pague somente nas agências da CAIXA."_cp,
};

// The entity reference of the free field, behind a 14-character label.
constexpr std::size_t kEntityLabelWidth = 14;

// The entity reference of boleto `b`, by its type, into `out` (its text replaced).
void SetEntityText(std::string& out, std::int64_t type, std::string_view agency, std::string_view b) {
  switch (type) {
    case 1:
      CatInto(out, " Sindicato   :", agency, "/S-", Field(b, 22, 26));
      break;
    case 2:
      CatInto(out, " Federação   :"_cp, agency, "/F-", Field(b, 24, 26));
      break;
    case 3:
      CatInto(out, " Confederação:"_cp, agency, "/C-", Field(b, 24, 26));
      break;
    case 4:
      CatInto(out, " MTE/CEES    :", agency, "/M-", Field(b, 24, 26));
      break;
    default:
      CatInto(out, "Tipo Inválido !!!"_cp);
  }
}

// One run over a batch of boletos: the summary rows and what the closing
// lines need, for as many boletos as the batch holds. The rows and the numbers
// of the boletos without value wait in spools (temporary files), so memory
// stays flat whatever the batch's size.
struct SitcsRun {
  Host& host;
  std::string unionCode{};
  std::string agency{};
  CivilDate today = host.Today();
  std::uint64_t number = 0;
  Spool rows{};
  Spool withoutValue{};  // numbers of the boletos of value zero, as text
  bool anyWithoutValue = false;
  std::array<bool, 10> generalDigitSeen{};
  std::string lastEntity{};
  bool faulty = false;
  std::string line{};  // the row or line being built, its memory reused

  void Check(std::string_view b) {
    ++number;
    std::string errors;
    if (Field(b, 20, 21) != "97") errors = "Posição 20 não é 97."_cp;
    if (Field(b, 29, 30) != "77") errors += " Posição 29 não é 77"_cp;
    const std::int64_t type = StrToInt(Field(b, 28, 28));
    const std::string_view code = type == 1 ? Field(b, 22, 26) : Field(b, 24, 26);
    if (code != unionCode)
      errors += Cat(" >>>> ATENÇÃO: Código Sindical inválido deveria ser "_cp, unionCode, " encontrado ", code);
    SetEntityText(lastEntity, type, agency, b);

    // The value column is ten wide; an amount of a million or more widens the
    // row rather than losing its last digits.
    const std::string value = FormatMoney(Field(b, 10, 19));
    CatInto(line, Field(b, 27, 27), Field(b, 43, 44), ' ', FactorToDate(Field(b, 6, 9), today), ' ', Field(b, 31, 42),
            ' ', value.size() < 10 ? PadSpaceLeft(value, 10) : value, ' ', " [");
    AppendPrintedTypeableLine(line, b, "    ");
    line += ']';
    rows.Append(line);
    const std::string_view generalDigit = Field(b, 5, 5);
    if (generalDigit.size() == 1 && generalDigit[0] >= '0' && generalDigit[0] <= '9')
      generalDigitSeen[static_cast<std::size_t>(generalDigit[0] - '0')] = true;
    if (value == "0,00") {
      withoutValue.Append(Cat(number));
      anyWithoutValue = true;
    }

    // A boleto the bank cannot read (another bank, another currency, a wrong
    // general digit) or of no known entity type is not accepted either.
    if (HasNoDueFactor(b)) host.ReportAppend(kNoDueFactor);
    BoletoTally tally{host};
    tally.CommonTests(b, "Dígito Geral inválido, esperado "_cp);
    const bool known = type >= 1 && type <= 4;
    if (errors.empty() && tally.errors == 0 && known) {
      CatInto(line, "BARRA ", number, " CORRETA !! Tamanho: ", b.size(), ' ', lastEntity);
      host.ReportAppend(line);
    } else {
      CatInto(line, "BARRA ", number, " INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp, lastEntity);
      host.ReportAppend(line);
      if (!errors.empty()) host.ReportAppend(errors);
      faulty = true;
    }
  }

  // The missing-digit warnings, the boletos without value, and the checklist
  // with the summary rows.
  void Finish(bool checklist) {
    for (std::size_t d = 1; d <= 9; ++d)
      if (!generalDigitSeen[d]) host.ReportAppend(Cat("Advertência: Faltou Boleto com dígito "_cp, d));
    std::string text;
    withoutValue.Rewind();
    while (withoutValue.Next(text))
      host.ReportAppend(Cat("Atenção: Boleto "_cp, text, " está sem valor, veja observação abaixo"_cp));
    if (anyWithoutValue)
      for (const std::string_view line : kZeroValueNotes) host.ReportAppend(line);
    if (!checklist) return;
    for (const std::string_view line : kChecklistHead) host.ReportAppend(line);
    rows.Rewind();
    while (rows.Next(text)) host.ReportAppend(text);
    for (const std::string_view line : kChecklistBody) host.ReportAppend(line);
    host.ReportAppend(Cat(kEntityItem, Copy(lastEntity, kEntityLabelWidth + 1, lastEntity.size())));
    for (const std::string_view line : kChecklistTail) host.ReportAppend(line);
  }
};

SitcsRun StartRun(Host& host) {
  SitcsRun run{host};
  run.unionCode = host.InputBox("Código SINDICAL"_cp, "Digite o código Sindical"_cp, "XXXXX");
  run.agency = host.InputBox("Agência"_cp, "Digite a agência do convênio"_cp, "0035");
  return run;
}

}  // namespace

Verdict SITCSVriosboletos1Click(Host& host) {
  const std::int64_t count = ReadQuantity(host, "Entre com a quantidade de boletos");
  SitcsRun run = StartRun(host);
  std::vector<std::string> barcodes;
  for (std::int64_t i = 0; i < count; ++i) barcodes.push_back(ReadBarcode(host));
  for (const std::string& b : barcodes) run.Check(b);
  run.Finish(count > 0);
  return run.faulty ? Verdict::Faulty : Verdict::Clean;
}

Verdict SITCSCdigodeBarrasViaarquivo1Click(Host& host) {
  const auto path = host.OpenFile("Selecione o arquivo com os códigos de barras"_cp, FileFilter::Texto);
  if (!path) return Verdict::Clean;
  SitcsRun run = StartRun(host);
  RecordReader reader(*path, &host);
  std::string_view barcode;
  while (reader.Next(barcode)) run.Check(barcode);
  run.Finish(true);
  return run.faulty ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote
