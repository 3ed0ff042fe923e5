#include "layouts/capcaixa.hpp"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "banking/record_rules.hpp"
#include "banking/text.hpp"
#include "layouts/capcaixa_fields.hpp"

namespace verilote {

namespace {

// How a rule's finding reads. Most rows carry their text; the rows that repeat
// one sentence over many fields build it from their positions.
enum class Say : unsigned char {
  Text,           // the row's text
  NotNumeric,     // " - campo não numérico da posição <from> até a <to>"
  ZerosRequired,  // " - Da posição <from> até a <to> Não pode ser branco, ..."
  Message,        // " - Caracter não esperado na Mensagem<n>, posições de <from> e <to>"
  FiscalYear,     // " - Exercício inválido da posição <from> até a <to>"
};

struct GuideRule {
  RecordTest passes;  // none for the fiscal year, whose range depends on today
  std::string_view text;
  std::string_view fields;  // the codes of the fields the finding names: their positions
  Say say = Say::Text;
  std::uint16_t from = 0, to = 0, n = 0;
};

// The guide's value (From-To, in cents) is at least one cent when the value
// kind at KindPos is "6", a value in reais ("7" is a reference quantity, which
// may be zero). A field that is not numeric is left to its own row. Any 15
// digits fit the 64-bit conversion; a numeric text that is no whole number
// ("1,50") ends the run with the conversion error, as every layout conversion does.
template <std::size_t KindPos, std::size_t From, std::size_t To>
bool ValueNotZero(std::string_view rec) {
  const std::string_view value = Field(rec, From, To);
  return !At(rec, KindPos, '6') || !IsNumeric(value) || StrToInt(value) >= 1;
}

// The code of the field at From-To, its positions: "3-16", or "2" for one.
template <std::size_t From, std::size_t To>
struct PositionsCode {
  static constexpr auto kText = [] {
    std::array<char, 16> text{};
    std::size_t n = 0;
    const auto put = [&](std::size_t value) {
      char digits[8];
      std::size_t k = 0;
      for (; value > 0; value /= 10) digits[k++] = static_cast<char>('0' + value % 10);
      while (k > 0) text[n++] = digits[--k];
    };
    put(From);
    if (To != From) {
      text[n++] = '-';
      put(To);
    }
    text[15] = static_cast<char>(n);
    return text;
  }();
  static constexpr std::string_view kView{kText.data(), static_cast<std::size_t>(kText[15])};
};

template <std::size_t From, std::size_t To>
constexpr std::string_view kCode = PositionsCode<From, To>::kView;

template <std::size_t From, std::size_t To>
constexpr GuideRule NumericField{Numeric<From, To>, {}, kCode<From, To>, Say::NotNumeric, From, To};

// Filled in only when needed, but numeric when filled.
template <std::size_t From, std::size_t To>
constexpr GuideRule OptionalNumeric{
    BlankOr<From, To, Numeric<From, To>>, {}, kCode<From, To>, Say::NotNumeric, From, To};

// Value fields must be filled, with zeros at least.
template <std::size_t From, std::size_t To>
constexpr GuideRule ZerosRequired{NotBlank<From, To>, {}, kCode<From, To>, Say::ZerosRequired, From, To};

// Printed message line N, 60 positions from From.
template <int N, std::size_t From>
constexpr GuideRule MessageLine{
    PlainText<From, From + 59>, {}, kCode<From, From + 59>, Say::Message, From, From + 59, N};

// Numeric is its own row before it; the year is tested only when numeric.
template <std::size_t From, std::size_t To>
constexpr GuideRule FiscalYear{nullptr, {}, kCode<From, To>, Say::FiscalYear, From, To};

// The fiscal year ("exercício") runs from 2000 to next year, by today's date:
// a fixed last year would reject every guide issued after it.
constexpr int kFirstFiscalYear = 2000;

// Texts that the bill and booklet layouts share.
constexpr std::string_view kNameChars = " - Caracter não esperado no Nome do contribuinte entre as posições 2 e 41"_cp;
constexpr std::string_view kValidity = " - Data de validade inválida da posição 54 até a 61"_cp;
constexpr std::string_view kFree1 = " - Caracter não esperado livre1 entre as posições 62 e 73"_cp;
constexpr std::string_view kDueDate79 = " - Data de vencimento inválida da posição 79 até a 86"_cp;
constexpr std::string_view kNameRequired = " - Nome é obrigatório e não existe no registro."_cp;
constexpr std::string_view kInstalmentRequired = " -  Parcela é obrigatório e não existe no registro."_cp;
constexpr std::string_view kCurrencyRequired = " -  Nome da moeda é obrigatório e não existe no registro."_cp;
constexpr std::string_view kAddressRequired = " -  Endereço é obrigatório e não existe no registro."_cp;
constexpr std::string_view kNumberRequired = " -  Número no endereço é obrigatório e não existe no registro."_cp;
constexpr std::string_view kDistrictRequired = " -  Bairro é obrigatório e não existe no registro."_cp;
constexpr std::string_view kCityRequired = " -  Cidade é obrigatório e não existe no registro."_cp;
constexpr std::string_view kStateRequired = " -  Estado é obrigatório e não existe no registro."_cp;

// Type 1, union contribution guide (732 positions).
constexpr GuideRule kUnionGuide[] = {
    {OneOf<2, 2, "1", "2", "3">, " - Tipo identificador deveria ser 1,2 ou 3 na posição 2"_cp, "2"},
    NumericField<3, 16>,
    {PlainText<17, 56>, " - Caracter não esperado no Nome do contribuinte entre as posições 17 e 56"_cp, "17-56"},
    {PlainText<57, 76>, " - Caracter não esperado na cidade do contribuinte entre as posições 57 e 76"_cp, "57-76"},
    {PlainText<77, 78>, " - Caracter não esperado no Estado do contribuinte entre as posições 77 e 78"_cp, "77-78"},
    {PlainText<152, 166>, " - Caracter não esperado no complemento entre as posições 152 e 166"_cp, "152-166"},
    {PlainText<286, 300>, " - Caracter não esperado na atividade entre as posições 286 e 300"_cp, "286-300"},
    MessageLine<1, 373>,
    MessageLine<2, 433>,
    MessageLine<3, 493>,
    MessageLine<4, 553>,
    MessageLine<5, 613>,
    MessageLine<6, 673>,
    {CpfIfKind<2, '1', 6, 16>, " - CPF inválido da posição 6 até a 16"_cp, "3-16 2"},
    {CnpjIfKind<2, '2', 3, 16>, " - CGC inválido da posição 3 até a 16"_cp, "3-16 2"},
    {TrimmedExactly<77, 78, 2>, " - Estado inválido da posição 77 até a 78"_cp, "77-78"},
    NumericField<79, 82>,
    FiscalYear<79, 82>,
    {ValidDate<83, 90>, " - Data de vencimento inválida da posição 83 até a 90"_cp, "83-90"},
    {OneOf<91, 91, "6", "7">, " - Moeda deveria ser 6 ou 7 na posição 91"_cp, "91"},
    NumericField<92, 106>,
    {ValueNotZero<91, 92, 106>, " - Valor da contribuição não pode ser zero da posição 92 até a 106"_cp, "92-106 91"},
    NumericField<107, 121>,
    NumericField<122, 136>,
    NumericField<137, 151>,
    OptionalNumeric<167, 172>,
    OptionalNumeric<173, 187>,
    OptionalNumeric<188, 202>,
    OptionalNumeric<203, 217>,
    OptionalNumeric<218, 232>,
    OptionalNumeric<233, 247>,
    OptionalNumeric<248, 253>,
    OptionalNumeric<254, 268>,
    OptionalNumeric<269, 274>,
    OptionalNumeric<275, 280>,
    OptionalNumeric<281, 285>,
    {BlankOr<301, 301, OneOf<301, 301, "1", "2", "3", "4">>,
     " - Tipo identificador deveria ser 1,2,3 ou 4 na posição 301"_cp, "301"},
    {BlankOr<302, 309, ValidDate<302, 309>>, " - Data inicio atividade inválida da posição 302 até a 309"_cp,
     "302-309"},
    {BlankOr<330, 337, Numeric<330, 337>>, " - CEP não numérico da posição 330 até a 337"_cp, "330-337"},
    {PlainText<310, 329>, " - Caracter não esperado no Bairro do contribuinte entre as posições 310 e 329"_cp,
     "310-329"},
    {PlainText<343, 372>, " - Caracter não esperado no endereço do contribuinte entre as posições 343 e 372"_cp,
     "343-372"},
    {NotBlank<17, 26>, " - Nome do contribuinte é obrigatório e não existe no registro."_cp, "17-56"},
    {NotBlank<57, 76>, " - Cidade do contribuinte é obrigatório e não existe no registro."_cp, "57-76"},
    {NotBlank<77, 78>, " - Estado do contribuinte é obrigatório e não existe no registro."_cp, "77-78"},
    ZerosRequired<92, 106>,
    ZerosRequired<107, 121>,
    ZerosRequired<122, 136>,
    ZerosRequired<137, 151>,
    ZerosRequired<167, 172>,
    ZerosRequired<173, 187>,
    ZerosRequired<188, 202>,
    ZerosRequired<203, 217>,
    ZerosRequired<218, 232>,
    ZerosRequired<233, 247>,
    ZerosRequired<248, 253>,
    ZerosRequired<254, 268>,
    ZerosRequired<269, 274>,
    ZerosRequired<275, 280>,
    ZerosRequired<281, 285>,
};

// Type 2, utility and public service bill (984 positions). The code's zeros
// message names positions 42-49 and the revenue field's "96 e 100" although
// the tests cover 42-53 and 96-115: the bank's users know these texts as they are.
constexpr GuideRule kUtilityBill[] = {
    {PlainText<2, 41>, kNameChars, "2-41"},
    NumericField<42, 53>,
    {NotAllOf<42, 53, '0'>, " - Código não pode ser somente zeros da posição 42 até a 49"_cp, "42-53"},
    {ValidDate<54, 61>, kValidity, "54-61"},
    {PlainText<62, 73>, kFree1, "62-73"},
    NumericField<74, 78>,
    {ValidDate<79, 86>, kDueDate79, "79-86"},
    NumericField<87, 90>,
    FiscalYear<87, 90>,
    {Numeric<91, 95>, " - Cód. Rec/Tributo não numérico entre as posições 91 e 95"_cp, "91-95"},
    {PlainText<96, 115>, " - Caracter não esperado na receita/tributo entre as posições 96 e 100"_cp, "96-115"},
    {PlainText<116, 122>, " - Caracter não esperado na parcela entre as posições 116 e 122"_cp, "116-122"},
    {PlainText<123, 132>, " - Caracter não esperado no nome da moeda entre as posições 123 e 132"_cp, "123-132"},
    {PlainText<133, 162>, " - Caracter não esperado no endereço entre as posições 133 e 162"_cp, "133-162"},
    {PlainText<163, 168>, " - Caracter não esperado no numero entre as posições 163 e 168"_cp, "163-168"},
    {PlainText<169, 183>, " - Caracter não esperado no complemento entre as posições 169 e 183"_cp, "169-183"},
    {PlainText<184, 203>, " - Caracter não esperado no bairro entre as posições 184 e 203"_cp, "184-203"},
    {PlainText<204, 223>, " - Caracter não esperado na cidade entre as posições 204 e 223"_cp, "204-223"},
    {PlainText<224, 225>, " - Caracter não esperado no estado entre as posições 224 e 225"_cp, "224-225"},
    NumericField<226, 233>,
    {OneOf<234, 234, "6", "7">, " - Tipo de moeda deveria ser 6 ou 7 na posição 234"_cp, "234"},
    NumericField<235, 249>,
    {ValueNotZero<234, 235, 249>, " - Valor  não pode ser zero da posição 235 até a 249"_cp, "235-249 234"},
    NumericField<250, 264>,
    NumericField<265, 279>,
    NumericField<280, 294>,
    NumericField<295, 309>,
    NumericField<310, 324>,
    MessageLine<1, 325>,
    MessageLine<2, 385>,
    MessageLine<3, 445>,
    MessageLine<4, 505>,
    MessageLine<5, 565>,
    MessageLine<6, 625>,
    MessageLine<7, 685>,
    MessageLine<8, 745>,
    MessageLine<9, 805>,
    MessageLine<10, 865>,
    MessageLine<11, 925>,
    {NotBlank<2, 41>, kNameRequired, "2-41"},
    {NotBlank<96, 115>, " -  Receita/Tributo é obrigatório e não existe no registro."_cp, "96-115"},
    {NotBlank<116, 122>, kInstalmentRequired, "116-122"},
    {NotBlank<123, 132>, kCurrencyRequired, "123-132"},
    {NotBlank<133, 162>, kAddressRequired, "133-162"},
    {NotBlank<163, 168>, kNumberRequired, "163-168"},
    {NotBlank<184, 203>, kDistrictRequired, "184-203"},
    {NotBlank<204, 223>, kCityRequired, "204-223"},
    {NotBlank<224, 225>, kStateRequired, "224-225"},
};

// Type 3, booklet, also with an agreement exclusive to the bank (959
// positions): the code is eight digits and four zeros.
constexpr GuideRule kBooklet[] = {
    {PlainText<2, 41>, kNameChars, "2-41"},
    {Numeric<42, 53>, {}, "42-49 50-53", Say::NotNumeric, 42, 53},
    {NotAllOf<42, 49, '0'>, " - Código não pode ser somente zeros da posição 42 até a 49"_cp, "42-49"},
    {AllOf<50, 53, '0'>, " - Parte final do código deveria ser zeros da posição 50 até a 53"_cp, "50-53"},
    {ValidDate<54, 61>, kValidity, "54-61"},
    {PlainText<62, 73>, kFree1, "62-73"},
    NumericField<74, 78>,
    {ValidDate<79, 86>, kDueDate79, "79-86"},
    NumericField<87, 90>,
    FiscalYear<87, 90>,
    {PlainText<91, 97>, " - Caracter não esperado na parcela entre as posições 91 e 97"_cp, "91-97"},
    {PlainText<98, 107>, " - Caracter não esperado no nome da moeda entre as posições 98 e 107"_cp, "98-107"},
    {PlainText<108, 137>, " - Caracter não esperado no endereço entre as posições 108 e 137"_cp, "108-137"},
    {PlainText<138, 143>, " - Caracter não esperado no numero entre as posições 138 e 143"_cp, "138-143"},
    {PlainText<144, 158>, " - Caracter não esperado no complemento entre as posições 144 e 158"_cp, "144-158"},
    {PlainText<159, 178>, " - Caracter não esperado no bairro entre as posições 159 e 178"_cp, "159-178"},
    {PlainText<179, 198>, " - Caracter não esperado na cidade entre as posições 179 e 198"_cp, "179-198"},
    {PlainText<199, 200>, " - Caracter não esperado no estado entre as posições 199 e 200"_cp, "199-200"},
    NumericField<201, 208>,
    {OneOf<209, 209, "6", "7">, " - Tipo de moeda deveria ser 6 ou 7 na posição 209"_cp, "209"},
    NumericField<210, 224>,
    {ValueNotZero<209, 210, 224>, " - Valor não pode ser zero da posição 210 até a 224"_cp, "210-224 209"},
    NumericField<225, 239>,
    NumericField<240, 254>,
    NumericField<255, 269>,
    NumericField<270, 284>,
    NumericField<285, 299>,
    MessageLine<1, 300>,
    MessageLine<2, 360>,
    MessageLine<3, 420>,
    MessageLine<4, 480>,
    MessageLine<5, 540>,
    MessageLine<6, 600>,
    MessageLine<7, 660>,
    MessageLine<8, 720>,
    MessageLine<9, 780>,
    MessageLine<10, 840>,
    MessageLine<11, 900>,
    {NotBlank<2, 41>, kNameRequired, "2-41"},
    {NotBlank<91, 97>, kInstalmentRequired, "91-97"},
    {NotBlank<98, 107>, kCurrencyRequired, "98-107"},
    {NotBlank<108, 137>, kAddressRequired, "108-137"},
    {NotBlank<138, 143>, kNumberRequired, "138-143"},
    {NotBlank<159, 178>, kDistrictRequired, "159-178"},
    {NotBlank<179, 198>, kCityRequired, "179-198"},
    {NotBlank<199, 200>, kStateRequired, "199-200"},
};

struct GuideLayout {
  std::string_view banner;
  std::span<const GuideRule> rules;
};

// Record types "1", "2" and "3", in order.
constexpr GuideLayout kLayouts[] = {
    {"Validando Registros de importação Guia Sindical"_cp, kUnionGuide},
    {"Validando Registros de importação Concessionárias e Serviços Públicos"_cp, kUtilityBill},
    {"Validando Registros de importação Carnês e Assemelhados e convênio exclusivo Caixa"_cp, kBooklet},
};

// The layout of record type `type` (position 1), or nullptr.
const GuideLayout* LayoutOf(std::string_view type) {
  if (type.size() != 1 || type[0] < '1' || type[0] > '3') return nullptr;
  return &kLayouts[type[0] - '1'];
}

struct Run {
  Host& host;
  char fileType;  // position 1 of the first line when it names a layout, else 0
  std::int64_t lastFiscalYear;
  std::uint64_t record = 0;
  std::uint64_t findings = 0;
  std::string_view rec = {};  // the line being checked

