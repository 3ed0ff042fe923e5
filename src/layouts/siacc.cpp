// "SIACC - Arquivo Remessa": one pass over a SIACC 240 payment remittance.
// The layout is 240 positions like CNAB 240 collection, but its frame differs
// at nearly every step (numbering, trailers, totals, descriptions), so it has
// its own loop on the record-rule vocabulary. Rows that are a test and a line
// are tables; rows that skip others or read the run state are code, in the
// layout's order.
#include "layouts/siacc.hpp"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "banking/check_digits.hpp"
#include "banking/dates.hpp"
#include "banking/record_rules.hpp"
#include "banking/text.hpp"

namespace verilote {

namespace {

// Amounts in cents, summed exactly: 15-digit amounts over any number of
// records stay far below the 128-bit limit.
__extension__ typedef __int128 Cents;
__extension__ typedef unsigned __int128 Magnitude;

std::string CentsText(Cents value) {
  const bool negative = value < 0;
  Magnitude magnitude = negative ? -static_cast<Magnitude>(value) : static_cast<Magnitude>(value);
  char digits[48];
  std::size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + static_cast<int>(magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  std::string text = negative ? "-" : "";
  while (n > 0) text += digits[--n];
  return text;
}

// WholeNumber of a field that is not plain digits: a sign, or no number.
std::optional<std::int64_t> SignedWholeNumber(std::string_view field) {
  const std::size_t sign = !field.empty() && (field[0] == '+' || field[0] == '-') ? 1 : 0;
  const std::string_view digits = field.substr(sign);
  if (digits.empty() || digits.size() > 18 || !IsAllDigits(digits)) return std::nullopt;
  const std::int64_t value = detail::DigitsValue(digits.data(), digits.size());
  return field[0] == '-' ? -value : value;
}

// The value of a field that is a whole number (digits after an optional
// sign), or nothing: a field that passed IsNumeric may still be "1,5" or
// "1E2", which no comparison with a count or a code can accept.
VERILOTE_INLINE std::optional<std::int64_t> WholeNumber(std::string_view field) {
  if (!field.empty() && field.size() <= 18 && IsAllDigits(field))  // the usual field: digits only
    return detail::DigitsValue(field.data(), field.size());
  return SignedWholeNumber(field);
}

VERILOTE_INLINE bool WholeIn(std::string_view field, std::int64_t low, std::int64_t high) {
  const std::optional<std::int64_t> value = WholeNumber(field);
  return value && *value >= low && *value <= high;
}

template <std::size_t N>
VERILOTE_INLINE bool WholeOneOf(std::string_view field, const std::int64_t (&values)[N]) {
  const std::optional<std::int64_t> value = WholeNumber(field);
  if (!value) return false;
  for (const std::int64_t v : values)
    if (v == *value) return true;
  return false;
}

// Where c stands in set, or npos: a plain loop, cheaper on a few bytes than
// the library search.
constexpr std::size_t IndexIn(std::string_view set, char c) {
  for (std::size_t i = 0; i < set.size(); ++i)
    if (set[i] == c) return i;
  return std::string_view::npos;
}

bool Differs(std::int64_t value, std::uint64_t count) {
  return value < 0 || static_cast<std::uint64_t>(value) != count;
}

// ---- Check digits. A field holding a non-digit has no right digit: the
// digit found is wrong and the run goes on.

std::string_view At1(std::string_view rec, std::size_t pos) { return Field(rec, pos, pos); }

// The account digit at Pos: Mod11DvFrom8 of agency 54-57, operation 60-62 and
// account 63-70.
template <std::size_t Pos>
bool AccountDv(std::string_view rec) {
  const std::optional<char> dv = AccountDvDigit(Field(rec, 54, 57), Field(rec, 60, 62), Field(rec, 63, 70));
  return dv && At(rec, Pos, *dv);
}

bool LoteAgencyDv(std::string_view rec) {
  const std::string_view agency = Field(rec, 54, 57);
  return agency.size() == 4 && IsAllDigits(agency) && At1(rec, 58) == Mod11Dv4(agency);
}

// Segment A, field A.12: the digit at 42 of a CAIXA account, in its SIDEC
// form (agency 25-28, operation 31-33, account 34-41) or its NSGD form (30-41).
bool CaixaAccountDv(std::string_view rec) {
  const std::optional<char> sidec = AccountDvDigit(Field(rec, 25, 28), Field(rec, 31, 33), Field(rec, 34, 41));
  if (sidec && At(rec, 42, *sidec)) return true;
  const std::string_view nsgd = Field(rec, 30, 41);
  return IsAllDigits(nsgd) && At1(rec, 42) == Mod11DvText(nsgd);
}

// ---- Tests of the tables below.

bool BankNameCaixa(std::string_view rec) { return TrimmedText<103, 132>(rec) == "CAIXA"; }

template <std::size_t From, std::size_t To>
bool NumericDate(std::string_view rec) {
  const std::string_view field = Field(rec, From, To);
  return IsNumeric(field) && IsValidDate(field);
}

// A revenue code (111-116) written from the right: what precedes its trimmed
// text is blank.
bool RightAligned(std::string_view rec) {
  const std::string_view field = Field(rec, 111, 116);
  const std::size_t length = Trim(field).size();
  return length >= 6 || IsBlankField(field.substr(0, 6 - length));
}

// An invalid transmission parameter: zeros, blanks, or a zero and a blank.
bool InvalidParameter(std::string_view field) {
  return field == "00" || field == "  " || field == " 0" || field == "0 ";
}

constexpr std::int64_t kNoticeCodes[] = {0, 2, 5, 6, 7};

// ---- File header (type 0), before and after its description lines.

constexpr FindingRule kFileHeaderIdentity[] = {
    {OneOf<4, 8, "00000">, " HEADER não tem zeros no número do lote."_cp},
    {AllOf<9, 17, ' '>, " HEADER não tem filler na posição 9 tamanho 9."_cp},
    {OneOf<18, 18, "1", "2">, " Tipo de inscrição inválido. Esperado 1 ou 2"_cp},
    {CpfIfKind<18, '1', 22, 32>, " CPF inválido."_cp},
    {CnpjIfKind<18, '2', 19, 32>, " CNPJ inválido."_cp},
};

constexpr FindingRule kFileHeaderFields[] = {
    {Blank<42, 42>, " HEADER Posição 42,1 deveria ser branco. Encontrado:"_cp, FieldText<42, 42>},
    {AllOf<43, 45, ' '>, " HEADER Posição 43,3 esperado branco. Encontrado:"_cp, FieldText<43, 45>},
    {Blank<50, 52>, " HEADER Posição 50,3 deveria ser branco. Encontrado:"_cp, FieldText<50, 52>},
    {OneOf<46, 49, "0000">, " HEADER - esperado 0000 na 46,4 encontrada:", FieldText<46, 49>},
    {AccountDv<71>, " DV da conta inválido no HEADER"_cp},
    {AllOf<72, 72, ' '>, " HEADER Posição 72,1 deveria ser branco. Encontrado:"_cp, FieldText<72, 72>},
    {BankNameCaixa, " HEADER - Nome do banco esperado CAIXA, encontrado:", TrimmedText<103, 132>},
    {Blank<133, 142>, " HEADER Posição 133,10 deveria ser branco. Encontrado:"_cp, FieldText<133, 142>},
    {OneOf<143, 143, "1">, " HEADER - Código de remessa não é 1"_cp},
    {OneOf<164, 171, "08001600", "05001600">, " Versão do LayOut não esperado nesta homologação."_cp},
    {Blank<172, 191>, " HEADER Posição 172,20 deveria ser branco. Encontrado:"_cp, FieldText<172, 191>},
    {Blank<212, 225>, " HEADER Posição 212,14 deveria ser branco. Encontrado:"_cp, FieldText<212, 225>},
    {OneOf<226, 228, "000">, " HEADER - Uso exclusivo das VAN não é 000"_cp},
    {Blank<229, 240>, " HEADER Posição 229,12 deveria ser branco. Encontrado:"_cp, FieldText<229, 240>},
};

// ---- Lote header (type 1).

struct Described {
  std::int64_t value;
  std::string_view text;
};

constexpr Described kCommitments[] = {{1, "Pagamento a fornecedor"},
                                      {2, "Pagamento de salários"_cp},
                                      {3, "AutoPagamento"},
                                      {6, "Salário CAIXA/Trabalhador"_cp},
                                      {11, "Débito em conta"_cp}};

constexpr Described kServices[] = {
    {0, "Tipo de serviço: Optantes"_cp},
    {5, "Tipo de serviço: Déb/Rec"_cp},
    {10, "Tipo de serviço: Pagamento Dividendos"_cp},
    {20, "Tipo de serviço: Pagamento fornecedor"_cp},
    {30, "Tipo de serviço: Pagamento salários"_cp},
    {50, "Tipo de serviço: Pagamento sin seg"_cp},
    {60, "Tipo de serviço: Pagamento desp viaj trans"_cp},
    {70, "Tipo de serviço: Pagamento autor"_cp},
    {75, "Tipo de serviço: Pagamento credenciados"_cp},
    {80, "Tipo de serviço: Pagamento repres."_cp},
    {90, "Tipo de serviço: Pagamento beneficios"_cp},
    {98, "Tipo de serviço: Pagamento diversos"_cp},
};

constexpr Described kPaymentForms[] = {
    {1, "Forma de lançam: Crédito em C/C"_cp},
    {2, "Forma de lançam: CH pag/adm"_cp},
    {3, "Forma de lançam: DOC"_cp},
    {5, "Forma de lançam: Crédito poupança"_cp},
    {10, "Forma de lançam: OP à disp"_cp},
    {11, "Forma de lançam: Pag de Cta e Trib com Cód Barras"_cp},
    {16, "Forma de lançam: Pag DARF sem Cód Barras"_cp},
    {17, "Forma de lançam: Pag GPS sem Cód Barras"_cp},
    {30, "Forma de lançam: Liq tit próprio banco"_cp},
    {31, "Forma de lançam: Pag tit outro banco"_cp},
    {41, "Forma de lançam: TED"_cp},
    {43, "Forma de lançam: TED MTitularidade"_cp},
    {50, "Forma de lançam: Déb C/C - Rec"_cp},
};

template <std::size_t N>
std::string_view Describe(const Described (&table)[N], std::string_view field, std::string_view other) {
  if (const std::optional<std::int64_t> value = WholeNumber(field))
    for (const Described& d : table)
      if (d.value == *value) return d.text;
  return other;
}

constexpr FindingRule kLoteHeaderTail[] = {
    {OneOf<9, 9, "C", "D">, " Tipo de operação não é C ou D"_cp},
};

constexpr FindingRule kLoteHeaderParties[] = {
    {OneOf<18, 18, "1", "2">, " Tipo de inscrição inválido. Esperado 1 ou 2"_cp},
    {CpfIfKind<18, '1', 22, 32>, " CPF inválido."_cp},
    {CnpjIfKind<18, '2', 19, 32>, " CNPJ inválido."_cp},
    {Blank<47, 52>, " HEADER LOTE Posição 47,6 deveria ser branco. Encontrado:"_cp, FieldText<47, 52>},
    {Blank<223, 240>, " HEADER LOTE Posição 223,18 deveria ser branco. Encontrado:"_cp, FieldText<223, 240>},
    {AccountDv<71>, " DV da conta inválido no HEADER de LOTE"_cp},
};

// ---- Segment A. Rows followed by the payee label are marked "label".

constexpr FindingRule kAMovement[] = {
    // label
    {OneOf<15, 15, "0", "9">, " Tipo de movimento inválido. Esperado 0 ou 9. Campo A.06 ->"_cp},
    {OneOf<16, 17, "00">, " Cód instrução de movimento inválido. Esperado 00. Campo A.07 ->"_cp},
    {NotAllOf<21, 28, '0'>, " Banco ou agência não informado. ->"_cp},
    {Numeric<29, 29>, " DV da agência não numérico. ->"_cp},
    {Numeric<30, 41>, " Conta corrente de destino não numérico. ->"_cp},
};

constexpr FindingRule kADocument[] = {
    // label
    {Numeric<74, 79>, " Número do documento não numérico na posição 74,6.->"_cp},
};

constexpr FindingRule kACurrency[] = {
    // label
    {OneOf<102, 104, "BRL", "USD", "UFR", "TRD">, " Tipo de moeda inválido. Esperado BRL, USD, UFR ou TRD->"_cp},
};

constexpr FindingRule kAQuantity[] = {
    {Numeric<105, 119>, " Quantidade de moeda não numérico."_cp},
};

constexpr FindingRule kAAmount[] = {
    // label
    {Numeric<120, 134>, " Valor lançamento não numérico.->"_cp},
    {Numeric<135, 143>, " Número documento banco não numérico.->"_cp},
};

constexpr FindingRule kAReserved[] = {
    {Blank<144, 146>, " Posição 144,3 deveria ser branco. Encontrado:"_cp, FieldText<144, 146>},
};

constexpr FindingRule kAInstalments[] = {
    {OneOf<149, 149, "N", "S">, " Indicador de bloqueio inválido. Esperado S ou N. Campo A.25"_cp},
    {OneOf<150, 150, "1", "2", "3">, " Forma de parcelamento inválido. Esperado 1, 2 ou 3. Campo A.26"_cp},
    {Numeric<153, 154>, " Número parcela não numérico."_cp},
    {OneOf<155, 162, "00000000">, " Data de efetivação não está zerada !!"_cp},
    {Numeric<163, 177>, " Valor Real não numérico."_cp},
    {Blank<178, 217>, " Posição 178,40. Encontrado:"_cp, TrimmedText<178, 217>},
};

constexpr FindingRule kATail[] = {
    {Blank<220, 229>, " Posição 220,10 deveria ser branco. Encontrado:"_cp, TrimmedText<220, 229>},
    {Blank<231, 240>, " Posição 231,10 deveria ser branco. Encontrado:"_cp, TrimmedText<231, 240>},
};

// ---- Segment B.

constexpr FindingRule kBKind[] = {
    {Blank<15, 17>, " Posição 15,3 deveria ser branco. Encontrado:"_cp, TrimmedText<15, 17>},
    {OneOf<18, 18, "1", "2">, " Tipo de inscrição inválido. Esperado 1 ou 2"_cp},
};

constexpr FindingRule kBDocument[] = {
    // label
    {CpfIfKind<18, '1', 22, 32>, " CPF inválido de "_cp},
    {CnpjIfKind<18, '2', 19, 32>, " CNPJ inválido de "_cp},
};

constexpr FindingRule kBAddress[] = {
    // label
    {Numeric<63, 67>, " Número no endereço não numérico ou tem espaço em branco neste campo. Para: "_cp},
    {NotBlank<83, 97>, " Falta Bairro de "},
    {NotBlank<98, 117>, " Falta Cidade de "},
    {NotBlank<126, 127>, " Falta Estado (UF) de "},
    {Numeric<118, 125>, " CEP não numérico de "_cp},
    {ValidDate<128, 135>, " Data de vencimento inválida de "_cp},
    {Numeric<136, 210>, " Da posição 136 até a 210 deveria ser zeros de "_cp},
};

// ---- Segment J (boleto payment).

constexpr FindingRule kJPayment[] = {
    {OneOf<21, 21, "2", "9">, " Tipo de movimento inválido. Esperado 0 ou 9"_cp},
    {NotBlank<62, 91>, " Falta Nome do Cedente."},
    {ValidDate<92, 99>, " Data de vencimento inválida !!"_cp},
    {Numeric<100, 144>, " Valor do título ou desconto ou multa não numérico."_cp},
    {ValidDate<145, 152>, " Data de pagamento inválida !!"_cp},
    {Numeric<168, 182>, " Quantidade de moeda não numérico."_cp},
};

constexpr FindingRule kJTail[] = {
    {Numeric<203, 211>, " Número do documento não numérico na posição 203,9."_cp},
    {Blank<212, 222>, " Posição 212,11 deveria ser branco. Encontrado:"_cp, TrimmedText<212, 222>},
    {Blank<225, 240>, " Posição 225,16 deveria ser branco. Encontrado:"_cp, TrimmedText<225, 240>},
};

// ---- Segment K (collection barcode), after its company segment.

constexpr FindingRule kK[] = {
    {OneOf<15, 15, "0", "9">, " Tipo de movimento inválido. Esperado 0 ou 9"_cp},
    {Numeric<18, 56>, " Código de barras não numérico."_cp},
    // Position 3 of the barcode: 8 and 9 are 6 and 7 with modulo-11 check
    // digits, as FEBRABAN allows; the message still names the first two.
    {OneOf<20, 20, "6", "7", "8", "9">, " Identificador de valor inválido. Esperado 6 ou 7"_cp},
    {Blank<57, 73>, " Posição 57,17 deveria ser branco. Encontrado:"_cp, TrimmedText<57, 73>},
    {Blank<80, 93>, " Posição 80,14 deveria ser branco. Encontrado:"_cp, TrimmedText<80, 93>},
    {ValidDate<94, 101>, " Data de Lançamento inválida !!"_cp},
    {OneOf<102, 104, "BRL", "USD", "UFR", "TRD">, " Tipo de moeda inválido. Esperado BRL, USD, UFR ou TRD"_cp},
    {Numeric<105, 119>, " Quantidade de moeda não numérico."_cp},
    {Numeric<120, 134>, " Valor de lançamento não numérico."_cp},
    {Numeric<135, 143>, " Número documento no banco não numérico."_cp},
    {Blank<144, 154>, " Posição 144,11 deveria ser branco. Encontrado:"_cp, TrimmedText<144, 154>},
    {OneOf<155, 162, "00000000">, " Data de efetivação não está zerada !!"_cp},
    {Numeric<163, 177>, " Valor da efetivação não numérico."_cp},
    {Blank<218, 229>, " Posição 218,12 deveria ser branco. Encontrado:"_cp, TrimmedText<218, 229>},
    {Blank<231, 240>, " Posição 231,10 deveria ser branco. Encontrado:"_cp, TrimmedText<231, 240>},
};

// ---- Segments O (utility bill) and N (tax without barcode).

constexpr FindingRule kMovement[] = {
    {OneOf<15, 15, "0", "9">, " Tipo de movimento inválido. Esperado 0 ou 9 encontrado "_cp, FieldText<15, 15>},
    {OneOf<16, 17, "00">, " Código de movimento inválido. Esperado 00 encontrado "_cp, FieldText<16, 17>},
};

constexpr std::string_view kTail231{" Da posição 231 até a 240 deveria ser branco."_cp};

constexpr FindingRule kO[] = {
    {Numeric<18, 61>, " Código de barras não numérico na posição 18, tamanho 44"_cp},
    {NotBlank<62, 91>, " Falta nome da concessionária."_cp},
    {NumericDate<92, 99>, " Data de vencimento inválida."_cp},
    {NumericDate<100, 107>, " Data de pagamento inválida."_cp},
    {Numeric<108, 122>, " Valor inválido. Não numérico."_cp},
    {NotBlank<123, 142>, " Falta número do documento da empresa."_cp},
    {Blank<143, 162>, " Nosso número não deve ser preenchido."_cp},
    {Blank<231, 240>, kTail231},
};

constexpr FindingRule kN[] = {
    {NotBlank<18, 37>, " Falta número do documento da empresa."_cp},
    {Blank<38, 57>, " Nosso número não deve ser preenchido."_cp},
    {NotBlank<58, 87>, " Falta nome do contribuinte."},
    {NumericDate<88, 95>, " Data de pagamento inválida."_cp},
    {Numeric<96, 110>, " Valor inválido. Não numérico."_cp},
};

constexpr FindingRule kNTaxpayer[] = {
    {OneOf<117, 118, "01", "02", "03", "04", "06", "07", "08", "09">,
     " Tipo de Identificação do contribuinte inválido. Esperado de 01 a 09, exceto 05 encontrado "_cp,
     FieldText<117, 118>},
    {CnpjIfKind<118, '1', 119, 132>, " CNPJ Inválido."_cp},
    {CpfIfKind<118, '2', 122, 132>, " CPF Inválido."_cp},
};

constexpr std::string_view kRevenueAlignment{
    " Código da receita na posição 111 não obedece as regras de deslocamento no campo."_cp};

constexpr FindingRule kNGpsValues[] = {
    {Numeric<141, 155>, " Valor previsto do Pagamento do INSS. Não numérico."_cp},
    {Numeric<156, 170>, " Valor de outras entidades. Não numérico."_cp},
    {Numeric<171, 185>, " Atualização Monetária. Não numérico."_cp},
};

constexpr FindingRule kNDarf[] = {
    {RightAligned, kRevenueAlignment},
    {[](std::string_view rec) { return TrimmedText<111, 116>(rec) != "6106"; },
     " Código 6106 de arrecadação não permitido."_cp},
    {ValidDate<135, 142>, " Periodo de apuração inválido."_cp},
    {Numeric<143, 159>, " Número de referência. Não numérico."_cp},
    {Numeric<160, 174>, " Valor principal Não numérico."_cp},
    {Numeric<175, 189>, " valor da multa Não numérico."_cp},
    {Numeric<190, 204>, " Valor dos juros Não numérico."_cp},
    {ValidDate<205, 212>, " Periodo de apuração inválido."_cp},
};

// ---- Lote and file trailers (types 5 and 9).

constexpr FindingRule kLoteTrailerReserved[] = {
    {Blank<9, 17>, " TRAILLER LOTE Posição 9,9 deveria ser branco. Encontrado:"_cp, FieldText<9, 17>},
    {Blank<66, 240>, " TRAILLER LOTE Posição 66,175 deveria ser branco. Encontrado:"_cp, TrimmedText<66, 240>},
};

constexpr FindingRule kFileTrailerReserved[] = {
    {Blank<9, 17>, " TRAILLER LOTE Posição 9,9 deveria ser branco. Encontrado:"_cp, FieldText<9, 17>},
    {Blank<36, 240>, " TRAILLER LOTE Posição 36,205 deveria ser branco. Encontrado:"_cp, TrimmedText<36, 240>},
};

const std::string kRule79(79, '=');

// ---- The run.

constexpr bool kNamed = true;  // Apply: the failed rows name the payee

struct SiaccRun {
  SiaccRun(Host& h, CivilDate day) : host(h), today(day) {}

  Host& host;
  CivilDate today;
  std::uint64_t record = 0;
  std::uint64_t lotes = 0;
  std::uint64_t loteRecords = 0;
  std::uint64_t opPayments = 0;
  Cents loteValue = 0, loteCurrency = 0;
  std::string version, paymentForm, commitment, documentType;
  // The payee label names the payee in the findings of its A and B segments.
  // Few records have such a finding, so the label is built on first use from
  // positions 25-73 of the last A segment, kept in `payee`.
  char payee[49] = {};
  std::size_t payeeSize = 0;
  std::string label;
  bool labelDue = false;
  bool seen[5] = {};  // types 0, 1, 3, 5, 9
  bool faulty = false;

  void Info(std::string_view line) { host.ReportAppend(line); }

  // A finding without record reference.
  void Bare(std::string_view line) {
    host.ReportAppend(line);
    faulty = true;
  }

  // "Reg:" and the record number, then the message (which starts with a blank).
  template <typename... Pieces>
  void Finding(const Pieces&... pieces) {
    Bare(Cat("Reg:", record, pieces...));
  }

  // The few rows written "Reg: " and the number.
  template <typename... Pieces>
  void SpacedFinding(const Pieces&... pieces) {
    Bare(Cat("Reg: ", record, pieces...));
  }

  const std::string& Label() {
    if (labelDue) {
      labelDue = false;
      const std::string_view kept(payee, payeeSize);
      const auto at = [kept](std::size_t from, std::size_t to) { return Field(kept, from - 24, to - 24); };
      const std::string_view name = Trim(at(44, 73));
      if (Is<"0009">(at(30, 33))) {
        CatInto(label, name, ' ', at(25, 28), '.', at(30, 41), '-', at(42, 42));
      } else {
        CatInto(label, name, ' ', at(25, 28), '.', at(31, 33), '.', at(34, 41), '-', at(42, 42));
      }
    }
    return label;
  }

  // The failed rows of a table, each followed by the payee label when
  // `named` (for the rows that name the payee). The table is a template
  // argument, so that each row's test is a direct call the compiler may
  // inline: the rows run on every record.
  template <const auto& Rules>
  void Apply(std::string_view rec, bool named = false) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      ((Rules[I].passes(rec) || (Failed(Rules[I], rec, named), true)), ...);
    }
    (std::make_index_sequence<std::size(Rules)>{});
  }

