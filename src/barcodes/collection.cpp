#include "barcodes/collection.hpp"

#include <cstdint>
#include <initializer_list>
#include <string>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/text.hpp"

namespace verilote {

std::string ReadBarcode(Host& host) {
  return host.InputBox("Código de Barras"_cp, "Passe o leitor no Código de Barras"_cp, "");
}

std::int64_t ReadQuantity(Host& host, std::string_view prompt) {
  return StrToInt(PadZeroLeft(KeepDigits(host.InputBox("Quantidade", prompt, "2")), 2));
}

bool UsesModulo11(std::string_view barcode) {
  const std::string_view id = Field(barcode, 3, 3);
  return Field(barcode, 1, 1) == "8" && (id == "8" || id == "9");
}

std::string SetCollectionDv(std::string_view barcode) {
  // The modulo-10 routine converts positions 1-3 and 5-44 one by one: a short
  // barcode or a non-digit fails there, whatever module the barcode uses.
  std::string out = SetBarcodeDvMod10(barcode);
  if (UsesModulo11(out)) out[3] = Mod11Dv(Cat(Field(out, 1, 3), Field(out, 5, 44)));
  return out;
}

bool HasValidCollectionDv(std::string_view barcode) {
  const bool modulo10 = CheckBarcodeDvMod10(barcode);  // converts positions 1-44, position 4 included
  if (!UsesModulo11(barcode)) return modulo10;
  return Mod11Dv(Cat(Field(barcode, 1, 3), Field(barcode, 5, 44))) == barcode[3];
}

char CollectionBlockDv(std::string_view barcode, std::string_view block) {
  return UsesModulo11(barcode) ? Mod11Dv(block) : Mod10Dv(block);
}

std::string PayerIdentification(std::string_view digits) {
  const std::size_t length = digits.size();
  if (length <= 8) return Cat("OUTROS ", digits);
  if (length == 9) return Cat("CPF ", FormatCpfCnpj(Cat(digits, CpfDvPair(digits))));
  if (length == 12)
    return Cat("CGC ", Field(digits, 1, 2), '.', Field(digits, 3, 5), '.', Field(digits, 6, 8), '/',
               Field(digits, 9, 12), '-', CnpjDvPair(digits));
  return {};
}

namespace {

constexpr char kCr = '\r';

constexpr std::string_view kPosition1Not8 = "Posição 1  não é 8 "_cp;
constexpr std::string_view kBadGeneralDv = "DÍGITO DO CÓDIGO DE BARRAS INVÁLIDO !!! "_cp;
constexpr std::string_view kPosition3Not6Or7 = "Posição 3 não é 6 ou 7 "_cp;
constexpr std::string_view kBadYear = " O ano de vencimento está inválido "_cp;
constexpr std::string_view kBadMonth = " O mês de vencimento está inválido "_cp;
constexpr std::string_view kBadDay = " O dia de vencimento está inválido "_cp;
constexpr std::string_view kNoErrors = "Não existem erros nas posições fixas."_cp;

// What the identification of the payer is called in the message.
constexpr std::string_view kPayerIs = "Identificação do contribuinte é "_cp;
constexpr std::string_view kPayerProbablyIs = "Identificação Provavelmente é "_cp;

// The error text of one barcode as the message box shows it: the fixed tests
// replace it, the later tests append; every message ends in a carriage return.
struct Errors {
  std::string text;
  void Set(std::string_view message) { text = Cat(message, kCr); }
  void Add(std::string_view message) { text += Cat(message, kCr); }
  // Fewer than three characters once the blanks and line ends are trimmed
  // means no test failed.
  bool Any() const { return Trim(text).size() >= 3; }
};

std::string JoinLines(std::initializer_list<std::string_view> lines) {
  std::string out;
  bool first = true;
  for (const std::string_view line : lines) {
    if (!first) out += kCr;
    out += line;
    first = false;
  }
  return out;
}

// Position 3: 6 and 8 a value in reais, 7 and 9 an amount of another
// currency; 8 and 9 differ from 6 and 7 only in the module of the check
// digits (modulo 11 instead of 10).
std::string_view ValueIdentifierText(std::string_view b) {
  const std::string_view id = Field(b, 3, 3);
  if (id == "6" || id == "8") return "MOEDA: FIXA";
  if (id == "7" || id == "9") return "MOEDA: VARIÁVEL"_cp;
  return {};
}

// The message keeps naming 6 and 7 only; 8 and 9 pass as well.
void TestValueIdentifier(std::string_view b, Errors& errors) {
  const std::string_view id = Field(b, 3, 3);
  if (id != "6" && id != "7" && id != "8" && id != "9") errors.Add(kPosition3Not6Or7);
}

// Positions 5-15, in centavos.
std::string GuideValue(std::string_view b) { return FormatMoney(StripLeadingZeros(Field(b, 5, 15))); }

std::string IdentificationLine(std::string_view prefix, std::string_view digits) {
  const std::string identification = PayerIdentification(digits);
  return identification.empty() ? std::string() : Cat(prefix, identification);
}

// Positions 24-31 carry a due date yyyymmdd when 24-26 read "200"; otherwise
// there is no due date to show or test.
std::string DueDateOf2000s(std::string_view b, Errors& errors) {
  if (Field(b, 24, 26) != "200") return {};
  const std::int64_t year = StrToInt(Field(b, 24, 27));
  const std::int64_t month = StrToInt(Field(b, 28, 29));
  const std::int64_t day = StrToInt(Field(b, 30, 31));
  if (year < 2000 || year > 2004) errors.Add(kBadYear);
  if (month < 1 || month > 12) errors.Add(kBadMonth);
  if (day < 1 || day > 31) errors.Add(kBadDay);
  return Cat("Vencimento:", Field(b, 30, 31), '/', Field(b, 28, 29), '/', Field(b, 24, 27));
}

// The check digit, the value identifier and the due date, tested in this
// order after the position tests; returns the due date line.
std::string TestDvIdentifierAndDueDate(std::string_view b, Errors& errors) {
  if (!HasValidCollectionDv(b)) errors.Set(kBadGeneralDv);
  TestValueIdentifier(b, errors);
  return DueDateOf2000s(b, errors);
}

struct Segment {
  std::string_view digit;
  std::string_view name;   // shown when position 2 holds the digit
  std::string_view wrong;  // shown otherwise
};

constexpr Segment kMunicipal{"1", "PREFEITURAS", "SEGMENTO INVÁLIDO DEVERIA SER DE 1"_cp};
constexpr Segment kSanitation{"2", "SANEAMENTO", "SEGMENTO INVÁLIDO DEVERIA SER DE 2"_cp};
constexpr Segment kEnergy{"3", "ENERGIA E GÁS"_cp, "SEGMENTO INVÁLIDO DEVERIA SER DE 3"_cp};
constexpr Segment kTelecom{"4", "TELECOMUNICAÇÕES"_cp, "SEGMENTO INVÁLIDO DEVERIA SER DE 4"_cp};
constexpr Segment kGovernment{"5", "ORGÃOS GOVERNAMENTAIS"_cp, "SEGMENTO INVÁLIDO DEVERIA SER DE 5"_cp};

std::string_view SegmentText(std::string_view b, const Segment& segment) {
  return Field(b, 2, 2) == segment.digit ? segment.name : segment.wrong;
}

Verdict Conclude(bool faulty) { return faulty ? Verdict::Faulty : Verdict::Clean; }

// Segments 1 to 5: the FEBRABAN company code at 16-19, the payer at 28-39.
Verdict CheckSegment(Host& host, const Segment& segment) {
  const std::string b = ReadBarcode(host);
  Errors errors;
  if (Field(b, 1, 1) != "8") errors.Set(kPosition1Not8);
  const std::string due = TestDvIdentifierAndDueDate(b, errors);
  const bool faulty = errors.Any();
  if (!faulty) errors.text = Cat(kNoErrors, kCr, "Confira os outros dados.");
  host.ShowMessage(
      JoinLines({SegmentText(b, segment), Cat("CÓD FEBRABAN = "_cp, Field(b, 16, 19)), ValueIdentifierText(b),
                 Cat("Valor da guia: ", GuideValue(b)), due, Cat("Identificação do contribuinte:"_cp, Field(b, 28, 39)),
                 IdentificationLine(kPayerIs, StripLeadingZeros(Field(b, 28, 39))),
                 Cat("Conteúdo do campo livre:"_cp, Field(b, 40, 44)), errors.text,
                 "Confirme se o código FEBRABAN está correto."_cp}));
  // A barcode of another segment is shown as such; the fixed-position
  // messages do not cover it.
  return Conclude(faulty || Field(b, 2, 2) != segment.digit);
}

}  // namespace

Verdict CdigodebarrasCapCaixaTipo21Click(Host& host) { return CheckSegment(host, kMunicipal); }
Verdict CdigoBarrasconcessionriassaneamento1Click(Host& host) { return CheckSegment(host, kSanitation); }
Verdict CdigoBarrasconcessionriasEnergiaeGs1Click(Host& host) { return CheckSegment(host, kEnergy); }
Verdict CdigoBarrasconcessionriastelecomunicaes1Click(Host& host) { return CheckSegment(host, kTelecom); }
Verdict CdigoBarrasTributosimpostostaxasOrgosGovernamentais1Click(Host& host) {
  return CheckSegment(host, kGovernment);
}

// Segment 6: the agreement (the first eight digits of the issuer's CNPJ) at
// 16-23, the payer at 32-44.
Verdict CdigodebarrasCapCaixaTipo31Click(Host& host) {
  const std::string b = ReadBarcode(host);
  Errors errors;
  if (Field(b, 1, 1) != "8") errors.Set(kPosition1Not8);
  const std::string due = TestDvIdentifierAndDueDate(b, errors);
  const bool faulty = errors.Any();
  if (!faulty) errors.text = kNoErrors;
  const std::string segment = Field(b, 2, 2) == "6" ? std::string("SEGMENTO 6 - CARNÊS E ASSEMELHADOS"_cp)
                                                    : std::string("SEGMENTO INVÁLIDO, DEVERIA SER 6 "_cp);
  host.ShowMessage(JoinLines(
      {segment,
       Cat("Início do CGC convenente= "_cp, Field(b, 16, 17), '.', Field(b, 18, 20), '.', Field(b, 21, 23), '/'),
       ValueIdentifierText(b), Cat("Valor da guia: ", GuideValue(b)), Cat("Código do Convênio:"_cp, Field(b, 16, 23)),
       due, Cat("Identificação do contribuinte:"_cp, Field(b, 32, 43)),
       IdentificationLine(kPayerProbablyIs, StripTrailingZeros(StripLeadingZeros(Field(b, 32, 44)))),
       Cat("Conteúdo do campo livre:"_cp, Field(b, 40, 44)), errors.text,
       "Verifique a veracidade das informações acima."_cp}));
  return Conclude(faulty || Field(b, 2, 2) != "6");
}

// Segment 9: bank 0104 at 16-19, the agreement at 20-23, the payer at 32-39.
Verdict CdigodebarrasCapCaixaTipo3Caixa1Click(Host& host) {
  const std::string b = ReadBarcode(host);
  Errors errors;
  if (Field(b, 1, 1) != "8") errors.Set(kPosition1Not8);
  if (Field(b, 16, 19) != "0104") errors.Set("Posições 16  não tem 0104 "_cp);
  const std::string due = TestDvIdentifierAndDueDate(b, errors);
  const bool faulty = errors.Any();
  // The no-error text only stands when there was a due date to test; without
  // one the error line stays empty.
  if (!faulty && Field(b, 24, 26) == "200") errors.text = kNoErrors;
  const std::string segment = Field(b, 2, 2) == "9" ? std::string("SEGMENTO 9 - EXCLUSIVO CAIXA")
                                                    : std::string("SEGMENTO INVÁLIDO. DEVERIA SER 9 "_cp);
  host.ShowMessage(JoinLines({segment, ValueIdentifierText(b), Cat("Valor da guia: ", GuideValue(b)),
                              Cat("Código do Convênio:"_cp, Field(b, 20, 23)), due,
                              Cat("Identificação do contribuinte:"_cp, Field(b, 32, 39)),
                              IdentificationLine(kPayerProbablyIs, StripLeadingZeros(Field(b, 32, 39))),
                              Cat("Conteúdo do campo livre:"_cp, Field(b, 40, 44)), errors.text}));
  return Conclude(faulty || Field(b, 2, 2) != "9");
}

// Union dues: segment "5" with agreement 0067 at 16-19, the entity at 20, the
// union code at 21-25, the due year and month at 26-31 and the payer at 32-44.
Verdict ValidaCdigodebarrasCapCaixa1Click(Host& host) {
  const std::string b = ReadBarcode(host);
  const std::int64_t entity = StrToInt(Field(b, 20, 20));
  Errors errors;
  if (Field(b, 1, 2) != "85") errors.Set("Posições 1 e 2 não é 85 "_cp);
  if (!HasValidCollectionDv(b)) errors.Set(kBadGeneralDv);
  if (Field(b, 16, 19) != "0067") errors.Add("Posições 16 a 19 não é 0067 "_cp);
  TestValueIdentifier(b, errors);
  if (entity < 1 || entity > 3) errors.Add("Posição 20 não é 1, 2 ou 3 "_cp);
  const std::int64_t year = StrToInt(Field(b, 26, 29));
  const std::int64_t month = StrToInt(Field(b, 30, 31));
  if (year < 2003 || year > 2010) errors.Add(kBadYear);
  if (month < 1 || month > 12) errors.Add(kBadMonth);
  const bool faulty = errors.Any();
  if (!faulty) errors.text = kNoErrors;
  const std::string_view entityText = entity == 1   ? "CEES E CONFEDERAÇÃO"_cp
                                      : entity == 2 ? "FEDERAÇÃO"_cp
                                      : entity == 3 ? "SINDICATO"
                                                    : "";
  host.ShowMessage(JoinLines({entityText, ValueIdentifierText(b), Cat("Valor da guia: ", GuideValue(b)),
                              Cat("Código do Convênio:"_cp, Field(b, 21, 25)),
                              Cat("Vencimento:", Field(b, 30, 31), '/', Field(b, 26, 29)),
                              Cat("Identificação do contribuinte:"_cp, Field(b, 32, 44)),
                              IdentificationLine(kPayerProbablyIs, StripLeadingZeros(Field(b, 32, 44))), errors.text}));
  return Conclude(faulty);
}

// A lone block does not carry the value identifier of its barcode (only the
// first block holds position 3), so its digit is checked by modulo 10, the
// module of identifiers 6 and 7.
Verdict Cdigodebarras12posies1Click(Host& host) {
  const std::string block = host.InputBox("Código de Barras"_cp, "Digite o Código de Barras"_cp, "");
  const bool valid = CheckBlockDvMod10(block);
  host.ShowMessage(valid ? "DV correto." : "Dígito verificador INVÁLIDO !!!!!"_cp);
  return Conclude(!valid);
}

}  // namespace verilote