  // A finding about the fields `fields` (their codes) of the line, of `kind`.
  void Finding(const std::string& line, const RecordKind* kind, std::string_view fields) {
    host.ReportFinding({line, record, rec, kind, fields});
    ++findings;
  }

  bool Passes(const GuideRule& rule) const {
    if (rule.say != Say::FiscalYear) return rule.passes(rec);
    const std::string_view year = Field(rec, rule.from, rule.to);
    if (!IsNumeric(year)) return true;
    const std::int64_t value = StrToInt(year);
    return value >= kFirstFiscalYear && value <= lastFiscalYear;
  }

  std::string Text(const GuideRule& rule) const {
    const auto from = rule.from, to = rule.to;
    switch (rule.say) {
      case Say::Text:
        return Cat("Linha ", record, rule.text);
      case Say::NotNumeric:
        return Cat("Linha ", record, " - campo não numérico da posição "_cp, from, " até a "_cp, to);
      case Say::ZerosRequired:
        return Cat("Linha ", record, " - Da posição "_cp, from, " até a "_cp, to,
                   " Não pode ser branco, deve preencher no mínimo com zeros."_cp);
      case Say::Message:
        return Cat("Linha ", record, " - Caracter não esperado na Mensagem"_cp, rule.n, ", posições de "_cp, from,
                   " e ", to);
      case Say::FiscalYear:
        return Cat("Linha ", record, " - Exercício inválido da posição "_cp, from, " até a "_cp, to);
    }
    return {};
  }