  void Failed(const FindingRule& rule, std::string_view rec, bool named) {
    Finding(FindingText(rule, rec), named ? std::string_view(Label()) : std::string_view());
  }

  // Adds an amount to a lote total. An amount its own row found not numeric
  // is not added; any other text is converted (and may end the run).
  static void Add(Cents& total, std::string_view amount, bool checked = true) {
    if (!amount.empty() && amount.size() <= 18 && IsAllDigits(amount)) {  // the usual amount
      total += detail::DigitsValue(amount.data(), amount.size());
      return;
    }
    if (checked && !IsNumeric(amount)) return;
    total += StrToInt(amount);
  }

  void Record(std::string_view rec);
  void FileHeader(std::string_view rec);
  void LoteHeader(std::string_view rec);
  void Detail(std::string_view rec);
  void SegmentA(std::string_view rec);
  void SegmentB(std::string_view rec);
  void SegmentJ(std::string_view rec);
  void SegmentJ52(std::string_view rec);
  void SegmentK(std::string_view rec);
  void SegmentN(std::string_view rec);
  void LoteTrailer(std::string_view rec);
  void FileTrailer(std::string_view rec);
  void Summary();
};

void SiaccRun::Record(std::string_view rec) {
  ++record;
  if (!IsPlainText(rec)) Finding(" Advertência: Registro contém caracter que não será reconhecido pelo sistema."_cp);
  if (rec.size() != 240) Finding(" Tamanho de registro inválido ("_cp, rec.size(), ")");
  const std::string_view type = Field(rec, 8, 8);
  constexpr std::string_view kTypes = "01359";
  const std::size_t kind = type.empty() ? std::string_view::npos : IndexIn(kTypes, type[0]);
  if (kind == std::string_view::npos) Finding(" Tipo de registro inválido. Esperado 0, 1, 3, 5 ou 9"_cp);
  if (!OneOf<1, 3, "104">(rec)) Finding(" Código do banco não é 104. Encontrado:"_cp, Field(rec, 1, 3));
  if (kind != std::string_view::npos) {
    seen[kind] = true;
    switch (type[0]) {
      case '0':
        FileHeader(rec);
        break;
      case '1':
        LoteHeader(rec);
        break;
      case '3':
        Detail(rec);
        break;
      case '5':
        LoteTrailer(rec);
        break;
      default:
        FileTrailer(rec);
        break;
    }
  }
  const std::string_view lote = Field(rec, 4, 7);
  if (!IsNumeric(lote)) {
    Finding(" Número do lote não numérico."_cp);
  } else if (!Is<"9">(type)) {
    const std::optional<std::int64_t> value = WholeNumber(lote);
    if (!value || Differs(*value, lotes)) Finding(" Sequencial de lote errado.");
  }
}

void SiaccRun::FileHeader(std::string_view rec) {
  Info("HEADER DE ARQUIVO:");
  Info(std::string(17, '='));
  Apply<kFileHeaderIdentity>(rec);
  const std::string_view environment = Field(rec, 41, 41);
  if (environment != "P" && environment != "T") Finding(" Ambiente de cliente não é P ou T"_cp);
  Info(Cat("Código Convênio:"_cp, Field(rec, 33, 38), " Nome Convênio:"_cp, Field(rec, 73, 102)));
  const std::string_view word = environment == "P" ? "Produção"_cp : environment == "T" ? "Teste" : "";
  const std::string_view parameter = Field(rec, 39, 40);
  if (InvalidParameter(parameter)) {
    Info(Cat("Ambiente:", word, "        Parâmetro de transmissão inválido !!!!"_cp));
  } else {
    Info(Cat("Ambiente:", word, "        Parâmetro de transm:"_cp, parameter));
  }
  Info(Cat("Conta corrente: ", Field(rec, 54, 57), '.', Field(rec, 60, 62), '.', Field(rec, 63, 70), '-',
           Field(rec, 71, 71)));
  Info(Cat("Gerado em:", Field(rec, 144, 145), '/', Field(rec, 146, 147), '/', Field(rec, 148, 151), " às "_cp,
           Field(rec, 152, 153), ':', Field(rec, 154, 155), ':', Field(rec, 156, 157), " NSA: ", Field(rec, 158, 163)));
  Apply<kFileHeaderFields>(rec);
  version = Field(rec, 164, 166);
}

void SiaccRun::LoteHeader(std::string_view rec) {
  ++lotes;
  Info(" ");
  Info(Cat("HEADER DO LOTE (", lotes, "):"));
  Info(kRule79);
  paymentForm = Field(rec, 12, 13);
  commitment = Field(rec, 39, 40);

  std::string_view description;
  if (!IsNumeric(commitment)) {
    Finding(" Tipo de compromisso não numérico."_cp);
  } else {
    description = Describe(kCommitments, commitment, "Inválido !!"_cp);
  }
  Info(Cat("Tipo compromisso:", description));
  Info(Cat("Código compromisso:"_cp, Field(rec, 41, 44)));
  if (!AllOf<72, 72, ' '>(rec)) Finding(" HEADER Posição 72,1 deveria ser branco. Encontrado:"_cp, Field(rec, 72, 72));
  const std::string_view service = Field(rec, 10, 11);
  if (!IsNumeric(service)) {
    Finding(" Tipo de serviço não numérico."_cp);
  } else {
    Info(Describe(kServices, service, "Tipo de serviço: Inválido"_cp));
  }
  if (!LoteAgencyDv(rec)) Finding(" HEADER - Dígito da agência inválido na posição 58."_cp);
  if (!IsNumeric(paymentForm)) {
    Finding(" Forma de lançamento não numérico."_cp);
  } else {
    Info(Describe(kPaymentForms, paymentForm, "Forma de lançam: Inválida"_cp));
  }
  Info(Cat("Código Convênio:"_cp, Field(rec, 33, 38), '-', Field(rec, 39, 40), '-', Field(rec, 41, 44),
           " Nome Convênio:"_cp, Field(rec, 73, 102)));
  const std::string account = Cat("Conta corrente: ", Field(rec, 54, 57), '.', Field(rec, 60, 62), '.',
                                  Field(rec, 63, 70), '-', Field(rec, 71, 71));
  if (InvalidParameter(Field(rec, 45, 46))) {
    Info(Cat(account, "      Parâmetro de transmissão inválido"_cp));
  } else {
    Info(Cat(account, "      Parâmetro de transmissão:"_cp, Field(rec, 45, 46)));
  }
  if (!Blank<103, 142>(rec)) Info(Cat("Mensagem de Aviso 1: ", Field(rec, 103, 142)));
  Info(Cat("Logradouro: ", Field(rec, 143, 172), " Número local: "_cp, Field(rec, 173, 177),
           " Complemento: ", Field(rec, 178, 192)));
  Info(Cat("Cidade: ", Field(rec, 193, 212), " CEP: ", Field(rec, 213, 220), " Estado: ", Field(rec, 221, 222)));
  Apply<kLoteHeaderTail>(rec);
  const std::string_view loteVersion = Field(rec, 14, 16);
  const std::string_view expected = version == "050" ? "030" : version == "080" ? "041" : "";
  if (!expected.empty() && loteVersion != expected)
    Finding(" Versão do layout inválida esperado: "_cp, expected, " encontrado: ", loteVersion);
  Apply<kLoteHeaderParties>(rec);
  Info(kRule79);
  Info("PROCURANDO OCORRÊNCIAS NOS REGISTROS DE MOVIMENTOS... "_cp);
  Info(" ");
}

void SiaccRun::Detail(std::string_view rec) {
  ++loteRecords;
  const std::string_view segment = Field(rec, 14, 14);
  if (Is<"A">(segment)) {
    const std::string_view from = Field(rec, 25, 73);
    payeeSize = from.size();
    if (payeeSize == sizeof payee) {
      std::memcpy(payee, from.data(), sizeof payee);  // a size the compiler knows: a few moves
    } else if (payeeSize != 0) {                      // a record cut short before position 25 names no payee
      std::memcpy(payee, from.data(), payeeSize);
    }
    labelDue = true;
  }
  constexpr std::string_view kSegments = "ABJKON";
  if (segment.empty() || IndexIn(kSegments, segment[0]) == std::string_view::npos)
    Finding(" Código do segmento "_cp, segment, " inválido ou não esperado nesta versão."_cp);
  // The lote number and sequence are converted untested, as the layout's
  // own program does: a non-integer ends the run.
  if (Differs(StrToInt(Field(rec, 4, 7)), lotes)) Finding(" Número de lote inválido campo A.02"_cp);
  if (Differs(StrToInt(Field(rec, 9, 13)), loteRecords)) Finding(" Sequencial de lote inválido campo A.04"_cp);
  if (segment.empty()) return;
  switch (segment[0]) {
    case 'A':
      SegmentA(rec);
      break;
    case 'B':
      SegmentB(rec);
      break;
    case 'J':
      if (Is<"52">(Field(rec, 18, 19))) {
        SegmentJ52(rec);
      } else {
        SegmentJ(rec);
      }
      break;
    case 'K':
      SegmentK(rec);
      break;
    case 'O':
      Apply<kMovement>(rec);
      Apply<kO>(rec);
      Add(loteValue, Field(rec, 108, 122));
      break;
    case 'N':
      SegmentN(rec);
      break;
    default:
      break;
  }
}

void SiaccRun::SegmentA(std::string_view rec) {
  const std::string_view document = Field(rec, 18, 20);
  if (OneOf<18, 20, "018", "700", "000", "888">(rec)) {
    documentType = document;
  } else {
    documentType.clear();
    Finding(" Tipo de documento inválido. Esperado 018,700,000,888. Campo A.08 ->"_cp, Label());
  }
  if (Is<"02">(commitment) && !Is<"000">(document))
    Finding(" Tipo de documento inválido. Esperado 000 para pagamento de salário. Campo A.08 ->"_cp, Label());
  Apply<kAMovement>(rec, kNamed);
  const bool noAccount = Is<"000000000000">(Field(rec, 30, 41));
  if (!Is<"700">(document) && noAccount) Finding(" Conta corrente de destino não informada. ->"_cp, Label());
  if (Is<"700">(document) && noAccount) {
    ++opPayments;  // an OP ("ordem de pagamento") has no destination account
  } else if (!Numeric<21, 28>(rec)) {
    Finding(" Banco ou agência de destino não numérico. ->"_cp, Label());
  } else if (Is<"104">(Field(rec, 21, 23))) {
    if (!CaixaAccountDv(rec))
      Bare(Cat("a conta encontrada na linha=", record, " não foi identificada como SIDEC nem NSGD.->"_cp, Label()));
    if (!WholeIn(Field(rec, 25, 28), 1, 4999))
      Bare(Cat("Agência "_cp, Field(rec, 25, 28), " inválida na linha="_cp, record));
  }
  if (Blank<44, 73>(rec)) {
    Finding(" Falta nome do favorecido.");
  } else if (!IsPlainText(Field(rec, 44, 73))) {
    Finding(" Caracter Inválido no Nome. ->"_cp, Label());
  }
  Apply<kADocument>(rec, kNamed);
  if (Is<"050">(version) && !Blank<80, 93>(rec))
    Finding(" Posição 80,14 deveria ser branco. Encontrado:"_cp, Field(rec, 80, 93));
  if (Is<"080">(version)) {
    if (!Blank<80, 92>(rec)) Finding(" Posição 80,13 deveria ser branco. Encontrado:"_cp, Field(rec, 80, 92));
    if (Is<"018">(documentType) && !OneOf<93, 93, "0", "1", "2">(rec))
      Finding(" Posição 93,1 deveria ser 0, 1 ou 2. Encontrado:"_cp, Field(rec, 93, 93));
  }
  if (Is<"00000000">(Field(rec, 94, 101))) {
    Finding(" Data de vencimento zerada !!->", Label());
  } else if (!ValidDate<94, 101>(rec)) {
    Finding(" Data de vencimento inválida !!->"_cp, Label());
  }
  Apply<kACurrency>(rec, kNamed);
  Apply<kAQuantity>(rec);
  Apply<kAAmount>(rec, kNamed);
  Add(loteValue, Field(rec, 120, 134));
  Add(loteCurrency, Field(rec, 105, 119));
  Apply<kAReserved>(rec);
  const std::string_view instalments = Field(rec, 147, 148);
  if (!IsNumeric(instalments)) {
    Finding(" Quantidade de parcelas não numérico."_cp);
  } else if (WholeNumber(instalments) == 0) {
    Finding(" Número de parcelas não pode ser zero."_cp);
  }
  if (Is<"01">(instalments)) {
    if (!At(rec, 150, '1')) Finding(" Posição 150 deve ser igual a 1 porque não é parcelado"_cp);
  } else if (!Numeric<151, 152>(rec)) {
    Finding(" Erro na posição 151 que deve ser numérico."_cp);
  } else if (!WholeIn(Field(rec, 151, 152), 1, 31)) {
    Finding(" Erro na posição 151, dia inválido."_cp);
  }
  Apply<kAInstalments>(rec);
  const std::string_view purpose = Field(rec, 218, 219);
  if (!IsNumeric(purpose)) {
    Finding(" Finalidade DOC não numérico."_cp);
  } else if (Is<"700">(documentType) && !WholeIn(purpose, 0, 11)) {
    Finding(" Finalidade DOC:", purpose, " inválido !!"_cp);
  }
  const std::string_view notice = Field(rec, 230, 230);
  if (!IsNumeric(notice)) {
    Finding(" Aviso ao favorecido não numérico.->"_cp, Label());
  } else if (!WholeOneOf(notice, kNoticeCodes)) {
    Finding(" Aviso ao favorecido inválido !!"_cp);
  }
  Apply<kATail>(rec);
}

void SiaccRun::SegmentB(std::string_view rec) {
  Apply<kBKind>(rec);
  Apply<kBDocument>(rec, kNamed);
  if (Blank<33, 62>(rec)) {
    Finding(" Falta Logradouro de ", Label());
  } else if (!IsPlainText(Field(rec, 33, 62))) {
    Finding(" Caracter Inválido no Endereço. ->"_cp, Field(rec, 33, 62));
  }
  Apply<kBAddress>(rec, kNamed);
  if (!Blank<226, 240>(rec))
    Finding(" Posição 226,15 deveria ser branco. Encontrado:"_cp, TrimmedText<226, 240>(rec), " em ", Label());
}

void SiaccRun::SegmentJ(std::string_view rec) {
  if (!OneOf<15, 15, "0", "9">(rec)) Finding(" Tipo de movimento inválido. Esperado 0 ou 9"_cp);
  const std::string_view movement = Field(rec, 16, 17);
  constexpr std::int64_t kMovements[] = {0, 9, 10, 11, 23, 99};
  if (!IsNumeric(movement)) {
    Finding(" Código de movimento não numérico."_cp);
  } else if (!WholeOneOf(movement, kMovements)) {
    Finding(" Código de movimento inválido !!"_cp);
  }
  const bool caixa = Field(rec, 18, 20) == "104";
  if (paymentForm == "30" && !caixa)
    Finding(" No Header diz que é boleto CAIXA, mas foi encontrado boleto não CAIXA."_cp);
  if (paymentForm == "31" && caixa)
    Finding(" No Header diz que é boleto não é CAIXA, mas foi encontrado boleto CAIXA."_cp);
  if (!Numeric<18, 61>(rec)) {
    Finding(" Código de barras não numérico."_cp);
  } else {
    if (caixa) {
      const char cedenteDv = Mod11DvLowSum(Field(rec, 37, 42));
      if (At1(rec, 43) != std::string_view(&cedenteDv, 1))
        SpacedFinding(" DV do cedente inválido !! cedente "_cp, Field(rec, 37, 42), " Calculado ", cedenteDv,
                      " Encontrado ", Field(rec, 43, 43));
      if (!OneOf<47, 47, "1", "2">(rec))
        SpacedFinding(" Não está identificando se é cobrança registrada ou sem registro."_cp);
      const char freeDv = Mod11DvLowSum(Field(rec, 37, 60));
      if (At1(rec, 61) != std::string_view(&freeDv, 1))
        SpacedFinding(" Dígito verificador do campo livre está errado. Campo Livre "_cp, Field(rec, 37, 60),
                      " Calculado ", freeDv, " Encontrado ", Field(rec, 61, 61));
    }
    const char barcodeDv = Mod11BarcodeDv(Cat(Field(rec, 18, 21), Field(rec, 23, 61)));
    if (At1(rec, 22) != std::string_view(&barcodeDv, 1))
      SpacedFinding(" Dígito verificador do código de barras está errado. Calculado "_cp, barcodeDv, " encontrado ",
                    Field(rec, 22, 22));
    if (!Numeric<92, 99>(rec)) {
      Finding(" Data não numérica na posição 92,8."_cp);
    } else if (ValidDate<92, 99>(rec)) {
      // A due date that is no real day is reported by its own row below.
      // The factor restarts at 1000 on 22/02/2025, so the two factors are
      // compared through the dates they stand for.
      const std::string due = Cat(Field(rec, 92, 93), '/', Field(rec, 94, 95), '/', Field(rec, 96, 99));
      const std::int64_t computed = StrToInt(DateToFactor(due));
      const std::string_view found = Field(rec, 23, 26);
      const bool digits = found.size() == 4 && IsAllDigits(found);
      const std::optional<CivilDate> foundDate = digits ? ParseDate(FactorToDate(found, today)) : std::nullopt;
      const std::optional<CivilDate> dueDate = ParseDate(due);
      if (!foundDate || !(*foundDate == *dueDate)) {
        if (!foundDate || DaysFromCivil(*foundDate) < DaysFromCivil(*dueDate)) {
          SpacedFinding(" Fator de vencimento incorreto. Calculado ", computed, " encontrado ", found);
        } else {
          SpacedFinding(" Fator de vencimento diverge da data de vencimento. Calculado ", computed, " encontrado ",
                        found, ". Possível pagamento antecipado previsto."_cp);
        }
      }
    }
    if (Numeric<100, 114>(rec)) {
      const std::optional<std::int64_t> value = WholeNumber(Field(rec, 100, 114));
      if (!value || value != WholeNumber(Field(rec, 27, 36)))
        SpacedFinding(" Valor informado no código de barras não é o mesmo informado no registro."_cp);
    }
  }
  Apply<kJPayment>(rec);
  if (!Blank<189, 202>(rec))  // a warning: CAIXA accepts the field filled in
    Info(Cat("Reg:", record,
             " Advertência: Posição 189,14 deveria ser branco. Mas a CAIXA aceita preechido. Encontrado:"_cp,
             TrimmedText<189, 202>(rec)));
  Apply<kJTail>(rec);
  const std::string_view currency = Field(rec, 223, 224);
  constexpr std::int64_t kCurrencies[] = {2, 3, 4, 9};
  if (!IsNumeric(currency)) {
    Finding(" Código da moeda inválido."_cp);
  } else if (!WholeOneOf(currency, kCurrencies)) {
    Finding(" Código da moeda inválido !!"_cp);
  }
  // The paid amount has no row of its own: converted as it stands.
  Add(loteValue, Field(rec, 153, 167), false);
}

// One party of a J-52: its kind at `kind`, its CPF or CNPJ in the 15
// positions after it, its name in the 40 after those.
struct Party {
  std::size_t kind;
  std::string_view kindMessage, numberMessage, cpfMessage, cnpjMessage, nameMessage;
};

void SiaccRun::SegmentJ52(std::string_view rec) {
  static constexpr Party kParties[] = {
      {20, " Posição 20 deveria ser Numérico."_cp, " Posição 21 deveria ter um CPF ou CNPJ."_cp,
       " CPF inválido na posição 25."_cp, " CNPJ inválido na posição 22."_cp, " Falta nome do pagador."},
      {76, " Posição 76 deveria ser 1 ou 2."_cp, " Posição 77 deveria ter um CPF ou CNPJ."_cp,
       " CPF inválido na posição 81."_cp, " CNPJ inválido na posição 78."_cp, " Falta nome do Bneficiário."_cp},
      {132, " Posição 132 deveria ser 1 ou 2."_cp, " Posição 133 deveria ter um CPF ou CNPJ."_cp,
       " CPF inválido na posição 137."_cp, " CNPJ inválido na posição 134."_cp, " Falta nome do Sacador/Avalista."},
  };
  if (!AllOf<15, 16, ' '>(rec)) Finding(" Posição 15 tamanho 2 deveria ser branco."_cp);
  for (const Party& p : kParties) {
    const std::string_view kind = Field(rec, p.kind, p.kind);
    if (!IsNumeric(kind)) {
      Finding(p.kindMessage);
    } else if (!IsNumeric(Field(rec, p.kind + 1, p.kind + 15))) {
      Finding(p.numberMessage);
    } else {
      if (kind == "1" && !IsValidCpf(Field(rec, p.kind + 5, p.kind + 15))) Finding(p.cpfMessage);
      if (kind == "2" && !IsValidCnpj(Field(rec, p.kind + 2, p.kind + 15))) Finding(p.cnpjMessage);
    }
    if (IsBlankField(Field(rec, p.kind + 16, p.kind + 55))) Finding(p.nameMessage);
  }
  if (!Blank<188, 240>(rec)) Finding(" Deveria ser branco a partir da posição 188."_cp);
}

void SiaccRun::SegmentK(std::string_view rec) {
  if (!OneOf<19, 19, "1", "2", "3", "4", "5", "6", "7", "9">(rec)) {
    Finding(" Código segmento da empresa inválido. Campo K.09"_cp);
    return;
  }
  Apply<kK>(rec);
  const std::string_view notice = Field(rec, 230, 230);
  if (!IsNumeric(notice)) {
    Finding(" Aviso ao favorecido inválido."_cp);
  } else if (!WholeOneOf(notice, kNoticeCodes)) {
    Finding(" Aviso ao favorecido inválido !!"_cp);
  }
  Add(loteValue, Field(rec, 120, 134));
}

void SiaccRun::SegmentN(std::string_view rec) {
  Apply<kMovement>(rec);
  Apply<kN>(rec);
  Add(loteValue, Field(rec, 96, 110));
  if (!OneOf<133, 134, "16", "17">(rec)) {
    Finding(" Identificação do tributo inválido. Esperado 16 ou 17 encontrado "_cp, Field(rec, 133, 134));
  } else {
    Apply<kNTaxpayer>(rec);
    if (Field(rec, 133, 134) == "17") {  // social security (GPS)
      if (!RightAligned(rec)) Finding(kRevenueAlignment);
      if (!Numeric<135, 140>(rec)) {
        Finding(" MêsAno. Não numérico."_cp);
      } else {
        if (!IsMonthText(Field(rec, 135, 136))) Finding(" Mês inválido no campo MêsAno."_cp);
        // Competences up to next year are filed; the window moves with the
        // calendar instead of closing in 2030.
        const std::int64_t lastYear = today.year + 1 > 2030 ? today.year + 1 : 2030;
        if (!WholeIn(Field(rec, 137, 140), 2018, lastYear)) Finding(" Ano no campo MêsAno parece errado.."_cp);
      }
      Apply<kNGpsValues>(rec);
    } else {  // federal tax (DARF)
      Apply<kNDarf>(rec);
    }
  }
  if (!Blank<231, 240>(rec)) Finding(kTail231);
}

// Compares a lote total with its trailer field. The trailer carries digits;
// a field of any other numeric form does not state a total and differs.
void CompareTotal(SiaccRun& run, std::string_view rec, std::size_t from, Cents total, std::string_view field,
                  std::string_view differs) {
  const std::string_view text = Field(rec, from, from + 17);
  if (!IsNumeric(text)) {
    run.Finding(" campo ", field, " do trailler deveria ser numérico !!"_cp);
    return;
  }
  const std::optional<std::int64_t> value = WholeNumber(text);
  if (!value || Cents{*value} != total) run.Finding(differs, text, " Calculado:", CentsText(total));
}

void SiaccRun::LoteTrailer(std::string_view rec) {
  Apply<kLoteTrailerReserved>(rec);
  loteRecords += 2;
  const std::string_view count = Field(rec, 18, 23);
  if (!IsNumeric(count)) {
    Finding(" campo 5.05 do trailler deveria ser numérico !!"_cp);
  } else if (const std::optional<std::int64_t> value = WholeNumber(count); !value || Differs(*value, loteRecords)) {
    Finding(" Total de registros no lote inválido !! Encontrado:"_cp, count, " Calculado:", loteRecords);
  }
  CompareTotal(*this, rec, 24, loteValue, "5.06", " Total de valores no lote inválido !! Encontrado:"_cp);
  CompareTotal(*this, rec, 42, loteCurrency, "5.07", " Total de moeda no lote inválido !! Encontrado:"_cp);
  const std::string_view reserved = Field(rec, 60, 65);
  if (!IsNumeric(reserved)) {
    Finding(" Da posição 60 até a 65 não é numérica."_cp);
  } else if (reserved != "000000") {
    Finding(" Da posição 60 até a 65 deveriam ser zeros."_cp);
  }
  Info(" ");
  Info(Cat("==> Fim do lote com ", loteRecords, " registros. Totalizando: R$ ", FormatMoney(Field(rec, 24, 41))));
  loteRecords = 0;
  loteValue = loteCurrency = 0;
}

void SiaccRun::FileTrailer(std::string_view rec) {
  Apply<kFileTrailerReserved>(rec);
  // Converted untested, as the layout's own program does.
  if (Differs(StrToInt(Field(rec, 18, 23)), lotes)) Finding(" Quantidade de lotes inválida !!"_cp);
  if (Differs(StrToInt(Field(rec, 24, 29)), record)) Finding(" Quantidade de Registros no arquivo, inválida !!"_cp);
  if (Field(rec, 30, 35) != "000000")
    Finding(" Erro no TRAILLER de arquivo, era esperado zeros da posição 30 até a 35 !!"_cp);
}

void SiaccRun::Summary() {
  constexpr char kTypes[] = {'0', '1', '3', '5', '9'};
  for (std::size_t i = 0; i < 5; ++i)
    if (!seen[i]) Bare(Cat("Erro grave: Falta registro código "_cp, kTypes[i]));
  Info(" ");
  if (opPayments > 0)
    Info(Cat("Existem ", opPayments, " informações de pagamento por OP neste arquivo. Se isso não for verdade, "_cp,
             "então existem "_cp, opPayments, " DOC faltando número da conta."_cp));
  Info(" ");
  Info("==== Fim da leitura do arquivo ====");
}

}  // namespace

Verdict CaixaProgramado1Click(Host& host) {
  const std::optional<std::string> path = host.OpenFile("Selecione o arquivo remessa SIACC 240", FileFilter::Remessa);
  if (!path) {
    host.ShowMessage("Nenhum arquivo foi selecionado !!");
    return Verdict::Clean;
  }
  host.ReportClear();
  RecordReader reader(*path, &host);
  host.ReportAppend(Cat("Arquivo:", *path));
  host.ReportAppend(Cat("SIACC - Validação do arquivo remessa "_cp, *path));
  host.ReportAppend(" ");
  SiaccRun run(host, host.Today());
  std::string_view rec;
  while (reader.Next(rec)) run.Record(rec);
  run.Summary();
  return run.faulty ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote
