#include "layouts/construgiro.hpp"

#include "app/cp1252.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "banking/dictionary_helpers.hpp"
#include "detect/field_registry.hpp"
#include "layouts/construgiro_run.hpp"

namespace verilote {

namespace construgiro {

namespace {

constexpr std::size_t kRecordLength = 240;

constexpr std::string_view kWarning =
    "****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp;

// The trailer texts below equal those of the SICOB 240 file and lote
// trailers, word for word.
constexpr std::string_view kPDiffersFromQ = " Total de registros P não é igual aos de Q !!"_cp;
constexpr std::string_view kFileTrailerStart = " Totalizador de arquivo tipo 9 com divergência no início !!"_cp;
constexpr std::string_view kFileCount = " Total de registros do arquivo não confere !!"_cp;

// A converted field against a counter: a negative value never matches.
bool Differs(std::int64_t value, std::uint64_t count) {
  return value < 0 || static_cast<std::uint64_t>(value) != count;
}

std::string Equals(std::size_t n) { return RepeatText(n, "="); }

// Field 48: the account digit of agency 33-36, operation 37-39 and account
// 40-47. A non-digit there makes the digit wrong (the text routine would
// stop the run on it).
bool AccountDv(std::string_view rec) {
  const std::string_view account = Field(rec, 33, 47);
  return account.size() == 15 && IsAllDigits(account) && Field(rec, 48, 48) == Mod11DvFrom8(account);
}

// ---- File header (record type "0"), after the type of remittance, the
// convenio and bank lines and the account digit.
constexpr MessageRule kFileHeaderFixed[] = {
    {OneOf<71, 71, "0">, " O DV na posição 71 deveria ser 0 conforme manual"_cp, "71"},
    {OneOf<72, 72, "0">, " O DV na posição 72 deveria ser 0 conforme manual"_cp, "72"},
    {OneOf<58, 58, "0">, "  O DV na posição 58 deveria ser 0 conforme manual"_cp, "58"},
    // The bank's wording says "may not be blank" of fields that must be.
    {Blank<9, 17>, "  Não pode ser branco na posição 9 tamanho 9"_cp, "9-17"},
    {Blank<172, 191>, "  Não pode ser branco na posição 170 tamanho 20"_cp, "172-191"},
    {Blank<133, 142>, "  Não pode ser branco na posição 133 tamanho 10"_cp, "133-142"},
    {Blank<49, 52>, "  Não pode ser branco na posição 49 tamanho 4"_cp, "49-52"},
    {SameAs<54, 57, 33, 36>, "  Agencia na posição 33 deve ser igual a da 54"_cp, "54-57 33-36"},
    {OneOf<4, 7, "0000">, "  Posição 4 não tem 0000"_cp, "4-7"},
    {OneOf<167, 171, "00000">, "  Posição 167 não tem 00000"_cp, "167-171"},
};

// Fields 212-231: the units of the development.
struct UnitField {
  std::size_t from;
  std::string_view name;
  bool zeroRefused;
  std::string_view code;
};
constexpr UnitField kUnits[] = {
    {212, " TOTAL DE UNIDADES", true, "212-215"},
    {216, " TOTAL DE UNIDADES permutadas + Vendidas + Quitadas", true, "216-219"},
    {220, " TOTAL DE UNIDADES com saldo devedor", true, "220-223"},
    {224, " TOTAL DE UNIDADES em estoque", false, "224-227"},
    {228, " TOTAL DE UNIDADES Pendentes", false, "228-231"},
};

constexpr MessageRule kFileHeaderDates[] = {
    {ValidDate<232, 239>, " Data da informação inválida na posição 232,8"_cp, "232-239"},
    {ValidDate<144, 151>, " Data do arquivo inválida na posição 144,8"_cp, "144-151"},
    {OneOf<18, 18, "1", "2">, "  Posição  18 deve ter 1 ou 2"_cp, "18"},
    {CpfIfKind<18, '1', 22, 32>, "  cpf do cedente inválido"_cp, "19-32 18"},
    {CnpjUnlessCpf<18, 19, 32>, "  CNPJ do cedente inválido"_cp, "19-32 18"},
    {OneOf<143, 143, "1">, "  Posição 143 deve ter 1"_cp, "143"},
    {OneOf<164, 166, "040">, "  Posição 164 deve ter 040"_cp, "164-166"},
};

// ---- Lote header (record type "1"): the contract of one unit.
constexpr MessageRule kLoteHeaderRules[] = {
    {ValidDate<192, 199>, " Data do arquivo inválida na posição 192,8"_cp, "192-199"},
    {Blank<17, 17>, " Deveria ser branco na posição 17"_cp, "17"},
    {Blank<50, 53>, " Deveria ser branco da posição 50 até 53"_cp, "50-53"},
    {OneOf<9, 9, "R">, " Deveria ter um R na posição 9"_cp, "9"},
    {OneOf<10, 11, "01">, " Deveria ter 01 na posição 10"_cp, "10-11"},
    {OneOf<14, 16, "040">, " Deveria ter 040 na posição 14"_cp, "14-16"},
    {OneOf<18, 18, "1", "2">, " Deveria ter 1 ou 2 na posição 18"_cp, "18"},
    {SameAs<55, 58, 34, 37>, " Agencia na posição 34 não é a mesma da posição 55"_cp, "55-58 34-37"},
    {SameAs<64, 71, 41, 48>, " A conta na posição 41 deveria ser a mesma da posição 64"_cp, "64-71 41-48"},
    {CpfIfKind<18, '1', 23, 33>, " cpf do Empreendimento inválido"_cp, "20-33 18"},
    {CnpjIfKind<18, '2', 20, 33>, " CNPJ do Empreendimento inválido"_cp, "20-33 18"},
    {OneOf<104, 104, "1", "2">, " Deveria ser 1 ou 2 na posição 104"_cp, "104"},
    {CpfIfKind<104, '1', 109, 119>, " CPF do Comprador inválido"_cp, "106-119 104"},
    {CnpjIfKind<104, '2', 106, 119>, " CNPJ do Comprador inválido"_cp, "106-119 104"},
    {OneOf<140, 140, "1", "2", "3", "4", "5">, "  Tipo inválido na posição 140"_cp, "140"},
    {OneOf<141, 141, "1", "2", "3", "4", "5">, "  Tipo inválido na posição 141"_cp, "141"},
};

}  // namespace

// ---- Shared helpers.

std::optional<DateKey> DateKeyOf(std::string_view field) {
  if (!IsValidDate(field)) return std::nullopt;
  const std::string_view t = Trim(field);
  const std::size_t month = t.size() == 10 ? 3 : 2, year = t.size() == 10 ? 6 : 4;
  const auto number = [t](std::size_t from, std::size_t digits) {
    DateKey value = 0;
    for (std::size_t i = from; i < from + digits; ++i) value = value * 10 + (t[i] - '0');
    return value;
  };
  return number(year, 4) * 10000 + number(month, 2) * 100 + number(0, 2);
}

std::uint64_t AmountOf(std::string_view field) {
  std::uint64_t cents = 0;
  for (const char c : field.substr(0, 19))
    if (c >= '0' && c <= '9') cents = cents * 10 + static_cast<std::uint64_t>(c - '0');
  return cents;
}

std::optional<std::int64_t> WholeNumber(std::string_view text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return std::nullopt;
  const bool negative = text[i] == '-';
  if (text[i] == '+' || text[i] == '-') ++i;
  const std::string_view digits = text.substr(i);
  if (digits.empty() || digits.size() > 18 || !IsAllDigits(digits)) return std::nullopt;
  std::int64_t value = 0;
  for (const char c : digits) value = value * 10 + (c - '0');
  return negative ? -value : value;
}

std::string PadCount(std::uint64_t count, std::size_t width) {
  const std::string digits = Cat(count);
  return digits.size() >= width ? digits : PadZeroLeft(digits, width);
}

void CentsTotal::Add(std::uint64_t cents) {
  low_ += cents % kBase;
  high_ += cents / kBase;
  if (low_ >= kBase) {
    low_ -= kBase;
    ++high_;
  }
}

std::string CentsTotal::Digits() const { return high_ == 0 ? Cat(low_) : Cat(high_, PadZeroLeft(Cat(low_), 18)); }

// ---- The run.

Run::Run(Host& h) : host(h), today(KeyOf(h.Today())), todayYear(h.Today().year) {}

void Run::Info(std::string_view text) { host.ReportAppend(text); }

void Run::Finding(std::string_view message, std::string_view fields) {
  host.ReportFinding(verilote::Finding{Cat("Linha ", line, message), line, rec, kind, fields});
  faulty = true;
}

void Run::Fault(std::string_view text) {
  host.ReportFinding(verilote::Finding{text, 0});
  faulty = true;
}

void Run::Apply(std::span<const MessageRule> rules, std::string_view rec) {
  for (const MessageRule& rule : rules)
    if (!rule.passes(rec)) Finding(rule.message, rule.fields);
}

void Run::NumberField(std::string_view rec, std::size_t from, std::size_t to, std::string_view name, bool zeroRefused,
                      std::string_view code) {
  const std::string_view field = Field(rec, from, to);
  if (!IsNumeric(field)) {
    Finding(Cat(name, ". Nao é um número válido"_cp), code);
  } else if (zeroRefused && IsAll(field, to - from + 1, '0')) {
    Finding(Cat(name, ". Nao pode ser zero"), code);
  }
}

void Run::Record(std::string_view rec) {
  ++line;
  this->rec = rec;
  kind = kConstrugiroFields.kindOf(rec);
  if (PlainBytes::AnyOutside(rec)) {
    // "45(é),46(é)": each position with its byte, separated by commas.
    std::string list;
    ListInvalidPositions<PlainBytes>(list, rec, ",", [](std::string& out, std::size_t at, char byte) {
      out += Cat(out.empty() ? "" : ",", at, '(', byte, ')');
    });
    Finding(Cat(" com Caracter inválido nas posições: "_cp, list), FieldsOfInvalidBytes<PlainBytes>(kind, rec));
  }
  // The length names the field the record's end should close.
  if (rec.size() != kRecordLength) Finding(Cat(" com tamanho ", rec.size()), LastField(kind));
  if (Field(rec, 1, 3) != "104") Finding(" com inicio diferente de 104", "1-3");

  const char type = rec.size() >= 8 ? rec[7] : '\0';
  if (type == '1') {
    ++lotes;
    loteDetails = 0;
  }
  if (type == '3') {
    ++loteDetails;
    // Sequence and lote number are converted as integers: a non-digit there
    // ends the run, as the bank's own check does.
    if (Differs(StrToInt(Field(rec, 9, 13)), loteDetails) || Differs(StrToInt(Field(rec, 4, 7)), lotes))
      Finding(Cat(" Lote com numeracao inválida. Esperado Lote "_cp, PadCount(lotes, 5),
                  "/Sequencia:", PadCount(loteDetails, 5), " Encontrado: ", Field(rec, 4, 7), "/", Field(rec, 9, 13)),
              "4-7 9-13");
  }
  // So is the record type.
  switch (type >= '0' && type <= '9' ? type - '0' : StrToInt(Field(rec, 8, 8))) {
    case 0:
      ++fileHeaders;
      return FileHeader(rec);
    case 1:
      return LoteHeader(rec);
    case 3:
      switch (rec.size() >= 14 ? rec[13] : '\0') {
        case 'P':
          return SegmentP(rec);
        case 'Q':
          return SegmentQ(rec);
        case 'R':
          return SegmentR(rec);
        case 'S':
          return SegmentS(rec);
        default:
          return;
      }
    case 5:
      ++loteTrailers;
      return LoteTrailer(rec);
    case 9:
      ++fileTrailers;
      return FileTrailer(rec);
    default:
      return Finding(Cat(" com tipo inválido !!! Encontrado:"_cp, Field(rec, 8, 8), " permitido 0, 1, 3, 5, 9"), "8");
  }
}

void Run::FileHeader(std::string_view rec) {
  const auto f = [rec](std::size_t from, std::size_t to) { return Field(rec, from, to); };
  Info(Cat(Equals(40), " HEADER ", Equals(40)));
  Info(Cat("Cedente centralizador: ", f(73, 102)));
  if (f(192, 205) == "INCLUSAO-TESTE" || f(192, 199) == "INCLUSAO") {
    Info(Cat("Tipo de remessa: ", f(192, 205)));
  } else {
    Finding(" Header com erro na posição 192, deveria ter INCLUSAO ou INCLUSAO-TESTE"_cp, "192-205");
  }
  Info(Cat("Convenio: ", f(33, 36), ".", f(37, 39), ".", f(40, 47), "-", f(48, 48), " Inscricao: ", f(19, 20), ".",
           f(21, 23), ".", f(24, 26), "/", f(27, 30), "-", f(31, 32)));
  Info(Cat("Banco: ", f(103, 132), " Geracao: ", f(144, 145), "/", f(146, 147), "/", f(148, 151), " as ", f(152, 153),
           ":", f(154, 155), ":", f(156, 157), " seq ", f(158, 163)));
  if (!AccountDv(rec)) Finding(" digito da conta do centralizador inválido"_cp, "48 33-36 37-39 40-47");
  Apply(kFileHeaderFixed, rec);
  for (const UnitField& unit : kUnits)
    NumberField(rec, unit.from, unit.from + 3, unit.name, unit.zeroRefused, unit.code);
  Apply(kFileHeaderDates, rec);
  nsa = f(158, 163);
  if (!IsNumeric(nsa)) Finding(" Erro no número do nsa do arquivo. Nao é um número válido"_cp, "158-163");
  // The dates are kept for the lote headers; only valid ones are compared.
  fileDate = DateKeyOf(f(144, 151));
  informationDate = DateKeyOf(f(232, 239));
  if (fileDate && informationDate && *fileDate < *informationDate)
    Finding(" Erro: Data da posição em 232,8 não pode ser maior que a data do arquivo"_cp, "232-239 144-151");
  UnitTotals(rec);
  Info(Cat(Equals(40), " FIM DO HEADER DE ARQUIVO ", Equals(37)));
}

void Run::UnitTotals(std::string_view rec) {
  if (!IsNumeric(Field(rec, 212, 231))) return;
  std::int64_t units[5];
  for (std::size_t i = 0; i < 5; ++i) {
    const std::optional<std::int64_t> value = WholeNumber(Field(rec, 212 + 4 * i, 215 + 4 * i));
    if (!value) return;  // a sign or comma inside the numeric 212-231: nothing to add up
    units[i] = *value;
  }
  const auto [total, sold, withDebt, stock, pending] = units;
  if (total != sold + stock + pending)
    Finding(" Erro:Total de unidades deveria ser igual a PERMUTADAS+VENDIDAS+QUITADAS+ESTOQUE+PENDENTE",
            "212-215 216-219 224-227 228-231");
  if (sold + stock > total)
    Finding(" Erro:Total de unidades deveria ser maior ou igual a PERMUTADAS+VENDIDAS+QUITADAS+ESTOQUE",
            "212-215 216-219 224-227");
  if (sold > total)
    Finding(" Erro:Total de unidades deveria ser maior ou igual a PERMUTADAS+VENDIDAS+QUITADAS", "212-215 216-219");
  if (withDebt > total)
    Finding(" Erro:Total de unidades deveria ser mior ou igual a VENDIDAS COM SALDO DEVEDOR", "212-215 220-223");
  if (stock > total)
    Finding(" Erro:Total de unidades deveria ser maior de que as unidades em estoque", "212-215 224-227");
  if (sold < withDebt)
    Finding(" Erro:PERMUTADAS+VENDIDAS+QUITADAS não pode ser menor que VENDIDAS COM SALDO DEVEDOR A QUITAR"_cp,
            "216-219 220-223");
}

void Run::LoteHeader(std::string_view rec) {
  const auto f = [rec](std::size_t from, std::size_t to) { return Field(rec, from, to); };
  if (f(186, 191) != nsa)
    Finding(Cat(" Erro no número do nsa no lote, esperado "_cp, nsa, " encontrado ", f(186, 191)), "186-191");
  if (lotes < 2) {
    Info(Cat(Equals(38), " CAPA DE LOTE ", Equals(36)));
    Info(Cat("Num remessa: ", f(184, 191), " Gravacao: ", f(192, 193), "/", f(194, 195), "/", f(196, 199)));
    Info(Cat("Empreendimento do lote: ", f(74, 103)));
    Info(Cat("Convenio: ", f(34, 37), ".", f(38, 40), ".", f(41, 48), "-", f(49, 49), " Inscricao: ", f(20, 21), ".",
             f(22, 24), ".", f(25, 27), "/", f(28, 31), "-", f(32, 33)));
    Info(Cat(Equals(38), " FIM DA CAPA DE LOTE ", Equals(36)));
  }
  Apply(kLoteHeaderRules, rec);
  NumberField(rec, 142, 147, "  Área útil do imóvel"_cp, true, "142-147");
  NumberField(rec, 148, 153, "  Área total do imóvel"_cp, true, "148-153");
  if (IsNumeric(f(142, 153))) {
    const std::optional<std::int64_t> useful = WholeNumber(f(142, 147)), total = WholeNumber(f(148, 153));
    if (useful && total && *useful > *total)
      Finding("  Área total do imóvel. Nao pode ser menor que a área útil"_cp, "148-153 142-147");
  }
  if (!ValidDate<154, 161>(rec)) Finding("  Data da assinatura do contrato inválida na posição 154,8"_cp, "154-161");
  if (At(rec, 162, '1')) {
    if (!ValidDate<163, 170>(rec)) Finding("  Data da última subrogação inválida na posição 163,8"_cp, "163-170 162");
  } else if (At(rec, 162, '2')) {
    if (!AllOf<163, 170, '0'>(rec))
      Finding("  Data da última subrogação deve preencher com zeros na posição 163,8"_cp, "163-170 162");
  } else {
    Finding(Cat("  Indica contrato subrogado deve ser 1 ou 2 e tem: ", f(162, 162)), "162");
  }
  NumberField(rec, 171, 173, " Prazo de financiamento", true, "171-173");
  if (f(174, 175) != "07") Finding("  Tipo de atualização deve ser 07 na posição 174,2"_cp, "174-175");
  if (!Numeric<200, 207>(rec)) {
    Finding(" Data do crédito inválida na posição 200,8"_cp, "200-207");
  } else if (!ValidDate<200, 207>(rec)) {
    Finding("  Data do crédito inválida na posição 200,8"_cp, "200-207");
  }
  NumberField(rec, 208, 222, " Valor da compra", true, "208-222");
  NumberField(rec, 223, 237, " Saldo Devedor", true, "223-237");

  const std::optional<DateKey> contract = DateKeyOf(f(154, 161));
  if (contract && fileDate && *contract > *fileDate)
    Finding(" Erro: Data da assinatura do contrato não pode ser maior que a data do arquivo"_cp, "154-161");
  if (contract && informationDate && *contract > *informationDate)
    Finding(" Erro: Data da assinatura do contrato não pode ser maior que a data da posição da informação."_cp,
            "154-161");
  nsa = PadZeroLeft(KeepDigits(nsa), 6);
  // Three calendar years before today, as the warning says.
  if (StrToInt(nsa) < 3 && contract && *contract < today - 3 * 10000)
    Finding(" Advertencia: Data da assinatura do contrato com mais de 3 anos."_cp, "154-161");
  if (IsNumeric(f(208, 237))) {
    const std::optional<std::int64_t> purchase = WholeNumber(f(208, 222)), debt = WholeNumber(f(223, 237));
    if (purchase && debt && *debt > *purchase)
      Finding(" Advertencia: O saldo devedor é maior que o valor da compra"_cp, "223-237 208-222");
  }
  loteOk = Cat("CAPA DE LOTE OK Bloco:", Trim(f(120, 129)), " Unidade:", Trim(f(130, 139)));
}

void Run::LoteTrailer(std::string_view rec) {
  const std::int64_t informed = StrToInt(Field(rec, 18, 23));
  const std::uint64_t counted = loteDetails + 2;  // the lote header and trailer count too
  if (Differs(informed, counted)) {
    Finding(Cat(" Total de registros do lote de ", payerName, " não confere !! informado "_cp, informed, " calculado ",
                counted),
            "18-23");
  } else {
    Info(Cat(loteOk, " Total de registros no lote de ", payerName, " = ", counted));
  }
  if (p != q) Finding(kPDiffersFromQ, "18-23");
}

void Run::FileTrailer(std::string_view rec) {
  if (Field(rec, 4, 8) != "99999") Finding(kFileTrailerStart, "4-8");
  if (Differs(StrToInt(Field(rec, 24, 29)), line)) Finding(kFileCount, "24-29");
  if (Differs(StrToInt(Field(rec, 18, 23)), lotes)) Finding(" Total de lotes do arquivo não confere !!"_cp, "18-23");
}

void Run::Close() {
  if (fileHeaders != 1) Fault(Cat("Existe(m) ", fileHeaders, " HEADER DE ARQUIVO e só poderia ter 1."_cp));
  if (fileTrailers != 1) Fault(Cat("Existe(m) ", fileTrailers, " TRAILER DE ARQUIVO e só poderia ter 1."_cp));
  if (lotes != loteTrailers)
    Fault(Cat("Existe(m) ", lotes, " HEADER DE LOTE e ", loteTrailers,
              " TRAILLER DE LOTE e deveria ter a mesma quantidade."));
  Info("FIM DA VALIDAÇÃO !!!"_cp);
  Info(" ");
  Info("Estatísticas do arquivo:"_cp);
  if (protests != 0) Info(Cat(PadCount(protests, 4), " Parcelas para protesto em ", protestTerm, " dias."));
  if (returns != 0) Info(Cat(PadCount(returns, 4), " Parcelas para devolução em "_cp, returnTerm, " dias."));
  Info(Cat(PadCount(instalments, 4), " Parcelas no arquivo todo"));
  if (protestTermChanges != 1) Info(Cat(PadCount(protestTermChanges, 4), " Parcelas com dias diferentes de protesto"));
  if (returnTermChanges != 1)
    Info(Cat(PadCount(returnTermChanges, 4), " Parcelas com dias diferentes de devolução"_cp));
  Info(Cat(overdue, " Parcelas vencidas no valor total de R$ ", FormatMoney(overdueTotal.Digits()), " e ", toFallDue,
           " a vencer no valor total de R$ ", FormatMoney(toFallDueTotal.Digits()), "."));
}

}  // namespace construgiro

Verdict Construgiro1Click(Host& host) {
  const auto path = host.OpenFile("Selecione o arquivo remessa do construgiro", FileFilter::Remessa);
  if (!path) return Verdict::Clean;
  RecordReader reader(*path, &host);
  host.ReportClear();
  host.ReportAppend(construgiro::kWarning);
  construgiro::Run run(host);
  std::string_view rec;  // valid until the next record is read
  while (reader.Next(rec)) run.Record(rec);
  run.Close();
  return run.faulty ? Verdict::Faulty : Verdict::Clean;
}

}  // namespace verilote
