// SIGCB boleto checks: one barcode, one typeable line, the 7-digit cedente
// layout, and the batch of several barcodes typed or read from a file.
//
// SIGCB free field (barcode positions): 20-25 cedente code, 26 its check
// digit, 27-29 Nosso Número first sequence, 30 collection type (1 registered,
// 2 unregistered), 31-33 second sequence, 34 issuer digit, 35-43 third
// sequence, 44 check digit of the free field. The 7-digit cedente layout has
// the cedente code in 20-26 and no cedente check digit.
#include <array>
#include <optional>
#include <span>
#include <string>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "app/spool.hpp"
#include "banking/check_digits.hpp"
#include "banking/text.hpp"
#include "barcodes/boleto.hpp"
#include "barcodes/boleto_commands.hpp"
#include "barcodes/boleto_report.hpp"

namespace verilote {

namespace {

// Printed-form checklist after one barcode.
constexpr std::string_view kChecklistA[] = {
    "Verifique os seguintes itens:",
    "------------------------------------------------------------------------",
    "(   ) O papel é adequado."_cp,
    "No recibo do sacado - É livre, porém deve constar os seguintes dados:"_cp,
    "(   ) Nome do cedente",
    "(   ) Agência/Código do cedente"_cp,
    "(   ) Valor do título"_cp,
    "(   ) Vencimento",
    "(   ) Nosso número"_cp,
    "(   ) Nome do sacado.",
    "Na Ficha de compensação:"_cp,
    "(   ) Logotipo CAIXA,",
    "(   ) 104-0",
    "(   ) Local de pagamento;",
    "(   ) Vencimento;",
    "(   ) Cedente (nome) e CNPJ",
    "(   ) Agência/Código do cedente"_cp,
    "(   ) Data documento;",
    "(   ) Número do documento"_cp,
    "(   ) Espécie documento"_cp,
    "(   ) Aceite",
    "(   ) Data processamento",
    "(   ) Nosso número"_cp,
    "(   ) Uso Banco",
    "(   ) Carteira;",
    "(   ) Moeda;",
    "(   ) Quantidade Moeda;",
    "(   ) Valor Moeda;",
    "(   ) Instruções (texto de responsabilidade do Cedente)"_cp,
    "(   ) (=)Valor do documento;",
    "(   ) (-)Desconto;",
    "(   ) (-)Outras Deduções/Abatimento;"_cp,
    "(   ) (+)Mora/Multa/Juros;",
    "(   ) (+)Outros Acréscimos;"_cp,
    "(   ) (=)Valor Cobrado",
    "(   ) Sacado (nome e endereço completo)"_cp,
    "(   ) CPF/CNPJ do sacado",
    "(   ) Sacador/Avalista (nome e CPF/CNPJ)",
    "(   ) A ficha de compensação tem De 88 a 108 mm de altura por 166 (Papel A4) a 216 mm (Papel Carta) de comprimento;"_cp,
    "(   ) O número código que identifica o Banco, utiliza caractere de 5 mm e tem o DV = 0 ou seja 104-0"_cp,
    "(   ) Código de barras, 13mm x 103mm zona de silêncio de 5 mm a esquerda."_cp,
    "(   ) Código de barras - Do fim do papel até o centro da barra tem 12mm"_cp,
    "(   ) A Representação Numérica do código de barras fica na parte superior direita do documento"_cp,
    "A Representação Numérica não tem as seguintes caracteristicas:"_cp,
    "(   ) Caracteres: de 3,5 mm a 4 mm de altura",
    "(   ) Quantidade de campos: a Representação Numérica é dividida em cinco segmentos, separados por espaço equivalente a um caractere."_cp,
};

// Printed-form checklist after one typeable line.
constexpr std::string_view kChecklistB[] = {
    "Se algum item abaixo estiver marcado, o boleto não estará pré-homologado"_cp,
    "------------------------------------------------------------------------",
    "(   ) O papel não é adequado."_cp,
    "(   ) A ficha de compensação não tem De 88 a 108 mm de altura por 166 (Papel A4) a 216 mm (Papel Carta) de comprimento;"_cp,
    "(   ) No recibodo sacado falta Nome do cedente;Agência/Código do cedente;Valor do título;Vencimento;Nosso número;Nome do sacado."_cp,
    "(   ) O número código que identifica o Banco, não utiliza caractere de 5 mm e traços/fios de 1,2 mm"_cp,
    "(   ) Falta Abaixo do código de barras, utilizando-se caractere com dimensão máxima de 2 mm e traços ou fios de 0,3 mm a expressão \"Ficha de Compensação\"."_cp,
    "(   ) A Representação Numérica do código de barras não fica na parte superior direita do documento"_cp,
    "(   ) A Representação Numérica não tem as seguintes caracteristicas:"_cp,
    "Caracteres: de 3,5 mm a 4 mm de altura",
    "Traços ou fios: de 0,3 mm de espessura"_cp,
    "Quantidade de campos: a Representação Numérica é dividida em cinco segmentos, separados por espaço equivalente a um caractere."_cp,
    "(   ) Falta o seguinte dado na ficha de compensação:"_cp,
    "* Local de pagamento;* Vencimento;* Cedente (nome) e CNPJ;* Agência/Código do cedente;Data documento;"_cp,
    "Número do documento;Espécie documento;Aceite;* Data processamento;* Nosso número;Uso Banco;Carteira;"_cp,
    "Moeda;Quantidade Moeda;Valor Moeda;Instruções (texto de responsabilidade do Cedente)"_cp,
    "*(=)Valor do documento;(-)Desconto;(-)Outras Deduções/Abatimento;(+)Mora/Multa/Juros;(+)Outros Acréscimos;(=)Valor Cobrado"_cp,
    "* Sacado (nome e endereço completo);* CPF/CNPJ do sacado;Sacador/Avalista (nome e CPF/CNPJ);(*) Campos de preenchimento obrigatório."_cp,
    "(   ) O código de barras não tem Dimensão -103 mm de comprimento por 13 mm de altura."_cp,
    "(   ) O código de barras não tem 12 mm desde a margem inferior da Ficha de Compensação até o centro do código de barras e 5 mm da lateral esquerda da Ficha de Compensação até o início do código de barras (zona de silêncio)"_cp,
    "(   ) Outras ocorrências descritas abaixo:"_cp,
};

constexpr std::string_view kHeader[] = {
    "Esta validação não pode ser utilizada como única fonte para conferência"_cp,
    "Verifique os dados, conferindo com o boleto.",
    "--------------------------------------------",
};

constexpr std::string_view kBarcodeCaption = "Código de Barras"_cp;
constexpr std::string_view kScanPrompt = "Passe o leitor no Código de Barras"_cp;
constexpr std::string_view kDvWrongGeneral = "Dígito Geral inválido, esperado "_cp;
constexpr std::string_view kTypeUnknown = "Erro: Tipo da cobrança não identificado, deveria ser 1 ou 2 encontrei "_cp;

// Above this cedente code only registered collection is allowed.
constexpr std::int64_t kLastCedenteWithUnregistered = 604380;

char CedenteDv(std::string_view barcode) { return Mod11DvLowSum(Field(barcode, 20, 25)); }
char FreeFieldDv(std::string_view barcode) { return Mod11DvLowSum(Field(barcode, 20, 43)); }

// True when the one-character field holds `digit`.
bool Holds(std::string_view field, char digit) { return field.size() == 1 && field[0] == digit; }

bool CedenteDvOk(std::string_view barcode) { return Holds(Field(barcode, 26, 26), CedenteDv(barcode)); }
bool FreeFieldDvOk(std::string_view barcode) { return Holds(Field(barcode, 44, 44), FreeFieldDv(barcode)); }

// The Nosso Número as shown, appended to `out`: type (30), issuer digit (34),
// "/", the three sequences (27-29, 31-33, 35-43), "-" and the check digit of
// the digits among those 17 characters (Mod11Dv); the barcode does not carry
// that digit, so it is only shown.
void AppendShownNossoNumero(std::string& out, std::string_view barcode) {
  const std::size_t start = out.size();
  out += Field(barcode, 30, 30);
  out += Field(barcode, 34, 34);
  out += '/';
  out += Field(barcode, 27, 29);
  out += Field(barcode, 31, 33);
  out += Field(barcode, 35, 43);
  std::array<char, 17> digits;
  std::size_t count = 0;
  for (std::size_t i = start; i < out.size(); ++i)
    if (out[i] >= '0' && out[i] <= '9') digits[count++] = out[i];
  out += '-';
  out += Mod11Dv(std::string_view(digits.data(), count));
}

std::string ShownNossoNumero(std::string_view barcode) {
  std::string out;
  AppendShownNossoNumero(out, barcode);
  return out;
}

enum class CedenteLayout { SixDigits, SevenDigits };

// One barcode checked and reported in the single-boleto frame, closed by the
// printed-form checklist.
Verdict CheckOneBoleto(Host& host, std::string_view barcode, CedenteLayout layout,
                       std::span<const std::string_view> checklist) {
  for (const std::string_view line : kHeader) host.ReportAppend(line);
  BoletoTally tally{host};

  std::string cedente;
  if (layout == CedenteLayout::SevenDigits) {
    cedente = Cat("CÓDIGO DO CEDENTE = "_cp, Field(barcode, 20, 26));
  } else if (CedenteDvOk(barcode)) {
    cedente = Cat("CÓDIGO DO CEDENTE = "_cp, Field(barcode, 20, 25), "-", Field(barcode, 26, 26), " Dígito OK."_cp);
  } else {
    cedente = Cat("CÓDIGO DO CEDENTE = "_cp, Field(barcode, 20, 25), "-", Field(barcode, 26, 26),
                  " Dígito do código de cedente inválido. Encontrado "_cp, Field(barcode, 26, 26), " Calculado ",
                  CedenteDv(barcode));
    ++tally.errors;
  }
  const std::string_view type = Field(barcode, 30, 30);
  const std::string typeLine = type == "1"   ? std::string("Cobrança Registrada."_cp)
                               : type == "2" ? std::string("Cobrança Sem Registro."_cp)
                                             : Cat(kTypeUnknown, type);
  std::string freeField;
  if (FreeFieldDvOk(barcode)) {
    freeField = "Dígito do campo livre OK."_cp;
  } else {
    freeField = Cat("Dígito do campo livre inválido. Encontrado "_cp, Field(barcode, 44, 44), " Esperado ",
                    FreeFieldDv(barcode));
    ++tally.errors;
  }

  host.ReportAppend(LabelledTypeableLine(barcode));
  host.ReportAppend(HasNoDueFactor(barcode) ? std::string(kNoDueFactor)
                                            : Cat("Data do vencimento: ", BarcodeDueDate(barcode, host.Today()),
                                                  " ( Confirme a data no boleto )"));
  host.ReportAppend(cedente);
  host.ReportAppend(Cat("Nosso Número      = "_cp, ShownNossoNumero(barcode), " ( Confirme o DV no boleto )"));
  host.ReportAppend(Cat("Valor do título:  R$ "_cp, BarcodeValue(barcode), " ( Confirme o valor no boleto )"));
  host.ReportAppend(typeLine);
  host.ReportAppend(freeField);

  tally.CommonTests(barcode, kDvWrongGeneral);
  tally.InputEcho(barcode);
  const bool correct = tally.Verdict();
  for (const std::string_view line : checklist) host.ReportAppend(line);
  return correct ? Verdict::Clean : Verdict::Faulty;
}

// The batch of the several-barcode and file commands: a reading pass that
// spools every barcode and its summary row, then a checking pass over the
// barcodes and the summary from the rows. The spools keep them on disk: a file
// of millions of barcodes takes no more memory than one of ten.
struct Batch {
  Host& host;
  bool viaFile;
  std::string expectedCedente;
  Spool barcodes{};
  Spool rows{};
  std::string row{};  // the row being built, its memory reused
  // Whether this cedente may use registered collection only; read at the
  // first barcode of a file, where a code that is not a number stops the run.
  std::optional<bool> registeredOnly{};
  // A barcode of another cedente, or unregistered collection this cedente may
  // not use: the bank refuses it, so the run is not clean even when every
  // digit is right.
  bool refused = false;