  void Line() {
    const std::string_view type = Field(rec, 1, 1);
    // Named against the file's type, whose kind expects it at position 1.
    if (fileType != 0 && (type.size() != 1 || type[0] != fileType))
      Finding(Cat("Linha ", record, " - Tipo registro deveria ser ", fileType, " na posição 1"_cp),
              CapcaixaKindOf(std::string_view(&fileType, 1)), "1");
    // A line of another known type still gets the checks of its own type.
    if (const GuideLayout* layout = LayoutOf(type)) {
      const RecordKind* kind = CapcaixaKindOf(rec);
      for (const GuideRule& rule : layout->rules)
        if (!Passes(rule)) Finding(Text(rule), kind, rule.fields);
    }
  }

  void Summary() {
    if (findings == 0) {
      host.ReportAppend(Cat(record, " registros lidos todos corretos. Fim da validação."_cp));
      return;
    }
    host.ReportAppend(RepeatText(60, "-"));
    host.ReportAppend(Cat(record, " registros lidos. Fim da validação."_cp));
    host.ReportAppend("-----------------------");
    host.ReportAppend(Cat(findings, " Erros encontradas."));
    host.ReportAppend("-----------------------");
  }
};

}  // namespace

Verdict CapcaixaImportaodeguias1Click(Host& host) {
  const auto path = host.OpenFile("Selecione o arquivo", FileFilter::Texto);
  if (!path) {
    host.ShowMessage("Nenhum arquivo foi escolhido !!!");
    return Verdict::Clean;
  }
  RecordReader reader(*path, &host);
  std::string_view rec;
  const bool any = reader.Next(rec);
  // The first character of the first line chooses the layout of the whole file.
  const std::string_view firstType = any ? Field(rec, 1, 1) : std::string_view();
  const GuideLayout* layout = LayoutOf(firstType);

  host.ReportClear();
  host.ReportAppend("****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp);
  if (layout) host.ReportAppend(layout->banner);
  host.ReportAppend(RepeatText(60, "="));

  Run run{host, layout ? firstType[0] : '\0', host.Today().year + 1};
  // Neither an empty file nor an unknown first character names a layout: say
  // so once, rather than stop or pass the file.
  run.rec = rec;
  if (!layout) {
    run.record = any ? 1 : 0;  // an empty file: the file as a whole
    run.Finding(std::string("Linha 1 - Tipo registro deveria ser 1,2 ou 3 na posição 1"_cp), &kCapcaixaUnknownKind,
                "1");
    run.record = 0;
  }
  for (bool more = any; more; more = reader.Next(run.rec)) {
    ++run.record;
    run.Line();
  }
  run.Summary();
  return run.findings == 0 ? Verdict::Clean : Verdict::Faulty;
}

}  // namespace verilote