  void Read(std::string_view barcode) {
    barcodes.Append(barcode);
    CatInto(row, BarcodeDueDate(barcode, host.Today()), " ", Field(barcode, 20, 25), "-", Field(barcode, 26, 26), " ");
    AppendShownNossoNumero(row, barcode);
    row += ' ';
    row += PadSpaceLeft(BarcodeValue(barcode), 10);
    row += " [";
    AppendPrintedTypeableLine(row, barcode, "    ");
    row += ']';
    rows.Append(row);
    const std::string_view cedente = Field(barcode, 20, 25);
    if (cedente != expectedCedente) {
      host.ReportAppend(
          Cat(">>>>>> ATENÇÃO: CODIGO DO CEDENTE INVÁLIDO, deveria ser "_cp, expectedCedente, " encontrado ", cedente));
      refused = true;
    }
    if (!viaFile) return;
    if (!registeredOnly) registeredOnly = StrToInt(expectedCedente) > kLastCedenteWithUnregistered;
    if (*registeredOnly && Field(barcode, 30, 30) != "1") {
      host.ReportAppend("ATENÇÃO: NÃO É PERMITIDO COBRANÇA SEM REGISTRO PARA ESTE CEDENTE."_cp);
      refused = true;
    }
  }

  Verdict CheckAndClose() {
    std::array<bool, 10> seen{};
    std::string reference;
    std::string typeText;
    bool anyInvalid = false;
    std::string barcode, line;
    barcodes.Rewind();
    for (std::uint64_t k = 1; barcodes.Next(barcode); ++k) {
      const std::string_view type = Field(barcode, 30, 30);
      typeText = type == "1"   ? std::string(" Registrada.")
                 : type == "2" ? std::string(" Sem Registro.")
                               : Cat(" ", kTypeUnknown, type);
      BoletoTally tally{host};
      if (!CedenteDvOk(barcode))
        tally.Error(Cat(" Dígito do código de cedente inválido. Encontrado "_cp, Field(barcode, 26, 26), " Calculado ",
                        CedenteDv(barcode)));
      if (k == 1) reference = Field(barcode, 20, 25);
      if (!FreeFieldDvOk(barcode))
        tally.Error(Cat(" Dígito do campo livre inválido. Encontrado "_cp, Field(barcode, 44, 44), " Esperado ",
                        FreeFieldDv(barcode)));
      if (Field(barcode, 20, 25) != reference)
        host.ReportAppend(" Atenção: Este boleto tem código de cedente diferente dos outros"_cp);
      if (HasNoDueFactor(barcode)) host.ReportAppend(Cat(" ", kNoFactorNotice));
      if (!IsCaixaBank(barcode)) tally.Error(Cat(" ", kBankNotCaixa));
      if (!IsRealCurrency(barcode)) tally.Error(Cat(" ", kCurrencyNotReal));
      const char general = BarcodeGeneralDv(barcode);
      if (Field(barcode, 5, 5) == std::string_view(&general, 1)) {  // HasValidGeneralDv, its digit computed once
        // Letters in the barcode can make the computed "digit" another character.
        if (general >= '1' && general <= '9') seen[CharToDigit(general)] = true;
      } else {
        tally.Error(Cat(" ", kDvWrongGeneral, general, " encontrado ", Field(barcode, 5, 5)));
      }
      if (tally.errors == 0) {
        CatInto(line, "Lendo barra ", TwoDigitNumber(k), " -> ", barcode, " Tamanho: ", barcode.size(), typeText,
                " Barra OK");
      } else {
        anyInvalid = true;
        CatInto(line, "Lida barra ", k, " -> ", barcode, " Tamanho: ", barcode.size(), typeText,
                " ERRO: Barra Inválida"_cp);
      }
      host.ReportAppend(line);
    }
    // A homologation batch should hold boletos whose general digits cover 1 to 9.
    for (int d = 1; d <= 9; ++d)
      if (!seen[d]) host.ReportAppend(Cat("Faltou boleto com dígito "_cp, d));
    WriteChecklistHead(host);
    rows.Rewind();
    while (rows.Next(row)) host.ReportAppend(row);
    WriteChecklistTail(host, ChecklistSystem::Sigcb, typeText == " Registrada.");
    return anyInvalid || refused ? Verdict::Faulty : Verdict::Clean;
  }
};

std::string AskExpectedCedente(Host& host) {
  return host.InputBox("Código do Cedente"_cp, "Digite o código do cedente"_cp, "XXXXXX");
}

}  // namespace

Verdict CdigodebarrasSIGCB1Click(Host& host) {
  const std::string barcode = host.InputBox(kBarcodeCaption, kScanPrompt, "");
  return CheckOneBoleto(host, barcode, CedenteLayout::SixDigits, kChecklistA);
}

Verdict RepresentaoNumricaSIGCB1Click(Host& host) {
  const std::string typed = host.InputBox("Representação Numérica"_cp, "Digite a representação numérica"_cp, "");
  return CheckOneBoleto(host, TypeableLineToBarcode(typed), CedenteLayout::SixDigits, kChecklistB);
}

Verdict Cdigodebarrasumboleto1Click(Host& host) {
  const std::string barcode = host.InputBox(kBarcodeCaption, kScanPrompt, "");
  return CheckOneBoleto(host, barcode, CedenteLayout::SevenDigits, kChecklistA);
}

Verdict CdigodebarrasSIGCBVriosboletos1Click(Host& host) {
  const std::string quantity = host.InputBox("Quantidade", "Entre com a quantidade de boletos", "2");
  const std::int64_t count = StrToInt(PadZeroLeft(KeepDigits(quantity), 2));
  if (count == 0) return Verdict::Clean;
  Batch batch{host, false, AskExpectedCedente(host)};
  for (std::int64_t i = 0; i < count; ++i) batch.Read(host.InputBox(kBarcodeCaption, kScanPrompt, ""));
  return batch.CheckAndClose();
}

Verdict CdigodebarrasSIGCBviaarquivo1Click(Host& host) {
  const auto path = host.OpenFile("Selecione o arquivo", FileFilter::Texto);
  if (!path) return Verdict::Clean;
  Batch batch{host, true, AskExpectedCedente(host)};
  RecordReader reader(*path, &host);
  std::string_view line;
  while (reader.Next(line)) batch.Read(line);
  return batch.CheckAndClose();
}

}  // namespace verilote
